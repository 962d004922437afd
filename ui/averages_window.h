#pragma once
// Comparing two averages (revenue per visitor, order value, minutes on a
// page) from each version's observations, average and standard deviation:
// the answer in plain words as the user types, the figures, the picture of
// the intervals and Copy, as the details window shows a judgement.

#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace ambrelay {

class Announcer;
class Desktop;
class IntervalChart;

class AveragesWindow final : public QWidget {
    Q_OBJECT

public:
    AveragesWindow(Desktop& desktop, QWidget* owner);

    const IntervalChart* Chart() const { return chart_; }

private:
    void Update();

    Desktop& desktop_;
    QLineEdit* boxes_[6] = {};  // observations, average, standard deviation of A, then of B
    QCheckBox* lowerIsBetter_ = nullptr;
    QLabel* answer_ = nullptr;
    QLabel* warnings_ = nullptr;
    QTableWidget* table_ = nullptr;
    IntervalChart* chart_ = nullptr;
    QPushButton* copy_ = nullptr;
    Announcer* announcer_ = nullptr;
    QTimer* pause_ = nullptr;  // the answer is spoken once typing pauses
    std::string report_;
};

}  // namespace ambrelay

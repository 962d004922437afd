#pragma once
// Comparing more versions than two: a grid of versions (each one's name and
// its observations and responses, or its observations, average and standard
// deviation), rows added and removed from the keyboard, and, as the user
// types, each version against the control in plain words with its p value
// corrected for the versions compared, the figures, a picture of each
// version's difference from the control, and Copy.

#include <QWidget>
#include <string>

#include "ui/answer_area.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;

namespace ambrelay {

class Desktop;
class VersionsChart;

class VersionsWindow final : public QWidget {
    Q_OBJECT

public:
    VersionsWindow(Desktop& desktop, QWidget* owner);

    // Rates (views and responses) or averages (observations, average, standard deviation).
    void SetAverages(bool averages);
    const VersionsChart* Chart() const { return chart_; }

private:
    void AddVersion();
    void RemoveVersion();
    void Update();
    void ShowNoAnswer(const QString& answer);
    void ShowAnswer(const QString& answer);
    void FillControls();

    Desktop& desktop_;
    AnswerArea area_;
    QComboBox* kind_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QComboBox* control_ = nullptr;
    QComboBox* adjustment_ = nullptr;
    QLineEdit* split_ = nullptr;
    QCheckBox* lowerIsBetter_ = nullptr;
    VersionsChart* chart_ = nullptr;
};

}  // namespace ambrelay

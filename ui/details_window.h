#pragma once
// The details of the last finished calculation: the figures as a table, the
// warnings first, and a picture of the intervals. It follows each new result
// without taking the focus, and shows "No result" when there is none.

#include <QWidget>
#include <optional>

#include "engine/judge.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QEvent;
class QPushButton;
class QTableWidget;

namespace ambrelay {

class Desktop;
class IntervalChart;
class ReportCopies;

class DetailsWindow final : public QWidget {
    Q_OBJECT

public:
    DetailsWindow(Desktop& desktop, QWidget* owner);

    void SetJudgement(const std::optional<Judgement>& judgement);
    const IntervalChart* Chart() const { return chart_; }

    // Fills the planned total in, as if typed.
    void SetPlanned(double observations);

signals:
    // The planned total or the margin changed: what the user typed, less
    // what is not a number (said beside the fields).
    void OptionsChanged(const ambrelay::JudgeOptions& options);
    // "From the planner": the planner's observations in all are wanted.
    void PlannedWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadOptions();

    Desktop& desktop_;
    QLineEdit* planned_ = nullptr;
    QLineEdit* margin_ = nullptr;
    QLineEdit* split_ = nullptr;
    QComboBox* marginKind_ = nullptr;
    QLabel* optionsProblem_ = nullptr;
    ReportCopies* copies_ = nullptr;
    QLabel* warnings_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* footnote_ = nullptr;
    IntervalChart* chart_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace ambrelay

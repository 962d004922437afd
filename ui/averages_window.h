#pragma once
// Comparing two averages (revenue per visitor, order value, minutes on a
// page) from each version's observations, average and standard deviation,
// or from a file of one value per user: the answer in plain words as the
// user types, the figures, the picture of the intervals and Copy, as the
// details window shows a judgement.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "figures/means_figures.h"
#include "ui/answer_area.h"
#include "ui/values_panel.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ambrelay {

class Desktop;
class IntervalChart;

class AveragesWindow final : public QWidget {
    Q_OBJECT

public:
    AveragesWindow(Desktop& desktop, QWidget* owner);

    const IntervalChart* Chart() const { return chart_; }
    ValuesPanel* Values() const { return values_; }

signals:
    // "More versions…": the averages of more than two versions, in a window of their own.
    void MoreVersionsWanted();

private:
    void Update();
    void OpenValues();
    void TypeNumbers();
    void ShowFile();
    void ShowAnswer(const QString& answer);
    void ShowNoAnswer(const QString& answer);
    // Which way is better and the intended split, as the window's choices say; why not.
    std::optional<Problem> ReadOptions(MeansOptions& options, VersionsOptions& family) const;
    // A file of more than two versions: each against the control.
    void ShowVersions(const ValuesAnswer& answer, const QString& note);
    void ShowFigures(const FigureList<MeansFigure>& answer, const std::vector<Figure>& before,
                     const std::vector<Warning>& warnings, const QString& note,
                     const std::vector<Figure>& after = {});

    Desktop& desktop_;
    AnswerArea area_;
    QWidget* typed_ = nullptr;  // the six boxes
    QLineEdit* boxes_[6] = {};  // observations, average, standard deviation of A, then of B
    ValuesPanel* values_ = nullptr;
    std::optional<ValuesFile> file_;  // the file's last reading, while the panel is shown
    QPushButton* openValues_ = nullptr;
    QPushButton* typeNumbers_ = nullptr;
    QCheckBox* lowerIsBetter_ = nullptr;
    QLineEdit* split_ = nullptr;
    IntervalChart* chart_ = nullptr;
};

}  // namespace ambrelay

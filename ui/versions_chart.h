#pragma once
// The picture of more versions: each version's difference from the control
// as a point with its interval (the correction's level where it widens
// them), one line a version on one shared axis, against a line at zero.
// A version whose interval lies wholly on the better side of zero is ahead
// of the control beyond chance at that level.

#include <QString>
#include <QWidget>
#include <vector>

#include "engine/interval.h"

namespace ambrelay {

class VersionsChart final : public QWidget {
    Q_OBJECT

public:
    struct Line {
        QString label;     // "C"
        double estimate;   // the difference from the control, in the metric's units or points
        Interval interval;
        QString words;     // "2.3 points (0.2 to 4.4 points)"
    };

    explicit VersionsChart(QWidget* parent = nullptr);

    // No lines shows "No result".
    void SetLines(std::vector<Line> lines, const QString& title);

    // Where zero falls, and each line's interval, in the widget's own pixels.
    double ZeroX() const;
    std::pair<double, double> IntervalX(std::size_t line) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double X(double value) const;
    int WordsWidth() const;

    std::vector<Line> lines_;
    QString title_;
    double low_ = -1, high_ = 1;
};

}  // namespace ambrelay

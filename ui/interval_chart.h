#pragma once
// The picture of the details window: each version's response ratio as a
// point with its 95% interval on one shared axis, and below it the
// difference with its interval against a line at zero. Colours that stay
// apart for colour-blind eyes, and a label on everything.

#include <QWidget>
#include <optional>

#include "engine/insights.h"

namespace ambrelay {

// Where things fall, in the widget's own pixels.
struct ChartGeometry {
    double zeroX = 0;             // the difference panel's line at zero
    double differenceLowX = 0;    // the difference's interval
    double differenceHighX = 0;
};

class IntervalChart final : public QWidget {
    Q_OBJECT

public:
    explicit IntervalChart(QWidget* parent = nullptr);

    void SetInsights(std::optional<Insights> insights);
    ChartGeometry Geometry() const;
    QSize sizeHint() const override { return {420, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<Insights> insights_;
};

}  // namespace ambrelay

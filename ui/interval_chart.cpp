#include "ui/interval_chart.h"

#include <QPainter>
#include <algorithm>

#include "engine/figure_text.h"

namespace ambrelay {
namespace {

// Blue and orange from the Okabe and Ito palette, told apart by colour-blind eyes too.
const QColor kVersionA(0, 114, 178);
const QColor kVersionB(213, 94, 0);
const QColor kDifference(0, 0, 0);
constexpr int kMargin = 16;
constexpr int kLabelWidth = 92;

// A linear axis over [low, high], padded a little, onto [left, right].
struct Axis {
    double low, high, left, right;
    double X(double value) const { return left + (value - low) / (high - low) * (right - left); }
};

Axis MakeAxis(double low, double high, double left, double right)
{
    const double pad = std::max((high - low) * 0.08, 1e-9);
    return {low - pad, high + pad, left, right};
}

}  // namespace

IntervalChart::IntervalChart(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Picture of the response ratios and the difference, with 95% intervals"));
    setMinimumSize(360, 190);
}

void IntervalChart::SetInsights(std::optional<Insights> insights)
{
    insights_ = std::move(insights);
    update();
}

ChartGeometry IntervalChart::Geometry() const
{
    ChartGeometry g;
    if (!insights_) {
        return g;
    }
    const Insights& in = *insights_;
    const Axis axis = MakeAxis(std::min(in.intervalLowPoints, 0.0), std::max(in.intervalHighPoints, 0.0),
                               kMargin + kLabelWidth, width() - kMargin);
    g.zeroX = axis.X(0);
    g.differenceLowX = axis.X(in.intervalLowPoints);
    g.differenceHighX = axis.X(in.intervalHighPoints);
    return g;
}

void IntervalChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    if (!insights_) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No result"));
        return;
    }
    const Insights& in = *insights_;
    const double left = kMargin + kLabelWidth;
    const double right = width() - kMargin;
    const auto interval = [&](const Axis& axis, double y, double low, double high, double point, const QColor& colour,
                              const QString& label, const QString& figure) {
        p.setPen(QPen(colour, 2));
        p.drawLine(QPointF(axis.X(low), y), QPointF(axis.X(high), y));
        for (const double end : {low, high}) {
            p.drawLine(QPointF(axis.X(end), y - 5), QPointF(axis.X(end), y + 5));
        }
        p.setBrush(colour);
        p.drawEllipse(QPointF(axis.X(point), y), 4, 4);
        p.setPen(Qt::black);
        p.drawText(QRectF(kMargin, y - 9, kLabelWidth - 6, 18), Qt::AlignVCenter | Qt::AlignLeft, label);
        p.drawText(QRectF(left, y + 6, right - left, 16), Qt::AlignHCenter | Qt::AlignTop, figure);
    };

    // Top panel: both ratios on one axis, in percent.
    const Interval& a = in.ratio1IntervalPercent;
    const Interval& b = in.ratio2IntervalPercent;
    const Axis ratios = MakeAxis(std::min(a.low, b.low), std::max(a.high, b.high), left, right);
    const double ratio1 = (in.leader == "A" ? in.leaderRatio : in.otherRatio) * 100;
    const double ratio2 = (in.leader == "A" ? in.otherRatio : in.leaderRatio) * 100;
    const auto percent = [](double x, const Interval& i) {
        const int d = IntervalDecimals(i.low, i.high);
        return QString::fromStdString(Fixed(x, d) + "% (" + Fixed(i.low, d) + "% to " + Fixed(i.high, d) + "%)");
    };
    p.drawText(QRectF(kMargin, 2, width() - 2 * kMargin, 16), Qt::AlignLeft, QStringLiteral("Response ratio, 95% interval"));
    interval(ratios, 32, a.low, a.high, ratio1, kVersionA, QStringLiteral("A"), percent(ratio1, a));
    interval(ratios, 72, b.low, b.high, ratio2, kVersionB, QStringLiteral("B"), percent(ratio2, b));

    // Bottom panel: the difference against zero, in points.
    const double top = 104;
    p.setPen(Qt::black);
    p.drawText(QRectF(kMargin, top, width() - 2 * kMargin, 16), Qt::AlignLeft,
               QStringLiteral("Difference, %1 minus %2, in points")
                   .arg(QString::fromStdString(in.leader), QString::fromStdString(in.other)));
    const ChartGeometry g = Geometry();
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawLine(QPointF(g.zeroX, top + 18), QPointF(g.zeroX, top + 58));
    p.setPen(Qt::darkGray);
    p.drawText(QRectF(g.zeroX - 20, top + 58, 40, 16), Qt::AlignCenter, QStringLiteral("0"));
    const Axis differences = MakeAxis(std::min(in.intervalLowPoints, 0.0), std::max(in.intervalHighPoints, 0.0), left, right);
    const int d = IntervalDecimals(in.intervalLowPoints, in.intervalHighPoints);
    interval(differences, top + 32, in.intervalLowPoints, in.intervalHighPoints, in.differencePoints, kDifference,
             QStringLiteral("Difference"),
             QString::fromStdString(Fixed(in.differencePoints, d) + " (" + Fixed(in.intervalLowPoints, d) + " to "
                                    + Fixed(in.intervalHighPoints, d) + ")"));
}

}  // namespace ambrelay

#include "ui/interval_chart.h"

#include <QPainter>
#include <algorithm>


namespace ambrelay {
namespace {

// Blue and orange from the Okabe and Ito palette, told apart by colour-blind eyes too.
const QColor kVersionA(0, 114, 178);
const QColor kVersionB(213, 94, 0);
const QColor kDifference(0, 0, 0);
// The Okabe and Ito palette's bluish green.
const QColor kPeekingSafe(0, 158, 115);
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

// The difference and its peeking-safe interval share one axis, with zero on it.
Axis DifferenceAxis(const Figure& difference, const std::optional<Figure>& peekingSafe, double left, double right)
{
    Interval span = *difference.interval;
    if (peekingSafe) {
        span.low = std::min(span.low, peekingSafe->interval->low);
        span.high = std::max(span.high, peekingSafe->interval->high);
    }
    return MakeAxis(std::min(span.low, 0.0), std::max(span.high, 0.0), left, right);
}

}  // namespace

IntervalChart::IntervalChart(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Picture of the response ratios and the difference, with 95% intervals"));
    setMinimumSize(360, 240);
}

void IntervalChart::SetFigures(const FigureList<MeansFigure>& figures)
{
    shown_.reset();
    title_ = QStringLiteral("Average, 95% interval");
    setAccessibleName(QStringLiteral("Picture of the averages and their difference, with 95% intervals"));
    if (!figures.Empty()) {
        const Figure& average1 = figures[MeansFigure::Average1];
        const Figure& average2 = figures[MeansFigure::Average2];
        const Figure& difference = figures[MeansFigure::Difference];
        if (average1.interval && average2.interval && difference.interval) {
            shown_ = Shown{average1, average2, difference, std::nullopt};
        }
    }
    update();
}

void IntervalChart::SetFigures(const FigureList<JudgementFigure>& figures)
{
    shown_.reset();
    title_ = QStringLiteral("Response ratio, 95% interval");
    if (!figures.Empty()) {
        const Figure& ratio1 = figures[JudgementFigure::Ratio1Percent];
        const Figure& ratio2 = figures[JudgementFigure::Ratio2Percent];
        const Figure& difference = figures[JudgementFigure::Difference];
        const Figure& peeking = figures[JudgementFigure::AlwaysValidDifference];
        if (ratio1.interval && ratio2.interval && difference.interval) {
            shown_ = Shown{ratio1, ratio2, difference, std::nullopt};
            if (peeking.interval) {
                shown_->peekingSafe = peeking;
            }
        }
    }
    update();
}

ChartGeometry IntervalChart::Geometry() const
{
    ChartGeometry g;
    if (!shown_) {
        return g;
    }
    const Interval& d = *shown_->difference.interval;
    const Axis axis = DifferenceAxis(shown_->difference, shown_->peekingSafe, kMargin + kLabelWidth, width() - kMargin);
    g.zeroX = axis.X(0);
    g.differenceLowX = axis.X(d.low);
    g.differenceHighX = axis.X(d.high);
    return g;
}

void IntervalChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    if (!shown_) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No result"));
        return;
    }
    const double left = kMargin + kLabelWidth;
    const double right = width() - kMargin;
    const auto interval = [&](const Axis& axis, double y, const Figure& figure, const QColor& colour,
                              const QString& label) {
        const Interval& i = *figure.interval;
        const double point = figure.Number().value_or(0);
        p.setPen(QPen(colour, 2));
        p.drawLine(QPointF(axis.X(i.low), y), QPointF(axis.X(i.high), y));
        for (const double end : {i.low, i.high}) {
            p.drawLine(QPointF(axis.X(end), y - 5), QPointF(axis.X(end), y + 5));
        }
        p.setBrush(colour);
        p.drawEllipse(QPointF(axis.X(point), y), 4, 4);
        p.setPen(Qt::black);
        p.drawText(QRectF(kMargin, y - 9, kLabelWidth - 6, 18), Qt::AlignVCenter | Qt::AlignLeft, label);
        p.drawText(QRectF(left, y + 6, right - left, 16), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(figure.words));
    };

    // Top panel: both versions' figures on one axis.
    const Interval& a = *shown_->ratio1.interval;
    const Interval& b = *shown_->ratio2.interval;
    const Axis ratios = MakeAxis(std::min(a.low, b.low), std::max(a.high, b.high), left, right);
    p.drawText(QRectF(kMargin, 2, width() - 2 * kMargin, 16), Qt::AlignLeft, title_);
    interval(ratios, 32, shown_->ratio1, kVersionA, QStringLiteral("A"));
    interval(ratios, 72, shown_->ratio2, kVersionB, QStringLiteral("B"));

    // Bottom panel: the difference against zero.
    const double top = 104;
    p.setPen(Qt::black);
    p.drawText(QRectF(kMargin, top, width() - 2 * kMargin, 16), Qt::AlignLeft,
               QString::fromStdString(shown_->difference.label));
    const ChartGeometry g = Geometry();
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    const double bottom = shown_->peekingSafe ? top + 98 : top + 58;
    p.drawLine(QPointF(g.zeroX, top + 18), QPointF(g.zeroX, bottom));
    p.setPen(Qt::darkGray);
    p.drawText(QRectF(g.zeroX - 20, bottom, 40, 16), Qt::AlignCenter, QStringLiteral("0"));
    const Axis differences = DifferenceAxis(shown_->difference, shown_->peekingSafe, left, right);
    interval(differences, top + 32, shown_->difference, kDifference, QStringLiteral("Difference"));
    if (shown_->peekingSafe) {
        interval(differences, top + 72, *shown_->peekingSafe, kPeekingSafe, QStringLiteral("Peeking-safe"));
    }
}

}  // namespace ambrelay

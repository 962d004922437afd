#include "ui/versions_chart.h"

#include <QPainter>
#include <algorithm>

namespace ambrelay {
namespace {

constexpr int kMargin = 16;
constexpr int kLabelWidth = 60;
constexpr int kGap = 12;  // between the intervals and their words
constexpr int kLineHeight = 30;
constexpr int kTitleHeight = 24;
// The Okabe and Ito palette's vermillion: the differences from the control.
const QColor kDifference(213, 94, 0);

}  // namespace

VersionsChart::VersionsChart(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Picture of each version's difference from the control, with its interval"));
    setMinimumSize(360, 120);
}

void VersionsChart::SetLines(std::vector<Line> lines, const QString& title)
{
    lines_ = std::move(lines);
    title_ = title;
    low_ = 0;
    high_ = 0;
    for (const Line& line : lines_) {
        low_ = std::min(low_, line.interval.low);
        high_ = std::max(high_, line.interval.high);
    }
    const double pad = std::max((high_ - low_) * 0.08, 1e-9);
    low_ -= pad;
    high_ += pad;
    updateGeometry();
    update();
}

QSize VersionsChart::sizeHint() const
{
    return {480, kTitleHeight + kMargin * 2 + std::max<int>(2, static_cast<int>(lines_.size())) * kLineHeight};
}

// The words of every line in a column on the right, as wide as the widest.
int VersionsChart::WordsWidth() const
{
    int widest = 0;
    for (const Line& line : lines_) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(line.words));
    }
    return std::min(widest + 4, width() / 2);  // a few pixels spare, so that no rounding elides a word
}

double VersionsChart::X(double value) const
{
    const double left = kMargin + kLabelWidth, right = width() - kMargin - WordsWidth() - kGap;
    return left + (value - low_) / (high_ - low_) * (right - left);
}

double VersionsChart::ZeroX() const { return X(0); }

std::pair<double, double> VersionsChart::IntervalX(std::size_t line) const
{
    return {X(lines_.at(line).interval.low), X(lines_.at(line).interval.high)};
}

void VersionsChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    if (lines_.empty()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No result"));
        return;
    }
    p.drawText(QRect(kMargin, kMargin / 2, width() - 2 * kMargin, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
               title_);
    const int top = kMargin / 2 + kTitleHeight;
    const int bottom = top + static_cast<int>(lines_.size()) * kLineHeight;
    // The line at zero, dashed, with its number below it.
    // Half the text's colour: seen on a light base and a dark one alike.
    QColor faint = palette().text().color();
    faint.setAlphaF(0.5);
    QPen zero(faint, 1, Qt::DashLine);
    p.setPen(zero);
    p.drawLine(QPointF(X(0), top), QPointF(X(0), bottom));
    p.setPen(palette().text().color());
    p.drawText(QRectF(X(0) - 20, bottom, 40, 16), Qt::AlignCenter, QStringLiteral("0"));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        const double y = top + (static_cast<double>(i) + 0.5) * kLineHeight;
        p.setPen(palette().text().color());
        p.drawText(QRectF(kMargin, y - 10, kLabelWidth - 8, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(line.label, Qt::ElideRight, kLabelWidth - 8));
        const double from = X(line.interval.low), to = X(line.interval.high);
        p.setPen(QPen(kDifference, 2));
        p.drawLine(QPointF(from, y), QPointF(to, y));
        for (const double end : {from, to}) {
            p.drawLine(QPointF(end, y - 5), QPointF(end, y + 5));
        }
        p.setBrush(kDifference);
        p.drawEllipse(QPointF(X(line.estimate), y), 4, 4);
        p.setPen(palette().text().color());
        const int words = WordsWidth();
        p.drawText(QRectF(width() - kMargin - words, y - 10, words, 20), Qt::AlignRight | Qt::AlignVCenter,
                   fontMetrics().elidedText(line.words, Qt::ElideRight, words));
    }
}

}  // namespace ambrelay

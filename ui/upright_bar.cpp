#include "ui/upright_bar.h"

#include <QPainter>
#include <QStyleOptionProgressBar>
#include <cmath>

namespace ambrelay {
namespace {

constexpr int kSteps = 30000;  // the painted fill resolves a thousandth of a point

}  // namespace

UprightBar::UprightBar(QWidget* parent) : QProgressBar(parent)
{
    setOrientation(Qt::Vertical);
    setRange(70, 100);
    QProgressBar::setValue(70);
    setTextVisible(false);
    setFocusPolicy(Qt::NoFocus);
}

void UprightBar::SetValue(float value)
{
    value_ = value;
    // The integer value serves accessibility; painting uses the exact one.
    // QProgressBar repaints at once when its value moves, which paints the
    // bar and everything beneath it inside the click's handler; with updates
    // off it only records the value, and the next frame paints it.
    setUpdatesEnabled(false);
    QProgressBar::setValue(static_cast<int>(std::lround(value)));
    setUpdatesEnabled(true);
    update();
}

void UprightBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    const double fraction = (static_cast<double>(value_) - minimum()) / (maximum() - minimum());
    option.minimum = 0;
    option.maximum = kSteps;
    option.progress = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kSteps));
    // Some styles draw a sliver of fill even at the minimum; an empty bar is
    // only its groove.
    const QStyle::ControlElement element = option.progress > 0 ? QStyle::CE_ProgressBar : QStyle::CE_ProgressBarGroove;
    style()->drawControl(element, &option, &painter, this);
}

}  // namespace ambrelay

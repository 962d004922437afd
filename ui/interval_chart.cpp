#include "ui/interval_chart.h"

#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <algorithm>

#include "ui/desktop.h"

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

IntervalChart::IntervalChart(Desktop& desktop, QWidget* parent) : QWidget(parent), desktop_(desktop)
{
    setAccessibleName(QStringLiteral("Picture of the response ratios and the difference, with 95% intervals"));
    setMinimumSize(360, 240);
    save_ = new QAction(QStringLiteral("Save picture…"), this);
    save_->setEnabled(false);
    connect(save_, &QAction::triggered, this, &IntervalChart::SavePicture);
    addAction(save_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void IntervalChart::SetFigures(const FigureList<MeansFigure>& figures)
{
    title_ = QStringLiteral("Average, 95% interval");
    fileName_ = QStringLiteral("ambrelay-averages.png");
    setAccessibleName(QStringLiteral("Picture of the averages and their difference, with 95% intervals"));
    std::optional<Shown> shown;
    if (!figures.Empty()) {
        const Figure& average1 = figures[MeansFigure::Average1];
        const Figure& average2 = figures[MeansFigure::Average2];
        const Figure& difference = figures[MeansFigure::Difference];
        if (average1.interval && average2.interval && difference.interval) {
            shown = Shown{average1, average2, difference, std::nullopt};
        }
    }
    Show(shown);
}

void IntervalChart::SetFigures(const FigureList<JudgementFigure>& figures)
{
    title_ = QStringLiteral("Response ratio, 95% interval");
    fileName_ = QStringLiteral("ambrelay-details.png");
    std::optional<Shown> shown;
    if (!figures.Empty()) {
        const Figure& ratio1 = figures[JudgementFigure::Ratio1Percent];
        const Figure& ratio2 = figures[JudgementFigure::Ratio2Percent];
        const Figure& difference = figures[JudgementFigure::Difference];
        const Figure& peeking = figures[JudgementFigure::AlwaysValidDifference];
        if (ratio1.interval && ratio2.interval && difference.interval) {
            shown = Shown{ratio1, ratio2, difference, std::nullopt};
            if (peeking.interval) {
                shown->peekingSafe = peeking;
            }
        }
    }
    Show(shown);
}

void IntervalChart::Show(std::optional<Shown> shown)
{
    shown_ = std::move(shown);
    save_->setEnabled(shown_.has_value());
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

std::vector<ChartMark> IntervalChart::Marks() const
{
    using Kind = ChartMark::Kind;
    std::vector<ChartMark> marks;
    const auto line = [&](QPointF from, QPointF to, const QColor& colour, double width, bool dashed = false) {
        ChartMark m;
        m.kind = Kind::Line;
        m.from = from;
        m.to = to;
        m.colour = colour;
        m.width = width;
        m.dashed = dashed;
        marks.push_back(m);
    };
    const auto text = [&](const QRectF& box, Qt::Alignment align, const QString& words, const QColor& colour) {
        ChartMark m;
        m.kind = Kind::Text;
        m.box = box;
        m.align = align;
        m.text = words;
        m.colour = colour;
        marks.push_back(m);
    };
    ChartMark background;
    background.kind = Kind::Background;
    background.box = QRectF(rect());
    background.colour = Qt::white;
    marks.push_back(background);
    if (!shown_) {
        text(QRectF(rect()), Qt::AlignCenter, QStringLiteral("No result"), Qt::black);
        return marks;
    }
    const double left = kMargin + kLabelWidth;
    const double right = width() - kMargin;
    const auto interval = [&](const Axis& axis, double y, const Figure& figure, const QColor& colour,
                              const QString& label) {
        const Interval& i = *figure.interval;
        const double point = figure.Number().value_or(0);
        line(QPointF(axis.X(i.low), y), QPointF(axis.X(i.high), y), colour, 2);
        for (const double end : {i.low, i.high}) {
            line(QPointF(axis.X(end), y - 5), QPointF(axis.X(end), y + 5), colour, 2);
        }
        ChartMark dot;
        dot.kind = Kind::Dot;
        dot.from = QPointF(axis.X(point), y);
        dot.radius = 4;
        dot.width = 2;
        dot.colour = colour;
        marks.push_back(dot);
        text(QRectF(kMargin, y - 9, kLabelWidth - 6, 18), Qt::AlignVCenter | Qt::AlignLeft, label, Qt::black);
        text(QRectF(left, y + 6, right - left, 16), Qt::AlignHCenter | Qt::AlignTop,
             QString::fromStdString(figure.words), Qt::black);
    };

    // Top panel: both versions' figures on one axis.
    const Interval& a = *shown_->ratio1.interval;
    const Interval& b = *shown_->ratio2.interval;
    const Axis ratios = MakeAxis(std::min(a.low, b.low), std::max(a.high, b.high), left, right);
    text(QRectF(kMargin, 2, width() - 2 * kMargin, 16), Qt::AlignLeft, title_, Qt::black);
    interval(ratios, 32, shown_->ratio1, kVersionA, QStringLiteral("A"));
    interval(ratios, 72, shown_->ratio2, kVersionB, QStringLiteral("B"));

    // Bottom panel: the difference against zero.
    const double top = 104;
    text(QRectF(kMargin, top, width() - 2 * kMargin, 16), Qt::AlignLeft,
         QString::fromStdString(shown_->difference.label), Qt::black);
    const ChartGeometry g = Geometry();
    const double bottom = shown_->peekingSafe ? top + 98 : top + 58;
    line(QPointF(g.zeroX, top + 18), QPointF(g.zeroX, bottom), Qt::gray, 1, true);
    text(QRectF(g.zeroX - 20, bottom, 40, 16), Qt::AlignCenter, QStringLiteral("0"), Qt::darkGray);
    const Axis differences = DifferenceAxis(shown_->difference, shown_->peekingSafe, left, right);
    interval(differences, top + 32, shown_->difference, kDifference, QStringLiteral("Difference"));
    if (shown_->peekingSafe) {
        interval(differences, top + 72, *shown_->peekingSafe, kPeekingSafe, QStringLiteral("Peeking-safe"));
    }
    return marks;
}

void IntervalChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    PaintMarks(p, Marks());
}

void IntervalChart::SavePicture()
{
    if (!shown_) {
        return;
    }
    const QString path = desktop_.SaveFile(this, QStringLiteral("Save picture"), fileName_,
                                           QStringLiteral("PNG picture (*.png);;SVG picture (*.svg)"));
    if (!path.isEmpty() && !WritePicture(path)) {
        desktop_.ShowMessage(this, QStringLiteral("The picture could not be saved to ") + path + QStringLiteral("."));
    }
}

bool IntervalChart::WritePicture(const QString& path)
{
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) != 0) {
        // At the screen's density, so the picture is as crisp as on screen.
        return grab().toImage().save(path, "PNG");
    }
    // Written beside and put in place whole, so a failed write leaves the old picture as it was.
    QSaveFile file(path);
    const QByteArray svg = MarksSvg(Marks(), width(), height(), font()).toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size() && file.commit();
}

}  // namespace ambrelay

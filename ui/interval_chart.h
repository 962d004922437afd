#pragma once
// The picture of the details window: each version's response ratio (or
// average) as a
// point with its 95% interval on one shared axis, and below it the
// difference with its interval against a line at zero. Colours that stay
// apart for colour-blind eyes, and a label on everything.

#include <QWidget>
#include <optional>
#include <vector>

#include "figures/figures.h"
#include "figures/means_figures.h"
#include "ui/chart_marks.h"

class QAction;

namespace ambrelay {

class Desktop;

// Where things fall, in the widget's own pixels.
struct ChartGeometry {
    double zeroX = 0;             // the difference panel's line at zero
    double differenceLowX = 0;    // the difference's interval
    double differenceHighX = 0;
};

class IntervalChart final : public QWidget {
    Q_OBJECT

public:
    IntervalChart(Desktop& desktop, QWidget* parent);

    // The figures of a finished judgement; an empty list shows "No result".
    void SetFigures(const FigureList<JudgementFigure>& figures);
    // Two averages and their difference, the same way.
    void SetFigures(const FigureList<MeansFigure>& figures);
    ChartGeometry Geometry() const;
    QSize sizeHint() const override { return {420, 250}; }

    // What the picture shows at the widget's present size, in painting order.
    std::vector<ChartMark> Marks() const;

    // "Save picture…" in its context menu: asks where, then writes an SVG
    // file for a name ending in .svg and a PNG at the screen's density for
    // any other, or says why it could not.
    void SavePicture();
    bool WritePicture(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The ratios' and the difference's figures, or none without a result.
    struct Shown {
        Figure ratio1, ratio2, difference;
        std::optional<Figure> peekingSafe;  // the difference's interval however often one looks
    };
    void Show(std::optional<Shown> shown);

    Desktop& desktop_;
    QAction* save_ = nullptr;
    std::optional<Shown> shown_;
    QString title_;  // the top panel's, for what the versions' figures are
    QString fileName_;  // what Save picture suggests
};

}  // namespace ambrelay

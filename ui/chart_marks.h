#pragma once
// A picture as a list of marks (lines, dots, texts on a background), in the
// widget's own pixels. The screen paints the list and a saved SVG file is
// written from it, so the file shows exactly what the window does, without a
// second description of the picture's geometry.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class QFont;
class QPainter;

namespace ambrelay {

struct ChartMark {
    enum class Kind { Background, Line, Dot, Text };

    Kind kind = Kind::Line;
    QColor colour;
    QPointF from, to;            // a line's ends; a dot's centre is `from`
    double width = 1;            // a line's, and a dot's rim
    bool dashed = false;         // a line drawn in dashes
    double radius = 0;           // a dot's
    QRectF box;                  // where a text goes, or what the background fills
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;  // a text's place in its box
    QString text;
};

void PaintMarks(QPainter& painter, const std::vector<ChartMark>& marks);

// The marks as an SVG document of `width` by `height` pixels, the texts in
// `font` placed where QPainter puts them.
QString MarksSvg(const std::vector<ChartMark>& marks, double width, double height, const QFont& font);

}  // namespace ambrelay

#include "ui/chart_marks.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>

namespace ambrelay {
namespace {

// Coordinates to a hundredth of a pixel, with no trailing zeros.
QString Number(double x)
{
    QString text = QString::number(x, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString Attribute(const char* name, const QString& value)
{
    return QStringLiteral(" ") + QLatin1String(name) + QStringLiteral("=\"") + value.toHtmlEscaped()
           + QStringLiteral("\"");
}

QString Attribute(const char* name, double value) { return Attribute(name, Number(value)); }

QString Colour(const QColor& colour) { return colour.name(QColor::HexRgb); }

// Where QPainter::drawText puts one line in its box: the start of its
// baseline, and which end of the text that point is.
QString TextElement(const ChartMark& m, const QFontMetricsF& metrics)
{
    const double lineHeight = metrics.ascent() + metrics.descent();
    double baseline = m.box.top() + metrics.ascent();
    if (m.align & Qt::AlignVCenter) {
        baseline = m.box.top() + (m.box.height() - lineHeight) / 2 + metrics.ascent();
    } else if (m.align & Qt::AlignBottom) {
        baseline = m.box.bottom() - lineHeight + metrics.ascent();
    }
    double x = m.box.left();
    QString anchor = QStringLiteral("start");
    if (m.align & Qt::AlignHCenter) {
        x = m.box.center().x();
        anchor = QStringLiteral("middle");
    } else if (m.align & Qt::AlignRight) {
        x = m.box.right();
        anchor = QStringLiteral("end");
    }
    return QStringLiteral("<text") + Attribute("x", x) + Attribute("y", baseline) + Attribute("fill", Colour(m.colour))
           + Attribute("text-anchor", anchor) + QStringLiteral(">") + m.text.toHtmlEscaped()
           + QStringLiteral("</text>");
}

}  // namespace

void PaintMarks(QPainter& painter, const std::vector<ChartMark>& marks)
{
    for (const ChartMark& m : marks) {
        switch (m.kind) {
        case ChartMark::Kind::Background:
            painter.fillRect(m.box, m.colour);
            break;
        case ChartMark::Kind::Line:
            painter.setPen(QPen(m.colour, m.width, m.dashed ? Qt::DashLine : Qt::SolidLine));
            painter.drawLine(m.from, m.to);
            break;
        case ChartMark::Kind::Dot:
            painter.setPen(QPen(m.colour, m.width));
            painter.setBrush(m.colour);
            painter.drawEllipse(m.from, m.radius, m.radius);
            painter.setBrush(Qt::NoBrush);
            break;
        case ChartMark::Kind::Text:
            painter.setPen(m.colour);
            painter.drawText(m.box, static_cast<int>(m.align), m.text);
            break;
        }
    }
}

QString MarksSvg(const std::vector<ChartMark>& marks, double width, double height, const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QFontInfo shown(font);
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"")
                  + Attribute("width", width) + Attribute("height", height)
                  + Attribute("viewBox", QStringLiteral("0 0 ") + Number(width) + QLatin1Char(' ') + Number(height))
                  + Attribute("font-family", shown.family() + QStringLiteral(", sans-serif"))
                  + Attribute("font-size", Number(shown.pixelSize()) + QStringLiteral("px"))
                  + QStringLiteral(">\n");
    for (const ChartMark& m : marks) {
        switch (m.kind) {
        case ChartMark::Kind::Background:
            svg += QStringLiteral("<rect") + Attribute("x", m.box.x()) + Attribute("y", m.box.y())
                   + Attribute("width", m.box.width()) + Attribute("height", m.box.height())
                   + Attribute("fill", Colour(m.colour)) + QStringLiteral("/>");
            break;
        case ChartMark::Kind::Line:
            // Qt's pens end lines square and dash four widths on, two off.
            svg += QStringLiteral("<line") + Attribute("x1", m.from.x()) + Attribute("y1", m.from.y())
                   + Attribute("x2", m.to.x()) + Attribute("y2", m.to.y()) + Attribute("stroke", Colour(m.colour))
                   + Attribute("stroke-width", m.width) + Attribute("stroke-linecap", QStringLiteral("square"))
                   + (m.dashed ? Attribute("stroke-dasharray", Number(4 * m.width) + QLatin1Char(',')
                                                                  + Number(2 * m.width))
                               : QString())
                   + QStringLiteral("/>");
            break;
        case ChartMark::Kind::Dot:
            svg += QStringLiteral("<circle") + Attribute("cx", m.from.x()) + Attribute("cy", m.from.y())
                   + Attribute("r", m.radius) + Attribute("fill", Colour(m.colour))
                   + Attribute("stroke", Colour(m.colour)) + Attribute("stroke-width", m.width)
                   + QStringLiteral("/>");
            break;
        case ChartMark::Kind::Text:
            svg += TextElement(m, metrics);
            break;
        }
        svg += QLatin1Char('\n');
    }
    return svg + QStringLiteral("</svg>\n");
}

}  // namespace ambrelay

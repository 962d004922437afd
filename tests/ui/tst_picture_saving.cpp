// Save picture…: the details window's picture (and the averages window's)
// asks for a file through the desktop and writes a PNG, or an SVG for a name
// ending in .svg, drawn from the very marks the screen paints; a cancelled
// dialog writes nothing and a file that cannot be written is said.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

#include "figures/figures.h"
#include "ui/details_window.h"
#include "ui/interval_chart.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

const QString kAsked = "Save picture | ambrelay-details.png | PNG picture (*.png);;SVG picture (*.svg)";

IntervalChart* DetailsChart(Window& w, const QString& responses2 = "130")
{
    w.Enter("1000", "100", "1000", responses2);
    w.Go();
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_I, Qt::ControlModifier);
    auto* details = w.window->findChild<DetailsWindow*>("DetailsWindow");
    return details ? details->findChild<IntervalChart*>() : nullptr;
}

QAction* SaveAction(const IntervalChart* chart)
{
    for (QAction* action : chart->actions()) {
        if (action->text() == "Save picture…") {
            return action;
        }
    }
    return nullptr;
}

// Every element of one kind in an SVG text, each as its attributes.
QList<QMap<QString, QString>> Elements(const QString& svg, const QString& name)
{
    QList<QMap<QString, QString>> found;
    const QRegularExpression element("<" + name + "((?: [a-z0-9-]+=\"[^\"]*\")*)\\s*/?>(?:([^<]*)</" + name + ">)?");
    static const QRegularExpression attribute("([a-z0-9-]+)=\"([^\"]*)\"");
    for (const QRegularExpressionMatch& m : element.globalMatch(svg)) {
        QMap<QString, QString> attributes;
        for (const QRegularExpressionMatch& a : attribute.globalMatch(m.captured(1))) {
            attributes[a.captured(1)] = a.captured(2);
        }
        attributes["text"] = m.captured(2);
        found << attributes;
    }
    return found;
}

// A coordinate as the file writes it, to a hundredth of a pixel.
bool Near(const QString& written, double x) { return std::abs(written.toDouble() - x) <= 0.0051; }

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class PictureSavingTest : public QObject {
    Q_OBJECT

private slots:
    void savedByTheNamesSuffix_data();
    void savedByTheNamesSuffix();
    void cancelledOrUnwritable_data();
    void cancelledOrUnwritable();
    void svgDrawsThePaintedMarks_data();
    void svgDrawsThePaintedMarks();
    void screenPaintsTheMarks_data();
    void screenPaintsTheMarks();
    void nothingToSaveWithoutAResult();
};

void PictureSavingTest::savedByTheNamesSuffix_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("how");  // the picture's context menu, or the window's button
    QTest::addColumn<bool>("svg");
    QTest::newRow("PNG from the menu") << "picture.png" << "menu" << false;
    QTest::newRow("PNG from the button") << "picture.png" << "button" << false;
    QTest::newRow("SVG from the menu") << "picture.svg" << "menu" << true;
    QTest::newRow("SVG in capitals") << "PICTURE.SVG" << "button" << true;
    QTest::newRow("another suffix is written as PNG") << "picture.image" << "menu" << false;
}

void PictureSavingTest::savedByTheNamesSuffix()
{
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(bool, svg);
    Window w;
    IntervalChart* chart = DetailsChart(w);
    QVERIFY(chart);
    QTemporaryDir dir;
    w.desktop.savePath = dir.filePath(name);
    if (how == "menu") {
        QCOMPARE(chart->contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(SaveAction(chart) && SaveAction(chart)->isEnabled());
        SaveAction(chart)->trigger();
    } else {
        for (QPushButton* button : chart->parentWidget()->findChildren<QPushButton*>()) {
            if (button->text() == "Save picture…") {
                button->click();
            }
        }
    }
    QCOMPARE(w.desktop.saveAsked, QStringList{kAsked});
    QVERIFY(w.desktop.messages.isEmpty());
    if (svg) {
        const QString text = Read(w.desktop.savePath);
        QVERIFY2(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                 "width=\"" + QString::number(chart->width()) + "\" height=\""
                                 + QString::number(chart->height()) + "\""),
                 qPrintable(text.left(200)));
        QVERIFY(text.endsWith("</svg>\n"));
        QVERIFY(text.contains(">3.0 points (0.2 to 5.8 points)</text>"));
    } else {
        QImage image;
        QVERIFY(image.load(w.desktop.savePath, "PNG"));
        QCOMPARE(image.size(), chart->size() * chart->devicePixelRatio());
        // The difference's line, right of zero, drawn in black where the geometry says.
        const ChartGeometry g = chart->Geometry();
        const QPoint middle(int((g.differenceLowX + g.differenceHighX) / 2 + 3), 136);
        QVERIFY(qGray(image.pixel(middle * chart->devicePixelRatio())) < 60);
    }
}

void PictureSavingTest::cancelledOrUnwritable_data()
{
    QTest::addColumn<QString>("where");  // inside a scratch folder; empty: the dialog was cancelled
    QTest::addColumn<bool>("message");
    QTest::newRow("cancelled") << "" << false;
    QTest::newRow("a folder that is not there, PNG") << "missing/picture.png" << true;
    QTest::newRow("a folder that is not there, SVG") << "missing/picture.svg" << true;
}

void PictureSavingTest::cancelledOrUnwritable()
{
    QFETCH(QString, where);
    QFETCH(bool, message);
    Window w;
    IntervalChart* chart = DetailsChart(w);
    QTemporaryDir dir;
    w.desktop.savePath = where.isEmpty() ? QString() : dir.filePath(where);
    SaveAction(chart)->trigger();
    QCOMPARE(w.desktop.saveAsked.size(), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(w.desktop.messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(w.desktop.messages[0].text, "The picture could not be saved to " + w.desktop.savePath + ".");
    }
}

void PictureSavingTest::svgDrawsThePaintedMarks_data()
{
    QTest::addColumn<QString>("responses2");
    QTest::addColumn<bool>("rightOfZero");
    QTest::newRow("B at 130") << "130" << true;
    QTest::newRow("B at 110") << "110" << false;
    QTest::newRow("B at 100: no difference") << "100" << false;
}

// Each mark of the screen's list is one element of the file, where the
// list puts it; and the difference's interval is where the geometry says.
void PictureSavingTest::svgDrawsThePaintedMarks()
{
    QFETCH(QString, responses2);
    QFETCH(bool, rightOfZero);
    Window w;
    IntervalChart* chart = DetailsChart(w, responses2);
    QTemporaryDir dir;
    w.desktop.savePath = dir.filePath("picture.svg");
    SaveAction(chart)->trigger();
    const QString svg = Read(w.desktop.savePath);
    const std::vector<ChartMark> marks = chart->Marks();
    QList<ChartMark> lines, dots, texts;
    for (const ChartMark& m : marks) {
        (m.kind == ChartMark::Kind::Line ? lines : m.kind == ChartMark::Kind::Dot ? dots : texts) << m;
    }
    const auto svgLines = Elements(svg, "line");
    const auto svgDots = Elements(svg, "circle");
    const auto svgTexts = Elements(svg, "text");
    QCOMPARE(svgLines.size(), lines.size());
    QCOMPARE(svgDots.size(), dots.size());
    QCOMPARE(svgTexts.size(), texts.size() - 1);  // the background is a rect
    QCOMPARE(Elements(svg, "rect").size(), 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QVERIFY(Near(svgLines[i]["x1"], lines[i].from.x()) && Near(svgLines[i]["y1"], lines[i].from.y()));
        QVERIFY(Near(svgLines[i]["x2"], lines[i].to.x()) && Near(svgLines[i]["y2"], lines[i].to.y()));
        QCOMPARE(svgLines[i]["stroke"], lines[i].colour.name());
        QCOMPARE(svgLines[i].contains("stroke-dasharray"), lines[i].dashed);
    }
    for (qsizetype i = 0; i < dots.size(); ++i) {
        QVERIFY(Near(svgDots[i]["cx"], dots[i].from.x()) && Near(svgDots[i]["cy"], dots[i].from.y()));
        QCOMPARE(svgDots[i]["fill"], dots[i].colour.name());
    }
    QStringList written, listed;
    for (const auto& t : svgTexts) {
        written << t["text"];
    }
    for (const ChartMark& m : texts) {
        if (m.kind == ChartMark::Kind::Text) {
            listed << m.text.toHtmlEscaped();
        }
    }
    QCOMPARE(written, listed);
    const Judgement judged = Judge({1000, 100, 1000, responses2.toDouble()});
    QVERIFY(written.contains(QString::fromStdString(JudgementFigures(judged)[JudgementFigure::Difference].label)));
    QVERIFY(written.contains(QString::fromStdString(JudgementFigures(judged)[JudgementFigure::Difference].words)));
    // The difference's black interval line, on its row, spans the geometry's interval.
    const ChartGeometry g = chart->Geometry();
    bool found = false;
    for (const auto& l : svgLines) {
        if (l["stroke"] == "#000000" && l["y1"] == "136" && l["y2"] == "136") {
            found = true;
            QVERIFY(std::abs(l["x1"].toDouble() - g.differenceLowX) < 0.01);
            QVERIFY(std::abs(l["x2"].toDouble() - g.differenceHighX) < 0.01);
        }
    }
    QVERIFY(found);
    QCOMPARE(g.differenceLowX > g.zeroX, rightOfZero);
}

void PictureSavingTest::screenPaintsTheMarks_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("one device pixel a point") << 1;
    QTest::newRow("two device pixels a point") << 2;
}

// What the screen shows is the list: every dot's centre in its colour, and
// every interval's line in its colour a quarter of the way along.
void PictureSavingTest::screenPaintsTheMarks()
{
    QFETCH(int, scale);
    Window w;
    IntervalChart* chart = DetailsChart(w);
    QImage image(chart->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    chart->render(&image);
    int checked = 0;
    for (const ChartMark& m : chart->Marks()) {
        QPointF at;
        if (m.kind == ChartMark::Kind::Dot) {
            at = m.from;
        } else if (m.kind == ChartMark::Kind::Line && m.from.y() == m.to.y() && m.to.x() - m.from.x() > 24) {
            at = m.from + (m.to - m.from) / 4;
        } else {
            continue;
        }
        const QColor seen = image.pixelColor((at * scale).toPoint());
        QVERIFY2(seen == m.colour, qPrintable(seen.name() + " where " + m.colour.name() + " is drawn"));
        ++checked;
    }
    QCOMPARE(checked, 8);  // four intervals: A, B, the difference and its peeking-safe one
}

void PictureSavingTest::nothingToSaveWithoutAResult()
{
    Window w;
    IntervalChart* chart = DetailsChart(w);
    w.Clear();
    QVERIFY(!SaveAction(chart)->isEnabled());
    chart->SavePicture();
    QVERIFY(w.desktop.saveAsked.isEmpty());
    const std::vector<ChartMark> marks = chart->Marks();
    QCOMPARE(marks.size(), std::size_t(2));
    QCOMPARE(marks.back().text, QString("No result"));
}

QTEST_MAIN(PictureSavingTest)
#include "tst_picture_saving.moc"

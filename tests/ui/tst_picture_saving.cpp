// Save picture…: the details window's picture asks for a file through the
// desktop and writes a PNG, or an SVG for a name ending in .svg, drawn from
// the very marks the screen paints; a cancelled dialog writes nothing and a
// file that cannot be written is said.

#include <QAction>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>

#include "ui/interval_chart.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

// The details' picture after Go on A 1000/100 against B 1000/responses2,
// and its one context-menu entry.
std::pair<IntervalChart*, QAction*> DetailsPicture(Window& w, const QString& responses2 = "130")
{
    w.Enter("1000", "100", "1000", responses2);
    w.Go();
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_I, Qt::ControlModifier);
    auto* chart = w.window->findChild<IntervalChart*>();
    const bool one = chart && chart->actions().size() == 1 && chart->actions()[0]->text() == "Save picture…";
    return {chart, one ? chart->actions()[0] : nullptr};
}

}  // namespace

class PictureSavingTest : public QObject {
    Q_OBJECT

private slots:
    void savedByTheNamesSuffix_data();
    void savedByTheNamesSuffix();
    void fileAndScreenShowTheMarks_data();
    void fileAndScreenShowTheMarks();
};

void PictureSavingTest::savedByTheNamesSuffix_data()
{
    QTest::addColumn<QString>("name");  // in a scratch folder; empty: the dialog was cancelled
    QTest::addColumn<bool>("button");   // the window's button, or the picture's menu
    QTest::addColumn<QString>("written");
    QTest::newRow("PNG") << "a.png" << false << "PNG";
    QTest::newRow("SVG in capitals, from the button") << "A.SVG" << true << "SVG";
    QTest::newRow("another suffix, PNG") << "a.image" << false << "PNG";
    QTest::newRow("cancelled") << "" << false << "nothing";
    QTest::newRow("no such folder") << "none/a.svg" << true << "a message";
}

void PictureSavingTest::savedByTheNamesSuffix()
{
    QFETCH(QString, name);
    QFETCH(bool, button);
    QFETCH(QString, written);
    Window w;
    const auto [chart, save] = DetailsPicture(w);
    QVERIFY(save && save->isEnabled() && chart->contextMenuPolicy() == Qt::ActionsContextMenu);
    QTemporaryDir dir;
    w.desktop.savePath = name.isEmpty() ? QString() : dir.filePath(name);
    for (QPushButton* b : chart->parentWidget()->findChildren<QPushButton*>()) {
        if (button && b->text() == "Save picture…") {
            b->click();
        }
    }
    if (!button) {
        save->trigger();
    }
    QCOMPARE(w.desktop.saveAsked,
             QStringList{"Save picture | ambrelay-details.png | PNG picture (*.png);;SVG picture (*.svg)"});
    QImage image;
    QFile file(w.desktop.savePath);
    QCOMPARE(image.load(w.desktop.savePath, "PNG") && image.size() == chart->size(), written == "PNG");
    QCOMPARE(file.open(QIODevice::ReadOnly) && file.readAll().startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                                                         "\n<svg "),
             written == "SVG");
    QCOMPARE(QDir(dir.path()).isEmpty(), written == "nothing" || written == "a message");
    QCOMPARE(w.desktop.messages.size(), written == "a message" ? 1 : 0);
    if (written == "a message") {
        QCOMPARE(w.desktop.messages[0].text, "The picture could not be saved to " + w.desktop.savePath + ".");
    }
    w.Clear();  // no result, nothing to save
    QVERIFY(!save->isEnabled());
}

void PictureSavingTest::fileAndScreenShowTheMarks_data()
{
    QTest::addColumn<QString>("responses2");
    QTest::addColumn<int>("scale");  // device pixels a point
    QTest::newRow("B at 130") << "130" << 1;
    QTest::newRow("B at 110, twice the density") << "110" << 2;
}

// Each mark the screen paints is one element of the SVG file, where the
// list puts it, and every dot and interval line is on screen in its colour.
void PictureSavingTest::fileAndScreenShowTheMarks()
{
    QFETCH(QString, responses2);
    QFETCH(int, scale);
    Window w;
    const auto [chart, save] = DetailsPicture(w, responses2);
    QTemporaryDir dir;
    w.desktop.savePath = dir.filePath("a.svg");
    save->trigger();
    QFile file(w.desktop.savePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    QImage screen(chart->size() * scale, QImage::Format_RGB32);
    screen.setDevicePixelRatio(scale);
    chart->render(&screen);
    // An element's kind, its first coordinate (x, x1 or cx), its other attributes and its text.
    static const QRegularExpression element("<(rect|line|circle|text) [a-z0-9]+=\"([-0-9.]+)\"([^>]*)>([^<]*)");
    QList<QRegularExpressionMatch> elements;
    for (const QRegularExpressionMatch& m : element.globalMatch(svg)) {
        elements << m;
    }
    const std::vector<ChartMark> marks = chart->Marks();
    QCOMPARE(elements.size(), qsizetype(marks.size()));
    int painted = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const ChartMark& m = marks[i];
        const QRegularExpressionMatch& e = elements[i];
        QCOMPARE(e.captured(1), QString(std::array{"rect", "line", "circle", "text"}[std::size_t(m.kind)]));
        QVERIFY(e.captured(3).contains("\"" + m.colour.name() + "\""));
        const double x = m.kind == ChartMark::Kind::Line || m.kind == ChartMark::Kind::Dot ? m.from.x() : m.box.x();
        QVERIFY(m.kind == ChartMark::Kind::Text || std::abs(e.captured(2).toDouble() - x) <= 0.005);
        QCOMPARE(e.captured(4).trimmed(), m.text.toHtmlEscaped());
        // On screen: each dot's centre, and each interval's line a quarter along, in the mark's colour.
        if (m.kind == ChartMark::Kind::Dot || (m.from.y() == m.to.y() && m.to.x() - m.from.x() > 24)) {
            const QPointF on = m.kind == ChartMark::Kind::Dot ? m.from : m.from + (m.to - m.from) / 4;
            QCOMPARE(screen.pixelColor((on * scale).toPoint()), m.colour);
            ++painted;
        }
    }
    QCOMPARE(painted, 8);  // four intervals: A, B, the difference and its peeking-safe one
}

QTEST_MAIN(PictureSavingTest)
#include "tst_picture_saving.moc"

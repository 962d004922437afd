// Every caption and value stays readable under a light and a dark scheme:
// the window is drawn, and in each control the text's darkest or lightest
// pixel is measured against the control's own background.

#include <QImage>
#include <QMap>
#include <QStyle>

#include "ui/legible_text.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

// A dark scheme as GTK's Adwaita dark gives it.
QPalette DarkScheme()
{
    QPalette p;
    const QColor text(238, 238, 236), window(53, 53, 53), base(45, 45, 45);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::ButtonText, text);
    }
    return p;
}

// The most common colour of the area is its background; the text is the
// pixel that stands out most from it.
double TextContrast(const QImage& area)
{
    QMap<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            ++counts[area.pixel(x, y)];
        }
    }
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(background)) {
            background = it.key();
        }
    }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        best = std::max(best, ContrastRatio(QColor(it.key()), QColor(background)));
    }
    return best;
}

}  // namespace

class KelvoryContrastTest : public QObject {
    Q_OBJECT

private slots:
    void everyTextIsLegible_data();
    void everyTextIsLegible();
    void lightSchemeKeepsItsText();
};

void KelvoryContrastTest::everyTextIsLegible_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("inset");  // pixels of border to leave out
    const QList<QPair<QString, int>> controls = {
        {"Label9", 0},    {"lblAd1", 0},   {"Label3", 0},    {"lblRspn1", 0},  {"lblRspn2", 0},
        {"Label10", 0},   {"lblRatio1", 1}, {"Label1", 0},   {"lblPVal", 1},   {"Label11", 0},
        {"lblRatio2", 1}, {"Label8", 0},   {"lblZStat", 1},  {"Label2", 0},    {"lblResult", 0},
        {"lblStar2", 0},  {"Label4", 0},   {"lblLink", 0},   {"Label7", 0},    {"Label5", 0},
        {"txtViews1", 4}, {"Command1", 4},
    };
    for (const bool dark : {false, true}) {
        for (const auto& [name, inset] : controls) {
            QTest::addRow("%s, %s", dark ? "dark" : "light", qPrintable(name)) << dark << name << inset;
        }
    }
}

void KelvoryContrastTest::everyTextIsLegible()
{
    QFETCH(bool, dark);
    QFETCH(QString, control);
    QFETCH(int, inset);
    QApplication::setPalette(dark ? DarkScheme() : QApplication::style()->standardPalette());
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    const QImage shot = w.window->grab().toImage();
    QWidget* widget = w.Find(control);
    const QRect area(widget->mapTo(w.window.get(), QPoint(inset, inset)),
                     widget->size() - QSize(2 * inset, 2 * inset));
    const double contrast = TextContrast(shot.copy(area));
    QVERIFY2(contrast >= kLegibleContrast, qPrintable(QString::number(contrast)));
}

void KelvoryContrastTest::lightSchemeKeepsItsText()
{
    // Under a light scheme the captions keep the scheme's own text colour.
    QApplication::setPalette(QApplication::style()->standardPalette());
    Window w;
    QCOMPARE(w.Label("lblAd1")->palette().color(QPalette::WindowText),
             QApplication::palette().color(QPalette::WindowText));
    // A switch to a dark scheme while the window is open takes effect at once.
    QApplication::setPalette(DarkScheme());
    QCOMPARE(w.Label("lblAd1")->palette().color(QPalette::WindowText), QColor(Qt::black));
}

QTEST_MAIN(KelvoryContrastTest)
#include "tst_kelvory_contrast.moc"

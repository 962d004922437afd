// At twice the pixel density (run with QT_SCALE_FACTOR=2) the window is
// 700 x 928 device pixels, every control keeps its place in the window's
// own pixels, the picture is the same layout drawn finer, and the pointer
// has an image of its own resolution.

#include <QPainter>

#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

QImage Render(QWidget* window, qreal ratio)
{
    QImage image(window->size() * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    window->render(&image);
    return image;
}

// A point whose 3 x 3 neighbourhood is one colour: not an edge of text or
// of a line, so it must look the same at any scale.
bool IsFlat(const QImage& image, int x, int y)
{
    const QRgb centre = image.pixel(x, y);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.pixel(x + dx, y + dy) != centre) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class KelvoryScaleTest : public QObject {
    Q_OBJECT

private slots:
    void windowDoublesInDevicePixels();
    void layoutIsTheSameAtBothScales();
    void pointerHasADoubleImage();
};

void KelvoryScaleTest::windowDoublesInDevicePixels()
{
    Window w;
    QCOMPARE(w.window->devicePixelRatioF(), 2.0);
    QCOMPARE(w.window->size(), QSize(350, 464));
    const QPixmap shot = w.window->grab();
    QCOMPARE(shot.size(), QSize(700, 928));
    QCOMPARE(w.Find("lblPVal")->geometry(), QRect(112, 192, 121, 25));
    QCOMPARE(w.Find("Label7")->geometry(), QRect(8, 48, 305, 33));
    QCOMPARE(w.Find("lblResult")->font().pixelSize(), 13);
}

void KelvoryScaleTest::layoutIsTheSameAtBothScales()
{
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    const QImage single = Render(w.window.get(), 1.0);
    const QImage twice = Render(w.window.get(), 2.0);
    QCOMPARE(twice.size(), QSize(700, 928));
    int flat = 0;
    int same = 0;
    for (int y = 1; y < single.height() - 1; y += 3) {
        for (int x = 1; x < single.width() - 1; x += 3) {
            if (!IsFlat(single, x, y)) {
                continue;
            }
            ++flat;
            same += twice.pixel(2 * x, 2 * y) == single.pixel(x, y) ? 1 : 0;
        }
    }
    QVERIFY(flat > 10000);
    QVERIFY2(same >= flat * 99 / 100, qPrintable(QString("%1 of %2 flat points agree").arg(same).arg(flat)));
    // Text is drawn at the finer resolution, not enlarged: the doubled picture
    // has more distinct shades inside the verdict than the single one.
    const QRect verdict = w.Find("lblResult")->geometry();
    auto shades = [](const QImage& image, const QRect& area) {
        QSet<QRgb> seen;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                seen.insert(image.pixel(x, y));
            }
        }
        return seen.size();
    };
    QVERIFY(shades(twice, QRect(verdict.topLeft() * 2, verdict.size() * 2)) >= shades(single, verdict));
}

void KelvoryScaleTest::pointerHasADoubleImage()
{
    Window w;
    const QCursor cursor = w.window->cursor();
    QCOMPARE(cursor.hotSpot(), QPoint(12, 1));
    const QPixmap image = cursor.pixmap();
    QCOMPARE(image.devicePixelRatio(), 2.0);
    QCOMPARE(image.size(), QSize(64, 64));
    // Each pixel of the drawing is a sharp 2 x 2 square, not a blur.
    const QImage pixels = image.toImage();
    for (int y = 0; y < 64; y += 2) {
        for (int x = 0; x < 64; x += 2) {
            const QRgb p = pixels.pixel(x, y);
            QVERIFY(pixels.pixel(x + 1, y) == p && pixels.pixel(x, y + 1) == p && pixels.pixel(x + 1, y + 1) == p);
        }
    }
}

QTEST_MAIN(KelvoryScaleTest)
#include "tst_kelvory_scale.moc"

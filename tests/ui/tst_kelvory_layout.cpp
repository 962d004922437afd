// The window as it opens: every control's place, font, colours, caption and
// visibility, the stacking, the focus order and the pointer.

#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>

#include "ui/hand_cursor.h"
#include "ui/window_look.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

enum FontKind { Fixed, Proportional };

const QColor kWindow(192, 192, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

}  // namespace

class KelvoryLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void windowIsFixedAndCentred();
    void controlsSitWhereTabled_data();
    void controlsSitWhereTabled();
    void labelsShowTheirCaptions_data();
    void labelsShowTheirCaptions();
    void fontsAreOfTheirKind_data();
    void fontsAreOfTheirKind();
    void coloursAreTabled_data();
    void coloursAreTabled();
    void valueFieldsAreBordered_data();
    void valueFieldsAreBordered();
    void stackingFollowsTheList();
    void focusFollowsTabOrder_data();
    void focusFollowsTabOrder();
    void onlyInputsAndButtonsTakeFocus();
    void progressBarsAreUprightStrips();
    void progressBarsFillFromTheBottom_data();
    void progressBarsFillFromTheBottom();
    void pointerStartsAsTheHand();
    void resultTextWrapsInsideItsBox();
};

void KelvoryLayoutTest::windowIsFixedAndCentred()
{
    Window w;
    QCOMPARE(w.window->windowTitle(), QString("Ambrelay"));
    QCOMPARE(w.window->objectName(), QString("Kelvory"));
    QCOMPARE(w.window->size(), QSize(350, 464));
    QCOMPARE(w.window->minimumSize(), QSize(350, 464));
    QCOMPARE(w.window->maximumSize(), QSize(350, 464));
    const Qt::WindowFlags flags = w.window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offCentre = w.window->frameGeometry().center() - screen.center();
    QVERIFY2(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1, qPrintable(QString("off by %1, %2")
                                                                               .arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(w.FocusName(), QString("txtViews1"));
}

void KelvoryLayoutTest::controlsSitWhereTabled_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    auto row = [](const char* name, const char* parent, int x, int y, int width, int height) {
        QTest::newRow(name) << QString(parent) << QRect(x, y, width, height);
    };
    row("lblTitle", "Kelvory", 0, 8, 345, 25);
    row("Label9", "Kelvory", 16, 152, 49, 17);
    row("lblAd1", "Kelvory", 56, 40, 120, 17);
    row("txtViews1", "Kelvory", 56, 56, 100, 25);
    row("Label3", "Kelvory", 184, 40, 136, 17);
    row("txtViews2", "Kelvory", 184, 56, 100, 25);
    row("lblRspn1", "Kelvory", 56, 88, 120, 17);
    row("txtRspn1", "Kelvory", 56, 104, 100, 25);
    row("lblRspn2", "Kelvory", 184, 88, 120, 17);
    row("txtRspn2", "Kelvory", 184, 104, 100, 25);
    row("Command1", "Kelvory", 96, 136, 65, 25);
    row("Command2", "Kelvory", 176, 136, 65, 25);
    row("Command3", "Kelvory", 296, 136, 49, 25);
    row("Line1", "Kelvory", 16, 168, 312, 1);
    row("Label10", "Kelvory", 16, 176, 81, 17);
    row("lblRatio1", "Kelvory", 16, 192, 81, 25);
    row("Label1", "Kelvory", 128, 176, 89, 17);
    row("lblPVal", "Kelvory", 112, 192, 121, 25);
    row("Label11", "Kelvory", 248, 176, 81, 17);
    row("lblRatio2", "Kelvory", 248, 192, 81, 25);
    row("Label8", "Kelvory", 128, 224, 89, 17);
    row("lblZStat", "Kelvory", 112, 240, 121, 25);
    row("Label2", "Kelvory", 120, 272, 113, 17);
    row("Label6", "Kelvory", 8, 288, 329, 65);
    row("lblResult", "Kelvory", 16, 296, 313, 49);
    row("lblStar1", "Kelvory", 0, 192, 17, 25);
    row("lblStar2", "Kelvory", 328, 192, 17, 25);
    row("lblWin1a", "Kelvory", 8, 224, 65, 25);
    row("lblWin1b", "Kelvory", 0, 248, 81, 33);
    row("lblWin2a", "Kelvory", 248, 224, 65, 25);
    row("lblWin2b", "Kelvory", 248, 248, 73, 33);
    row("pbar1", "Kelvory", 88, 224, 17, 57);
    row("pbar2", "Kelvory", 328, 224, 17, 57);
    row("Frame1", "Kelvory", 8, 352, 329, 105);
    row("Label4", "Frame1", 8, 16, 305, 17);
    row("lblLink", "Frame1", 48, 32, 217, 17);
    row("Label7", "Frame1", 8, 48, 305, 33);
    row("Label5", "Frame1", 56, 80, 209, 17);
}

void KelvoryLayoutTest::controlsSitWhereTabled()
{
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    Window w;
    QWidget* control = w.Find(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
}

void KelvoryLayoutTest::labelsShowTheirCaptions_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("alignment");
    const int left = Qt::AlignLeft;
    const int centred = Qt::AlignHCenter;
    QTest::newRow("lblTitle") << "Ambrelay" << true << centred;
    QTest::newRow("Label9") << "V 1.0" << true << left;
    QTest::newRow("lblAd1") << "Ver 1 Observations" << true << left;
    QTest::newRow("Label3") << "Ver 2 Observations" << true << left;
    QTest::newRow("lblRspn1") << "Ver 1 Responses" << true << left;
    QTest::newRow("lblRspn2") << "Ver 2 Responses" << true << left;
    QTest::newRow("Label10") << "Ratio A" << true << centred;
    QTest::newRow("lblRatio1") << "" << true << centred;
    QTest::newRow("Label1") << "p Value" << true << centred;
    QTest::newRow("lblPVal") << "" << true << centred;
    QTest::newRow("Label11") << "Ratio B" << true << centred;
    QTest::newRow("lblRatio2") << "" << true << centred;
    QTest::newRow("Label8") << "Z Statistic" << true << centred;
    QTest::newRow("lblZStat") << "" << true << centred;
    QTest::newRow("Label2") << "Interpretation" << true << centred;
    QTest::newRow("Label6") << "" << true << left;
    QTest::newRow("lblResult") << "Insufficient data. Please fill in all four input boxes." << true << left;
    QTest::newRow("lblStar1") << "*" << false << centred;
    QTest::newRow("lblStar2") << "*" << false << centred;
    QTest::newRow("lblWin1a") << "Winner!" << false << centred;
    QTest::newRow("lblWin1b") << "VER 1" << false << centred;
    QTest::newRow("lblWin2a") << "Winner!" << false << centred;
    QTest::newRow("lblWin2b") << "Ver 2" << false << centred;
    QTest::newRow("lblLink") << "www.ambrelay.example" << true << centred;
}

void KelvoryLayoutTest::labelsShowTheirCaptions()
{
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    QFETCH(int, alignment);
    Window w;
    QLabel* label = w.Label(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->isVisibleTo(w.window.get()), visible);
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
    QVERIFY(label->alignment() & Qt::AlignTop);
    QVERIFY(label->wordWrap());
}

void KelvoryLayoutTest::fontsAreOfTheirKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    auto row = [](const char* name, FontKind kind, int pixels, bool bold) {
        QTest::newRow(name) << int(kind) << pixels << bold;
    };
    row("Kelvory", Fixed, 11, false);
    row("lblTitle", Fixed, 19, true);
    row("Label9", Fixed, 11, false);
    row("lblAd1", Proportional, 11, true);
    row("txtViews1", Proportional, 13, false);
    row("txtRspn2", Proportional, 13, false);
    row("Command1", Proportional, 11, false);
    row("Command2", Proportional, 11, false);
    row("Command3", Fixed, 11, false);
    row("Label10", Fixed, 11, true);
    row("lblRatio1", Fixed, 11, false);
    row("lblPVal", Fixed, 13, false);
    row("lblZStat", Fixed, 11, false);
    row("lblResult", Fixed, 13, false);
    row("lblStar1", Fixed, 19, true);
    row("lblWin1a", Fixed, 13, true);
    row("lblWin2b", Fixed, 21, true);
    row("Frame1", Proportional, 11, false);
    row("Label4", Fixed, 13, false);
    row("lblLink", Fixed, 13, true);
    row("Label7", Fixed, 13, true);
    row("Label5", Proportional, 11, false);
}

void KelvoryLayoutTest::fontsAreOfTheirKind()
{
    QFETCH(int, kind);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    Window w;
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QWidget* control = name == "Kelvory" ? w.window.get() : w.Find(name);
    const QFont font = control->font();
    QCOMPARE(font.pixelSize(), pixels);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.italic(), false);
    QCOMPARE(font.underline(), name == "lblLink");
    QCOMPARE(font.families().first(), kind == Fixed ? QString("Courier New") : QString("MS Sans Serif"));
    // What the machine actually draws with is of the same kind.
    QCOMPARE(QFontInfo(font).fixedPitch(), kind == Fixed);
}

void KelvoryLayoutTest::coloursAreTabled_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");  // invalid: transparent on the window colour
    const QColor none;
    QTest::newRow("lblTitle") << kRed << none;
    QTest::newRow("lblWin1a") << kRed << none;
    QTest::newRow("lblWin1b") << kRed << none;
    QTest::newRow("lblWin2a") << kRed << none;
    QTest::newRow("lblWin2b") << kRed << none;
    QTest::newRow("lblLink") << kBlue << none;
    QTest::newRow("lblAd1") << QColor(Qt::black) << none;
    QTest::newRow("Label10") << QColor(Qt::black) << look::InactiveBorder();
    QTest::newRow("Label1") << QColor(Qt::black) << look::InactiveBorder();
    QTest::newRow("Label2") << QColor(Qt::black) << look::InactiveBorder();
    QTest::newRow("lblRatio1") << QColor(Qt::black) << look::ThreeDLight();
    QTest::newRow("lblPVal") << QColor(Qt::black) << look::ThreeDLight();
    QTest::newRow("lblZStat") << QColor(Qt::black) << look::ThreeDLight();
    QTest::newRow("Label6") << QColor(Qt::black) << look::ThreeDLight();
    QTest::newRow("lblResult") << QColor(Qt::black) << look::ThreeDLight();
}

void KelvoryLayoutTest::coloursAreTabled()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    Window w;
    QLabel* label = w.Label(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(label->palette().color(QPalette::WindowText), text);
    QCOMPARE(label->autoFillBackground(), background.isValid());
    const QColor shown = background.isValid() ? background : kWindow;
    QCOMPARE(label->palette().color(QPalette::Window), shown);
    // And on screen: a pixel of the label's own background.
    const QImage image = label->grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), shown);
}

void KelvoryLayoutTest::valueFieldsAreBordered_data()
{
    QTest::addColumn<bool>("bordered");
    for (const char* name : {"lblRatio1", "lblRatio2", "lblPVal", "lblZStat", "Label6"}) {
        QTest::newRow(name) << true;
    }
    for (const char* name : {"lblResult", "Label10", "lblTitle", "lblStar1"}) {
        QTest::newRow(name) << false;
    }
}

void KelvoryLayoutTest::valueFieldsAreBordered()
{
    QFETCH(bool, bordered);
    Window w;
    QLabel* label = w.Label(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(label->frameShape() == QFrame::Box, bordered);
    QCOMPARE(label->frameWidth(), bordered ? 1 : 0);
}

void KelvoryLayoutTest::stackingFollowsTheList()
{
    Window w;
    const QStringList topFirst = {"Command3", "pbar2", "pbar1", "Command2", "Command1", "Frame1", "txtRspn2",
                                  "txtRspn1", "txtViews2", "txtViews1", "Label9", "lblRatio2", "lblRatio1",
                                  "Label11", "Label10", "lblZStat", "Label8", "lblStar1", "lblStar2", "lblWin2b",
                                  "lblWin2a", "lblWin1b", "lblWin1a", "lblResult", "Label6", "lblPVal", "Label2",
                                  "Label1", "Line1", "lblRspn1", "lblRspn2", "Label3", "lblAd1", "lblTitle"};
    // Children are painted in list order, the last on top.
    QStringList bottomFirst;
    for (QObject* child : w.window->children()) {
        if (child->isWidgetType()) {
            bottomFirst.prepend(child->objectName());
        }
    }
    QCOMPARE(bottomFirst, topFirst);

    QStringList frameTopFirst;
    for (QObject* child : w.Find("Frame1")->children()) {
        if (child->isWidgetType()) {
            frameTopFirst.prepend(child->objectName());
        }
    }
    QCOMPARE(frameTopFirst, QStringList({"Label5", "Label7", "lblLink", "Label4"}));
    // lblResult lies inside Label6 and on top of it.
    QVERIFY(w.Find("Label6")->geometry().contains(w.Find("lblResult")->geometry()));
}

void KelvoryLayoutTest::focusFollowsTabOrder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("visits");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier)
                         << QStringList{"txtRspn1", "txtViews2", "txtRspn2", "Command1", "Command2", "Command3",
                                        "txtViews1"};
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier)
                               << QStringList{"Command3", "Command2", "Command1", "txtRspn2", "txtViews2",
                                              "txtRspn1", "txtViews1"};
}

void KelvoryLayoutTest::focusFollowsTabOrder()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, visits);
    Window w;
    QCOMPARE(w.FocusName(), QString("txtViews1"));
    QStringList visited;
    for (int i = 0; i < visits.size(); ++i) {
        QTest::keyClick(w.window->focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        visited << w.FocusName();
    }
    QCOMPARE(visited, visits);
}

void KelvoryLayoutTest::onlyInputsAndButtonsTakeFocus()
{
    Window w;
    QStringList focusable;
    for (QWidget* child : w.window->findChildren<QWidget*>()) {
        if (child->focusPolicy() != Qt::NoFocus) {
            focusable << child->objectName();
        }
    }
    focusable.sort();
    QCOMPARE(focusable, QStringList({"Command1", "Command2", "Command3", "txtRspn1", "txtRspn2", "txtViews1",
                                     "txtViews2"}));
    for (const char* name : {"Command1", "Command2", "Command3"}) {
        auto* button = w.Find<QPushButton>(QString::fromLatin1(name));
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void KelvoryLayoutTest::progressBarsAreUprightStrips()
{
    Window w;
    for (const char* name : {"pbar1", "pbar2"}) {
        UprightBar* bar = w.Bar(QString::fromLatin1(name));
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QCOMPARE(bar->minimum(), 70);
        QCOMPARE(bar->maximum(), 100);
        QVERIFY(!bar->isTextVisible());
        QVERIFY(!bar->invertedAppearance());  // fills from the bottom
        QVERIFY(!bar->isVisibleTo(w.window.get()));
    }
}

void KelvoryLayoutTest::progressBarsFillFromTheBottom_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<double>("filledShare");  // of the bar's height, from the bottom
    QTest::newRow("70 is empty") << 70.0f << 0.0;
    QTest::newRow("85 is half") << 85.0f << 0.5;
    QTest::newRow("98.214 is nearly full") << 98.214f << 0.94;
    QTest::newRow("100 is full") << 100.0f << 1.0;
}

void KelvoryLayoutTest::progressBarsFillFromTheBottom()
{
    QFETCH(float, value);
    QFETCH(double, filledShare);
    Window w;
    UprightBar* bar = w.Bar("pbar2");
    bar->show();
    bar->SetValue(value);
    QCOMPARE_EQ(bar->Value(), value);  // kept exactly, not as the widget's whole number
    const QImage image = bar->grab().toImage();
    // The fill is drawn in the highlight colour, bluer than the groove.
    auto filled = [&](int y) {
        const QColor c = image.pixelColor(image.width() / 2, y);
        return c.blue() - c.red() > 40;
    };
    const int inner = image.height();
    const int filledRows = [&] {
        int rows = 0;
        for (int y = 1; y < image.height() - 1; ++y) {
            rows += filled(y) ? 1 : 0;
        }
        return rows;
    }();
    QVERIFY2(qAbs(filledRows - filledShare * inner) <= 3,
             qPrintable(QString("%1 of %2 rows filled").arg(filledRows).arg(inner)));
    if (filledShare > 0 && filledShare < 0.9) {
        QVERIFY(filled(image.height() - 3));  // the bottom fills first
        QVERIFY(!filled(2));
    }
}

void KelvoryLayoutTest::pointerStartsAsTheHand()
{
    Window w;
    QCOMPARE(w.window->mousePointer(), 99);
    const QCursor cursor = w.window->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(12, 1));
    const QImage hand = cursor.pixmap().toImage();
    QCOMPARE(hand.size(), QSize(32, 32));
    // The fingertip is drawn at the hot spot; the corner is transparent.
    QVERIFY(hand.pixelColor(12, 1).alpha() == 255);
    QVERIFY(hand.pixelColor(12, 0).alpha() == 0);
    QVERIFY(hand.pixelColor(0, 0).alpha() == 0);
}

void KelvoryLayoutTest::resultTextWrapsInsideItsBox()
{
    Window w;
    QLabel* result = w.Label("lblResult");
    const QFontMetrics metrics(result->font());
    const QRect needed = metrics.boundingRect(result->contentsRect(), Qt::TextWordWrap | Qt::AlignLeft,
                                              result->text());
    QCOMPARE(needed.height(), 2 * metrics.height());  // two lines
    QVERIFY(needed.height() <= result->height());
    QLabel* tagline = w.Label("Label7");
    const QFontMetrics taglineMetrics(tagline->font());
    QCOMPARE(taglineMetrics.boundingRect(tagline->contentsRect(), Qt::TextWordWrap | Qt::AlignHCenter,
                                         tagline->text()).height(),
             2 * taglineMetrics.height());
}

QTEST_MAIN(KelvoryLayoutTest)
#include "tst_kelvory_layout.moc"

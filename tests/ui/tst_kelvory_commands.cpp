// Clear, Help, the link, the Enter key and the pointer over the credits.

#include <QMouseEvent>
#include <QSignalSpy>

#include "messages.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {


// Everything Clear resets, as one comparable list.
QStringList ClearableState(const Window& w)
{
    QStringList state;
    for (const char* name : {"txtViews1", "txtRspn1", "txtViews2", "txtRspn2"}) {
        state << w.Box(QString::fromLatin1(name))->text();
    }
    for (const char* name : {"lblRatio1", "lblRatio2", "lblPVal", "lblZStat", "lblResult"}) {
        state << w.Label(QString::fromLatin1(name))->text();
    }
    state << w.VisibleIndicators() << w.FocusName();
    return state;
}

void MoveMouseOver(QWidget* target, const QPoint& position)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(position), QPointF(target->mapToGlobal(position)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

}  // namespace

class KelvoryCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void clearAtStartChangesNothing();
    void clearAfterCalculationEmptiesEverything();
    void clearKeepsVariablesAndFlags();
    void helpAndLinkOpenTheirPages();
    void enterMovesToTheNextControl_data();
    void enterMovesToTheNextControl();
    void typingOtherCharactersReachesTheBox();
    void keyboardOnlyRunThroughGo();
    void escapeDoesNotCloseTheWindow();
    void pointerFollowsTheMouse_data();
    void pointerFollowsTheMouse();
};

void KelvoryCommandsTest::clearAtStartChangesNothing()
{
    Window w;
    const QStringList start = ClearableState(w);
    w.Box("txtRspn2")->setFocus();
    w.Clear();
    QCOMPARE(ClearableState(w), start);
    w.Clear();
    QCOMPARE(ClearableState(w), start);
    QCOMPARE(w.window->mousePointer(), 99);
}

void KelvoryCommandsTest::clearAfterCalculationEmptiesEverything()
{
    Window w;
    const QStringList start = ClearableState(w);
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    w.Clear();
    QCOMPARE(ClearableState(w), start);
    QCOMPARE(w.Label("lblResult")->text(), kInsufficient);
    QCOMPARE(w.FocusName(), QString("txtViews1"));
    // A following "Go" without new input fails the blank check.
    w.Go();
    QCOMPARE(w.desktop.messages.size(), 1);
    QCOMPARE(w.desktop.messages.first().text, kBlank);
}

void KelvoryCommandsTest::clearKeepsVariablesAndFlags()
{
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    w.Enter("1000", "abc", "1000", "130");
    w.Go();
    w.Clear();
    QCOMPARE(w.window->numericFlag(), qint16(1));
    QCOMPARE_EQ(w.window->FormVariables().ZStat, 2.1);
    QCOMPARE(w.window->FormVariables().winner, Winner(Version::B));
    // The hidden bar keeps its value.
    QCOMPARE_EQ(w.Bar("pbar2")->Value(), 98.214f);
}

void KelvoryCommandsTest::helpAndLinkOpenTheirPages()
{
    Window w;
    const QStringList before = ClearableState(w);
    w.Find<QPushButton>("Command3")->click();
    QTest::mouseClick(w.Label("lblLink"), Qt::LeftButton);
    QCOMPARE(w.desktop.addresses,
             QStringList({"http://www.ambrelay.example/kelvoryhelp.html?ambrelayhelp",
                          "http://www.ambrelay.example/about.html"}));
    QVERIFY(w.desktop.messages.isEmpty());
    QCOMPARE(ClearableState(w), before);
}

void KelvoryCommandsTest::enterMovesToTheNextControl_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("key");
    QTest::newRow("views 1") << "txtViews1" << "txtRspn1" << int(Qt::Key_Return);
    QTest::newRow("responses 1") << "txtRspn1" << "txtViews2" << int(Qt::Key_Return);
    QTest::newRow("views 2") << "txtViews2" << "txtRspn2" << int(Qt::Key_Return);
    QTest::newRow("responses 2 to Go") << "txtRspn2" << "Command1" << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << "txtViews1" << "txtRspn1" << int(Qt::Key_Enter);
}

void KelvoryCommandsTest::enterMovesToTheNextControl()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, key);
    Window w;
    QLineEdit* box = w.Box(from);
    box->setText("12");
    box->setFocus();
    QSignalSpy returnPressed(box, &QLineEdit::returnPressed);
    QTest::keyClick(box, Qt::Key(key));
    QCOMPARE(w.FocusName(), to);
    QCOMPARE(returnPressed.count(), 0);  // the box never saw the Enter
    QCOMPARE(box->text(), QString("12"));
    QVERIFY(w.desktop.messages.isEmpty());
}

void KelvoryCommandsTest::typingOtherCharactersReachesTheBox()
{
    Window w;
    QTest::keyClicks(w.Box("txtViews1"), "1,0a b.");
    QCOMPARE(w.Box("txtViews1")->text(), QString("1,0a b."));
    QCOMPARE(w.FocusName(), QString("txtViews1"));
    // No length limit: a long paste arrives whole.
    const QString longPaste(100000, QChar('7'));
    w.Box("txtRspn1")->setText(longPaste);
    QCOMPARE(w.Box("txtRspn1")->text(), longPaste);
}

void KelvoryCommandsTest::keyboardOnlyRunThroughGo()
{
    Window w;
    for (const char* count : {"1000", "100", "1000", "130"}) {
        QTest::keyClicks(w.window->focusWidget(), count);
        QTest::keyClick(w.window->focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(w.FocusName(), QString("Command1"));
    QTest::keyClick(w.window->focusWidget(), Qt::Key_Return);  // presses "Go"
    QCOMPARE(w.Label("lblResult")->text(),
             QString("Variation B is the clear and undisputed winner with a likelihood of 98.214%"));
    QCOMPARE(w.FocusName(), QString("txtViews1"));
    // Space on a focused button presses it too.
    w.Find<QPushButton>("Command2")->setFocus();
    QTest::keyClick(w.window->focusWidget(), Qt::Key_Space);
    QCOMPARE(w.Label("lblResult")->text(), kInsufficient);
}

void KelvoryCommandsTest::escapeDoesNotCloseTheWindow()
{
    Window w;
    QTest::keyClick(w.window->focusWidget(), Qt::Key_Escape);
    QVERIFY(w.window->isVisible());
}

void KelvoryCommandsTest::pointerFollowsTheMouse_data()
{
    QTest::addColumn<QString>("over");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("lblLink shows the hand") << "lblLink" << 0 << 99;
    QTest::newRow("lblLink keeps the hand") << "lblLink" << 99 << 99;
    QTest::newRow("Frame1 restores the default") << "Frame1" << 99 << 0;
    QTest::newRow("Label4 restores the default") << "Label4" << 99 << 0;
    QTest::newRow("Label7 restores the default") << "Label7" << 99 << 0;
    QTest::newRow("window surface restores the default") << "Kelvory" << 99 << 0;
    QTest::newRow("surface under Line1") << "Line1" << 99 << 0;
    QTest::newRow("Label5 changes nothing") << "Label5" << 99 << 99;
    QTest::newRow("Label5 keeps the default") << "Label5" << 0 << 0;
    QTest::newRow("an input box changes nothing") << "txtViews1" << 99 << 99;
    QTest::newRow("a button changes nothing") << "Command1" << 99 << 99;
    QTest::newRow("the result changes nothing") << "lblResult" << 99 << 99;
    QTest::newRow("a caption changes nothing") << "lblAd1" << 99 << 99;
}

void KelvoryCommandsTest::pointerFollowsTheMouse()
{
    QFETCH(QString, over);
    QFETCH(int, before);
    QFETCH(int, after);
    Window w;
    if (before == 0) {
        MoveMouseOver(w.window.get(), QPoint(2, 2));
    }
    QCOMPARE(w.window->mousePointer(), before);
    if (over == "Kelvory") {
        MoveMouseOver(w.window.get(), QPoint(2, 2));
    } else if (over == "Line1") {
        // The rule takes no mouse events: a move over it is a move over the window.
        QWidget* line = w.Find("Line1");
        MoveMouseOver(w.window.get(), line->geometry().center());
    } else if (over == "Frame1") {
        MoveMouseOver(w.Find("Frame1"), QPoint(3, 3));
    } else {
        QWidget* target = w.Find(over);
        MoveMouseOver(target, target->rect().center());
    }
    QCOMPARE(w.window->mousePointer(), after);
    QCOMPARE(w.window->cursor().shape(), after == 99 ? Qt::BitmapCursor : Qt::ArrowCursor);
}

QTEST_MAIN(KelvoryCommandsTest)
#include "tst_kelvory_commands.moc"

// What a screen reader is given: the spoken notice after each command, the
// bars as a share of 100, the window as a frame; and Help when no browser
// opens, which must never fail in silence.

#include <QAccessible>
#include <QAction>

#include "ui/announcer.h"
#include "ui/site_addresses.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

class KelvoryHeardTest : public QObject {
    Q_OBJECT

private slots:
    void eachCommandIsAnnounced_data();
    void eachCommandIsAnnounced();
    void barsAndWindowAsAssistiveToolsSeeThem();
    void helpWithoutBrowser_data();
    void helpWithoutBrowser();
};

void KelvoryHeardTest::eachCommandIsAnnounced_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("spoken");  // empty: nothing new to say
    QTest::newRow("Go") << "go"
                        << "Variation B is the clear and undisputed winner with a likelihood of 98.214%. p value "
                           "0.01786.";
    QTest::newRow("Clear") << "clear" << "The form was cleared.";
    QTest::newRow("Copy") << "copy" << "The result was copied to the clipboard.";
    QTest::newRow("Copy as Markdown") << "markdown" << "The result was copied to the clipboard as a Markdown table.";
    QTest::newRow("a blank box speaks through its message") << "blank" << "";
}

void KelvoryHeardTest::eachCommandIsAnnounced()
{
    QFETCH(QString, command);
    QFETCH(QString, spoken);
    Window w;
    auto* announcer = w.window->findChild<Announcer*>();
    QVERIFY(announcer);
    w.Enter(command == "blank" ? "" : "1000", "100", "1000", "130");
    w.Go();
    if (command == "clear") {
        w.Clear();
    } else if (command == "copy") {
        QTest::keyClick(w.Box("txtViews1"), Qt::Key_C, Qt::ControlModifier);
    } else if (command == "markdown") {
        for (QAction* action : w.Label("lblResult")->actions()) {
            if (action->text() == "Copy as Markdown") {
                action->trigger();
            }
        }
    }
    QCOMPARE(announcer->LastMessage(), spoken);
    // Shown only once the handler's own events (the focus returning) are out,
    // so their announcement cannot cut this one off.
    QVERIFY(!announcer->isVisible());
    QTRY_COMPARE(announcer->isVisible(), !spoken.isEmpty());
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->role(), QAccessible::Notification);
}

void KelvoryHeardTest::barsAndWindowAsAssistiveToolsSeeThem()
{
    Window w;
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(w.window.get());
    QCOMPARE(frame->role(), QAccessible::Window);
    QCOMPARE(frame->text(QAccessible::Name), QString("Ambrelay"));
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    QAccessibleValueInterface* bar = QAccessible::queryAccessibleInterface(w.Bar("pbar2"))->valueInterface();
    QVERIFY(bar);
    // A reader's percentage, (value - minimum) / (maximum - minimum), is 98 and not 326.
    const double percent = 100 * (bar->currentValue().toDouble() - bar->minimumValue().toDouble())
                           / (bar->maximumValue().toDouble() - bar->minimumValue().toDouble());
    QCOMPARE(percent, 98.0);
    QCOMPARE(w.Bar("pbar2")->Value(), 98.214f);  // the drawn bar keeps its exact value
}

void KelvoryHeardTest::helpWithoutBrowser_data()
{
    QTest::addColumn<bool>("browser");
    QTest::addColumn<bool>("installedOpens");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<bool>("message");
    QTest::newRow("a browser opens the site") << true << true << 1 << false;
    QTest::newRow("no browser: the installed page") << false << true << 2 << false;
    QTest::newRow("neither: one message says where") << false << false << 2 << true;
}

void KelvoryHeardTest::helpWithoutBrowser()
{
    QFETCH(bool, browser);
    QFETCH(bool, installedOpens);
    QFETCH(int, attempts);
    QFETCH(bool, message);
    Window w;
    const QString installed = "file:///usr/share/doc/ambrelay/kelvoryhelp.html";
    w.desktop.installedHelp = installed;
    if (!browser) {
        w.desktop.unopenable << kHelpAddress << kMakerPageAddress;
    }
    if (!installedOpens) {
        w.desktop.unopenable << installed;
    }
    w.Find<QPushButton>("Command3")->click();
    QCOMPARE(w.desktop.addresses.size(), attempts);
    QCOMPARE(w.desktop.addresses.first(), kHelpAddress);
    QCOMPARE(w.desktop.messages.size(), message ? 1 : 0);
    if (message) {
        QVERIFY(w.desktop.messages[0].text.contains(kHelpAddress));
        QVERIFY(w.desktop.messages[0].text.contains("/usr/share/doc/ambrelay/kelvoryhelp.html"));
    }
    // The link has no copy of its page: straight to the message.
    w.desktop.messages.clear();
    w.desktop.addresses.clear();
    QTest::mouseClick(w.Label("lblLink"), Qt::LeftButton);
    QCOMPARE(w.desktop.addresses, QStringList{kMakerPageAddress});
    QCOMPARE(w.desktop.messages.size(), browser ? 0 : 1);
}

QTEST_MAIN(KelvoryHeardTest)
#include "tst_kelvory_heard.moc"

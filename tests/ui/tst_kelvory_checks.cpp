// The three input checks as the user meets them in the window: the message,
// the result label, the focus and the flags, and inputs left untouched.

#include "messages.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {


QStringList Inputs(const Window& w)
{
    return {w.Box("txtViews1")->text(), w.Box("txtRspn1")->text(), w.Box("txtViews2")->text(),
            w.Box("txtRspn2")->text()};
}

}  // namespace

class KelvoryChecksTest : public QObject {
    Q_OBJECT

private slots:
    void failedCheckShowsOneMessage_data();
    void failedCheckShowsOneMessage();
    void blankCheckWritesResultBeforeTheMessage();
    void laterChecksKeepTheirFlags();
    void numericFocusMovesAfterTheMessage();
    void passingChecksRaiseAllFlagsToZero();
};

void KelvoryChecksTest::failedCheckShowsOneMessage_data()
{
    QTest::addColumn<QStringList>("inputs");  // views 1, responses 1, views 2, responses 2
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("flag");        // the flag set to 1
    QTest::addColumn<QString>("focusAfter");  // where the focus ends; the check moves it only for non-numbers
    QTest::newRow("all empty") << QStringList{"", "", "", ""} << kBlank << "blank" << "Command1";
    QTest::newRow("one empty") << QStringList{"1000", "", "1000", "130"} << kBlank << "blank" << "Command1";
    QTest::newRow("empty and letters") << QStringList{"abc", "100", "", "130"} << kBlank << "blank"
                                       << "Command1";
    QTest::newRow("more responses in 1") << QStringList{"1000", "1001", "1000", "130"} << kInverse
                                         << "inverse" << "Command1";
    QTest::newRow("more responses in both") << QStringList{"10", "20", "10", "20"} << kInverse << "inverse"
                                            << "Command1";
    QTest::newRow("views1 letters") << QStringList{"many", "0", "1000", "130"}
                                    << kViews1 << "numeric" << "txtViews1";
    QTest::newRow("views2 blanks only") << QStringList{"1000", "100", "   ", "0"}
                                        << kViews2 << "numeric"
                                        << "txtViews2";
    QTest::newRow("responses1 two points") << QStringList{"1000", "1.2.3", "1000", "130"}
                                           << kRspn1 << "numeric"
                                           << "txtRspn1";
    QTest::newRow("responses2 hex") << QStringList{"1000", "100", "1000", "0x10"}
                                    << kRspn2 << "numeric" << "txtRspn2";
    QTest::newRow("views2 before responses1") << QStringList{"1000", "abc", "xyz", "0"}
                                              << kViews2 << "numeric"
                                              << "txtViews2";
}

void KelvoryChecksTest::failedCheckShowsOneMessage()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    QFETCH(QString, flag);
    QFETCH(QString, focusAfter);
    Window w;
    // A good calculation first, so that every result control has something to keep.
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    const QString verdict = w.Label("lblResult")->text();
    const QStringList indicators = w.VisibleIndicators();
    w.Enter(inputs[0], inputs[1], inputs[2], inputs[3]);
    w.Find<QPushButton>("Command1")->setFocus();
    w.Go();

    QCOMPARE(w.desktop.messages.size(), 1);
    QCOMPARE(w.desktop.messages.first().text, message);
    QCOMPARE(w.window->blankFlag(), qint16(flag == "blank"));
    QCOMPARE(w.window->inverseFlag(), qint16(flag == "inverse"));
    QCOMPARE(w.window->numericFlag(), qint16(flag == "numeric"));
    QCOMPARE(w.FocusName(), focusAfter);
    QCOMPARE(Inputs(w), inputs);
    QCOMPARE(w.Label("lblResult")->text(), flag == "blank" ? kInsufficient : verdict);
    QCOMPARE(w.Label("lblPVal")->text(), QString("0.01786"));
    QCOMPARE(w.VisibleIndicators(), indicators);
    QCOMPARE(w.window->FormVariables().ZStat, 2.1);
}

void KelvoryChecksTest::blankCheckWritesResultBeforeTheMessage()
{
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    w.Enter("", "100", "1000", "130");
    w.Go();
    QCOMPARE(w.desktop.messages.size(), 1);
    QCOMPARE(w.desktop.messages.first().resultWhenShown, kInsufficient);
}

void KelvoryChecksTest::laterChecksKeepTheirFlags()
{
    Window w;
    w.Enter("1000", "abc", "1000", "130");
    w.Go();
    QCOMPARE(w.window->numericFlag(), qint16(1));
    w.Enter("1000", "abc", "", "130");
    w.Go();
    QCOMPARE(w.window->blankFlag(), qint16(1));
    QCOMPARE(w.window->inverseFlag(), qint16(0));
    QCOMPARE(w.window->numericFlag(), qint16(1));  // not reached, so not rewritten
    w.Enter("10", "20", "1000", "130");
    w.Go();
    QCOMPARE(w.window->blankFlag(), qint16(0));
    QCOMPARE(w.window->inverseFlag(), qint16(1));
    QCOMPARE(w.window->numericFlag(), qint16(1));
}

void KelvoryChecksTest::numericFocusMovesAfterTheMessage()
{
    Window w;
    w.Enter("1000", "100", "1000", "lots");
    w.Box("txtViews1")->setFocus();
    w.Go();
    QCOMPARE(w.desktop.messages.size(), 1);
    QCOMPARE(w.desktop.messages.first().focusWhenShown, QString("txtViews1"));
    QCOMPARE(w.FocusName(), QString("txtRspn2"));
}

void KelvoryChecksTest::passingChecksRaiseAllFlagsToZero()
{
    Window w;
    w.Enter("", "", "", "");
    w.Go();
    QCOMPARE(w.window->blankFlag(), qint16(1));
    // Checks pass, but the calculation itself has no result: zero views.
    w.Enter("0", "0", "0", "0");
    w.Go();
    QCOMPARE(w.window->blankFlag(), qint16(0));
    QCOMPARE(w.window->inverseFlag(), qint16(0));
    QCOMPARE(w.window->numericFlag(), qint16(0));
}

QTEST_MAIN(KelvoryChecksTest)
#include "tst_kelvory_checks.moc"

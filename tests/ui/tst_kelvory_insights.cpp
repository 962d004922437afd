// The insights in the window: a tooltip on the interpretation after a
// calculation that ran to the end, and the report copied by Ctrl+C or the
// interpretation's context menu; Ctrl+C in a text box copies its selection.

#include <QAction>
#include <QClipboard>

#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

const QString kTooltip = "B responded 30.0% more often than A: 13% against 10%, a difference of 3.0 points (95% "
                         "confidence interval 0.2 to 5.8 points). The p value of the normal approximation is "
                         "0.0177 one-sided and 0.0355 two-sided. To detect a difference this size with 80% power at "
                         "the 5% level, a test needs about 1,774 observations per version.\n"
                         "Fisher's exact test gives p = 0.0419 two-sided.\n"
                         "Lift of B over A: 30.0% (95% confidence interval 1.7% to 66.2%).\n"
                         "Chance that B's true response rate is the higher (flat priors): 98.22%.\n"
                         "If you have looked before: the peeking-safe p value is 0.3789 (planned 5,000 "
                         "observations, the default): keep the test running. A planned total of observations makes "
                         "this answer sharper.";
const QString kHint = "\nFor details and a picture: right-click, or press Ctrl+I.";

QAction* CopyAction(const Window& w)
{
    for (QAction* action : w.Label("lblResult")->actions()) {
        if (action->text() == "Copy result") {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

class KelvoryInsightsTest : public QObject {
    Q_OBJECT

private slots:
    void tooltipOnlyAfterAFinishedCalculation();
    void copyPutsTheReportOnTheClipboard();
    void ctrlCInATextBoxCopiesItsSelection();
    void copyInABoxWithoutSelection_data();
    void copyInABoxWithoutSelection();
};

void KelvoryInsightsTest::tooltipOnlyAfterAFinishedCalculation()
{
    Window w;
    QLabel* result = w.Label("lblResult");
    QCOMPARE(result->toolTip(), QString());
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    QCOMPARE(result->toolTip(), kTooltip + kHint);
    QCOMPARE(w.Label("Label6")->toolTip(), kTooltip + kHint);  // the box's border around the text too
    // A calculation that stops before the end leaves the result, and its tooltip, on display.
    w.Enter("1000", "100", "0", "0");
    w.Go();
    QCOMPARE(result->toolTip(), kTooltip + kHint);
    // The blank check replaces the verdict, and so the tooltip goes.
    w.Enter("", "100", "1000", "130");
    w.Go();
    QCOMPARE(result->toolTip(), QString());
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    w.Clear();
    QCOMPARE(result->toolTip(), QString());
    QCOMPARE(w.Label("Label6")->toolTip(), QString());
}

void KelvoryInsightsTest::copyPutsTheReportOnTheClipboard()
{
    Window w;
    QAction* copy = CopyAction(w);
    QVERIFY(copy);
    QCOMPARE(copy->text(), QString("Copy result"));
    QCOMPARE(w.Label("lblResult")->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(!copy->isEnabled());
    QTest::keyClick(w.Find("Command1"), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(w.desktop.copied.isEmpty());  // nothing to copy before a result

    w.Enter("1000", "100", "1000", "130");
    w.Go();
    QVERIFY(copy->isEnabled());
    copy->trigger();
    w.Find<QPushButton>("Command2")->setFocus();
    QTest::keyClick(w.Find("Command2"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(w.desktop.copied.size(), 2);
    QCOMPARE(w.desktop.copied[0], w.desktop.copied[1]);
    // The counts, the window's own figures as shown, and the summary in plain words last.
    const QString report = w.desktop.copied[0];
    QVERIFY2(report.startsWith("Ambrelay A/B test result\n"
                               "Version 1 (A): 1000 observations, 100 responses\n"
                               "Version 2 (B): 1000 observations, 130 responses\n\n"
                               "Ratio A: 0.1\n"
                               "Ratio B: 0.13\n"
                               "p value: 0.01786\n"
                               "Z statistic: 2.1\n"
                               "Likelihood: 98.214%\n"
                               "Winner: B\n"
                               "Verdict: Variation B is the clear and undisputed winner with a likelihood of 98.214%\n"),
             qPrintable(report));
    QVERIFY(report.contains("\nLift of B over A (95% interval): 30.0% (1.7% to 66.2%)\n"));
    QVERIFY(report.endsWith("\n\n" + kTooltip + "\n"));
    w.Clear();
    QVERIFY(!copy->isEnabled());
}

void KelvoryInsightsTest::ctrlCInATextBoxCopiesItsSelection()
{
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    QLineEdit* box = w.Box("txtViews2");
    box->setFocus();
    box->selectAll();
    QApplication::clipboard()->clear();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("1000"));
    QVERIFY(w.desktop.copied.isEmpty());
}

void KelvoryInsightsTest::copyInABoxWithoutSelection_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("clipboard");  // "report", the box's text, or what was there before
    const QKeyCombination ctrlC(Qt::ControlModifier, Qt::Key_C);
    const QKeyCombination ctrlInsert(Qt::ControlModifier, Qt::Key_Insert);
    QTest::newRow("Go, then Ctrl+C") << ctrlC << true << false << "report";
    QTest::newRow("Go, then Ctrl+Insert") << ctrlInsert << true << false << "report";
    QTest::newRow("a selection wins over the result") << ctrlInsert << true << true << "1000";
    QTest::newRow("no result, no selection") << ctrlC << false << false << "before";
}

void KelvoryInsightsTest::copyInABoxWithoutSelection()
{
    QFETCH(QKeyCombination, key);
    QFETCH(bool, calculated);
    QFETCH(bool, selected);
    QFETCH(QString, clipboard);
    Window w;
    w.Enter("1000", "100", "1000", "130");
    if (calculated) {
        w.Go();
    }
    QLineEdit* box = w.Box("txtViews1");
    box->setFocus();
    box->deselect();
    if (selected) {
        box->selectAll();
    }
    QApplication::clipboard()->setText("before");
    QTest::keyClick(box, key.key(), key.keyboardModifiers());
    const QString now = w.desktop.copied.isEmpty() ? QApplication::clipboard()->text() : "report";
    QCOMPARE(now, clipboard);
    QVERIFY(w.desktop.copied.size() <= 1);
}

QTEST_MAIN(KelvoryInsightsTest)
#include "tst_kelvory_insights.moc"

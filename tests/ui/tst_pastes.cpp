// Results that paste well, in every window that copies: Copy puts the plain
// report on the clipboard, with an HTML table beside it whose rows are the
// plain report's figure lines; Copy as Markdown a Markdown table of the same
// rows; a values file's labels with markup or a bar read back as written;
// and the real clipboard holds both formats of one copy.

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>

#include "../pasted_tables.h"
#include "figures/plan_figures.h"
#include "figures/result_report.h"
#include "ui/averages_window.h"
#include "ui/qt_desktop.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

// The window's own companion after the worked example, or the window itself.
QWidget* Open(Window& w, const QString& name)
{
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    const QMap<QString, QKeyCombination> keys = {{"DetailsWindow", Qt::CTRL | Qt::Key_I},
                                                 {"PlannerWindow", Qt::CTRL | Qt::SHIFT | Qt::Key_P},
                                                 {"AveragesWindow", Qt::CTRL | Qt::SHIFT | Qt::Key_A}};
    if (!keys.contains(name)) {
        return w.Label("lblResult");  // the interpretation's menu
    }
    QTest::keyClick(w.Box("txtViews1"), keys[name].key(), keys[name].keyboardModifiers());
    QWidget* opened = w.window->findChild<QWidget*>(name);
    const char* boxes[6][2] = {{"n1", "1200"}, {"mean1", "52.30"}, {"sd1", "41.7"},
                               {"n2", "1180"}, {"mean2", "55.90"}, {"sd2", "44.2"}};
    for (const auto& [box, text] : boxes) {
        if (auto* field = opened->findChild<QLineEdit*>(box)) {
            field->setText(text);
        }
    }
    return opened;
}

void Trigger(const QWidget* menu, const QString& entry)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == entry) {
            action->trigger();
        }
    }
}

}  // namespace

class PastesTest : public QObject {
    Q_OBJECT

private slots:
    void copyInEveryWindow_data();
    void copyInEveryWindow();
    void labelsReadBackAsWritten();
    void clipboardHoldsBothForms();
};

void PastesTest::copyInEveryWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("copy");  // its Copy entry
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");  // the first line of the plain report's figures
    const QString ratio = "Ratio A: 0.1";
    QTest::newRow("interpretation") << "Kelvory" << "Copy result" << int(JudgementFigureKinds().size()) << ratio;
    QTest::newRow("details") << "DetailsWindow" << "Copy" << int(JudgementFigureKinds().size()) << ratio;
    QTest::newRow("averages") << "AveragesWindow" << "Copy" << int(MeansFigureKinds().size())
                              << "Answer: B's average is higher: 55.90 against 52.30, 6.9% more (95% interval "
                                 "0.1% to 13.7%); p = 0.0412, a difference this large would be rare if the "
                                 "versions were equal.";
    QTest::newRow("planner") << "PlannerWindow" << "Copy" << int(PlanFigureKinds().size())
                             << "Observations needed: 3,841 for A and 3,841 for B";
}

void PastesTest::copyInEveryWindow()
{
    QFETCH(QString, window);
    QFETCH(QString, copy);
    QFETCH(int, rows);
    QFETCH(QString, first);
    Window w;
    QWidget* menu = Open(w, window);
    QVERIFY(menu);
    QCOMPARE(menu->contextMenuPolicy(), Qt::ActionsContextMenu);
    Trigger(menu, copy);
    Trigger(menu, "Copy as Markdown");
    QCOMPARE(w.desktop.copied.size(), 2);
    const QString plain = w.desktop.copied[0];
    if (window == "Kelvory" || window == "DetailsWindow") {
        QCOMPARE(plain, QString::fromStdString(ResultReport(Judge({1000, 100, 1000, 130}))));
    }
    // Both tables' rows are the plain report's figure lines, every one, in order.
    const QStringList html = HtmlRows(w.desktop.copiedHtml[0]);
    QCOMPARE(html.size(), rows);
    QCOMPARE(html.value(0), first);
    QVERIFY2(("\n" + plain).contains("\n" + html.join('\n') + "\n"), qPrintable(plain));
    QCOMPARE(MarkdownRows(w.desktop.copied[1]), html);
    QCOMPARE(w.desktop.copiedHtml[1], QString());  // Markdown goes as plain text
    // With nothing to copy, both entries are off and copy nothing.
    w.Clear();
    if (auto* box = menu->findChild<QLineEdit*>(window == "AveragesWindow" ? "n1" : "baseline")) {
        box->setText("x");
    }
    for (QAction* action : menu->actions()) {
        QVERIFY(!action->text().startsWith("Copy") || !action->isEnabled());
    }
    Trigger(menu, copy);
    QCOMPARE(w.desktop.copied.size(), 2);
}

// A values file's version labels are the user's own words: whatever they
// hold, the pasted tables show them as written.
void PastesTest::labelsReadBackAsWritten()
{
    Window w;
    auto* averages = static_cast<AveragesWindow*>(Open(w, "AveragesWindow"));
    QTemporaryDir dir;
    QFile file(dir.filePath("labels.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("group,value\n<b>old</b>,1\n<b>old</b>,3\n\"R&D|\"\"x\"\"\",2\n\"R&D|\"\"x\"\"\",6\n");
    file.close();
    w.desktop.chosenFile = file.fileName();
    averages->findChild<QPushButton*>("openValues")->click();
    averages->Values()->WaitForReading();
    Trigger(averages, "Copy");
    Trigger(averages, "Copy as Markdown");
    QVERIFY(w.desktop.copiedHtml.value(0).contains("<tr><td>Version B is</td><td>R&amp;D|&quot;x&quot;</td></tr>"));
    QVERIFY(w.desktop.copied.value(1).contains("\n| Version A is | \\<b>old\\</b> |\n"));
    const QStringList rows = HtmlRows(w.desktop.copiedHtml[0]);
    QVERIFY(rows.contains("Version A is: <b>old</b>") && rows.contains("Version B is: R&D|\"x\""));
    QCOMPARE(MarkdownRows(w.desktop.copied[1]), rows);
}

// The real desktop: one copy, two formats on the clipboard.
void PastesTest::clipboardHoldsBothForms()
{
    QtDesktop desktop;
    desktop.CopyRichText("Ratio A: 0.1\n", "<table><tr><td>Ratio A</td><td>0.1</td></tr></table>");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasText() && data->hasHtml());
    QCOMPARE(data->text(), QString("Ratio A: 0.1\n"));
    QCOMPARE(data->html(), QString("<table><tr><td>Ratio A</td><td>0.1</td></tr></table>"));
    desktop.CopyText("plain alone");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("plain alone"));
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());
}

QTEST_MAIN(PastesTest)
#include "tst_pastes.moc"

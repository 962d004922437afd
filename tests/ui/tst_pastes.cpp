// Results that paste well, in every window that copies: Copy puts the plain
// report on the clipboard as before, with an HTML table beside it whose rows
// are the plain report's figures; Copy as Markdown puts a Markdown table of
// the same rows; a version's label with markup or a bar in it reads back as
// written; and the real clipboard holds both formats of one copy.

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "figures/plan_figures.h"
#include "figures/result_report.h"
#include "ui/averages_window.h"
#include "ui/qt_desktop.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

// A cell as a browser shows it.
QString FromHtml(QString cell)
{
    cell.replace("<br>", "\n");
    for (const auto& [reference, character] : {std::pair{"&lt;", "<"}, std::pair{"&gt;", ">"},
                                               std::pair{"&quot;", "\""}, std::pair{"&#39;", "'"},
                                               std::pair{"&amp;", "&"}}) {
        cell.replace(reference, character);
    }
    return cell;
}

// The table's rows as "label: words", the plain report's way of writing a figure.
QStringList HtmlRows(const QString& html)
{
    QStringList rows;
    static const QRegularExpression row("<tr><td>(.*?)</td><td>(.*?)</td></tr>");
    for (const QRegularExpressionMatch& m : row.globalMatch(html)) {
        rows << FromHtml(m.captured(1)) + ": " + FromHtml(m.captured(2));
    }
    return rows;
}

// A Markdown row's two cells as a renderer shows them, as "label: words".
QString MarkdownRow(const QString& line)
{
    QStringList cells;
    QString cell;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            cell += line[++i];
        } else if (line[i] == '|') {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    return cells.join(": ");
}

QStringList MarkdownRows(const QString& markdown)
{
    QStringList rows;
    const QStringList lines = markdown.split('\n');
    for (qsizetype i = lines.indexOf("| --- | --- |") + 1; i > 0 && i < lines.size() && lines[i].startsWith("| ");
         ++i) {
        rows << MarkdownRow(lines[i]);
    }
    return rows;
}

// The figures' lines of a plain report: one block of "label: words" lines
// between blank lines (or the report's ends).
bool HasBlock(const QString& plain, const QStringList& rows)
{
    const QString block = rows.join('\n') + '\n';
    return !rows.isEmpty()
           && (plain == block || plain.startsWith(block + "\n") || plain.contains("\n\n" + block + "\n")
               || plain.endsWith("\n\n" + block));
}

QAction* Action(const QWidget* widget, const QString& text)
{
    for (QAction* action : widget->actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

QWidget* Open(Window& w, const QString& window)
{
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    if (window == "main") {
        return w.window.get();
    }
    const Qt::Key key = window == "details" ? Qt::Key_I : window == "planner" ? Qt::Key_P : Qt::Key_A;
    QTest::keyClick(w.Box("txtViews1"), key,
                    window == "details" ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    QWidget* opened = w.window->findChild<QWidget*>(window == "details"   ? "DetailsWindow"
                                                    : window == "planner" ? "PlannerWindow"
                                                                          : "AveragesWindow");
    if (opened && window == "averages") {
        const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
        const char* check[6] = {"1200", "52.30", "41.7", "1180", "55.90", "44.2"};
        for (int i = 0; i < 6; ++i) {
            opened->findChild<QLineEdit*>(names[i])->setText(check[i]);
        }
    }
    return opened;
}

// Copies as the row says: a key, a button or a context-menu entry.
void CopyBy(Window& w, QWidget* window, const QString& how)
{
    if (how == "Ctrl+C") {
        QTest::keyClick(w.Box("txtViews1"), Qt::Key_C, Qt::ControlModifier);
    } else if (how == "button") {
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (button->text() == "Copy") {
                button->click();
            }
        }
    } else {
        QWidget* menu = window == w.window.get() ? static_cast<QWidget*>(w.Label("lblResult")) : window;
        QAction* action = Action(menu, how);
        QVERIFY2(action && action->isEnabled(), qPrintable(how));
        action->trigger();
    }
}

}  // namespace

class PastesTest : public QObject {
    Q_OBJECT

private slots:
    void copyInEveryWindow_data();
    void copyInEveryWindow();
    void nothingToCopyBeforeAResult_data();
    void nothingToCopyBeforeAResult();
    void labelsReadBackAsWritten_data();
    void labelsReadBackAsWritten();
    void clipboardHoldsBothForms();
};

void PastesTest::copyInEveryWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("rows");     // figures in the table
    QTest::addColumn<QString>("first");  // the table's first row
    QTest::addColumn<QString>("plain");  // how the plain report starts
    const int judged = int(JudgementFigureKinds().size());
    const int averaged = int(MeansFigureKinds().size());
    const int planned = int(PlanFigureKinds().size());
    const QString report = "Ambrelay A/B test result\nVersion 1 (A): 1000 observations, 100 responses\n";
    for (const char* how : {"Ctrl+C", "Copy result", "Copy as Markdown"}) {
        QTest::addRow("main window, %s", how) << "main" << how << judged << "Ratio A: 0.1" << report;
    }
    for (const char* how : {"button", "Copy", "Copy as Markdown"}) {
        QTest::addRow("details, %s", how) << "details" << how << judged << "Ratio A: 0.1" << report;
        QTest::addRow("averages, %s", how)
            << "averages" << how << averaged
            << "Answer: B's average is higher: 55.90 against 52.30, 6.9% more (95% interval 0.1% to 13.7%); p = "
               "0.0412, a difference this large would be rare if the versions were equal."
            << "Answer: B's average is higher";
    }
    for (const char* how : {"Copy", "Copy as Markdown"}) {
        QTest::addRow("planner, %s", how) << "planner" << how << planned
                                          << "Observations needed: 3,841 for A and 3,841 for B"
                                          << "Observations needed: 3,841 for A and 3,841 for B\n";
    }
}

void PastesTest::copyInEveryWindow()
{
    QFETCH(QString, window);
    QFETCH(QString, how);
    QFETCH(int, rows);
    QFETCH(QString, first);
    QFETCH(QString, plain);
    Window w;
    QWidget* opened = Open(w, window);
    QVERIFY(opened);
    const bool markdown = how == "Copy as Markdown";
    if (markdown) {
        CopyBy(w, opened, window == "main" ? "Copy result" : "Copy");  // the plain report, to hold it against
    }
    CopyBy(w, opened, how);
    QCOMPARE(w.desktop.copied.size(), markdown ? 2 : 1);
    const QString report = w.desktop.copied.front();
    QVERIFY2(report.startsWith(plain), qPrintable(report));
    if (window == "main" || window == "details") {
        QCOMPARE(report, QString::fromStdString(ResultReport(Judge({1000, 100, 1000, 130}))));
    }
    // The table's rows are the plain report's figures, every one, in its order.
    const QStringList table = markdown ? MarkdownRows(w.desktop.copied.back()) : HtmlRows(w.desktop.copiedHtml.back());
    QCOMPARE(table.size(), rows);
    QCOMPARE(table.value(0), first);
    QVERIFY2(HasBlock(report, table), qPrintable(table.join('\n')));
    if (markdown) {
        QCOMPARE(w.desktop.copiedHtml.back(), QString());  // Markdown goes as plain text
        QVERIFY(w.desktop.copied.back().contains("| Figure | Value |\n| --- | --- |\n"));
    } else {
        QVERIFY(w.desktop.copiedHtml.back().contains("<tr><th align=\"left\">Figure</th><th align=\"left\">Value</th>"));
    }
}

void PastesTest::nothingToCopyBeforeAResult_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << "main";
    QTest::newRow("details") << "details";
    QTest::newRow("averages") << "averages";
    QTest::newRow("planner") << "planner";
}

void PastesTest::nothingToCopyBeforeAResult()
{
    QFETCH(QString, window);
    Window w;
    QWidget* opened = Open(w, window);
    // Clear empties the details; an averages box and a planner field that
    // are not numbers leave those windows without an answer.
    w.Clear();
    if (window == "averages") {
        opened->findChild<QLineEdit*>("n1")->setText("x");
    } else if (window == "planner") {
        opened->findChild<QLineEdit*>("baseline")->setText("ten");
    }
    QWidget* menu = window == "main" ? static_cast<QWidget*>(w.Label("lblResult")) : opened;
    const QString copy = window == "main" ? "Copy result" : "Copy";
    for (const QString& text : {copy, QString("Copy as Markdown")}) {
        QAction* action = Action(menu, text);
        QVERIFY2(action, qPrintable(text));
        QVERIFY(!action->isEnabled());
        action->trigger();  // even if reached, nothing is copied
    }
    QCOMPARE(menu->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(w.desktop.copied.isEmpty());
}

void PastesTest::labelsReadBackAsWritten_data()
{
    QTest::addColumn<QString>("labelA");  // as the file writes it, quoted where CSV needs it
    QTest::addColumn<QString>("labelB");
    QTest::addColumn<QString>("shownA");  // as the window shows it
    QTest::addColumn<QString>("htmlA");   // in the HTML table's cell
    QTest::addColumn<QString>("markdownA");
    QTest::newRow("markup and a bar") << "<b>old</b>" << "new|2" << "<b>old</b>" << "&lt;b&gt;old&lt;/b&gt;"
                                      << "\\<b>old\\</b>";
    QTest::newRow("ampersand and quotes") << "\"R&D \"\"x\"\"\"" << "it's" << "R&D \"x\""
                                          << "R&amp;D &quot;x&quot;" << "R\\&D \"x\"";
    QTest::newRow("emphasis") << "*a*" << "_b_" << "*a*" << "*a*" << "\\*a\\*";
}

// A values file's version labels are the user's own words: whatever they
// hold, the pasted tables show them as written.
void PastesTest::labelsReadBackAsWritten()
{
    QFETCH(QString, labelA);
    QFETCH(QString, labelB);
    QFETCH(QString, shownA);
    QFETCH(QString, htmlA);
    QFETCH(QString, markdownA);
    Window w;
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    auto* averages = w.window->findChild<AveragesWindow*>("AveragesWindow");
    QVERIFY(averages);
    QTemporaryDir dir;
    QFile file(dir.filePath("labels.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("group,value\n" + labelA + ",1\n" + labelA + ",3\n" + labelB + ",2\n" + labelB + ",6\n").toUtf8());
    file.close();
    w.desktop.chosenFile = file.fileName();
    averages->findChild<QPushButton*>("openValues")->click();
    averages->Values()->WaitForReading();
    CopyBy(w, averages, "Copy");
    CopyBy(w, averages, "Copy as Markdown");
    QCOMPARE(w.desktop.copied.size(), 2);
    const QString plain = w.desktop.copied.front();
    const QString html = w.desktop.copiedHtml.front();
    const QString markdown = w.desktop.copied.back();
    QVERIFY2(plain.contains(": " + shownA + "\n"), qPrintable(plain));
    QVERIFY2(html.contains("</td><td>" + htmlA + "</td></tr>"), qPrintable(html));
    QVERIFY2(markdown.contains(" | " + markdownA + " |\n"), qPrintable(markdown));
    QCOMPARE(HtmlRows(html), MarkdownRows(markdown));
    QVERIFY(HasBlock(plain, HtmlRows(html)));
    QVERIFY(HtmlRows(html).size() > int(MeansFigureKinds().size()));  // the file's own figures too
}

// The real desktop: one copy, two formats on the clipboard.
void PastesTest::clipboardHoldsBothForms()
{
    QtDesktop desktop;
    const QString plain = "Ratio A: 0.1\n";
    const QString html = "<table><tr><td>Ratio A</td><td>0.1</td></tr></table>";
    desktop.CopyRichText(plain, html);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->hasText() && data->hasHtml());
    QCOMPARE(data->text(), plain);
    QCOMPARE(data->html(), html);
    desktop.CopyText("plain alone");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("plain alone"));
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());
}

QTEST_MAIN(PastesTest)
#include "tst_pastes.moc"

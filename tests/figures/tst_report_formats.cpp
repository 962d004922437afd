// The report as pasted: the HTML and Markdown tables read back cell by cell
// give every figure's label and words, in the list's order, as the plain
// report has them; warnings come before the table and the summary after it;
// and a label with markup or a cell boundary in it reads back as written.

#include <QRegularExpression>
#include <QtTest>
#include <random>

#include "figures/means_figures.h"
#include "figures/plan_figures.h"
#include "figures/report_formats.h"
#include "figures/result_report.h"

using namespace ambrelay;

namespace {

using Rows = QList<QPair<QString, QString>>;

QString Text(const std::string& text) { return QString::fromStdString(text); }

// An HTML cell's text as a browser shows it.
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

// The figure rows of the HTML table, read as a browser would.
Rows HtmlRows(const QString& html)
{
    Rows rows;
    static const QRegularExpression row("<tr><td>(.*?)</td><td>(.*?)</td></tr>");
    for (const QRegularExpressionMatch& m : row.globalMatch(html)) {
        rows << qMakePair(FromHtml(m.captured(1)), FromHtml(m.captured(2)));
    }
    return rows;
}

// A Markdown table row's cells as a renderer shows them: split at the bars
// that are not escaped, a backslash keeping the character after it, and
// <br> a line end.
QStringList MarkdownCells(const QString& line)
{
    QStringList cells;
    QString cell;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            cell += line[++i];
        } else if (line.mid(i, 4) == "<br>") {
            cell += '\n';
            i += 3;
        } else if (line[i] == '|') {
            cells << cell.mid(1, cell.size() - 2);  // the space either side of the bar
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    return cells;
}

Rows MarkdownRows(const QString& markdown)
{
    Rows rows;
    const QStringList lines = markdown.split('\n');
    const qsizetype rule = lines.indexOf("| --- | --- |");
    for (qsizetype i = rule + 1; rule > 0 && i < lines.size() && lines[i].startsWith("| "); ++i) {
        const QStringList cells = MarkdownCells(lines[i]);
        rows << (cells.size() == 2 ? qMakePair(cells[0], cells[1]) : qMakePair(lines[i], QString("not two cells")));
    }
    return rows;
}

Rows FigureRows(const std::vector<Figure>& figures)
{
    Rows rows;
    for (const Figure& f : figures) {
        rows << qMakePair(Text(f.label), Text(f.words));
    }
    return rows;
}

struct Listed {
    std::vector<Figure> figures;
    std::vector<Warning> warnings;
};

Listed Judged(double views1, double responses1, double views2, double responses2)
{
    const Judgement j = Judge({views1, responses1, views2, responses2});
    return {JudgementFigures(j).All(), JudgementWarnings(j)};
}

Listed Source(const QString& name)
{
    if (name == "averages") {
        const MeansRequest request{{1200, 52.30, 41.7}, {1180, 55.90, 44.2}, Better::Higher, false, {}, {}};
        return {AnswerMeans(request)->All(), MeansWarnings(request)};
    }
    if (name == "plan") {
        PlanRequest request;
        request.settings.baseline = 0.1;
        request.effect = 20;
        return {AnswerPlan(request)->All(), {}};
    }
    const QStringList counts = name.split(' ');
    return Judged(counts[0].toDouble(), counts[1].toDouble(), counts[2].toDouble(), counts[3].toDouble());
}

Figure Labelled(const std::string& label, const std::string& words)
{
    Figure f;
    SetFigure(f, std::string(words), label, words);
    return f;
}

}  // namespace

class ReportFormatsTest : public QObject {
    Q_OBJECT

private slots:
    void everyFigureInEachForm_data();
    void everyFigureInEachForm();
    void workedExampleAsPasted();
    void cellsEscaped_data();
    void cellsEscaped();
    void paragraphsStartNoBlock_data();
    void paragraphsStartNoBlock();
    void anyLabelReadsBack();
};

void ReportFormatsTest::everyFigureInEachForm_data()
{
    QTest::addColumn<QString>("source");  // four counts, or a list of another kind
    QTest::addColumn<int>("warnings");
    QTest::newRow("B wins clearly") << "1000 100 1000 130" << 0;
    QTest::newRow("small sample") << "30 1 30 6" << 1;
    QTest::newRow("small and split far from even") << "10 1 40 4" << 2;
    QTest::newRow("split far from even") << "10000 1000 9000 1000" << 1;
    QTest::newRow("a lift no double holds") << "1e308 1 500 500" << 1;
    QTest::newRow("averages") << "averages" << 0;
    QTest::newRow("plan") << "plan" << 0;
}

void ReportFormatsTest::everyFigureInEachForm()
{
    QFETCH(QString, source);
    QFETCH(int, warnings);
    const Listed listed = Source(source);
    QVERIFY(!listed.figures.empty());
    QCOMPARE(int(listed.warnings.size()), warnings);
    const ReportForms forms = FormatReport(listed.figures, listed.warnings, {"Heading", {"before"}, {"after"}});
    const QString html = Text(forms.html);
    const QString markdown = Text(forms.markdown);
    const Rows expected = FigureRows(listed.figures);
    QCOMPARE(HtmlRows(html), expected);
    QCOMPARE(MarkdownRows(markdown), expected);
    // The plain report has the same rows as "label: words" lines.
    for (const auto& [label, words] : expected) {
        QVERIFY(Text(forms.plain).contains("\n" + label + ": " + words + "\n"));
    }
    QCOMPARE(html.count("<tr>"), expected.size() + 1);  // and the head
    const qsizetype htmlTable = html.indexOf("<table");
    const qsizetype markdownTable = markdown.indexOf("| Figure | Value |");
    QVERIFY(html.indexOf("Heading") < htmlTable && html.indexOf("before") < htmlTable);
    QVERIFY(html.lastIndexOf("after") > html.indexOf("</table>"));
    for (const Warning& w : listed.warnings) {
        const qsizetype at = html.indexOf("<p><b>Warning:</b> " + Text(HtmlEscaped(w.message)) + "</p>");
        QVERIFY(at >= 0 && at < htmlTable);
        const qsizetype inMarkdown = markdown.indexOf("**Warning:** " + Text(MarkdownEscaped(w.message)) + "\n");
        QVERIFY(inMarkdown >= 0 && inMarkdown < markdownTable);
    }
    // The summary in plain words follows the table, a paragraph a sentence.
    const QStringList summary =
        Text(SummaryText(listed.figures, listed.warnings, false)).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : summary) {
        QVERIFY2(html.indexOf("<p>" + Text(HtmlEscaped(line.toStdString())) + "</p>") > htmlTable, qPrintable(line));
        QVERIFY(markdown.indexOf("\n\n" + Text(MarkdownEscaped(line.toStdString()))) > markdownTable);
    }
    QVERIFY(Text(forms.plain).startsWith("Heading\nbefore\n\n"));
    QVERIFY(Text(forms.plain).endsWith("\nafter\n"));
}

void ReportFormatsTest::workedExampleAsPasted()
{
    const Judgement j = Judge({1000, 100, 1000, 130});
    const ReportForms forms = ResultReportForms(j);
    QCOMPARE(forms.plain, "Ambrelay A/B test result\n" + CountsText(j.counts) + "\n"
                              + FiguresText(JudgementFigures(j).All(), JudgementWarnings(j)));
    QCOMPARE(forms.plain, ResultReport(j));
    const QString html = Text(forms.html);
    QVERIFY2(html.startsWith("<html><head><meta charset=\"utf-8\"></head><body>\n"
                             "<p><b>Ambrelay A/B test result</b></p>\n"
                             "<p>Version 1 (A): 1000 observations, 100 responses<br>\n"
                             "Version 2 (B): 1000 observations, 130 responses</p>\n"
                             "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"
                             "<tr><th align=\"left\">Figure</th><th align=\"left\">Value</th></tr>\n"
                             "<tr><td>Ratio A</td><td>0.1</td></tr>\n"),
             qPrintable(html));
    QVERIFY(html.contains("\n<tr><td>Lift of B over A (95% interval)</td><td>30.0% (1.7% to 66.2%)</td></tr>\n"));
    QVERIFY(html.contains("\n<p>Fisher&#39;s exact test gives p = 0.0419 two-sided.</p>\n"));
    QVERIFY(html.endsWith("</p>\n</body></html>\n"));
    const QString markdown = Text(forms.markdown);
    QVERIFY2(markdown.startsWith("**Ambrelay A/B test result**\n\n"
                                 "Version 1 (A): 1000 observations, 100 responses\n\n"
                                 "Version 2 (B): 1000 observations, 130 responses\n\n"
                                 "| Figure | Value |\n| --- | --- |\n| Ratio A | 0.1 |\n| Ratio B | 0.13 |\n"),
             qPrintable(markdown));
    QVERIFY(markdown.contains("\n| Lift of B over A (95% interval) | 30.0% (1.7% to 66.2%) |\n"));
    QVERIFY(markdown.contains("|\n\nB responded 30.0% more often than A: 13% against 10%"));
    QVERIFY(markdown.endsWith("Fisher's exact test gives p = 0.0419 two-sided.\n\n"
                              "Lift of B over A: 30.0% (95% confidence interval 1.7% to 66.2%).\n\n"
                              "Chance that B's true response rate is the higher (flat priors): 98.22%.\n\n"
                              "If you have looked before: the peeking-safe p value is 0.3789 (planned 5,000 "
                              "observations, the default): keep the test running. A planned total of observations "
                              "makes this answer sharper.\n"));
    // A judgement that did not finish has no report in any form.
    const ReportForms none = ResultReportForms(Judge({0, 0, 1000, 130}));
    QVERIFY(none.plain.empty() && none.html.empty() && none.markdown.empty());
}

void ReportFormatsTest::cellsEscaped_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("markdown");
    QTest::newRow("less than and a bar") << "a < b | c" << "a &lt; b | c" << "a \\< b \\| c";
    QTest::newRow("a tag") << "<b>bold</b>" << "&lt;b&gt;bold&lt;/b&gt;" << "\\<b>bold\\</b>";
    QTest::newRow("ampersand and quotes") << "R&D \"x\" 'y'" << "R&amp;D &quot;x&quot; &#39;y&#39;"
                                          << "R\\&D \"x\" 'y'";
    QTest::newRow("a reference's look") << "&lt;" << "&amp;lt;" << "\\&lt;";
    QTest::newRow("a lone ampersand") << "A & B" << "A &amp; B" << "A & B";
    QTest::newRow("two lines") << "one\ntwo" << "one<br>two" << "one<br>two";
    QTest::newRow("Windows line end") << "one\r\ntwo" << "one<br>two" << "one<br>two";
    QTest::newRow("emphasis and code") << "*x* _y_ `z` ~w~" << "*x* _y_ `z` ~w~" << "\\*x\\* \\_y\\_ \\`z\\` \\~w\\~";
    QTest::newRow("a backslash") << "a\\|b" << "a\\|b" << "a\\\\\\|b";
    QTest::newRow("a link") << "[x](y)" << "[x](y)" << "\\[x\\](y)";
    QTest::newRow("other scripts") << "Größe – 測試" << "Größe – 測試" << "Größe – 測試";
}

void ReportFormatsTest::cellsEscaped()
{
    QFETCH(QString, label);
    QFETCH(QString, html);
    QFETCH(QString, markdown);
    const std::string text = label.toStdString();
    const ReportForms forms = FormatReport({Labelled(text, text)}, {});
    QVERIFY2(Text(forms.html).contains("\n<tr><td>" + html + "</td><td>" + html + "</td></tr>\n"),
             qPrintable(Text(forms.html)));
    QVERIFY2(Text(forms.markdown).contains("\n| " + markdown + " | " + markdown + " |\n"),
             qPrintable(Text(forms.markdown)));
    // Read back, the cell says what the label says, a line end as one.
    const QString shown = QString(label).replace("\r\n", "\n");
    QCOMPARE(HtmlRows(Text(forms.html)), Rows({qMakePair(shown, shown)}));
    QCOMPARE(MarkdownRows(Text(forms.markdown)), Rows({qMakePair(shown, shown)}));
}

void ReportFormatsTest::paragraphsStartNoBlock_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("markdown");
    QTest::newRow("a heading's mark") << "# rows" << "\\# rows";
    QTest::newRow("a quote's mark") << "> 5" << "\\> 5";
    QTest::newRow("a list's dash") << "- one" << "\\- one";
    QTest::newRow("a numbered list") << "12. line" << "12\\. line";
    QTest::newRow("a plain number") << "1,774 observations" << "1,774 observations";
    QTest::newRow("a plain sentence") << "One row was left out" << "One row was left out";
}

void ReportFormatsTest::paragraphsStartNoBlock()
{
    QFETCH(QString, line);
    QFETCH(QString, markdown);
    const ReportForms forms = FormatReport({Labelled("x", "y")}, {}, {{}, {}, {line.toStdString()}});
    QCOMPARE(Text(forms.markdown), "| Figure | Value |\n| --- | --- |\n| x | y |\n\n" + markdown + "\n");
    QCOMPARE(Text(forms.plain), "x: y\n" + line + "\n");
}

// Labels drawn from the characters that mean something to HTML or Markdown,
// seeded so a failure can be replayed.
void ReportFormatsTest::anyLabelReadsBack()
{
    std::mt19937 random(37);
    const std::string alphabet = "ab <>&|\\*_`[]~#\"'\n;";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 12);
    for (int round = 0; round < 2000; ++round) {
        std::string label, words;
        for (int i = length(random); i > 0; --i) {
            label += alphabet[pick(random)];
            words += alphabet[pick(random)];
        }
        const ReportForms forms = FormatReport({Labelled(label, words), Labelled("x", "y")}, {});
        const Rows expected = {qMakePair(Text(label), Text(words)), qMakePair(QString("x"), QString("y"))};
        QCOMPARE(HtmlRows(Text(forms.html)), expected);
        QCOMPARE(MarkdownRows(Text(forms.markdown)), expected);
    }
}

QTEST_APPLESS_MAIN(ReportFormatsTest)
#include "tst_report_formats.moc"

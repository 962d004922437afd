// The report as pasted: its HTML and Markdown tables, read back cell by
// cell, give every figure's label and words in the list's order, as the
// plain report writes them, with the report's other lines around them in the
// same order; and a label with markup or a cell boundary reads back as written.

#include <QtTest>
#include <random>

#include "../pasted_tables.h"
#include "figures/report_formats.h"
#include "figures/result_report.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

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
    void warningsTableSummary();
    void cellsEscaped_data();
    void cellsEscaped();
    void anyLabelReadsBack();
};

// Two warnings, every figure, the summary: in each form the warnings come
// first, then the table's rows as the plain report's lines, then the summary.
void ReportFormatsTest::warningsTableSummary()
{
    const Judgement j = Judge({10, 1, 40, 4});
    const ReportForms forms = ResultReportForms(j);
    QCOMPARE(forms.plain, ResultReport(j));
    const FigureList<JudgementFigure> figures = JudgementFigures(j);
    QStringList rows;
    for (const Figure& f : figures.All()) {
        rows << Text(f.label + ": " + f.words);
    }
    QVERIFY(Text(forms.plain).contains("\n\n" + rows.join('\n') + "\n\n"));
    QCOMPARE(HtmlRows(Text(forms.html)), rows);
    QCOMPARE(MarkdownRows(Text(forms.markdown)), rows);
    const QStringList plain = Text(forms.plain).split('\n', Qt::SkipEmptyParts);
    for (const bool html : {true, false}) {
        const QString form = Text(html ? forms.html : forms.markdown);
        const qsizetype start = form.indexOf(html ? "<table" : "| Figure |");
        const qsizetype end = html ? form.indexOf("</table>") : form.lastIndexOf(" |\n");
        qsizetype last = -1;  // each line of the plain report after the one before it
        for (const QString& line : plain) {
            if (rows.contains(line)) {
                QVERIFY(last < start || last == end);
                last = end;
                continue;
            }
            const std::string said = line.startsWith("Warning: ") ? line.mid(9).toStdString() : line.toStdString();
            const qsizetype at = form.indexOf(Text(html ? HtmlEscaped(said) : MarkdownEscaped(said)), last + 1);
            QVERIFY2(at > last, qPrintable(line));
            last = at;
        }
    }
}

void ReportFormatsTest::cellsEscaped_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("markdown");
    QTest::newRow("less than and a bar") << "a < b | c" << "a &lt; b | c" << "a \\< b \\| c";
    QTest::newRow("a tag") << "<b>x</b>" << "&lt;b&gt;x&lt;/b&gt;" << "\\<b>x\\</b>";
    QTest::newRow("ampersands and quotes")
        << "R&D \"x\" 'y' & &lt;" << "R&amp;D &quot;x&quot; &#39;y&#39; &amp; &amp;lt;" << "R\\&D \"x\" 'y' & \\&lt;";
    QTest::newRow("line ends") << "one\ntwo\r\nthree" << "one<br>two<br>three" << "one<br>two<br>three";
    QTest::newRow("emphasis, code, a link") << "*x* _y_ `z` ~w~ [l](u)" << "*x* _y_ `z` ~w~ [l](u)"
                                            << "\\*x\\* \\_y\\_ \\`z\\` \\~w\\~ \\[l\\](u)";
    QTest::newRow("a backslash before a bar") << "a\\|b" << "a\\|b" << "a\\\\\\|b";
    QTest::newRow("other scripts") << "Größe – 測試" << "Größe – 測試" << "Größe – 測試";
}

void ReportFormatsTest::cellsEscaped()
{
    QFETCH(QString, label);
    QFETCH(QString, html);
    QFETCH(QString, markdown);
    const ReportForms forms = FormatReport({Labelled(label.toStdString(), "1")}, {});
    QVERIFY2(Text(forms.html).contains("\n<tr><td>" + html + "</td><td>1</td></tr>\n"), qPrintable(Text(forms.html)));
    QCOMPARE(Text(forms.markdown), "| Figure | Value |\n| --- | --- |\n| " + markdown + " | 1 |\n");
    const QStringList shown = {QString(label).replace("\r\n", "\n") + ": 1"};
    QCOMPARE(HtmlRows(Text(forms.html)), shown);
    QCOMPARE(MarkdownRows(Text(forms.markdown)), shown);
}

// Labels and words drawn from the characters that mean something to HTML
// or Markdown, seeded so a failure can be replayed.
void ReportFormatsTest::anyLabelReadsBack()
{
    std::mt19937 random(37);
    const std::string alphabet = "ab <>&|\\*_`[]~#\"'\n;";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string label, words;
        for (std::size_t i = 1 + round % 12; i > 0; --i) {
            label += alphabet[pick(random)];
            words += alphabet[pick(random)];
        }
        const ReportForms forms = FormatReport({Labelled(label, words), Labelled("x", "y")}, {});
        const QStringList rows = {Text(label + ": " + words), "x: y"};
        QCOMPARE(HtmlRows(Text(forms.html)), rows);
        QCOMPARE(MarkdownRows(Text(forms.markdown)), rows);
    }
}

QTEST_APPLESS_MAIN(ReportFormatsTest)
#include "tst_report_formats.moc"

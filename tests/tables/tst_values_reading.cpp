// Reading a file of one row per user: which label is A, blank values as 0,
// the dialects, ratio metrics, the rows left out and why, the files that
// give nothing and their words.

#include <QtTest>
#include <sstream>

#include "figures/problem_words.h"
#include "tables/values_reading.h"

using namespace ambrelay;
using namespace ambrelay::tables;

namespace {

const char* ReasonName(Reason reason)
{
    switch (reason) {
    case Reason::EmptyValuesFile: return "empty";
    case Reason::NoSuchColumn: return "column";
    case Reason::OneVersionOnly: return "one version";
    case Reason::NoValueRows: return "no rows";
    case Reason::NoSuchVersion: return "no such version";
    case Reason::ControlAndOtherNeeded: return "control alone";
    case Reason::ReadingStopped: return "stopped";
    case Reason::FieldCount: return "fields";
    case Reason::NotANumber: return "number";
    case Reason::TooManyVersions: return "too many";
    case Reason::NoVersionLabel: return "label";
    case Reason::UnclosedQuote: return "quote";
    case Reason::OtherDecimalMark: return "mark";
    default: return "?";
    }
}

struct Read {
    Outcome<ValuesRead> result;
    QStringList rows;  // "line: kind" of each row left out, as far as they are named
};

Read ReadText(const std::string& text, const ValuesLayout& layout, bool stop = false)
{
    std::istringstream in(text);
    const std::atomic<bool> stopped{stop};
    Read read{ReadValues(in, layout, &stopped), {}};
    if (read.result) {
        for (const Problem& p : read.result->firstRowsLeftOut) {
            read.rows << QString::number(p.line) + ": " + ReasonName(p.reason);
        }
    }
    return read;
}

ValuesLayout Layout(const QString& group, const QString& value, const QString& control = {},
                    const QString& denominator = {})
{
    ValuesLayout layout;
    layout.group = group.toStdString();
    (denominator.isEmpty() ? layout.value : layout.numerator) = value.toStdString();
    layout.denominator = denominator.toStdString();
    layout.control = control.toStdString();
    return layout;
}

}  // namespace

class ValuesReadingTest : public QObject {
    Q_OBJECT

private slots:
    void summaries_data();
    void summaries();
    void encodings_data();
    void encodings();
    void filesWithoutAnswer_data();
    void filesWithoutAnswer();
    void problemsInWords_data();
    void problemsInWords();
};

void ValuesReadingTest::summaries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("labels");  // the control's, then each version's as met
    QTest::addColumn<double>("meanA");
    QTest::addColumn<double>("meanB");
    QTest::addColumn<double>("blanks");
    QTest::addColumn<QStringList>("leftOut");
    QTest::newRow("the first label is A") << "g,v\nB,1\nA,2\nB,3\nA,4\n" << "g" << "v" << "" << "" << "B A" << 2.0
                                          << 3.0 << 0.0 << QStringList();
    QTest::newRow("the control is A") << "g,v\nB,1\nA,2\nB,3\nA,4\n" << "g" << "v" << "A" << "" << "A B" << 3.0 << 2.0
                                      << 0.0 << QStringList();
    QTest::newRow("a blank value is 0") << "g,v\nA,\nA,4\nB, \nB,2\n" << "g" << "v" << "" << "" << "A B" << 2.0 << 1.0
                                        << 2.0 << QStringList();
    QTest::newRow("semicolons: a decimal comma, a thousands point")
        << "g;v\nA;1,5\nA;2,5\nB;3\nB;1.000\n" << "g" << "v" << "" << "" << "A B" << 2.0 << 501.5 << 0.0
        << QStringList();
    QTest::newRow("tabs") << "g\tv\nA\t1\nA\t3\nB\t5\nB\t7\n" << "g" << "v" << "" << "" << "A B" << 2.0 << 6.0 << 0.0
                          << QStringList();
    QTest::newRow("names with case and blanks aside, positions")
        << "User, Group ,Value\nu1,A,1\nu2,B,2\nu3,A,5\nu4,B,4\n" << "group" << "3" << "" << "" << "A B" << 3.0 << 3.0
        << 0.0 << QStringList();
    QTest::newRow("a ratio: revenue over orders") << "g,rev,orders\nA,10,1\nA,30,3\nB,20,2\nB,40,2\n" << "g" << "rev"
                                                  << "" << "orders" << "A B" << 10.0 << 15.0 << 0.0 << QStringList();
    QTest::newRow("rows left out, the rest counted, a third version kept")
        << "g,v\nA,1\nA,x\nB,2\nC,3\nB\n\nA,3\nB,4\n" << "g" << "v" << "" << "" << "A B C" << 2.0 << 3.0 << 0.0
        << QStringList{"3: number", "6: fields"};
    QString many = "g,v\n";
    for (int i = 1; i <= 22; ++i) {
        many += QString("V%1,%1\nV%1,%1\n").arg(i);
    }
    QStringList names;
    for (int i = 1; i <= 20; ++i) {
        names << QString("V%1").arg(i);
    }
    QTest::newRow("versions past twenty left out by row")
        << many << "g" << "v" << "" << "" << names.join(' ') << 1.0 << 2.0 << 0.0
        << QStringList{"42: too many", "43: too many", "44: too many", "45: too many"};
    // A thousands comma makes a field too many: the row is said, never cut short.
    QTest::newRow("a field too many, a label left blank")
        << "g,v\nA,1\nA,1,234.50\n,3\nB,2\nA,3\nB,4\n" << "g" << "v" << "" << "" << "A B" << 2.0 << 3.0 << 0.0
        << QStringList{"3: fields", "4: label"};
    QTest::newRow("a spreadsheet's sep= line") << "sep=;\ng;v\nA;1,5\nA;2,5\nB;3\nB;5\n" << "g" << "v" << "" << ""
                                               << "A B" << 2.0 << 4.0 << 0.0 << QStringList();
    QTest::newRow("a quote never closed") << "g,v\nA,1\nA,3\nB,2\nB,4\nB,\"6\n" << "g" << "v" << "" << "" << "A B"
                                          << 2.0 << 3.0 << 0.0 << QStringList{"6: quote"};
}

// Labels as spreadsheet programs write them: UTF-16 with its mark, or
// Windows-1252, come through as the text they are.
void ValuesReadingTest::encodings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("labelA");
    QByteArray utf16("\xFF\xFE", 2);
    for (const QChar c : QString::fromUtf8("group\tvalue\nCafé\t1\nCafé\t3\nB\t2\nB\t6\n")) {
        utf16.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    }
    QTest::newRow("UTF-16, tabs") << utf16 << QString::fromUtf8("Café");
    QTest::newRow("Windows-1252") << QByteArray("group,value\nCaf\xE9,1\nCaf\xE9,3\nB,2\nB,6\n")
                                  << QString::fromUtf8("Café");
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBFgroup,value\nCaf\xC3\xA9,1\nCaf\xC3\xA9,3\nB,2\nB,6\n")
                                         << QString::fromUtf8("Café");
}

void ValuesReadingTest::encodings()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, labelA);
    const Read read = ReadText(file.toStdString(), Layout("group", "value"));
    QVERIFY(read.result);
    QCOMPARE(QString::fromStdString(read.result->labels[0]), labelA);
    QCOMPARE(read.result->result.summaries[0]->mean, 2.0);
    QCOMPARE(read.result->result.summaries[1]->mean, 4.0);
}

void ValuesReadingTest::summaries()
{
    QFETCH(QString, file);
    QFETCH(QString, group);
    QFETCH(QString, value);
    QFETCH(QString, control);
    QFETCH(QString, denominator);
    QFETCH(QString, labels);
    QFETCH(double, meanA);
    QFETCH(double, meanB);
    QFETCH(double, blanks);
    QFETCH(QStringList, leftOut);
    const Read read = ReadText(file.toStdString(), Layout(group, value, control, denominator));
    QVERIFY(read.result);
    const ValuesRead& values = *read.result;
    QStringList said;
    for (const std::string& label : values.labels) {
        said << QString::fromStdString(label);
    }
    QCOMPARE(said.join(' '), labels);
    QCOMPARE(values.result.summaries.size(), values.labels.size());
    QVERIFY(values.result.summaries[0] && values.result.summaries[1]);
    QCOMPARE(values.result.summaries[0]->mean, meanA);
    QCOMPARE(values.result.summaries[1]->mean, meanB);
    QCOMPARE(values.blanks, blanks);
    QCOMPARE(read.rows, leftOut);
    QCOMPARE(values.rowsLeftOut, static_cast<std::size_t>(leftOut.size()));
}

void ValuesReadingTest::filesWithoutAnswer_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<QString>("kind");
    QTest::newRow("empty") << "" << "g" << "" << false << "empty";
    QTest::newRow("only blank lines") << "\n\n" << "g" << "" << false << "empty";
    QTest::newRow("no such column") << "grp,v\nA,1\n" << "g" << "" << false << "column";
    QTest::newRow("one version") << "g,v\nA,1\nA,2\n" << "g" << "" << false << "one version";
    QTest::newRow("no rows") << "g,v\n" << "g" << "" << false << "no rows";
    QTest::newRow("a control the file lacks") << "g,v\nA,1\nB,2\n" << "g" << "Z" << false << "no such version";
    QTest::newRow("the control alone") << "g,v\nZ,1\nZ,2\n" << "g" << "Z" << false << "control alone";
    QTest::newRow("no row of the first version counted")
        << "g,v\nA,x\nB,1\nA,y\nB,2\n" << "g" << "" << false << "control alone";
    QTest::newRow("asked to stop") << "g,v\nA,1\nB,2\n" << "g" << "" << true << "stopped";
}

void ValuesReadingTest::filesWithoutAnswer()
{
    QFETCH(QString, file);
    QFETCH(QString, group);
    QFETCH(QString, control);
    QFETCH(bool, stop);
    QFETCH(QString, kind);
    const Read read = ReadText(file.toStdString(), Layout(group, "v", control), stop);
    const std::optional<Problem> problem = read.result ? read.result->versions : read.result.Failure();
    QVERIFY(problem);
    QCOMPARE(QString::fromLatin1(ReasonName(problem->reason)), kind);
}

// What the window and the command line say of each problem.
void ValuesReadingTest::problemsInWords_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("words");
    QTest::newRow("empty") << "" << ""
                           << "the file is empty: it needs a header row naming its columns, and a row of values for "
                              "each user";
    QTest::newRow("no such column") << "version,amount\nA,1\n" << ""
                                    << "the header row has no column named 'g'; its columns are: version, amount";
    QTest::newRow("one version") << "g,v\nA,1\nA,2\n" << ""
                                 << "the file has only one version, 'A'; a comparison takes two";
    QTest::newRow("no rows") << "g,v\n" << "" << "the file has no rows of values";
    QTest::newRow("every row of the first version left out")
        << "g,v\nA,x\nB,1\nA,y\nB,2\n" << "" << "the file needs rows of the control 'A' and of one other version";
    QTest::newRow("the control missing") << "g,v\nA,1\nB,2\n" << "Z"
                                         << "no version named 'Z' in column g; the file has 'A' and 'B'";
    QTest::newRow("the control in another case") << "g,v\ncontrol,1\ntreatment,2\n" << "Control"
                                                 << "no version named 'Control' in column g; the file has 'control' "
                                                    "and 'treatment' (did you mean 'control'?)";
    QTest::newRow("rows left out")
        << "g,v\nA,1\nA,2\nB,x\nC\nB,2\nB,3\n" << ""
        << "2 rows were left out; the first, line 4: 'x' in column v is not a number";
}

void ValuesReadingTest::problemsInWords()
{
    QFETCH(QString, file);
    QFETCH(QString, control);
    QFETCH(QString, words);
    const Read read = ReadText(file.toStdString(), Layout("g", "v", control));
    const std::string said = !read.result             ? ProblemText(read.result.Failure())
                             : read.result->versions ? ProblemText(*read.result->versions)
                                                     : RowsLeftOutText(read.result->rowsLeftOut,
                                                                       read.result->firstRowsLeftOut.front());
    QCOMPARE(QString::fromStdString(said), words);
}

QTEST_MAIN(ValuesReadingTest)
#include "tst_values_reading.moc"

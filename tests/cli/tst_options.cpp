// What the command line says for what a new user types: percents and
// shares read one way for every option, a split intended uneven raising no
// warning, files of values in the encodings and dialects tables take, a
// count that is no number named before anything else, and a reason that
// repeats row after row said for ten rows and then counted.

#include <QtTest>
#include <sstream>

#include "cli/commands.h"
#include "cli/problems.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(Reason)
Q_DECLARE_METATYPE(NameKind)

namespace {

struct Ran {
    int status;
    QString out, err;
};

Ran Run(const QStringList& args, const QByteArray& input)
{
    std::vector<std::string> words;
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in(input.toStdString());
    std::ostringstream out, err;
    const int status = cli::RunCli(words, in, out, err);
    return {status, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

QByteArray Utf16(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineSays_data();
    void commandLineSays();
    void exitStatusByProblem_data();
    void exitStatusByProblem();
};

void OptionsTest::commandLineSays_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // a piece of standard output; "!" first: a piece it must lack
    QTest::addColumn<QString>("err");  // a piece of standard error
    QTest::addColumn<int>("errLines");  // how many lines standard error has; -1 any
    const QByteArray values = "group,value\nA,1\nA,2\nB,3\nB,5\n";
    // Percents, fractions and shares.
    QTest::newRow("--cap 0.99") << QStringList{"means", "--values", "-", "--cap", "0.99"} << values << 2 << ""
                                << "--cap 0.99 could be 0.99% or 99%" << 1;
    QTest::newRow("--baseline 0.1 is 10%") << QStringList{"plan", "--baseline", "0.1", "--mde", "20"} << QByteArray()
                                           << 0 << "Observations needed: 3,841 for A" << "" << 0;
    QTest::newRow("--mde 20% is 20") << QStringList{"plan", "--baseline", "10%", "--mde", "20%"} << QByteArray() << 0
                                     << "Observations needed: 3,841 for A" << "" << 0;
    QTest::newRow("--baseline 10") << QStringList{"plan", "--baseline", "10", "--mde", "20"} << QByteArray() << 2 << ""
                                   << "--baseline takes a fraction such as 0.1, or a percentage" << 1;
    QTest::newRow("--split 0.9") << QStringList{"srm", "1000", "1100", "--split", "0.9"} << QByteArray() << 2 << ""
                                 << "--split 0.9 could be 0.9% or 90%" << 1;
    QTest::newRow("--margin 0.02") << QStringList{"judge", "1000", "100", "1000", "130", "--margin", "0.02"}
                                   << QByteArray() << 2 << "" << "--margin 0.02 could be 0.02% or 2%" << 1;
    // A split intended uneven.
    QTest::newRow("a holdout, unsaid") << QStringList{"judge", "900", "90", "100", "12"} << QByteArray() << 0
                                       << "Warning: Sample ratio mismatch" << "" << 0;
    QTest::newRow("a holdout, --split 90") << QStringList{"judge", "900", "90", "100", "12", "--split", "90"}
                                           << QByteArray() << 0 << "!Sample ratio mismatch" << "" << 0;
    QTest::newRow("averages, --split 90/10") << QStringList{"means", "900", "10", "3", "100", "10.1", "3", "--split",
                                                            "90/10"}
                                             << QByteArray() << 0 << "!Sample ratio mismatch" << "" << 0;
    QTest::newRow("a table, --split 90") << QStringList{"judge", "--csv", "-", "--split", "90"}
                                         << QByteArray("views1,responses1,views2,responses2\n900,90,100,12\n") << 0
                                         << "!sample_ratio_mismatch" << "" << 0;
    QTest::newRow("srm --split 90/10") << QStringList{"srm", "900", "100", "--split", "90/10"} << QByteArray() << 0
                                       << "Sample ratio mismatch: none" << "" << 0;
    // What is named.
    QTest::newRow("the count that is no number") << QStringList{"judge", "abc", "100", "1000", "130"} << QByteArray()
                                                 << 1 << "" << "Input 'Version 1 Views' must be numeric." << 1;
    QTest::newRow("the usual summaries missing") << QStringList{"means", "--csv", "-"}
                                                 << QByteArray("a,b,c,d,e,f\n1,2,3,4,5,6\n") << 2 << ""
                                                 << "Name the six summary columns" << 1;
    QTest::newRow("the usage names every command") << QStringList{"bogus"} << QByteArray() << 2 << ""
                                                   << "the commands are judge, means, plan and srm" << 1;
    // Files of values as spreadsheets write them.
    QTest::newRow("Unicode Text") << QStringList{"means", "--values", "-", "--value", "revenue", "--json"}
                                  << Utf16("group\trevenue\nA\t1\nA\t2\nB\t3\nB\t5\n") << 0 << "\"average2\": 4.0"
                                  << "" << 0;
    QTest::newRow("--encoding with --values") << QStringList{"means", "--values", "-", "--encoding", "windows-1252",
                                                             "--json"}
                                              << QByteArray("group,value\nCaf\xE9,1\nCaf\xE9,2\nB,3\nB,5\n") << 0
                                              << QString::fromUtf8("\"label1\": \"Café\"") << "" << 0;
    QTest::newRow("a field too many, said with the count") << QStringList{"means", "--values", "-", "--json"}
                                                           << QByteArray("group,value\nA,1\nA,1,234.50\nA,2\nB,3\n"
                                                                         "B,5\n")
                                                           << 1 << "\"rows_left_out\": 1"
                                                           << "line 3: The row has 3 fields where the header has 2."
                                                           << 1;
    // A reason that repeats, said once or for ten rows.
    QByteArray control = "user,group,value\n";
    for (int i = 0; i < 40000; ++i) {
        control += "u" + QByteArray::number(i) + (i % 2 ? ",treatment," : ",control,") + QByteArray::number(i % 7)
                   + "\n";
    }
    QTest::newRow("a mistyped control, said once") << QStringList{"means", "--values", "-", "--control", "Control"}
                                                   << control << 2 << ""
                                                   << "no version named 'Control' in column group; the file has "
                                                      "'control' and 'treatment' (did you mean 'control'?)"
                                                   << 1;
    QByteArray letters = "views1,responses1,views2,responses2\n";
    for (int i = 0; i < 25; ++i) {
        letters += "1000,abc,1000,10\n";
    }
    QTest::newRow("25 rows without a result") << QStringList{"judge", "--csv", "-"} << letters << 1 << ""
                                              << "and 15 more rows have no result" << 11;
}

void OptionsTest::commandLineSays()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, errLines);
    const Ran ran = Run(args, input);
    QCOMPARE(ran.status, status);
    if (out.startsWith('!')) {
        QVERIFY2(!ran.out.contains(out.mid(1)), qPrintable(ran.out));
        QVERIFY(!ran.out.isEmpty());
    } else {
        QVERIFY2(ran.out.contains(out), qPrintable(ran.out));
    }
    QVERIFY2(ran.err.contains(err), qPrintable(ran.err));
    if (errLines >= 0) {
        QCOMPARE(ran.err.count('\n'), errLines);
    }
}

// One place decides: what the command line was given is a usage error (2),
// inputs without a result are 1, and the same reason can be either by where
// it lies.
void OptionsTest::exitStatusByProblem_data()
{
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<NameKind>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");  // the start of the line on standard error
    QTest::newRow("a count in a column") << Reason::NotANumber << NameKind::Column << 1 << "'x' in column v";
    QTest::newRow("an option's value") << Reason::NotANumber << NameKind::Option << 2 << "ambrelay-cli: v must be";
    QTest::newRow("a box of the window's") << Reason::BoxNotNumeric << NameKind::None << 1 << "Input 'Version 1";
    QTest::newRow("counts without a result") << Reason::NoResponses << NameKind::None << 1 << "Neither version";
    QTest::newRow("a file that cannot be read") << Reason::UnreadableFile << NameKind::None << 2
                                                << "ambrelay-cli: cannot read v";
    QTest::newRow("a column that is not there") << Reason::NoSuchColumn << NameKind::Column << 2
                                                << "ambrelay-cli: the header row";
    QTest::newRow("an ambiguous percent") << Reason::PercentOrFraction << NameKind::Option << 2
                                          << "ambrelay-cli: v x could be";
}

void OptionsTest::exitStatusByProblem()
{
    QFETCH(Reason, reason);
    QFETCH(NameKind, kind);
    QFETCH(int, status);
    QFETCH(QString, said);
    std::ostringstream err;
    QCOMPARE(cli::Fail(err, Problem(reason, kind, "v", "x")), status);
    QVERIFY2(QString::fromStdString(err.str()).startsWith(said), err.str().c_str());
}

QTEST_APPLESS_MAIN(OptionsTest)
#include "tst_options.moc"

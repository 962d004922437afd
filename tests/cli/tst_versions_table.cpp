// Tables of more than two versions through the command line: a row a
// version, grouped by test wherever its rows lie, read by every rule of the
// one reader; a file answered as it is read when its tests lie together,
// byte for byte as a pipe read whole; two versions in long form judged as
// the wide row judges them; and, simulated with no true difference, how
// often each correction names a false winner.

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>

#include "cli/commands.h"
#include "cli/test_chunks.h"

using namespace ambrelay;
using Json = nlohmann::ordered_json;

namespace {

struct Ran {
    int status;
    std::vector<Json> rows;  // a JSON object a line
    std::string err;
};

Ran Run(const QStringList& args, const std::string& input)
{
    std::vector<std::string> words;
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    Ran ran{cli::RunCli(words, in, out, err), {}, err.str()};
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            ran.rows.push_back(Json::parse(line));
        }
    }
    return ran;
}

// A stream that cannot go back to its start, as a pipe cannot.
class OnceOnly : public std::streambuf {
public:
    explicit OnceOnly(std::string text) : text_(std::move(text)) { setg(text_.data(), text_.data(), text_.data() + text_.size()); }

private:
    std::string text_;
};

struct Bytes {
    int status;
    std::string out, err;
};

Bytes RunBytes(const std::vector<std::string>& words, std::istream& in)
{
    std::ostringstream out, err;
    const int status = cli::RunCli(words, in, out, err);
    return {status, out.str(), err.str()};
}

// `tests` tests of three versions, test t's rows `apart` rows from each
// other when `apart` > 0 (every test's first rows, then every second row,
// ...), else together; `bad` replaces that many rows' counts by one field
// too many or a word.
std::string ManyTests(int tests, bool apart, int bad)
{
    std::mt19937_64 random(36);
    std::binomial_distribution<int> responses(2000, 0.1);
    std::vector<std::string> rows;
    for (int v = 0; v < 3; ++v) {
        for (int t = 0; t < tests; ++t) {
            rows.push_back("t" + std::to_string(t) + "," + char('A' + v) + ",2000," + std::to_string(responses(random)));
        }
    }
    std::string table = "test,version,views,responses\n";
    for (int i = 0; i < 3 * tests; ++i) {
        const int at = apart ? i : (i % 3) * tests + i / 3;  // together: test by test
        std::string row = rows[at];
        if (bad > 0 && i % 997 == 5) {
            row += i % 2 ? ",1" : "x";
            --bad;
        }
        table += row + "\n";
    }
    return table;
}

const char* const kHomepage = "test,version,views,responses\n"
                              "homepage,A,12500,310\n"
                              "homepage,B,12480,355\n"
                              "homepage,C,12510,342\n";

}  // namespace

class VersionsCliTest : public QObject {
    Q_OBJECT

private slots:
    void longForm_data();
    void longForm();
    void fileAsPipe_data();
    void fileAsPipe();
    void twoVersionsAsTheWideRow();
    void falseWinners_data();
    void falseWinners();
};

// Each expectation: "N:key=value" of output row N's JSON, "N:key~number"
// for a number R gives to 1e-12, or "err:" and a part of standard error.
void VersionsCliTest::longForm_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("expected");
    const QStringList judge{"judge", "--csv", "-", "--json"};
    QTest::newRow("three homepages, each against A")
        << judge << kHomepage << 0 << 2
        << QStringList{"0:version=\"B\"", "0:control=\"A\"", "0:versions=3", "0:adjustment=\"holm\"",
                       "0:p_adjusted=0.14701895609578708", "0:chance_to_be_best~0.692466366557986435",
                       "0:split_p_value=0.9815015895340743", "1:version=\"C\"", "1:winner=null"};
    QTest::newRow("the control named, a column named variant")
        << (judge + QStringList{"--control", "C"})
        << "variant,views,responses\nA,12500,310\nB,12480,355\nC,12510,342\n" << 0 << 2
        << QStringList{"0:variant=\"A\"", "0:control=\"C\"", "1:variant=\"B\"", "0:ratio1_percent=2.7338129496402876"};
    QTest::newRow("two tests, their rows apart")
        << judge
        << "test,arm,views,responses\nhome,A,1000,100\nmail,A,500,50\nhome,B,1000,130\nmail,B,500,60\n"
           "home,C,1000,120\n"
        << 0 << 3
        << QStringList{"0:test=\"home\"", "0:arm=\"B\"", "0:versions=3", "1:arm=\"C\"", "2:test=\"mail\"",
                       "2:versions=2", "2:window_ratio1=0.1"};
    QTest::newRow("Bonferroni widens the intervals")
        << (judge + QStringList{"--adjust", "Bonferroni"}) << kHomepage << 0 << 2
        << QStringList{"0:adjustment=\"bonferroni\"", "0:interval_level_percent=97.5",
                       "0:p_adjusted=0.14701895609578708"};
    QTest::newRow("shares intended for each version")
        << (judge + QStringList{"--split", "50/25/25"}) << kHomepage << 0 << 2
        << QStringList{"0:split_chi_square~4161.1603094158445"};
    QTest::newRow("columns and tests by other names")
        << (judge + QStringList{"--version-column", "page", "--test-column", "experiment"})
        << "experiment;page;views;responses\nx;old;1000;100\nx;new;1000;130\nx;newer;1000;125\n" << 0 << 2
        << QStringList{"0:experiment=\"x\"", "0:page=\"new\"", "0:control=\"old\""};
    QTest::newRow("averages, decimal commas")
        << QStringList{"means", "--csv", "-", "--json"}
        << "version;n;mean;sd\nA;1000;10;4\nB;1000;10,4;4,2\nC;1000;10,2;3,9\n" << 0 << 2
        << QStringList{"0:version=\"B\"", "0:chance_to_be_best~0.85938648029835762",
                       "0:p_adjusted=0.05861750987980101", "1:average2=10.2"};
    QTest::newRow("a bad row: its test has no answer, the other has")
        << judge << "test,version,views,responses\nt1,A,100,10\nt1,B,100,x\nt2,A,100,10\nt2,B,100,12\n" << 1 << 3
        << QStringList{"0:error=\"'x' in column responses is not a number\"", "2:test=\"t2\"",
                       "2:error=null", "err:line 3"};
    QTest::newRow("a control the test lacks")
        << (judge + QStringList{"--control", "Z"}) << kHomepage << 1 << 3
        << QStringList{"0:error=\"no version named 'Z'; the test has 'A', 'B' and 'C'\"", "err:line 2"};
    QTest::newRow("one version named twice")
        << judge << "version,views,responses\nA,100,10\nA,100,12\nB,100,9\n" << 1 << 3
        << QStringList{"0:error=\"the version 'A' is named twice in one test\""};
    QTest::newRow("a correction that does not exist")
        << (judge + QStringList{"--adjust", "dunnett"}) << kHomepage << 2 << 0
        << QStringList{"err:--adjust takes holm, hochberg, BH, bonferroni or none, not 'dunnett'"};
    QTest::newRow("shares for another number of versions")
        << (judge + QStringList{"--split", "50/50"}) << kHomepage << 1 << 3
        << QStringList{"0:error=\"--split gives 2 shares, and the test has 3 versions\""};
}

void VersionsCliTest::longForm()
{
    QFETCH(QStringList, args);
    QFETCH(QString, input);
    QFETCH(int, status);
    QFETCH(int, rows);
    QFETCH(QStringList, expected);
    const Ran ran = Run(args, input.toStdString());
    QCOMPARE(ran.status, status);
    QCOMPARE(int(ran.rows.size()), rows);
    for (const QString& e : expected) {
        if (e.startsWith("err:")) {
            QVERIFY2(ran.err.find(e.mid(4).toStdString()) != std::string::npos, ran.err.c_str());
            continue;
        }
        const int colon = e.indexOf(':'), equals = e.indexOf(QRegularExpression("[=~]"));
        const Json& row = ran.rows.at(e.left(colon).toInt());
        const std::string key = e.mid(colon + 1, equals - colon - 1).toStdString();
        QVERIFY2(row.contains(key), key.c_str());
        if (e[equals] == '~') {
            const double r = e.mid(equals + 1).toDouble();
            QVERIFY2(std::fabs(row[key].get<double>() - r) <= 1e-12 * std::fabs(r), row[key].dump().c_str());
        } else {
            QCOMPARE(QString::fromStdString(row[key].dump()), e.mid(equals + 1));
        }
    }
}

// A file is read as it comes when its tests lie together, a thousand tests
// at a time, and read whole when they do not; a pipe is always read whole.
// Either way the bytes out are the same, for one thread and two.
void VersionsCliTest::fileAsPipe_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("streamed");  // from a file
    QTest::addColumn<int>("rowsOut");
    QTest::newRow("tests together, across chunks") << QString::fromStdString(ManyTests(1100, false, 0)) << true << 2201;
    QTest::newRow("tests apart") << QString::fromStdString(ManyTests(1100, true, 0)) << false << 2201;
    QTest::newRow("together, rows that cannot be read among them")
        << QString::fromStdString(ManyTests(1100, false, 4)) << false << 2203;
    QTest::newRow("one test, no test column")
        << "version,views,responses\nA,100,10\nB,100,12\nC,100,11\n" << false << 3;
    QTest::newRow("a bad count in a test together")
        << "test,version,views,responses\nt1,A,100,10\nt1,B,100,x\nt2,A,100,10\nt2,B,100,12\n" << true << 4;
}

void VersionsCliTest::fileAsPipe()
{
    QFETCH(QString, table);
    QFETCH(bool, streamed);
    QFETCH(int, rowsOut);
    const std::string text = table.toStdString();
    std::istringstream file(text);
    tables::TableReader reader(file, {});
    QVERIFY(!reader.Start());
    const auto columns = FindVersionColumns(reader.Names(), TableKind::Rates, "", "", "", false);
    QVERIFY(columns && *columns);
    cli::TestChunks chunks(file, reader, **columns, {});
    QCOMPARE(chunks.Streamed(), streamed);
    std::size_t rowsIn = 0;
    cli::TestChunk chunk;
    while (chunks.Next(1000, chunk)) {
        QVERIFY(chunk.tests.size() <= 1000);
        for (const auto& rows : chunk.tests) {
            rowsIn += rows.size();
        }
    }
    QCOMPARE(rowsIn, std::size_t(std::count(text.begin(), text.end(), '\n') - 1));
    for (const char* jobs : {"1", "2"}) {
        const std::vector<std::string> words{"judge", "--csv", "-", "--jobs", jobs};
        std::istringstream seekable(text);
        OnceOnly once(text);
        std::istream pipe(&once);
        const Bytes fromFile = RunBytes(words, seekable), fromPipe = RunBytes(words, pipe);
        QCOMPARE(fromFile.status, fromPipe.status);
        QCOMPARE(fromFile.err, fromPipe.err);
        QVERIFY(fromFile.out == fromPipe.out);
        QCOMPARE(int(std::count(fromFile.out.begin(), fromFile.out.end(), '\n')), rowsOut);
    }
}

// A long table of two versions gives the wide row's every figure, and the
// family's figures beside them.
void VersionsCliTest::twoVersionsAsTheWideRow()
{
    const Ran wide = Run({"judge", "--csv", "-", "--json"}, "views1,responses1,views2,responses2\n1000,100,1000,130\n");
    const Ran tall = Run({"judge", "--csv", "-", "--json"}, "version,views,responses\nA,1000,100\nB,1000,130\n");
    QCOMPARE(wide.status, 0);
    QCOMPARE(tall.status, 0);
    int compared = 0;
    for (const auto& [key, value] : wide.rows.at(0).items()) {
        if (tall.rows.at(0).contains(key) && key.find("views") == std::string::npos
            && key.find("responses") == std::string::npos) {
            QCOMPARE(QString::fromStdString(tall.rows[0][key].dump()), QString::fromStdString(value.dump()));
            ++compared;
        }
    }
    QVERIFY(compared > 30);
    QCOMPARE(QString::fromStdString(tall.rows[0]["p_adjusted"].dump()),
             QString::fromStdString(wide.rows[0]["p_two_sided"].dump()));
}

// A control and four others of the same true rate, 2,000 tests: a test
// names a false winner when any version differs from the control at an
// adjusted p below 0.05, whichever way. R's own simulation gives 4.2-4.4%
// with Holm and about 16% without a correction.
void VersionsCliTest::falseWinners_data()
{
    QTest::addColumn<QString>("adjust");
    QTest::addColumn<double>("least");  // percent of tests
    QTest::addColumn<double>("most");
    QTest::newRow("holm") << "holm" << 2.5 << 6.0;
    QTest::newRow("benjamini-hochberg") << "BH" << 2.5 << 6.0;
    QTest::newRow("none") << "none" << 13.5 << 18.0;
}

void VersionsCliTest::falseWinners()
{
    QFETCH(QString, adjust);
    QFETCH(double, least);
    QFETCH(double, most);
    constexpr int kTests = 2000, kVersions = 5, kViews = 1000;
    std::mt19937_64 random(20261210);
    std::binomial_distribution<int> responses(kViews, 0.1);
    std::string table = "test,version,views,responses\n";
    for (int t = 0; t < kTests; ++t) {
        for (int v = 0; v < kVersions; ++v) {
            table += std::to_string(t) + "," + char('A' + v) + "," + std::to_string(kViews) + ","
                     + std::to_string(responses(random)) + "\n";
        }
    }
    const Ran ran = Run({"judge", "--csv", "-", "--json", "--adjust", adjust}, table);
    QCOMPARE(ran.status, 0);
    QCOMPARE(int(ran.rows.size()), kTests * (kVersions - 1));
    std::set<std::string> named;
    for (const Json& row : ran.rows) {
        if (row["p_adjusted"].get<double>() < 0.05) {
            named.insert(row["test"].get<std::string>());
        }
    }
    const double percent = 100.0 * named.size() / kTests;
    qInfo("%s: a false winner in %.2f%% of tests", qPrintable(adjust), percent);
    QVERIFY2(percent >= least && percent <= most, qPrintable(QString::number(percent)));
}

QTEST_MAIN(VersionsCliTest)
#include "tst_versions_table.moc"

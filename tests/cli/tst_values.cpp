// Files of observations against R: t.test on the same values (capped as
// R's quantile type 7 caps them, blanks as 0) and the delta method written
// out in R for a ratio metric; and a file and its summaries give the same
// figures.

#include <QtTest>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/commands.h"
#include "cli/problems.h"

using namespace ambrelay;
using Json = nlohmann::ordered_json;

namespace {

Json RunJson(const QStringList& args)
{
    std::vector<std::string> words;
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in;
    std::ostringstream out, err;
    cli::RunCli(words, in, out, err);
    return Json::parse(out.str());
}

QString Case(const char* name) { return QStringLiteral(CASES "/") + name; }

struct Ran {
    int status;
    std::string out, err;
};

Ran Run(const QStringList& args, const std::string& input = {})
{
    std::vector<std::string> words;
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::RunCli(words, in, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace

class ValuesTest : public QObject {
    Q_OBJECT

private slots:
    void agreesWithR_data();
    void agreesWithR();
    void fileAndSummariesAgree();
    void filesAsWritten_data();
    void filesAsWritten();
    void optionsThatDoNotFit_data();
    void optionsThatDoNotFit();
    void tableRowsAnswerAsOne();
};

void ValuesTest::agreesWithR_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QList<double>>("expected");  // t, df (0: a z test), p, low, high
    const QStringList revenue{"means", "--values", Case("values_revenue.csv"), "--group", "variant", "--value",
                              "revenue", "--control", "A", "--json"};
    QTest::newRow("revenue, blanks as 0")
        << revenue
        << QList<double>{1.1401666096138974, 306.19342349160064, 0.25510796288146026, -2.085042594641259,
                         7.8302509279745918};
    QTest::newRow("revenue capped at the 95th percentile of purchases")
        << revenue + QStringList{"--cap", "95%", "--ignore-zeros"}
        << QList<double>{1.4441060517496127, 296.83482097040633, 0.14976378489770723, 0, 0};
    QTest::newRow("semicolons and decimal commas")
        << QStringList{"means", "--values", Case("values_revenue_semicolon.csv"), "--group", "variant", "--value",
                       "revenue", "--control", "A", "--json"}
        << QList<double>{1.1401666096138974, 306.19342349160064, 0.25510796288146026, -2.085042594641259,
                         7.8302509279745918};
    QTest::newRow("order value, a ratio metric")
        << QStringList{"means", "--values", Case("values_orders.csv"), "--group", "arm", "--numerator", "revenue",
                       "--denominator", "orders", "--json"}
        << QList<double>{2.348453544885595, 0, 0.018851550629090337, 0.60952674318660671, 6.7597587504362409};
}

void ValuesTest::agreesWithR()
{
    QFETCH(QStringList, args);
    QFETCH(QList<double>, expected);
    const Json j = RunJson(args);
    const auto near = [](const Json& actual, double wanted) {
        return actual.is_number() && std::fabs(actual.get<double>() - wanted) <= 1e-9 * std::fmax(1.0, std::fabs(wanted));
    };
    QVERIFY2(near(j["t"], expected[0]), j["t"].dump().c_str());
    QVERIFY(expected[1] == 0 ? j["df"].is_null() : near(j["df"], expected[1]));
    QVERIFY2(near(j["p_two_sided"], expected[2]), j["p_two_sided"].dump().c_str());
    if (expected[3] != 0) {
        QVERIFY(near(j["difference_ci"][0], expected[3]));
        QVERIFY(near(j["difference_ci"][1], expected[4]));
    }
}

// The figures both have are the same, whether read from the values or from
// their count, average and standard deviation.
void ValuesTest::fileAndSummariesAgree()
{
    const Json file = RunJson({"means", "--values", Case("values_revenue.csv"), "--group", "variant", "--value",
                               "revenue", "--control", "A", "--json"});
    QStringList summaries{"means"};
    for (const char* key : {"observations1", "average1", "standard_deviation1", "observations2", "average2",
                            "standard_deviation2"}) {
        summaries << QString::fromStdString(file[key].dump());
    }
    const Json summary = RunJson(summaries + QStringList{"--json"});
    int compared = 0;
    for (const auto& [key, value] : summary.items()) {
        if (file.contains(key) && key != "warnings") {
            QCOMPARE(QString::fromStdString(value.dump()), QString::fromStdString(file[key].dump()));
            ++compared;
        }
    }
    QVERIFY(compared > 15);
}

// Files of observations as people write them: what each version is, what
// is counted, and what is left out and said by its line.
void ValuesTest::filesAsWritten_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("expected");  // key=value of the JSON, or "err:" and a text of standard error
    QTest::newRow("the first label is A") << QStringList{} << "group,value\nnew,3\nold,1\nnew,5\nold,2\n" << 0
                                          << QStringList{"label1=\"new\"", "average1=4.0", "average2=1.5"};
    QTest::newRow("the control is A wherever it starts")
        << QStringList{"--control", "old"} << "group,value\nnew,3\nold,1\nnew,5\nold,2\n" << 0
        << QStringList{"label1=\"old\"", "label2=\"new\"", "average1=1.5"};
    QTest::newRow("blanks count as 0, and are counted")
        << QStringList{} << "group,value\nA,\nA,4\nB, \nB,2\nB,4\n" << 0
        << QStringList{"blank_values=2", "average1=2.0", "average2=2.0", "observations2=3"};
    QTest::newRow("quoted labels and decimal commas")
        << QStringList{} << "group;value\n\"A; old\";1,5\n\"A; old\";2,5\nB;1.000,5\nB;3\n" << 0
        << QStringList{"label1=\"A; old\"", "average1=2.0", "average2=501.75"};
    QTest::newRow("a third label and a word, by their lines")
        << QStringList{} << "group,value\nA,1\nA,2\nB,x\nC,3\nB,4\nB,6\n" << 1
        << QStringList{"err:line 4: 'x' in column value is not a number",
                       "err:'C' against the control 'A': Each version needs at least two observations"};
    QTest::newRow("three versions, each against the first")
        << QStringList{} << "group,value\nA,1\nA,2\nB,x\nC,3\nB,4\nB,6\nC,5\n" << 1
        << QStringList{"err:line 4: 'x' in column value is not a number", "/comparisons/1/label2=\"C\"",
                       "/comparisons/0/versions=3", "/comparisons/0/average2=5.0"};
    QTest::newRow("a short row") << QStringList{} << "group,value\nA,1\nA,2\nB\nB,4\nB,6\n" << 1
                                 << QStringList{"err:line 4:", "observations2=2"};
    QTest::newRow("a ratio whose denominators are all 0")
        << QStringList{"--numerator", "value", "--denominator", "orders"}
        << "group,value,orders\nA,0,0\nA,0,0\nB,1,1\nB,2,1\n" << 1
        << QStringList{"err:The denominators of the ratio are all 0"};
    QTest::newRow("one version only") << QStringList{} << "group,value\nA,1\nA,2\n" << 2
                                      << QStringList{"err:only one version, 'A'"};
    QTest::newRow("no such column") << QStringList{"--value", "revenue"} << "group,value\nA,1\nB,2\n" << 2
                                    << QStringList{"err:revenue"};
    QTest::newRow("a cap that lands on 0 is said")
        << QStringList{"--cap", "50%"} << "group,value\nA,0\nA,0\nA,9\nB,0\nB,0\nB,0\nB,7\n" << 0
        << QStringList{"cap_upper=null", "capped_upper=null", "average1=3.0"};
}

void ValuesTest::filesAsWritten()
{
    QFETCH(QStringList, options);
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(QStringList, expected);
    const Ran ran = Run(QStringList{"means", "--values", "-", "--json"} + options, file.toStdString());
    QCOMPARE(ran.status, status);
    const Json j = ran.out.empty() ? Json() : Json::parse(ran.out);
    for (const QString& e : expected) {
        if (e.startsWith("err:")) {
            QVERIFY2(ran.err.find(e.mid(4).toStdString()) != std::string::npos, ran.err.c_str());
            continue;
        }
        const QStringList kv = e.split('=');
        const Json::json_pointer at(kv[0].startsWith('/') ? kv[0].toStdString() : "/" + kv[0].toStdString());
        QVERIFY2(j.contains(at), qPrintable(kv[0]));
        QCOMPARE(QString::fromStdString(j[at].dump()), kv[1]);
    }
    if (QTest::currentDataTag() == QByteArray("a cap that lands on 0 is said")) {
        QCOMPARE(QString::fromStdString(j["warnings"][0]["code"].get<std::string>()), QString("cap_on_zero"));
    }
}

// Options of one input form given with another, or out of range: a usage
// error that names them, and nothing written.
void ValuesTest::optionsThatDoNotFit_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("said");
    QTest::newRow("values and a table") << QStringList{"--values", "-", "--csv", "-"} << "one of them";
    QTest::newRow("columns of a table with values") << QStringList{"--values", "-", "--columns", "1,2"} << "--group";
    QTest::newRow("a cap without values") << QStringList{"1", "2", "3", "4", "5", "6", "--cap", "99%"} << "--values FILE";
    QTest::newRow("a numerator alone") << QStringList{"--values", "-", "--numerator", "x"} << "both --numerator";
    QTest::newRow("a cap of 100%") << QStringList{"--values", "-", "--cap", "100%"} << "above 0 and below 100";
    QTest::newRow("five numbers") << QStringList{"1", "2", "3", "4", "5"} << "six numbers";
    QTest::newRow("a relative margin of 100%") << QStringList{"1", "2", "3", "4", "5", "6", "--margin", "100%"}
                                               << "--margin";
}

void ValuesTest::optionsThatDoNotFit()
{
    QFETCH(QStringList, args);
    QFETCH(QString, said);
    const Ran ran = Run(QStringList{"means"} + args, "group,value\nA,1\nA,2\nB,3\nB,4\n");
    QCOMPARE(ran.status, int(cli::kUsage));
    QVERIFY(ran.out.empty());
    QVERIFY2(ran.err.find(said.toStdString()) != std::string::npos, ran.err.c_str());
}

// A table of summaries gives each row the figures `means` gives that row
// alone, whatever the table's dialect.
void ValuesTest::tableRowsAnswerAsOne()
{
    const Ran table = Run({"means", "--csv", "-", "--json", "--jobs", "2"},
                          "test;n1;mean1;sd1;n2;mean2;sd2\nx;1.200;52,30;41,7;1.180;55,90;44,2\n"
                          "y;40;10;3;35;11,5;5\nz;100;0;10;100;5;10\n");
    QCOMPARE(table.status, 0);
    std::istringstream lines(table.out);
    const QStringList rows[] = {{"1200", "52.30", "41.7", "1180", "55.90", "44.2"},
                                {"40", "10", "3", "35", "11.5", "5"},
                                {"100", "0", "10", "100", "5", "10"}};
    for (const QStringList& row : rows) {
        std::string line;
        QVERIFY(std::getline(lines, line));
        const Json fromTable = Json::parse(line);
        const Json alone = RunJson(QStringList{"means"} + row + QStringList{"--json"});
        int compared = 0;
        for (const auto& [key, value] : alone.items()) {
            if (fromTable.contains(key) && key != "warnings" && key.rfind("mean", 0) != 0 && key.rfind("sd", 0) != 0
                && key.rfind("n", 0) != 0) {
                QCOMPARE(QString::fromStdString(fromTable[key].dump()), QString::fromStdString(value.dump()));
                ++compared;
            }
        }
        QVERIFY(compared > 20);
    }
}

QTEST_APPLESS_MAIN(ValuesTest)
#include "tst_values.moc"

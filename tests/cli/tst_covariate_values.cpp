// Files of values with what each user did before the test: the published
// check values through the command line, the options that go with a
// covariate and the words when they do not fit, the rows it leaves out, its
// warnings, and, simulated with no true difference, p values and intervals
// that keep their promises while the intervals narrow.

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "../published_covariate.h"
#include "cli/commands.h"

using namespace ambrelay;
using ambrelay::testing::PublishedCovariateFile;
using Json = nlohmann::ordered_json;

namespace {

struct Ran {
    int status;
    Json json;
    std::string err;
};

Ran Run(const QStringList& args, const std::string& input)
{
    std::vector<std::string> words{"means", "--values", "-"};
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::RunCli(words, in, out, err);
    return {status, out.str().empty() ? Json() : Json::parse(out.str()), err.str()};
}

const QStringList kPublished{"--group", "arm", "--value", "revenue", "--covariate", "pre_revenue", "--control",
                             "control", "--json"};

}  // namespace

class CovariateValuesTest : public QObject {
    Q_OBJECT

private slots:
    void publishedTest_data();
    void publishedTest();
    void filesAndOptions_data();
    void filesAndOptions();
    void promisesKept();
};

// R from the sums: θ −0.069566052, the adjusted averages 0.101019 and
// 0.072159, df 5,593.0, the lift 39.4187% (2.5183% to 76.3191%), or B's
// over A's −28.8704% (−48.1992% to −9.5417%) when lower is better.
void CovariateValuesTest::publishedTest_data()
{
    QTest::addColumn<QStringList>("more");
    QTest::addColumn<QStringList>("expected");  // key~number to 1e-6 absolute (as R's digits), or key=JSON
    QTest::newRow("higher is better")
        << QStringList{} << QStringList{"covariate_theta~-0.069566052", "average1~0.101019", "average2~0.072159",
                                        "df~5593.0", "lift_percent~39.4187", "leader=\"A\""};
    QTest::newRow("lower is better") << QStringList{"--lower-is-better"}
                                     << QStringList{"lift_percent~-28.8704", "leader=\"B\"", "unadjusted_average1~0.1"};
}

void CovariateValuesTest::publishedTest()
{
    QFETCH(QStringList, more);
    QFETCH(QStringList, expected);
    const Ran ran = Run(kPublished + more, PublishedCovariateFile());
    QCOMPARE(ran.status, 0);
    for (const QString& e : expected) {
        const int at = e.indexOf(QRegularExpression("[=~]"));
        const std::string key = e.left(at).toStdString();
        QVERIFY2(ran.json.contains(key), key.c_str());
        if (e[at] == '~') {
            const double r = e.mid(at + 1).toDouble();
            const double digits = e.mid(at + 1).section('.', 1).size();
            QVERIFY2(std::fabs(ran.json[key].get<double>() - r) <= 0.5 * std::pow(10, -digits) + 1e-12,
                     (key + " " + ran.json[key].dump()).c_str());
        } else {
            QCOMPARE(QString::fromStdString(ran.json[key].dump()), e.mid(at + 1));
        }
    }
    const Json& ci = ran.json["lift_ci_percent"];
    QVERIFY(more.isEmpty() ? std::fabs(ci[0].get<double>() - 2.5183) < 5e-5 && std::fabs(ci[1].get<double>() - 76.3191) < 5e-5
                           : std::fabs(ci[0].get<double>() + 48.1992) < 5e-5 && std::fabs(ci[1].get<double>() + 9.5417) < 5e-5);
}

// Each expectation: key=JSON of the output, or "err:" and a part of standard error.
void CovariateValuesTest::filesAndOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("expected");
    const QStringList json{"--json"};
    QTest::newRow("a blank covariate is 0, counted")
        << (json + QStringList{"--covariate", "before"}) << "group,value,before\nA,1,\nA,3,2\nA,2,1\nB,4,\nB,6,3\nB,5,1\n"
        << 0 << QStringList{"blank_covariates=2", "covariate_average1=1.0"};
    QTest::newRow("a covariate that is no number leaves its row out")
        << (json + QStringList{"--covariate", "before"}) << "group,value,before\nA,1,0\nA,3,2\nA,2,x\nA,2,1\nB,4,0\nB,6,3\nB,5,1\n"
        << 1 << QStringList{"rows_left_out=1", "err:line 4: 'x' in column before is not a number"};
    QTest::newRow("a constant covariate: the plain figures, and said")
        << (json + QStringList{"--covariate", "before"}) << "group,value,before\nA,1,7\nA,3,7\nA,2,7\nB,4,7\nB,6,7\nB,5,7\n"
        << 0 << QStringList{"covariate_theta=0.0", "difference=3.0", "unadjusted_difference=3.0",
                            "warnings/0/code=\"constant_covariate\""};
    QTest::newRow("versions that differed before the test")
        << (json + QStringList{"--covariate", "before"})
        << "group,value,before\nA,1,1\nA,2,1.1\nA,3,0.9\nA,2,1\nB,1,9\nB,2,9.1\nB,3,8.9\nB,2,9\n" << 0
        << QStringList{"warnings/0/code=\"covariate_imbalance\""};
    QTest::newRow("the covariate capped at its own percentile")
        << (json + QStringList{"--covariate", "before", "--cap-covariate", "75%"})
        << "group,value,before\nA,1,1\nA,3,2\nA,2,100\nB,4,1\nB,6,3\nB,5,2\n" << 0
        << QStringList{"cap_covariate=2.75", "capped_covariate=2"};
    QTest::newRow("a ratio before the test")
        << (json + QStringList{"--numerator", "revenue", "--denominator", "orders", "--covariate-numerator",
                               "pre_revenue", "--covariate-denominator", "pre_orders"})
        << "group,revenue,orders,pre_revenue,pre_orders\nA,10,1,8,1\nA,30,2,20,2\nA,0,0,5,1\nB,12,1,9,1\nB,40,2,30,2\n"
           "B,6,1,0,0\n"
        << 0 << QStringList{"covariate_average1=8.25", "covariate_average2=13.0"};
    QTest::newRow("three versions, each adjusted")
        << (json + QStringList{"--covariate", "before"})
        << "group,value,before\nA,1,1\nA,3,2\nA,2,1\nB,4,2\nB,6,3\nB,5,1\nC,2,1\nC,3,2\nC,4,2\n" << 0
        << QStringList{"comparisons/1/label2=\"C\"", "comparisons/0/versions=3"};
    QTest::newRow("a ratio covariate needs both columns")
        << QStringList{"--covariate-numerator", "x"} << "group,value\nA,1\n" << 2
        << QStringList{"err:a ratio covariate needs both --covariate-numerator and --covariate-denominator"};
    QTest::newRow("a cap without a covariate")
        << QStringList{"--cap-covariate", "99%"} << "group,value\nA,1\n" << 2
        << QStringList{"err:--cap-covariate caps the covariate"};
    QTest::newRow("a covariate the file lacks")
        << QStringList{"--covariate", "pre"} << "group,value\nA,1\n" << 2 << QStringList{"err:no column named 'pre'"};
}

void CovariateValuesTest::filesAndOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(QStringList, expected);
    const Ran ran = Run(args, file.toStdString());
    QCOMPARE(ran.status, status);
    for (const QString& e : expected) {
        if (e.startsWith("err:")) {
            QVERIFY2(ran.err.find(e.mid(4).toStdString()) != std::string::npos, ran.err.c_str());
            continue;
        }
        const int equals = e.indexOf('=');
        const Json::json_pointer at("/" + e.left(equals).toStdString());
        QVERIFY2(ran.json.contains(at), qPrintable(e));
        QCOMPARE(QString::fromStdString(ran.json[at].dump()), e.mid(equals + 1));
    }
}

// 2,000 tests of 250 users a version, each user's value correlated 0.7 with
// what they did before, and no true difference: p below 0.05 in 4-6% of
// tests; the difference's and the lift's intervals cover 0 in 94-96%; the
// adjusted interval's median width about sqrt(1 - 0.49) = 0.71 of the plain one.
void CovariateValuesTest::promisesKept()
{
    constexpr int kTests = 2000, kUsers = 250;
    std::mt19937_64 random(20261210);
    std::normal_distribution<double> normal;
    int significant = 0, differenceCovers = 0, liftCovers = 0;
    std::vector<double> widths;
    for (int t = 0; t < kTests; ++t) {
        std::string file = "group,value,before\n";
        for (int u = 0; u < 2 * kUsers; ++u) {
            const double before = normal(random);
            const double value = 20 + 4 * (0.7 * before + std::sqrt(0.51) * normal(random));
            file += (u % 2 ? "B," : "A,") + std::to_string(value) + "," + std::to_string(50 + 10 * before) + "\n";
        }
        const Ran ran = Run({"--covariate", "before", "--json"}, file);
        QCOMPARE(ran.status, 0);
        const Json& j = ran.json;
        significant += j["p_two_sided"].get<double>() < 0.05;
        differenceCovers += j["difference_ci"][0].get<double>() <= 0 && j["difference_ci"][1].get<double>() >= 0;
        liftCovers += j["lift_ci_percent"][0].get<double>() <= 0 && j["lift_ci_percent"][1].get<double>() >= 0;
        widths.push_back((j["difference_ci"][1].get<double>() - j["difference_ci"][0].get<double>())
                         / (j["unadjusted_difference_ci"][1].get<double>() - j["unadjusted_difference_ci"][0].get<double>()));
    }
    std::nth_element(widths.begin(), widths.begin() + kTests / 2, widths.end());
    const double shares[] = {100.0 * significant / kTests, 100.0 * differenceCovers / kTests,
                             100.0 * liftCovers / kTests};
    qInfo("p below 0.05: %.2f%%; the difference covered: %.2f%%, the lift: %.2f%%; median width ratio %.4f", shares[0],
          shares[1], shares[2], widths[kTests / 2]);
    QVERIFY(shares[0] >= 4.0 && shares[0] <= 6.0);
    QVERIFY(shares[1] >= 94.0 && shares[1] <= 96.0);
    QVERIFY(shares[2] >= 94.0 && shares[2] <= 96.0);
    QVERIFY(widths[kTests / 2] >= 0.69 && widths[kTests / 2] <= 0.74);
}

QTEST_MAIN(CovariateValuesTest)
#include "tst_covariate_values.moc"

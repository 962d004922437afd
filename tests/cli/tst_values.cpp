// Files of observations against R: t.test on the same values (capped as
// R's quantile type 7 caps them, blanks as 0) and the delta method written
// out in R for a ratio metric; and a file and its summaries give the same
// figures.

#include <QtTest>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/commands.h"

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

}  // namespace

class ValuesTest : public QObject {
    Q_OBJECT

private slots:
    void agreesWithR_data();
    void agreesWithR();
    void fileAndSummariesAgree();
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

QTEST_APPLESS_MAIN(ValuesTest)
#include "tst_values.moc"

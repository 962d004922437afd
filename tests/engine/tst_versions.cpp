// A family of versions against their control: the p values adjusted as R's
// p.adjust adjusts them, the split across every version as chisq.test
// judges it, and each version's chance to be the best against R's
// integrate() of one density times the others' distribution functions.

#include <QtTest>
#include <cmath>

#include "engine/best_version.h"
#include "engine/multiple_comparisons.h"
#include "engine/sample_ratio.h"

using namespace ambrelay;

namespace {

bool Near(double actual, double expected, double tolerance)
{
    return std::fabs(actual - expected) <= tolerance * std::max(1.0, std::fabs(expected));
}

QString Listed(const std::vector<double>& values)
{
    QStringList out;
    for (const double v : values) {
        out << QString::number(v, 'g', 17);
    }
    return out.join(", ");
}

}  // namespace

class VersionsTest : public QObject {
    Q_OBJECT

private slots:
    void adjustedAsR_data();
    void adjustedAsR();
    void adjustmentNames();
    void splitAsChisqTest_data();
    void splitAsChisqTest();
    void chanceToBeBestOfRates_data();
    void chanceToBeBestOfRates();
    void chanceToBeBestOfAverages_data();
    void chanceToBeBestOfAverages();
};

// p.adjust(p, method) in R 4.2.
void VersionsTest::adjustedAsR_data()
{
    QTest::addColumn<QList<double>>("p");
    QTest::addColumn<int>("adjustment");
    QTest::addColumn<QList<double>>("expected");
    const QList<double> four{0.01, 0.04, 0.03, 0.005};
    QTest::newRow("holm") << four << int(Adjustment::Holm) << QList<double>{0.03, 0.06, 0.06, 0.02};
    QTest::newRow("BH") << four << int(Adjustment::BenjaminiHochberg) << QList<double>{0.02, 0.04, 0.04, 0.02};
    QTest::newRow("hochberg") << four << int(Adjustment::Hochberg) << QList<double>{0.03, 0.04, 0.04, 0.02};
    QTest::newRow("bonferroni") << four << int(Adjustment::Bonferroni) << QList<double>{0.04, 0.16, 0.12, 0.02};
    QTest::newRow("none") << four << int(Adjustment::None) << four;
    const QList<double> three{0.5, 0.2, 0.01};
    QTest::newRow("holm, capped by the running maximum") << three << int(Adjustment::Holm)
                                                         << QList<double>{0.5, 0.4, 0.03};
    QTest::newRow("BH, the running minimum from the largest") << three << int(Adjustment::BenjaminiHochberg)
                                                              << QList<double>{0.5, 0.3, 0.03};
    QTest::newRow("bonferroni capped at 1") << three << int(Adjustment::Bonferroni) << QList<double>{1, 0.6, 0.03};
    QTest::newRow("one comparison is left as it is") << QList<double>{0.04} << int(Adjustment::Holm)
                                                     << QList<double>{0.04};
    QTest::newRow("ties keep their order") << QList<double>{0.02, 0.02, 0.5} << int(Adjustment::Holm)
                                           << QList<double>{0.06, 0.06, 0.5};
}

void VersionsTest::adjustedAsR()
{
    QFETCH(QList<double>, p);
    QFETCH(int, adjustment);
    QFETCH(QList<double>, expected);
    const std::vector<double> raw(p.begin(), p.end());
    const std::vector<double> adjusted = AdjustPValues(raw, static_cast<Adjustment>(adjustment));
    QCOMPARE(adjusted.size(), raw.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QVERIFY2(Near(adjusted[i], expected[i], 1e-12), qPrintable(Listed(adjusted)));
    }
}

// The names the options take, R's own among them, and the intervals each
// correction asks for.
void VersionsTest::adjustmentNames()
{
    const struct {
        const char* name;
        bool known;
        Adjustment adjustment;
    } names[] = {
        {"holm", true, Adjustment::Holm},           {"Hochberg", true, Adjustment::Hochberg},
        {"BH", true, Adjustment::BenjaminiHochberg}, {"fdr", true, Adjustment::BenjaminiHochberg},
        {"bonferroni", true, Adjustment::Bonferroni}, {"none", true, Adjustment::None},
        {"dunnett", false, Adjustment::Holm},        {"", false, Adjustment::Holm},
    };
    for (const auto& n : names) {
        Adjustment read = Adjustment::Holm;
        QCOMPARE(AdjustmentNamed(n.name, read), n.known);
        if (n.known) {
            QCOMPARE(read, n.adjustment);
            Adjustment again = Adjustment::None;
            QVERIFY(AdjustmentNamed(AdjustmentName(read), again) && again == read);
        }
    }
    QCOMPARE(IntervalLevel(Adjustment::Holm, 4), 0.95);
    QCOMPARE(IntervalLevel(Adjustment::None, 4), 0.95);
    QVERIFY(Near(IntervalLevel(Adjustment::Bonferroni, 4), 1 - 0.05 / 4, 1e-15));
    QCOMPARE(IntervalLevel(Adjustment::Bonferroni, 1), 0.95);
}

// chisq.test(x, p = shares): the statistic and its p value on k - 1
// degrees of freedom.
void VersionsTest::splitAsChisqTest_data()
{
    QTest::addColumn<QList<double>>("observations");
    QTest::addColumn<QList<double>>("shares");  // empty: equal
    QTest::addColumn<double>("chiSquare");      // < 0: no answer
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("mismatch");
    QTest::newRow("three, equal") << QList<double>{1000, 1010, 940} << QList<double>{} << 2.91525423728813582
                                  << 0.23278799818450965 << false;
    QTest::newRow("three, half and two quarters") << QList<double>{5100, 2400, 2500} << QList<double>{50, 25, 25}
                                                  << 6.0 << 0.049787068367863944 << false;
    QTest::newRow("a broken split") << QList<double>{1000, 1000, 800} << QList<double>{} << 28.571428571428577
                                    << 6.2487495094630745e-07 << true;
    QTest::newRow("no observations") << QList<double>{0, 0, 0} << QList<double>{} << -1.0 << 0.0 << false;
    QTest::newRow("a negative count") << QList<double>{10, -1, 10} << QList<double>{} << -1.0 << 0.0 << false;
}

void VersionsTest::splitAsChisqTest()
{
    QFETCH(QList<double>, observations);
    QFETCH(QList<double>, shares);
    QFETCH(double, chiSquare);
    QFETCH(double, p);
    QFETCH(bool, mismatch);
    const std::vector<double> n(observations.begin(), observations.end()), s(shares.begin(), shares.end());
    const Outcome<SampleRatio> split = CheckSplit(n, s);
    QCOMPARE(static_cast<bool>(split), chiSquare >= 0);
    if (!split) {
        return;
    }
    QVERIFY2(Near(split->chiSquare, chiSquare, 1e-12), qPrintable(QString::number(split->chiSquare, 'g', 17)));
    QVERIFY2(Near(split->pValue, p, 1e-12), qPrintable(QString::number(split->pValue, 'g', 17)));
    QCOMPARE(split->mismatch, mismatch);
}

// R: integrate(dbeta(x, 1 + r_j, 1 + n_j - r_j) * prod pbeta(x, ...), 0, 1,
// rel.tol = 1e-13) for each version j.
void VersionsTest::chanceToBeBestOfRates_data()
{
    QTest::addColumn<QList<double>>("counts");  // views, responses, by version
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("three homepages") << QList<double>{12500, 310, 12480, 355, 12510, 342}
                                     << QList<double>{0.015977673061365372, 0.692466366557986435,
                                                      0.291555960380648738};
    QTest::newRow("four subject lines") << QList<double>{1000, 100, 1000, 130, 1000, 120, 1000, 90}
                                        << QList<double>{0.0076130577562784239, 0.74484722222579369,
                                                         0.24700939127780688, 0.00053032874012117913};
    QTest::newRow("hardly any responses") << QList<double>{50, 0, 60, 1, 40, 0}
                                          << QList<double>{0.20715898147248266, 0.50770637536876073,
                                                           0.28513464315875642};
    QTest::newRow("a million views each (SciPy's quad)")
        << QList<double>{1e6, 10000, 1e6, 10100, 1e6, 10050}
        << QList<double>{0.1500058659846406, 0.5490595758099164, 0.3009345582052245};
    // Two versions: the chance to beat of the window's worked example.
    QTest::newRow("two versions") << QList<double>{1000, 100, 1000, 130}
                                  << QList<double>{0.017834933883649467, 0.98216506611635057};
}

void VersionsTest::chanceToBeBestOfRates()
{
    QFETCH(QList<double>, counts);
    QFETCH(QList<double>, expected);
    std::vector<RateCounts> versions;
    for (qsizetype i = 0; i + 1 < counts.size(); i += 2) {
        versions.push_back({counts[i], counts[i + 1]});
    }
    const Outcome<std::vector<double>> best = ChanceToBeBest(versions);
    QVERIFY(best);
    double sum = 0;
    for (qsizetype j = 0; j < expected.size(); ++j) {
        QVERIFY2(Near((*best)[j], expected[j], 1e-9), qPrintable(Listed(*best)));
        sum += (*best)[j];
    }
    QVERIFY(Near(sum, 1, 1e-9));
    const std::vector<RateCounts> none{{0, 0}, {10, 1}, {10, 2}};
    QVERIFY(!ChanceToBeBest(std::vector<RateCounts>{{10, 11}, {10, 1}, {10, 2}}));
    QVERIFY(ChanceToBeBest(none));  // no observations: its flat prior still has a chance
}

// The same with each mean normal about its estimate, sd / sqrt(n).
void VersionsTest::chanceToBeBestOfAverages_data()
{
    QTest::addColumn<QList<double>>("summaries");  // n, mean, sd by version
    QTest::addColumn<bool>("lowerIsBetter");
    QTest::addColumn<QList<double>>("expected");
    const QList<double> three{1000, 10, 4, 1000, 10.4, 4.2, 1000, 10.2, 3.9};
    QTest::newRow("higher is better") << three << false
                                      << QList<double>{0.0080736215919320464, 0.85938648029835762,
                                                       0.1325398981097104};
    QTest::newRow("lower is better") << three << true
                                     << QList<double>{0.86468039985160527, 0.0088931603968405125,
                                                      0.12642643975156126};
    QTest::newRow("two: the normal's closed form") << QList<double>{200, 5, 2, 180, 5.3, 2.5} << false
                                                   << QList<double>{0.099842960467879507, 0.90015703953212056};
}

void VersionsTest::chanceToBeBestOfAverages()
{
    QFETCH(QList<double>, summaries);
    QFETCH(bool, lowerIsBetter);
    QFETCH(QList<double>, expected);
    std::vector<MeanSummary> versions;
    for (qsizetype i = 0; i + 2 < summaries.size(); i += 3) {
        versions.push_back({summaries[i], summaries[i + 1], summaries[i + 2]});
    }
    const Outcome<std::vector<double>> best =
        ChanceToBeBest(versions, lowerIsBetter ? Better::Lower : Better::Higher);
    QVERIFY(best);
    for (qsizetype j = 0; j < expected.size(); ++j) {
        QVERIFY2(Near((*best)[j], expected[j], 1e-9), qPrintable(Listed(*best)));
    }
}

QTEST_MAIN(VersionsTest)
#include "tst_versions.moc"

// Fisher's exact test, the chance to beat, the lift interval, the warnings
// and the test planner, against published values and against independent
// computations done another way here.

#include <QtTest>

#include <boost/math/distributions/beta.hpp>
#include <cmath>
#include <random>

#include "engine/chance_to_beat.h"
#include "engine/exact_test.h"
#include "engine/judge.h"
#include "engine/test_plan.h"
#include "figures/figures.h"

using namespace ambrelay;

namespace {

bool Near(double actual, double expected, double relative)
{
    return std::fabs(actual - expected) <= relative * std::fabs(expected);
}

// Fisher by brute force: every table of the support, in long double, the way
// R's definition reads.
std::pair<long double, long double> BruteFisher(long n1, long a, long n2, long c)
{
    const long k = a + c;
    const auto logP = [&](long x) {
        const auto lc = [](long double n, long double r) { return lgammal(n + 1) - lgammal(r + 1) - lgammal(n - r + 1); };
        return lc(k, x) + lc(n1 + n2 - k, n1 - x) - lc(n1 + n2, n1);
    };
    const long double observed = expl(logP(a));
    long double two = 0, up = 0;
    for (long x = std::max(0L, k - n2); x <= std::min(k, n1); ++x) {
        const long double p = expl(logP(x));
        two += p <= observed * (1 + 1e-7L) ? p : 0;
        up += x >= a ? p : 0;
    }
    return {two, up};
}

// P(q > p) by the midpoint rule over p's density: slow and plain.
double IntegratedChance(double alphaP, double betaP, double alphaQ, double betaQ)
{
    const boost::math::beta_distribution<double> p(alphaP, betaP), q(alphaQ, betaQ);
    const double mean = alphaP / (alphaP + betaP);
    const double spread = std::sqrt(mean * (1 - mean) / (alphaP + betaP + 1));
    const double low = std::max(0.0, mean - 14 * spread), high = std::min(1.0, mean + 14 * spread);
    const int steps = 2000;
    double sum = 0;
    for (int i = 0; i < steps; ++i) {
        const double x = low + (i + 0.5) * (high - low) / steps;
        sum += boost::math::pdf(p, x) * boost::math::cdf(complement(q, x));
    }
    return sum * (high - low) / steps;
}

}  // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

private slots:
    void publishedFigures_data();
    void publishedFigures();
    void fisherMatchesBruteForce();
    void fisherToTheLastDigits_data();
    void fisherToTheLastDigits();
    void chanceMatchesIntegration();
    void tailsAgreeWithR_data();
    void tailsAgreeWithR();
    void warnings_data();
    void warnings();
    void planner_data();
    void planner();
    void impossiblePlans_data();
    void impossiblePlans();
};

void StatisticsTest::publishedFigures_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<double>("fisherTwo");
    QTest::addColumn<double>("fisherOne");  // toward the version ahead; 0: not checked
    QTest::addColumn<double>("chance");     // 0: not checked
    QTest::addColumn<QList<double>>("lift");  // lift, low, high in percent; empty: not checked
    QTest::newRow("tea tasting") << QList<double>{4, 3, 4, 1} << 0.4857 << 0.2429 << 0.0 << QList<double>{};
    QTest::newRow("B wins") << QList<double>{1000, 100, 1000, 130} << 0.04190 << 0.02095 << 0.98217
                            << QList<double>{30.0, 1.70, 66.18};
    QTest::newRow("small sample") << QList<double>{10, 1, 10, 5} << 0.1409 << 0.0 << 0.0 << QList<double>{};
}

void StatisticsTest::publishedFigures()
{
    QFETCH(QList<double>, counts);
    QFETCH(double, fisherTwo);
    QFETCH(double, fisherOne);
    QFETCH(double, chance);
    QFETCH(QList<double>, lift);
    const Judgement j = Judge({counts[0], counts[1], counts[2], counts[3]});
    QVERIFY(j.Finished() && j.Figures().exact);
    const Insights& in = j.Figures();
    QVERIFY2(Near(in.exact->twoSided, fisherTwo, 5e-4), qPrintable(QString::number(in.exact->twoSided)));
    QVERIFY(fisherOne == 0 || Near(in.exact->oneSided, fisherOne, 5e-4));
    QVERIFY(chance == 0 || std::fabs(*in.chanceToBeat - chance) < 1e-5);
    if (!lift.isEmpty()) {
        // Wilson's interval for 100 of 1000, as published: 8.29% to 12.02%.
        QVERIFY(std::fabs(in.ratio1IntervalPercent.low - 8.29) < 0.005);
        QVERIFY(std::fabs(in.ratio1IntervalPercent.high - 12.02) < 0.005);
        QVERIFY(Near(*in.liftPercent, lift[0], 1e-9));
        QVERIFY(std::fabs(in.liftIntervalPercent->low - lift[1]) < 0.005);
        QVERIFY(std::fabs(in.liftIntervalPercent->high - lift[2]) < 0.005);
    }
}

void StatisticsTest::fisherMatchesBruteForce()
{
    std::mt19937_64 random(2026);
    for (int i = 0; i < 400; ++i) {
        const long n1 = std::uniform_int_distribution<long>(1, 3000)(random);
        const long n2 = std::uniform_int_distribution<long>(1, 3000)(random);
        const double rate = std::uniform_real_distribution<double>(0, 1)(random);
        const long a = std::binomial_distribution<long>(n1, rate)(random);
        const long c = std::binomial_distribution<long>(n2, rate)(random);
        const auto [two, up] = BruteFisher(n1, a, n2, c);
        const ExactTestOutcome exact = FisherExactTest({double(n1), double(a), double(n2), double(c)}, Version::A);
        const QString table = QString("%1 %2 %3 %4").arg(n1).arg(a).arg(n2).arg(c);
        QVERIFY2(exact, qPrintable(table));
        QVERIFY2(Near(exact->twoSided, double(two), 1e-8), qPrintable(table));
        QVERIFY2(Near(exact->oneSided, double(up), 1e-8), qPrintable(table));
    }
    // Fractions are never rounded into a table.
    QCOMPARE(FisherExactTest({12.5, 2, 10, 1}, Version::A).Failure().reason, Reason::NotWholeCounts);
    // A billion views each: exact, and the two tails of a near-even split.
    const ExactTestOutcome huge = FisherExactTest({1e9, 1e8, 1e9, 1.0001e8}, Version::B);
    QVERIFY(huge && Near(huge->twoSided, 2 * huge->oneSided, 1e-3));
}

void StatisticsTest::fisherToTheLastDigits_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<double>("twoSided");  // summed in exact fractions of whole numbers
    QTest::newRow("tea tasting, 17/35") << QList<double>{4, 3, 4, 1} << 0.48571428571428571;
    QTest::newRow("10/1 against 10/5") << QList<double>{10, 1, 10, 5} << 0.14086687306501547;
    QTest::newRow("B wins") << QList<double>{1000, 100, 1000, 130} << 0.041904548383735113;
    QTest::newRow("rare responses") << QList<double>{20000, 30, 25000, 61} << 0.034118401587575946;
    QTest::newRow("far apart") << QList<double>{12500, 1250, 12500, 1625} << 1.1393806159185208e-13;
    QTest::newRow("two million views") << QList<double>{1000000, 700, 1000000, 650} << 0.18216273539638889;
}

void StatisticsTest::fisherToTheLastDigits()
{
    QFETCH(QList<double>, counts);
    QFETCH(double, twoSided);
    const ExactTestOutcome exact = FisherExactTest({counts[0], counts[1], counts[2], counts[3]}, Version::A);
    QVERIFY(exact);
    QVERIFY2(Near(exact->twoSided, twoSided, 1e-13), qPrintable(QString::number(exact->twoSided, 'g', 17)));
}

void StatisticsTest::chanceMatchesIntegration()
{
    std::mt19937_64 random(99);
    for (int i = 0; i < 40; ++i) {
        const double scale = std::pow(10, std::uniform_int_distribution<int>(1, 9)(random));
        const double v1 = std::floor(scale * std::uniform_real_distribution<double>(0.5, 1)(random));
        const double v2 = std::floor(scale * std::uniform_real_distribution<double>(0.5, 1)(random));
        const double rate = std::uniform_real_distribution<double>(0, 0.3)(random);
        const double r1 = std::floor(v1 * rate);
        const double r2 = std::floor(v2 * rate * std::uniform_real_distribution<double>(0.97, 1.03)(random));
        const double expected = IntegratedChance(1 + r2, 1 + v2 - r2, 1 + r1, 1 + v1 - r1);
        const QString counts = QString("%1 %2 %3 %4").arg(v1).arg(r1).arg(v2).arg(r2);
        QVERIFY2(std::fabs(*ChanceToBeat({v1, r1, v2, r2}, Version::A) - expected) < 1e-4, qPrintable(counts));
    }
    // Counts with fractions have no closed form and take the engine's own integral.
    QVERIFY(std::fabs(*ChanceToBeat({1000.25, 100.5, 1000.25, 130.5}, Version::B)
                      - IntegratedChance(101.5, 900.75, 131.5, 870.75))
            < 1e-4);
}

// R 4.2: phyper(xB, xA + xB + 1, nA + nB + 1 - xA - xB, nB + 1) for the
// chance that B's rate is the higher (and the mirror for A), and fisher.test
// with alternative "less" for Fisher's one-sided p value toward B.
void StatisticsTest::tailsAgreeWithR_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<double>("chanceB");    // P(B's rate > A's)
    QTest::addColumn<double>("chanceA");    // P(A's rate > B's)
    QTest::addColumn<double>("fisherLess"); // P(A's responses this few or fewer); 0 where not looked up
    QTest::addColumn<double>("fisherTwo");  // fisher.test's two-sided p; 0 where not looked up
    QTest::newRow("B wins") << QList<double>{1000, 100, 1000, 130} << 0.98216506611635057 << 0.017834933883649467
                            << 0.020952274191867553 << 0.041904548383735106;
    QTest::newRow("small") << QList<double>{10, 1, 40, 5} << 0.46225328244156144 << 0.53774671755843872 << 0.0
                           << 1.0;
    QTest::newRow("no responses") << QList<double>{12, 0, 15, 0} << 0.44827586206896541 << 0.55172413793103448
                                  << 0.0 << 1.0;
    QTest::newRow("all against none") << QList<double>{5, 5, 7, 0} << 0.00033300033300033262
                                      << 0.99966699966699968 << 0.0 << 0.0012626262626262636;
    QTest::newRow("A ahead") << QList<double>{200, 30, 180, 20} << 0.13461910278453798 << 0.86538089721546196 << 0.0
                             << 0.28975178200482493;
    QTest::newRow("a million each, far apart") << QList<double>{1e6, 1000, 1e6, 2000} << 1.0 << 2.9415773663600944e-76
                                               << 3.9266668850346145e-76 << 7.8533337700684277e-76;
    QTest::newRow("a million each, one apart") << QList<double>{1e6, 100000, 1e6, 100001} << 0.50094031055274968
                                               << 0.49905968944724322 << 0.0 << 1.0;
    QTest::newRow("rare against common") << QList<double>{50000, 1, 50000, 200} << 1.0 << 2.5872311718992864e-59
                                         << 5.1592393745521575e-59 << 1.0318478749104372e-58;
    QTest::newRow("p near 1e-295") << QList<double>{3e5, 100, 3e5, 1400} << 1.0 << 5.9633228999003423e-295
                                   << 1.1156856206212492e-294 << 2.2313712412424222e-294;
    QTest::newRow("a billion each") << QList<double>{1e9, 1e8, 1e9, 1.0001e8} << 0.77196672426639912
                                    << 0.22803327573359977 << 0.0 << 0.0;
    QTest::newRow("twenty-odd") << QList<double>{20, 3, 25, 18} << 0.0 << 0.0 << 0.00015441849722959961
                                << 0.00022657104452784656;
}

void StatisticsTest::tailsAgreeWithR()
{
    QFETCH(QList<double>, counts);
    QFETCH(double, chanceB);
    QFETCH(double, chanceA);
    QFETCH(double, fisherLess);
    QFETCH(double, fisherTwo);
    const Counts c{counts[0], counts[1], counts[2], counts[3]};
    for (const auto& [version, expected] : {std::pair{Version::B, chanceB}, std::pair{Version::A, chanceA}}) {
        if (expected == 0) {
            continue;
        }
        const Outcome<double> chance = ChanceToBeat(c, version);
        QVERIFY(chance);
        QVERIFY2(Near(*chance, expected, 1e-10) && std::fabs(*chance - expected) <= 1e-10 * expected,
                 qPrintable(QString::number(*chance, 'g', 17)));
    }
    if (fisherLess > 0) {
        const ExactTestOutcome exact = FisherExactTest(c, Version::B);
        QVERIFY(exact);
        QVERIFY2(std::fabs(exact->oneSided - fisherLess) <= 1e-10 * fisherLess,
                 qPrintable(QString::number(exact->oneSided, 'g', 17)));
    }
    if (fisherTwo > 0) {
        for (const Version leader : {Version::A, Version::B}) {
            const ExactTestOutcome exact = FisherExactTest(c, leader);
            QVERIFY(exact);
            QVERIFY2(std::fabs(exact->twoSided - fisherTwo) <= 1e-10 * fisherTwo,
                     qPrintable(QString::number(exact->twoSided, 'g', 17)));
        }
    }
}

void StatisticsTest::warnings_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<QString>("codes");
    QTest::addColumn<double>("smallestCell");
    QTest::addColumn<double>("chiSquare");
    QTest::newRow("none") << QList<double>{1000, 100, 1000, 130} << "" << 115.0 << 0.0;
    QTest::newRow("small sample") << QList<double>{10, 1, 10, 5} << "small_sample" << 3.0 << 0.0;
    QTest::newRow("split far from even") << QList<double>{1000, 100, 1500, 130} << "sample_ratio_mismatch" << 92.0
                                         << 100.0;
}

void StatisticsTest::warnings()
{
    QFETCH(QList<double>, counts);
    QFETCH(QString, codes);
    QFETCH(double, smallestCell);
    QFETCH(double, chiSquare);
    const Judgement j = Judge({counts[0], counts[1], counts[2], counts[3]});
    const Insights& in = j.Figures();
    QStringList names;
    for (const Warning& w : JudgementWarnings(j)) {
        names << QString::fromStdString(WarningCodeName(w.code));
        QVERIFY(!w.message.empty());
    }
    QCOMPARE(names.join(";"), codes);
    QVERIFY(Near(in.smallestExpectedCell, smallestCell, 1e-12));
    QVERIFY(Near(in.sampleRatio->chiSquare, chiSquare, 1e-12));
    if (chiSquare == 100) {
        QVERIFY(Near(in.sampleRatio->pValue, 1.5239706e-23, 1e-6));
    }
}

void StatisticsTest::planner_data()
{
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("p2");
    QTest::addColumn<double>("power");
    QTest::addColumn<double>("share");
    QTest::addColumn<double>("unrounded");  // version A's observations
    QTest::addColumn<double>("needed");     // version A's, rounded up
    // R: power.prop.test(p1 = .50, p2 = .75, power = .90) and (p1 = .03, p2 = .02, power = .8).
    QTest::newRow("R, 0.5 to 0.75") << 0.5 << 0.75 << 0.9 << 50.0 << 76.7069 << 77.0;
    QTest::newRow("R, 0.03 to 0.02") << 0.03 << 0.02 << 0.8 << 50.0 << 3825.15 << 3826.0;
    QTest::newRow("10% up by a fifth") << 0.1 << 0.12 << 0.8 << 50.0 << 3840.85 << 3841.0;
    // Unequal shares: fewer of A, more of B, and more in all than an even split needs.
    QTest::newRow("a quarter for A") << 0.1 << 0.12 << 0.8 << 25.0 << 2599.966 << 2600.0;
}

void StatisticsTest::planner()
{
    QFETCH(double, p1);
    QFETCH(double, p2);
    QFETCH(double, power);
    QFETCH(double, share);
    QFETCH(double, unrounded);
    QFETCH(double, needed);
    PlanInputs in;
    in.baseline = p1;
    in.effect = p2 - p1;
    in.kind = EffectKind::Absolute;
    in.power = power;
    in.sharePercent = share;
    in.dailyObservations = 1000;
    const PlanOutcome out = PlanTest(in);
    QVERIFY(out);
    QVERIFY2(Near(out->perVersionA, unrounded, 1e-5), qPrintable(QString::number(out->perVersionA, 'f', 4)));
    QCOMPARE(out->neededA, needed);
    QCOMPARE(*out->days, std::ceil(out->total / 1000));
    // The inverse finds the effect back from the observations.
    if (share == 50) {
        // An even split gives both versions the same count, to the last digit.
        for (const double lift : {0.05, 0.1, 0.2, 0.3, 0.45}) {
            PlanInputs relative = in;
            relative.kind = EffectKind::Relative;
            relative.effect = lift;
            const PlanOutcome even = PlanTest(relative);
            QVERIFY2(even->perVersionB == even->perVersionA, qPrintable(QString::number(lift)));
        }
        const DetectableOutcome back = SmallestDetectableEffect(in, out->perVersionA);
        QVERIFY(p2 < p1 || (back && std::fabs(back->variant - p2) < 1e-6));
    }
    // R: power.prop.test(n = 50, p1 = .50, p2 = .75) gives 0.7401659.
    QVERIFY(Near(PowerOfTest(0.5, 0.75, 50), 0.7401659, 1e-7));
}

void StatisticsTest::impossiblePlans_data()
{
    QTest::addColumn<double>("baseline");
    QTest::addColumn<double>("effect");  // relative
    QTest::addColumn<double>("alpha");
    QTest::addColumn<double>("power");
    QTest::addColumn<double>("share");
    QTest::addColumn<Reason>("reason");
    QTest::newRow("baseline 0") << 0.0 << 0.2 << 0.05 << 0.8 << 50.0 << Reason::BaselineOutOfRange;
    QTest::newRow("baseline 1") << 1.0 << 0.2 << 0.05 << 0.8 << 50.0 << Reason::BaselineOutOfRange;
    QTest::newRow("effect beyond 100%") << 0.6 << 1.0 << 0.05 << 0.8 << 50.0 << Reason::VariantOutOfRange;
    QTest::newRow("no effect") << 0.1 << 0.0 << 0.05 << 0.8 << 50.0 << Reason::ZeroEffect;
    QTest::newRow("alpha 0") << 0.1 << 0.2 << 0.0 << 0.8 << 50.0 << Reason::AlphaOutOfRange;
    QTest::newRow("power 1") << 0.1 << 0.2 << 0.05 << 1.0 << 50.0 << Reason::PowerOutOfRange;
    QTest::newRow("share 100") << 0.1 << 0.2 << 0.05 << 0.8 << 100.0 << Reason::ShareOutOfRange;
    QTest::newRow("not a number") << std::nan("") << 0.2 << 0.05 << 0.8 << 50.0 << Reason::BaselineOutOfRange;
}

void StatisticsTest::impossiblePlans()
{
    QFETCH(double, baseline);
    QFETCH(double, effect);
    QFETCH(double, alpha);
    QFETCH(double, power);
    QFETCH(double, share);
    const PlanInputs in{baseline, effect, EffectKind::Relative, alpha, power, true, share, std::nullopt};
    QFETCH(Reason, reason);
    const PlanOutcome out = PlanTest(in);
    QVERIFY(!out);
    QCOMPARE(out.Failure().reason, reason);
}

QTEST_APPLESS_MAIN(StatisticsTest)
#include "tst_statistics.moc"

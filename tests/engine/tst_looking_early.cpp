// Looking early and "not worse than": the peeking-safe test against the
// normal-mixture formulas worked independently, a simulation of a user who
// looks every day, and the non-inferiority test against statsmodels.

#include <QtTest>
#include <cmath>
#include <random>

#include "engine/judge.h"
#include "engine/looking_early.h"
#include "figures/problem_words.h"

using namespace ambrelay;

class LookingEarlyTest : public QObject {
    Q_OBJECT

private slots:
    void peekingSafeFigures_data();
    void peekingSafeFigures();
    void peekingSafeHoldsUnderRepeatedLooks();
    void notWorseAgreesWithStatsmodels_data();
    void notWorseAgreesWithStatsmodels();
    void noFigureWithoutSpread_data();
    void noFigureWithoutSpread();
};

void LookingEarlyTest::peekingSafeFigures_data()
{
    QTest::addColumn<QList<double>>("counts");  // views and responses of A, then of B
    QTest::addColumn<double>("planned");
    QTest::addColumn<QList<double>>("expected");  // p, interval low and high in points
    // Worked with the formulas in Python's own floating point.
    QTest::newRow("B ahead, the check values") << QList<double>{10000, 500, 10000, 580} << 5000.0
                                               << QList<double>{0.2744390885, -0.1993857589, 1.799385759};
    QTest::newRow("A ahead, the interval turns") << QList<double>{10000, 580, 10000, 500} << 5000.0
                                                 << QList<double>{0.2744390885, -1.799385759, 0.1993857589};
    QTest::newRow("the worked example") << QList<double>{1000, 100, 1000, 130} << 5000.0
                                        << QList<double>{0.3789315076, -1.45179621, 7.45179621};
    QTest::newRow("planned below the counts") << QList<double>{1000, 100, 1000, 130} << 2000.0
                                              << QList<double>{0.4178379532, -1.325572162, 7.325572162};
    QTest::newRow("planned far beyond") << QList<double>{1000, 100, 1000, 130} << 100000.0
                                        << QList<double>{0.7946577735, -6.540384579, 12.54038458};
    QTest::newRow("just below 5%") << QList<double>{100000, 5000, 100000, 5300} << 200000.0
                                   << QList<double>{0.04999493523, 3.71439492e-06, 0.5999962856};
}

void LookingEarlyTest::peekingSafeFigures()
{
    QFETCH(QList<double>, counts);
    QFETCH(double, planned);
    QFETCH(QList<double>, expected);
    const AlwaysValidOutcome out = AlwaysValidTest({counts[0], counts[1], counts[2], counts[3]}, planned);
    QVERIFY(out);
    QVERIFY2(std::fabs(out->pValue - expected[0]) < 1e-9, qPrintable(QString::number(out->pValue, 'g', 12)));
    QVERIFY(std::fabs(out->differencePoints.low - expected[1]) < 1e-8);
    QVERIFY(std::fabs(out->differencePoints.high - expected[2]) < 1e-8);
    // Through the one entry every front end calls, with the planned total.
    const Judgement j = Judge({counts[0], counts[1], counts[2], counts[3]}, {planned, std::nullopt});
    QCOMPARE(j.Figures().alwaysValid->pValue, out->pValue);
    QVERIFY(j.Figures().plannedByUser);
}

// Looks after every 500 observations a version, 20 looks, planned 20,000 in
// all: "significant" at any look counts as a declared winner.
void LookingEarlyTest::peekingSafeHoldsUnderRepeatedLooks()
{
    constexpr int kTests = 2000, kLooks = 20, kStep = 500;
    constexpr double kPlanned = 2.0 * kLooks * kStep;
    std::mt19937_64 random(20261209);
    const auto run = [&](double rateA, double rateB, bool peekingSafe) {
        std::binomial_distribution<int> a(kStep, rateA), b(kStep, rateB);
        int declared = 0;
        for (int t = 0; t < kTests; ++t) {
            Counts c{};
            for (int look = 0; look < kLooks; ++look) {
                c = {c.views1 + kStep, c.responses1 + a(random), c.views2 + kStep, c.responses2 + b(random)};
                const double p = peekingSafe ? AlwaysValidTest(c, kPlanned)->pValue
                                             : std::erfc(std::fabs(Judge(c).calculation.Z) / std::sqrt(2.0));
                if (p < kLookingAlpha) {
                    ++declared;
                    break;
                }
            }
        }
        return double(declared) / kTests;
    };
    // With no true difference, the simulation's own noise is about 0.005 at 5%.
    const double peekingSafeFalse = run(0.10, 0.10, true);
    const double fixedFalse = run(0.10, 0.10, false);
    QVERIFY2(peekingSafeFalse <= kLookingAlpha + 0.015, qPrintable(QString::number(peekingSafeFalse)));
    QVERIFY2(fixedFalse > 0.15, qPrintable(QString::number(fixedFalse)));
    // A real difference is found as the data grow.
    const double found = run(0.10, 0.12, true);
    QVERIFY2(found > 0.8, qPrintable(QString::number(found)));
}

void LookingEarlyTest::notWorseAgreesWithStatsmodels_data()
{
    QTest::addColumn<QList<double>>("counts");  // views and responses of A, then of B
    QTest::addColumn<double>("margin");
    QTest::addColumn<bool>("points");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("notWorse");
    // test_proportions_2indep(B, nB, A, nA, alternative='larger'): value=-m, compare='diff', method='wald' for
    // points; value=1-m, compare='ratio', method='log' for a relative margin.
    QTest::newRow("points, B a little lower") << QList<double>{10000, 500, 10000, 480} << 2.0 << true << 5.896222568
                                              << 1.859586212e-09 << true;
    QTest::newRow("relative, not shown") << QList<double>{10000, 500, 10000, 480} << 10.0 << false << 1.035658739
                                         << 0.150180689 << false;
    QTest::newRow("points, B higher") << QList<double>{1000, 100, 1000, 130} << 0.5 << true << 2.455913592
                                      << 0.007026347116 << true;
    QTest::newRow("relative, B higher") << QList<double>{1000, 100, 1000, 130} << 2.0 << false << 2.255682602
                                        << 0.01204525797 << true;
    QTest::newRow("points, A clearly better") << QList<double>{10000, 600, 10000, 400} << 1.0 << true
                                              << -3.247849012 << 0.9994185952 << false;
    QTest::newRow("relative, A clearly better") << QList<double>{10000, 600, 10000, 400} << 5.0 << false
                                                << -5.623428041 << 0.9999999906 << false;
    QTest::newRow("points, small counts") << QList<double>{25, 4, 20, 3} << 5.0 << true << 0.3689967816
                                          << 0.3560650619 << false;
    QTest::newRow("relative, small counts") << QList<double>{25, 4, 20, 3} << 20.0 << false << 0.2258118488
                                            << 0.4106738805 << false;
    QTest::newRow("points, large counts") << QList<double>{20000000, 1000000, 20000000, 1000500} << 0.1 << true
                                          << 14.8705023 << 2.561377201e-50 << true;
    QTest::newRow("relative, large counts") << QList<double>{20000000, 1000000, 20000000, 1000500} << 1.0 << false
                                            << 7.654934229 << 9.670560208e-15 << true;
}

void LookingEarlyTest::notWorseAgreesWithStatsmodels()
{
    QFETCH(QList<double>, counts);
    QFETCH(double, margin);
    QFETCH(bool, points);
    QFETCH(double, z);
    QFETCH(double, p);
    QFETCH(bool, notWorse);
    const Margin m{margin, points ? MarginKind::Points : MarginKind::RelativePercent};
    const Judgement j = Judge({counts[0], counts[1], counts[2], counts[3]}, {std::nullopt, m});
    QVERIFY(j.Figures().nonInferiority && *j.Figures().nonInferiority);
    const auto& test = *j.Figures().nonInferiority;
    QVERIFY2(std::fabs(test->z - z) < 1e-8, qPrintable(QString::number(test->z, 'g', 12)));
    QVERIFY2(std::fabs(test->pValue - p) <= 1e-8 * p, qPrintable(QString::number(test->pValue, 'g', 12)));
    QCOMPARE(test->notWorse, notWorse);
}

void LookingEarlyTest::noFigureWithoutSpread_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<bool>("peekingSafe");
    QTest::addColumn<bool>("relativeMargin");
    QTest::newRow("A never responded") << QList<double>{1000, 0, 1000, 30} << true << false;
    QTest::newRow("both always responded") << QList<double>{100, 100, 100, 100} << false << false;
    QTest::newRow("no views of A") << QList<double>{0, 0, 100, 10} << false << true;
}

void LookingEarlyTest::noFigureWithoutSpread()
{
    QFETCH(QList<double>, counts);
    QFETCH(bool, peekingSafe);
    QFETCH(bool, relativeMargin);
    const Counts c{counts[0], counts[1], counts[2], counts[3]};
    const AlwaysValidOutcome av = AlwaysValidTest(c, kDefaultPlannedObservations);
    QCOMPARE(bool(av), peekingSafe);
    QVERIFY(av || !ProblemText(av.Failure()).empty());  // a reason in words whenever there is no figure
    const NonInferiorityOutcome ni = TestNonInferiority(c, {2, MarginKind::RelativePercent});
    QVERIFY(!ni && !ProblemText(ni.Failure()).empty());
    QCOMPARE(bool(TestNonInferiority(c, {2, MarginKind::Points})), !relativeMargin && peekingSafe);
}

QTEST_APPLESS_MAIN(LookingEarlyTest)
#include "tst_looking_early.moc"

// The two-proportion z statistic: worked examples, symmetry, rounding near
// zero, and the counts that have no defined result.

#include <QtTest>

#include <cmath>
#include <random>

#include "count_columns.h"
#include "engine/zstat.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(ZStatStep)
Q_DECLARE_METATYPE(Reason)

class ZStatTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void swappingVersionsSwapsWinner();
    void zNearZeroNamesNoWinner();
    void fractionalCountsAreUsedUnrounded();
    void undefinedCountsFail_data();
    void undefinedCountsFail();
    void failureKeepsLaterVariables_data();
    void failureKeepsLaterVariables();
};

void ZStatTest::workedExamples_data()
{
    AddCountColumns();
    QTest::addColumn<double>("ratio1");
    QTest::addColumn<double>("ratio2");
    QTest::addColumn<double>("zStat");
    QTest::addColumn<QString>("winner");
    QTest::newRow("B wins clearly") << 1000.0 << 100.0 << 1000.0 << 130.0 << 0.1 << 0.13 << 2.1 << "B";
    QTest::newRow("A wins") << 1000.0 << 120.0 << 1000.0 << 100.0 << 0.12 << 0.1 << 1.43 << "A";
    QTest::newRow("unequal views") << 200.0 << 30.0 << 180.0 << 20.0 << 0.15 << 20.0 / 180.0 << 1.12 << "A";
    QTest::newRow("B slightly") << 1000.0 << 100.0 << 1000.0 << 110.0 << 0.1 << 0.11 << 0.73 << "B";
    QTest::newRow("B barely") << 1000.0 << 100.0 << 1000.0 << 102.0 << 0.1 << 0.102 << 0.15 << "B";
    QTest::newRow("identical") << 1000.0 << 100.0 << 1000.0 << 100.0 << 0.1 << 0.1 << 0.0 << "None";
}

void ZStatTest::workedExamples()
{
    QFETCH(double, views1);
    QFETCH(double, responses1);
    QFETCH(double, views2);
    QFETCH(double, responses2);
    QFETCH(double, ratio1);
    QFETCH(double, ratio2);
    QFETCH(double, zStat);
    QFETCH(QString, winner);
    const ZStatOutcome outcome = ComputeZStat(views1, responses1, views2, responses2);
    QVERIFY(!outcome.failure);
    const ComparisonResult& r = outcome.result;
    QCOMPARE_EQ(r.Views1, views1);
    QCOMPARE_EQ(r.Views2, views2);
    QCOMPARE_EQ(r.Ratio1, ratio1);
    QCOMPARE_EQ(r.Ratio2, ratio2);
    QVERIFY(r.ZStat == zStat);  // the exact double of the two-decimal literal
    QVERIFY(!std::signbit(r.ZStat));
    QCOMPARE_EQ(QString::fromStdString(WinnerText(r.winner)), winner);
}

void ZStatTest::swappingVersionsSwapsWinner()
{
    const ComparisonResult ab = ComputeZStat(1000, 100, 1000, 130).result;
    const ComparisonResult ba = ComputeZStat(1000, 130, 1000, 100).result;
    QCOMPARE_EQ(ab.PooledRatio, 0.115);
    QCOMPARE_EQ(ba.Ratio1, ab.Ratio2);
    QCOMPARE_EQ(ba.Ratio2, ab.Ratio1);
    QCOMPARE_EQ(ba.ZStat, ab.ZStat);
    QVERIFY(ab.winner == Version::B);
    QVERIFY(ba.winner == Version::A);

    std::mt19937 random(4242);
    std::uniform_int_distribution<int> views(1, 100000);
    for (int i = 0; i < 20000; ++i) {
        const double v1 = views(random), v2 = views(random);
        const double r1 = std::uniform_int_distribution<int>(1, static_cast<int>(v1))(random);
        const double r2 = std::uniform_int_distribution<int>(0, static_cast<int>(v2))(random);
        const ZStatOutcome one = ComputeZStat(v1, r1, v2, r2);
        const ZStatOutcome other = ComputeZStat(v2, r2, v1, r1);
        QCOMPARE_EQ(one.failure.has_value(), other.failure.has_value());
        if (one.failure) {
            continue;
        }
        QCOMPARE_EQ(one.result.ZStat, other.result.ZStat);
        const Winner w = one.result.winner;
        const Winner mirrored = w ? Winner(OtherVersion(*w)) : std::nullopt;
        QCOMPARE_EQ(other.result.winner, mirrored);
    }
}

void ZStatTest::zNearZeroNamesNoWinner()
{
    // Views 1e6 each: one response more for B gives z of about -0.0022.
    const ComparisonResult bAhead = ComputeZStat(1e6, 100000, 1e6, 100001).result;
    QCOMPARE_EQ(bAhead.ZStat, 0.0);
    QVERIFY(!std::signbit(bAhead.ZStat));
    QVERIFY(!bAhead.winner);
    const ComparisonResult aAhead = ComputeZStat(1e6, 100001, 1e6, 100000).result;
    QCOMPARE_EQ(aAhead.ZStat, 0.0);
    QVERIFY(!aAhead.winner);
}

void ZStatTest::fractionalCountsAreUsedUnrounded()
{
    const ComparisonResult r = ComputeZStat(12.5, 2.5, 10, 1).result;
    QCOMPARE_EQ(r.Views1, 12.5);
    QCOMPARE_EQ(r.Ratio1, 0.2);
    QCOMPARE_EQ(r.PooledRatio, 3.5 / 22.5);
}

void ZStatTest::undefinedCountsFail_data()
{
    AddCountColumns();
    QTest::addColumn<ZStatStep>("step");
    QTest::addColumn<Reason>("reason");
    QTest::newRow("views1 is 0") << 0.0 << 0.0 << 1000.0 << 10.0 << ZStatStep::Ratio1
                                 << Reason::NoViews1;
    QTest::newRow("views2 is 0") << 1000.0 << 10.0 << 0.0 << 0.0 << ZStatStep::Ratio2
                                 << Reason::NoViews2;
    QTest::newRow("no responses") << 1000.0 << 0.0 << 500.0 << 0.0 << ZStatStep::ZValue
                                  << Reason::NoResponses;
    QTest::newRow("everyone responded") << 1000.0 << 1000.0 << 500.0 << 500.0 << ZStatStep::ZValue
                                        << Reason::AllResponded;
    QTest::newRow("negative responses") << 1000.0 << -5.0 << 1000.0 << 10.0 << ZStatStep::Views
                                        << Reason::NegativeCount;
    QTest::newRow("negative views") << -1000.0 << -5000.0 << 1000.0 << 10.0 << ZStatStep::Views
                                    << Reason::NegativeCount;
    QTest::newRow("views cancel out") << -1000.0 << -1000.0 << 1000.0 << 10.0 << ZStatStep::Views
                                      << Reason::NegativeCount;
    QTest::newRow("views overflow when added") << 1e308 << 1e307 << 1e308 << 2e307
                                               << ZStatStep::PooledRatio << Reason::OutOfRange;
    QTest::newRow("reciprocal overflows") << 1e-320 << 1e-320 << 1000.0 << 10.0
                                          << ZStatStep::StandardError << Reason::OutOfRange;
}

void ZStatTest::undefinedCountsFail()
{
    QFETCH(double, views1);
    QFETCH(double, responses1);
    QFETCH(double, views2);
    QFETCH(double, responses2);
    QFETCH(ZStatStep, step);
    QFETCH(Reason, reason);
    const ZStatOutcome outcome = ComputeZStat(views1, responses1, views2, responses2);
    QVERIFY(outcome.failure);
    QCOMPARE_EQ(outcome.failure->step, step);
    QCOMPARE_EQ(outcome.failure->reason, reason);
}

void ZStatTest::failureKeepsLaterVariables_data()
{
    AddCountColumns();
    QTest::addColumn<int>("storedFields");  // Views, Ratio1, Ratio2, PooledRatio, in that order
    QTest::newRow("views1 is 0") << 0.0 << 0.0 << 1000.0 << 10.0 << 1;
    QTest::newRow("views2 is 0") << 1000.0 << 10.0 << 0.0 << 0.0 << 2;
    QTest::newRow("no responses") << 1000.0 << 0.0 << 500.0 << 0.0 << 4;
    QTest::newRow("everyone responded") << 1000.0 << 1000.0 << 500.0 << 500.0 << 4;
    QTest::newRow("negative count") << 1000.0 << -5.0 << 1000.0 << 10.0 << 0;
    QTest::newRow("success stores all") << 1000.0 << 100.0 << 1000.0 << 130.0 << 5;
}

void ZStatTest::failureKeepsLaterVariables()
{
    QFETCH(double, views1);
    QFETCH(double, responses1);
    QFETCH(double, views2);
    QFETCH(double, responses2);
    QFETCH(int, storedFields);
    ComparisonResult previous;
    previous.Views1 = previous.Views2 = previous.Ratio1 = previous.Ratio2 = previous.PooledRatio = 777;
    previous.ZStat = 1.5;
    previous.winner = Version::A;
    previous.Probability = 0.06681;
    previous.Likelihood = 93.319;
    ComparisonResult variables = previous;

    const ZStatOutcome outcome = ComputeZStat(views1, responses1, views2, responses2);
    StoreCompletedSteps(outcome, variables);

    QCOMPARE_EQ(variables.Views1, storedFields >= 1 ? views1 : 777.0);
    QCOMPARE_EQ(variables.Views2, storedFields >= 1 ? views2 : 777.0);
    QCOMPARE_EQ(variables.Ratio1, storedFields >= 2 ? responses1 / views1 : 777.0);
    QCOMPARE_EQ(variables.Ratio2, storedFields >= 3 ? responses2 / views2 : 777.0);
    QCOMPARE_EQ(variables.PooledRatio,
             storedFields >= 4 ? (responses1 + responses2) / (views2 + views1) : 777.0);
    QCOMPARE_EQ(variables.ZStat, storedFields >= 5 ? outcome.result.ZStat : 1.5);
    QCOMPARE_EQ(variables.winner, storedFields >= 5 ? outcome.result.winner : Winner(Version::A));
    // The table and the verdict have not run: their fields are untouched.
    QCOMPARE_EQ(variables.Probability, 0.06681);
    QCOMPARE_EQ(variables.Likelihood, 93.319);
}

QTEST_APPLESS_MAIN(ZStatTest)
#include "tst_zstat.moc"

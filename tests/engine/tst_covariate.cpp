// What users did before the test, taken out: the published check values
// reproduced in R from their sums, a lift that does not move when the
// covariate's zero does, a covariate that does not vary leaving the plain
// figures, moments merged as one pass makes them, and ratio metrics
// linearised as the delta method does.

#include <QtTest>
#include <cmath>
#include <random>

#include "engine/covariate.h"
#include "engine/observations.h"

using namespace ambrelay;

namespace {

bool Near(double actual, double expected, double relative)
{
    return std::fabs(actual - expected) <= relative * std::max(std::fabs(expected), 1e-300);
}

// A version's summary from its sums: n, ΣY, ΣY², ΣX, ΣX², ΣXY.
CovariateSummary FromSums(const QList<double>& s)
{
    const double n = s[0];
    CovariateSummary c;
    c.n = n;
    c.mean = s[1] / n;
    c.covariateMean = s[3] / n;
    c.variance = (s[2] - s[1] * s[1] / n) / (n - 1);
    c.covariateVariance = (s[4] - s[3] * s[3] / n) / (n - 1);
    c.covariance = (s[5] - s[1] * s[3] / n) / (n - 1);
    return c;
}

const QList<double> kControl{2801, 280, 560, 195, 390, -18};
const QList<double> kTreatment{2800, 205, 510, 110, 380, -8};

// Seeded users whose value follows what they did before, r = 0.7.
std::vector<std::array<double, 4>> Users(int n, double shift, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::normal_distribution<double> normal;
    std::vector<std::array<double, 4>> users;
    for (int i = 0; i < n; ++i) {
        const double before = normal(random);
        users.push_back({10 + shift + 2 * (0.7 * before + std::sqrt(0.51) * normal(random)), 1, 5 + before, 1});
    }
    return users;
}

}  // namespace

class CovariateTest : public QObject {
    Q_OBJECT

private slots:
    void checkValues_data();
    void checkValues();
    void covariateShiftedByAConstant();
    void constantCovariateLeavesThePlainFigures();
    void mergedAsOnePass();
    void ratiosLinearised();
};

// R, from the sums: θ = −0.069566052; the adjusted averages 0.101019 and
// 0.072159; Welch's df 5,593.0; A's lift over B's 0.394187 (0.025183 to
// 0.763191), B's over A's −0.288704 (−0.481992 to −0.095417).
void CovariateTest::checkValues_data()
{
    QTest::addColumn<bool>("lowerIsBetter");
    QTest::addColumn<QList<double>>("lift");  // estimate, low, high, as fractions
    QTest::newRow("A leads: A's lift over B") << false << QList<double>{0.394187, 0.025183, 0.763191};
    QTest::newRow("lower is better: B's over A") << true << QList<double>{-0.288704, -0.481992, -0.095417};
}

void CovariateTest::checkValues()
{
    QFETCH(bool, lowerIsBetter);
    QFETCH(QList<double>, lift);
    const CovariateSummary a = FromSums(kControl), b = FromSums(kTreatment);
    QList<double> everyone;
    for (int i = 0; i < 6; ++i) {
        everyone << kControl[i] + kTreatment[i];
    }
    const CovariateFit fit = FitCovariate(FromSums(everyone));
    QVERIFY(Near(fit.theta, -0.069566052, 1e-8));
    QVERIFY(Near(AdjustedSummary(a, fit).mean, 0.101019, 1e-5));
    QVERIFY(Near(AdjustedSummary(b, fit).mean, 0.072159, 1e-5));
    const Outcome<MeansComparison> c = CompareAdjustedMeans(a, b, fit, lowerIsBetter ? Better::Lower : Better::Higher);
    QVERIFY(c);
    QVERIFY(std::fabs(c->degreesOfFreedom - 5593.0) < 0.05);
    // R's figures to six decimals.
    const double figures[] = {*c->liftPercent, c->liftIntervalPercent->low, c->liftIntervalPercent->high};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(std::fabs(figures[i] / 100 - lift[i]) <= 5e-7, qPrintable(QString::number(figures[i], 'g', 17)));
    }
    QVERIFY(VarianceReduction(a, fit) > 0 && VarianceReduction(a, fit) < 0.01);
}

// The adjusted difference, its p and the lift's interval are the same
// wherever the covariate's zero lies.
void CovariateTest::covariateShiftedByAConstant()
{
    CovariateMoments a, b;
    for (const auto& user : Users(400, 0, 1)) {
        a.Add(user);
    }
    for (const auto& user : Users(400, 0.3, 2)) {
        b.Add(user);
    }
    const auto compare = [&](double shift) {
        // Shift the covariate's mean only: the centred sums do not move.
        CovariateSummary ca = *SummaryOf(a), cb = *SummaryOf(b);
        ca.covariateMean += shift;
        cb.covariateMean += shift;
        CovariateMoments merged = a;
        merged.Merge(b);
        CovariateSummary e = *SummaryOf(merged);
        e.covariateMean += shift;
        return *CompareAdjustedMeans(ca, cb, FitCovariate(e));
    };
    const MeansComparison at0 = compare(0);
    for (const double shift : {-1000.0, 3.5, 1e4}) {
        const MeansComparison moved = compare(shift);
        QVERIFY(Near(moved.difference, at0.difference, 1e-9));
        QVERIFY(Near(moved.pTwoSided, at0.pTwoSided, 1e-9));
        QVERIFY(Near(moved.liftIntervalPercent->low, at0.liftIntervalPercent->low, 1e-9));
        QVERIFY(Near(moved.liftIntervalPercent->high, at0.liftIntervalPercent->high, 1e-9));
    }
}

// A covariate the same for everyone: θ is 0, said, and every figure is the
// plain comparison's to 1e-12.
void CovariateTest::constantCovariateLeavesThePlainFigures()
{
    CovariateMoments a, b, all;
    RunningMoments plainA, plainB;
    for (auto [moments, plain, seed] : {std::tuple{&a, &plainA, 3u}, std::tuple{&b, &plainB, 4u}}) {
        for (auto user : Users(300, seed == 4u ? 0.4 : 0, seed)) {
            user[2] = 7.25;
            moments->Add(user);
            plain->Add(user[0]);
        }
        all.Merge(*moments);
    }
    const CovariateFit fit = FitCovariate(*SummaryOf(all));
    QVERIFY(fit.constant);
    QCOMPARE(fit.theta, 0.0);
    const MeansComparison adjusted = *CompareAdjustedMeans(*SummaryOf(a), *SummaryOf(b), fit);
    const MeansComparison plain = *CompareMeans(plainA.Summary(), plainB.Summary());
    for (const auto& [x, y] : {std::pair{adjusted.difference, plain.difference}, {adjusted.pTwoSided, plain.pTwoSided},
                               {adjusted.degreesOfFreedom, plain.degreesOfFreedom}, {*adjusted.liftPercent, *plain.liftPercent},
                               {adjusted.liftIntervalPercent->low, plain.liftIntervalPercent->low},
                               {adjusted.liftIntervalPercent->high, plain.liftIntervalPercent->high}}) {
        QVERIFY2(Near(x, y, 1e-12), qPrintable(QString("%1 %2").arg(x, 0, 'g', 17).arg(y, 0, 'g', 17)));
    }
}

// Parts summarised apart and merged give one pass's moments, whatever the
// parts' sizes, an empty part included.
void CovariateTest::mergedAsOnePass()
{
    const auto users = Users(1000, 0, 5);
    CovariateMoments whole;
    for (const auto& user : users) {
        whole.Add(user);
    }
    for (const std::vector<std::size_t>& cuts : {std::vector<std::size_t>{0, 1, 500, 1000}, {0, 999, 1000},
                                                 {0, 0, 333, 334, 1000}}) {
        CovariateMoments merged;
        for (std::size_t p = 0; p + 1 < cuts.size(); ++p) {
            CovariateMoments part;
            for (std::size_t i = cuts[p]; i < cuts[p + 1]; ++i) {
                part.Add(users[i]);
            }
            merged.Merge(part);
        }
        QCOMPARE(merged.Count(), whole.Count());
        for (std::size_t i = 0; i < 4; ++i) {
            QVERIFY(Near(merged.Mean(i), whole.Mean(i), 1e-13) || std::fabs(merged.Mean(i) - whole.Mean(i)) < 1e-15);
            for (std::size_t j = 0; j < 4; ++j) {
                QVERIFY(std::fabs(merged.Sum(i, j) - whole.Sum(i, j)) <= 1e-12 * std::fabs(whole.Sum(0, 0)));
            }
        }
    }
}

// A ratio metric linearised gives the delta method's variance, as the ratio
// of means has it without a covariate; a denominator that is always 0 is said.
void CovariateTest::ratiosLinearised()
{
    std::mt19937_64 random(6);
    std::poisson_distribution<int> orders(1.5);
    std::lognormal_distribution<double> amount(3, 0.8);
    CovariateMoments moments;
    RunningRatio ratio;
    for (int i = 0; i < 2000; ++i) {
        const double o = orders(random);
        double revenue = 0;
        for (int k = 0; k < o; ++k) {
            revenue += amount(random);
        }
        moments.Add({revenue, o, 0, 1});
        ratio.Add(revenue, o);
    }
    const CovariateSummary linear = *SummaryOf(moments);
    const MeanSummary delta = *ratio.Summary();
    QVERIFY(Near(linear.mean, delta.mean, 1e-12));
    QVERIFY(Near(std::sqrt(linear.variance), delta.sd, 1e-10));
    QCOMPARE(linear.covariateVariance, 0.0);
    CovariateMoments none;
    none.Add({1, 0, 1, 1});
    none.Add({2, 0, 1, 1});
    QVERIFY(!SummaryOf(none));
    QCOMPARE(SummaryOf(none).Failure().reason, Reason::NoDenominator);
}

QTEST_MAIN(CovariateTest)
#include "tst_covariate.moc"

// Averages: Welch's t test against R's t.test on seeded raw samples (their
// summaries as rows) and statsmodels' check values, the lift's delta-method
// interval, and the observations a test needs against R's power.t.test.

#include <QtTest>
#include <cmath>
#include <limits>

#include "engine/means.h"
#include "engine/observations.h"
#include "figures/means_figures.h"
#include "figures/plan_figures.h"
#include "engine/student_t.h"

using namespace ambrelay;

namespace {

struct WelchRow {
    const char* name;
    MeanSummary a, b;
    double t, df, p, low, high;
};

// R 4.2, t.test(b, a, var.equal = FALSE) on samples drawn after set.seed(42);
// the first two rows are SciPy's ttest_ind_from_stats(equal_var=False), its
// interval from t.ppf, to ten digits.
const WelchRow kWelch[] = {
    {"order value", {1200, 52.30, 41.7}, {1180, 55.90, 44.2}, 2.04311368, 2364.719062, 0.04115182594, 0.1447426017,
     7.055257398},
    {"few observations", {40, 10.0, 3.0}, {35, 11.5, 5.0}, 1.547720021, 54.11269386, 0.1275187946, -0.4429712481,
     3.442971248},
    {"normal, B higher", {500, 19.795408810501819, 6.2077154796959997}, {520, 20.836774686895126, 6.3525894742980471},
     2.6478238237424176, 1017.7332261709535, 0.0082264436516394351, 0.26961142966198581, 1.8131203231246282},
    {"small, uneven spread", {8, 4.7184860148032914, 0.9225856519028246}, {13, 6.6982294362818475, 2.8753634802524113},
     2.2977228437141242, 15.602337844710624, 0.035777733685168595, 0.14941872044867532, 3.8100681225084365},
    {"zero-heavy revenue", {20000, 1.3829151229752092, 15.610133570696101},
     {19800, 1.3093819241311515, 11.554011743120061}, -0.53450786768573688, 36856.616023510302, 0.5929934317454737,
     -0.34317778823774042, 0.1961113905496249},
    {"A higher, minutes", {3000, 4.1657348607616038, 4.1405159027774028}, {2900, 3.9139307539273829, 3.8560490904309646},
     -2.4182990919188798, 5889.8389407781415, 0.015623390481441225, -0.45592626141962034, -0.047681952248821546},
    {"nearly equal", {2000, 100.53021477960547, 15.069336755456268}, {2000, 99.717249543303069, 15.11971461262735},
     -1.7031460806201302, 3997.9554676130938, 0.088618457856245503, -1.7488010613319536, 0.12287058872714629},
};

bool Near(double actual, double expected, double relative)
{
    return std::fabs(actual - expected) <= relative * std::fmax(1.0, std::fabs(expected));
}

}  // namespace

class MeansTest : public QObject {
    Q_OBJECT

private slots:
    void welchAgreesWithR_data();
    void welchAgreesWithR();
    void tailsAgreeWithR_data();
    void tailsAgreeWithR();
    void tailEdges_data();
    void tailEdges();
    void liftAndLeader();
    void noTest_data();
    void noTest();
    void observationsNeeded_data();
    void observationsNeeded();
    void pooledPercentiles_data();
    void pooledPercentiles();
    void skewness();
    void capsAsRTakesThem_data();
    void capsAsRTakesThem();
    void answerInWords_data();
    void answerInWords();
    void oneSidedPlan();
    void notWorseAndPeekingSafe_data();
    void notWorseAndPeekingSafe();
};

void MeansTest::welchAgreesWithR_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kWelch)); ++i) {
        QTest::newRow(kWelch[i].name) << i;
    }
}

void MeansTest::welchAgreesWithR()
{
    QFETCH(int, row);
    const WelchRow& r = kWelch[row];
    // The first rows carry ten digits, R's seventeen.
    const double tolerance = row < 2 ? 1e-8 : 1e-9;
    const auto c = CompareMeans(r.a, r.b);
    QVERIFY(c);
    QVERIFY2(Near(c->t, r.t, tolerance), qPrintable(QString::number(c->t, 'g', 17)));
    QVERIFY2(Near(c->degreesOfFreedom, r.df, tolerance), qPrintable(QString::number(c->degreesOfFreedom, 'g', 17)));
    QVERIFY2(Near(c->pTwoSided, r.p, tolerance), qPrintable(QString::number(c->pTwoSided, 'g', 17)));
    QVERIFY2(Near(c->differenceInterval.low, r.low, tolerance), qPrintable(QString::number(c->differenceInterval.low, 'g', 17)));
    QVERIFY2(Near(c->differenceInterval.high, r.high, tolerance), qPrintable(QString::number(c->differenceInterval.high, 'g', 17)));
    QVERIFY(Near(c->pOneSided * 2, c->pTwoSided, 1e-15));
}

// R 4.2: pt(t, df, lower = FALSE), and with ncp for the noncentral t.
void MeansTest::tailsAgreeWithR_data()
{
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("df");
    QTest::addColumn<double>("ncp");
    QTest::addColumn<double>("tail");
    QTest::newRow("one degree") << 10.0 << 1.0 << 0.0 << 0.0317255174305536;
    QTest::newRow("a fraction of a degree") << 2.0 << 2.5 << 0.0 << 0.078695747878983;
    QTest::newRow("far out, ten degrees") << 10.0 << 10.0 << 0.0 << 7.94776587798205e-07;
    QTest::newRow("far out, a thousand") << 10.0 << 1000.0 << 0.0 << 8.33535147930004e-23;
    QTest::newRow("below zero") << -0.5 << 54.113 << 0.0 << 1 - 0.309551169286812;
    QTest::newRow("ten million degrees") << 2.0 << 1e7 << 0.0 << 0.0227501454459215;
    QTest::newRow("noncentral, planner's") << 1.96 << 8000.0 << 2.8 << 0.799534711234632;
    QTest::newRow("noncentral, few degrees") << 2.0 << 10.0 << 1.5 << 0.340845927557974;
    QTest::newRow("noncentral, below zero") << -1.0 << 5.0 << 0.7 << 0.943041952634128;
}

void MeansTest::tailsAgreeWithR()
{
    QFETCH(double, t);
    QFETCH(double, df);
    QFETCH(double, ncp);
    QFETCH(double, tail);
    const double actual = ncp == 0 ? math::StudentTUpperTail(t, df) : math::NoncentralTUpperTail(t, df, ncp);
    QVERIFY2(std::fabs(actual - tail) <= 1e-9 * tail, qPrintable(QString::number(actual, 'g', 17)));
    if (ncp == 0 && tail < 0.5) {
        QVERIFY(Near(math::StudentTUpperQuantile(actual, df), t, 1e-12));
    }
}

// Where the tails meet their ends: the middle, the sign, infinity, and a
// quantile's round trip from far in a tail with few degrees of freedom.
void MeansTest::tailEdges_data()
{
    QTest::addColumn<double>("df");
    QTest::newRow("one degree") << 1.0;
    QTest::newRow("half a degree") << 0.5;
    QTest::newRow("thirty") << 30.0;
    QTest::newRow("a million") << 1e6;
}

void MeansTest::tailEdges()
{
    QFETCH(double, df);
    QCOMPARE(math::StudentTUpperTail(0, df), 0.5);
    QCOMPARE(math::StudentTUpperTail(std::numeric_limits<double>::infinity(), df), 0.0);
    for (const double t : {0.3, 1.7, 6.0}) {
        QVERIFY(Near(math::StudentTUpperTail(-t, df), 1 - math::StudentTUpperTail(t, df), 1e-15));
        QVERIFY(math::StudentTUpperTail(t, df) > math::StudentTUpperTail(t + 0.1, df));
        // The noncentral t with no noncentrality is the central one.
        QCOMPARE(math::NoncentralTUpperTail(t, df, 0), math::StudentTUpperTail(t, df));
    }
    for (const double p : {0.4, 0.025, 1e-6}) {
        const double t = math::StudentTUpperQuantile(p, df);
        QVERIFY2(std::fabs(math::StudentTUpperTail(t, df) - p) <= 1e-12 * p, qPrintable(QString::number(t, 'g', 17)));
        if (p >= 0.025) {  // 1 - 1e-6 is no longer exact
            QVERIFY(Near(math::StudentTUpperQuantile(1 - p, df), -t, 1e-12));
        }
    }
    QVERIFY(std::isnan(math::StudentTUpperQuantile(0, df)) && std::isnan(math::StudentTUpperTail(1, 0)));
}

// The lift of the order-value check: 55.90 against 52.30 is 6.88% more, and
// "lower is better" makes A the leader of the same numbers.
void MeansTest::liftAndLeader()
{
    const MeanSummary a{1200, 52.30, 41.7}, b{1180, 55.90, 44.2};
    const auto higher = CompareMeans(a, b);
    QCOMPARE(higher->leader, Version::B);
    QVERIFY(Near(*higher->liftPercent, 6.8833652, 1e-7));
    QVERIFY(higher->liftIntervalPercent->low < 6.88 && higher->liftIntervalPercent->high > 6.89);
    QVERIFY(higher->chanceBetter > 0.979 && higher->chanceBetter < 0.980);
    const auto lower = CompareMeans(a, b, Better::Lower);
    QCOMPARE(lower->leader, Version::A);
    QVERIFY(Near(*lower->liftPercent, (52.30 / 55.90 - 1) * 100, 1e-12));
    QCOMPARE(lower->chanceBetter, higher->chanceBetter);
}

void MeansTest::noTest_data()
{
    QTest::addColumn<double>("n1");
    QTest::addColumn<double>("sd1");
    QTest::addColumn<double>("mean2");
    QTest::addColumn<double>("sd2");
    QTest::addColumn<int>("reason");
    QTest::newRow("one observation") << 1.0 << 3.0 << 11.0 << 3.0 << static_cast<int>(Reason::FewerThanTwoObservations);
    QTest::newRow("negative spread") << 40.0 << -1.0 << 11.0 << 3.0 << static_cast<int>(Reason::NegativeSpread);
    QTest::newRow("no spread at all") << 40.0 << 0.0 << 11.0 << 0.0 << static_cast<int>(Reason::NoVariation);
    QTest::newRow("a mean beyond doubles") << 40.0 << 3.0 << 1e308 * 10 << 3.0 << static_cast<int>(Reason::BeyondDoubles);
}

void MeansTest::noTest()
{
    QFETCH(double, n1);
    QFETCH(double, sd1);
    QFETCH(double, mean2);
    QFETCH(double, sd2);
    QFETCH(int, reason);
    const auto c = CompareMeans({n1, 10, sd1}, {35, mean2, sd2});
    QVERIFY(!c);
    QCOMPARE(static_cast<int>(c.Failure().reason), reason);
}

// R 4.2's power.t.test, whose root finder stops within about 1e-4 of n.
void MeansTest::observationsNeeded_data()
{
    QTest::addColumn<double>("delta");
    QTest::addColumn<double>("sd");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<double>("power");
    QTest::addColumn<double>("n");
    QTest::newRow("2.5 in 40") << 2.5 << 40.0 << 0.05 << 0.8 << 4019.58700891;
    QTest::newRow("strict level, high power") << 0.5 << 3.0 << 0.01 << 0.9 << 1072.97588439;
    QTest::newRow("a large effect") << 10.0 << 4.0 << 0.05 << 0.8 << 3.76181491947;
}

void MeansTest::observationsNeeded()
{
    QFETCH(double, delta);
    QFETCH(double, sd);
    QFETCH(double, alpha);
    QFETCH(double, power);
    QFETCH(double, n);
    const auto needed = ObservationsForMeans(delta, sd, alpha, power);
    QVERIFY(needed);
    QVERIFY2(std::fabs(*needed - n) < 2e-4, qPrintable(QString::number(*needed, 'g', 12)));
    QCOMPARE(std::ceil(*needed), std::ceil(n));
}

// R 4.2: quantile(c(a, b), p, type = 7), and over the values other than 0.
void MeansTest::pooledPercentiles_data()
{
    QTest::addColumn<QList<double>>("a");
    QTest::addColumn<QList<double>>("b");
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("ignoreZeros");
    QTest::addColumn<double>("expected");
    QTest::newRow("median") << QList<double>{1, 2, 3} << QList<double>{4, 10} << 0.5 << false << 3.0;
    QTest::newRow("between two values") << QList<double>{1, 2, 3} << QList<double>{4, 10} << 0.9 << false
                                        << 7.5999999999999979;
    QTest::newRow("zeros counted") << QList<double>{0, 0, 5} << QList<double>{0, 7, 9} << 0.5 << false << 2.5;
    QTest::newRow("zeros ignored") << QList<double>{0, 0, 5} << QList<double>{0, 7, 9} << 0.5 << true << 7.0;
    QTest::newRow("refunds below zero") << QList<double>{-3, -1} << QList<double>{2} << 0.25 << false << -2.0;
    QTest::newRow("one version only") << QList<double>{} << QList<double>{8, 2} << 1.0 << false << 8.0;
}

void MeansTest::pooledPercentiles()
{
    QFETCH(QList<double>, a);
    QFETCH(QList<double>, b);
    QFETCH(double, p);
    QFETCH(bool, ignoreZeros);
    QFETCH(double, expected);
    const std::vector<double> va(a.begin(), a.end()), vb(b.begin(), b.end());
    const auto q = PooledQuantile(std::vector<std::vector<double>>{va, vb}, p, ignoreZeros);
    QVERIFY(q);
    QVERIFY2(Near(*q, expected, 1e-15), qPrintable(QString::number(*q, 'g', 17)));
    QVERIFY(!PooledQuantile(std::vector<std::vector<double>>{{0}, {}}, 0.5, true));
}

// A long-tailed sample streamed one value at a time: R's mean, sd and
// sqrt(n) m3 / m2^1.5 of rlnorm(12, 1, 1) after set.seed(3), shifted by a
// million so that a sum of squares would lose the spread to cancellation.
void MeansTest::skewness()
{
    RunningMoments small;
    for (const double x : {1.0, 2.0, 3.0, 10.0}) {
        small.Add(x);
    }
    QVERIFY(Near(small.Skewness(), 1.0182337649086284, 1e-14));
    RunningMoments shifted;
    for (const double x : {1.03880039814475533, 2.02886044262746212, 3.52115202621853518, 0.85887499975587711,
                           3.30614489486533936, 2.80141303320435009, 2.96067632855303264, 8.30294451485128526,
                           0.80343626748278008, 9.65396509942030256, 1.29074349345825157, 0.87702606112120041}) {
        shifted.Add(x + 1e6);
    }
    QVERIFY(Near(shifted.Summary().mean, 1e6 + 3.1203364633085977, 1e-15));
    QVERIFY(Near(shifted.Summary().sd, 2.9272436543441871, 1e-9));
    QVERIFY(Near(shifted.Skewness(), 1.3870507300638091, 1e-7));
}

// Both versions' values, capped at percentiles of both pooled, against R:
// quantile(type = 7) over the values (or those other than 0), the values
// clamped, then mean and sd of each version.
void MeansTest::capsAsRTakesThem_data()
{
    QTest::addColumn<double>("upper");  // percent; 0: none
    QTest::addColumn<double>("lower");
    QTest::addColumn<bool>("ignoreZeros");
    QTest::addColumn<QList<double>>("expected");  // mean A, sd A, mean B, sd B, changed up, changed down
    QTest::addColumn<bool>("upperOnZero");
    const QList<double> uncapped{8, 18.556220879622373, 14.833333333333334, 42.710264183995243, 0, 0};
    QTest::newRow("no caps: streamed") << 0.0 << 0.0 << false << uncapped << false;
    QTest::newRow("both caps over the values other than 0")
        << 90.0 << 10.0 << true << QList<double>{8, 18.5562208796224, 11.45, 26.4857508860897, 1, 1} << false;
    QTest::newRow("an upper cap on 0 is not applied") << 10.0 << 0.0 << false << uncapped << true;
}

void MeansTest::capsAsRTakesThem()
{
    QFETCH(double, upper);
    QFETCH(double, lower);
    QFETCH(bool, ignoreZeros);
    QFETCH(QList<double>, expected);
    QFETCH(bool, upperOnZero);
    CapRequest caps;
    caps.upperPercent = upper > 0 ? std::optional<double>(upper) : std::nullopt;
    caps.lowerPercent = lower > 0 ? std::optional<double>(lower) : std::nullopt;
    caps.ignoreZeros = ignoreZeros;
    ValuesCollector values(false, caps);
    for (const double x : {0.0, 0.0, 1.0, 2.0, 3.0, 50.0, 0.0}) {
        values.Add(0, x);
    }
    for (const double x : {0.0, 4.0, 5.0, 100.0, -20.0, 0.0}) {
        values.Add(1, x);
    }
    const ValuesCollector::Result r = values.Finish(2);
    const auto& a = r.summaries[0];
    const auto& b = r.summaries[1];
    QVERIFY(a && b);
    QVERIFY(Near(a->mean, expected[0], 1e-13) && Near(a->sd, expected[1], 1e-13));
    QVERIFY(Near(b->mean, expected[2], 1e-13) && Near(b->sd, expected[3], 1e-13));
    QCOMPARE(r.caps.changedUpper, expected[4]);
    QCOMPARE(r.caps.changedLower, expected[5]);
    QCOMPARE(r.caps.upperOnZero, upperOnZero);
    QCOMPARE(r.caps.upper.has_value(), upper > 0 && !upperOnZero);
}

// The answer's sentence in its forms: the same averages, "lower is better",
// a lift without an interval, and no lift at all.
void MeansTest::answerInWords_data()
{
    QTest::addColumn<QList<double>>("summaries");  // n, mean, sd of A, then of B
    QTest::addColumn<bool>("lower");
    QTest::addColumn<QString>("starts");
    QTest::addColumn<QString>("lacks");
    QTest::newRow("the same averages") << QList<double>{40, 10, 3, 40, 10, 3} << false
                                       << "The averages are the same: 10.00 each; p = 1." << "more";
    QTest::newRow("lower is better") << QList<double>{1200, 52.30, 41.7, 1180, 55.90, 44.2} << true
                                     << "A's average is lower: 52.30 against 55.90, 6.4% less (95% interval"
                                     << "could well be chance";
    QTest::newRow("the average behind is near 0") << QList<double>{100, 0.1, 10, 100, 5, 10} << false
                                                  << "B's average is higher: 5.00 against 0.10, 4900.0% more; p ="
                                                  << "interval";
    QTest::newRow("the average behind is 0") << QList<double>{100, 0, 10, 100, 5, 10} << false
                                             << "B's average is higher: 5.00 against 0.00; p =" << "more";
}

void MeansTest::answerInWords()
{
    QFETCH(QList<double>, summaries);
    QFETCH(bool, lower);
    QFETCH(QString, starts);
    QFETCH(QString, lacks);
    MeansOptions options;
    options.better = lower ? Better::Lower : Better::Higher;
    const auto answer =
        CompareSummaries({{summaries[0], summaries[1], summaries[2]}, {summaries[3], summaries[4], summaries[5]}, options, std::nullopt});
    QVERIFY(answer);
    const QString words = QString::fromStdString(MeansFigures(*answer)[MeansFigure::Answer].words);
    QVERIFY2(words.startsWith(starts), qPrintable(words));
    QVERIFY2(!words.contains(lacks), qPrintable(words));
    // A program reads the same sentence, and no label.
    const auto numbers = MeansFigures(*answer, Wording::NumbersOnly);
    QCOMPARE(std::get<std::string>(numbers[MeansFigure::Answer].value), words.toStdString());
    QVERIFY(numbers[MeansFigure::T].label.empty());
}

// R 4.2: power.t.test(delta = 2.5, sd = 40, power = 0.8, alternative = "one.sided").
void MeansTest::oneSidedPlan()
{
    MeansPlanRequest request;
    request.sd = 40;
    request.effect = 2.5;
    request.twoSided = false;
    const auto plan = AnswerMeansPlan(request);
    QVERIFY(plan);
    QVERIFY(std::fabs(*(*plan)[MeansPlanFigure::ObservationsUnrounded].Number() - 3166.14590552133) < 2e-4);
    QCOMPARE(*(*plan)[MeansPlanFigure::Observations].Number(), 3167.0);
    request.relative = true;  // a share of an average nobody gave
    QCOMPARE(AnswerMeansPlan(request).Failure().reason, Reason::RelativeEffectNeedsAverage);
}

// The order-value check against R: pnorm(-z) for z the margin's test
// statistic (the difference plus the margin in units, or the log of the
// ratio of the means against log(1 -+ margin) with the delta method's
// error), and the normal mixture's p for 5,000 planned observations.
void MeansTest::notWorseAndPeekingSafe_data()
{
    QTest::addColumn<double>("margin");
    QTest::addColumn<bool>("relative");
    QTest::addColumn<bool>("lower");
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("notWorse");
    QTest::newRow("1 unit, higher is better") << 1.0 << false << false << 0.0045185791663492096 << true;
    QTest::newRow("5%, higher is better") << 5.0 << true << false << 0.00014686991205709567 << true;
    QTest::newRow("5%, lower is better") << 5.0 << true << true << 0.70751667212601332 << false;
    QTest::newRow("5 units, lower is better") << 5.0 << false << true << 0.21343934145180526 << false;
}

void MeansTest::notWorseAndPeekingSafe()
{
    QFETCH(double, margin);
    QFETCH(bool, relative);
    QFETCH(bool, lower);
    QFETCH(double, p);
    QFETCH(bool, notWorse);
    const MeanSummary a{1200, 52.30, 41.7}, b{1180, 55.90, 44.2};
    const auto test = TestNonInferiority(a, b, {margin, relative ? MarginKind::RelativePercent : MarginKind::Points},
                                         lower ? Better::Lower : Better::Higher);
    QVERIFY(test);
    QVERIFY2(std::fabs(test->pValue - p) <= 1e-12 * p, qPrintable(QString::number(test->pValue, 'g', 17)));
    QCOMPARE(test->notWorse, notWorse);
    const auto answer = CompareSummaries({a, b, {}, std::nullopt});
    const auto figures = MeansFigures(*answer, Wording::NumbersOnly);
    QVERIFY(Near(*figures[MeansFigure::AlwaysValidP].Number(), 0.41965411351815823, 1e-13));
    QVERIFY(!figures[MeansFigure::NotWorse].Number() && !std::holds_alternative<bool>(figures[MeansFigure::NotWorse].value));
}

QTEST_APPLESS_MAIN(MeansTest)
#include "tst_means.moc"

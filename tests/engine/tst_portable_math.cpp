// The engine's own elementary and special functions against this system's C
// library and Boost.Math, over many arguments, and at the edges of their
// domains.

#include <QtTest>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "engine/portable_math.h"

using namespace ambrelay;

namespace {

using Function = std::function<double(double)>;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Units in the last place of expected between the two, or of `floor` where
// expected is smaller: near a zero of the function only absolute error means
// anything.
double UnitsApart(double actual, double expected, double floor = 0)
{
    if (actual == expected) {
        return 0;
    }
    const double size = std::max(std::fabs(expected), floor);
    const double unit = std::nextafter(size, kInf) - size;
    return std::fabs(actual - expected) / unit;
}

}  // namespace

Q_DECLARE_METATYPE(Function)

class PortableMathTest : public QObject {
    Q_OBJECT
private slots:
    void matchesReference_data();
    void matchesReference();
    void edges_data();
    void edges();
    void betaMatchesBoost();
    void binomialSumsToOne();
};

void PortableMathTest::matchesReference_data()
{
    QTest::addColumn<Function>("ours");
    QTest::addColumn<Function>("reference");
    QTest::addColumn<double>("low");  // arguments spread evenly from low to high
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("units");  // the most units in the last place apart
    QTest::addColumn<double>("floor");  // ... of the larger of the result and this

    const boost::math::normal_distribution<double> normal;
    const auto quantile = [normal](double p) { return boost::math::quantile(normal, p); };
    const auto cdf = [normal](double z) { return boost::math::cdf(normal, z); };
    const auto lgamma = [](double x) {
        int sign = 0;
        return ::lgamma_r(x, &sign);
    };
    QTest::newRow("exp") << Function(math::Exp) << Function([](double x) { return std::exp(x); }) << -745.0 << 709.7
                         << 2.0 << 0.0;
    QTest::newRow("log, small") << Function(math::Log) << Function([](double x) { return std::log(x); }) << 1e-300
                                << 1.0 << 2.0 << 0.0;
    QTest::newRow("log, large") << Function(math::Log) << Function([](double x) { return std::log(x); }) << 0.5
                                << 1e300 << 2.0 << 0.0;
    QTest::newRow("log1p") << Function(math::Log1p) << Function([](double x) { return std::log1p(x); }) << -0.999
                           << 1e6 << 2.0 << 0.0;
    QTest::newRow("expm1") << Function(math::Expm1) << Function([](double x) { return std::expm1(x); }) << -40.0
                           << 40.0 << 6.0 << 0.0;
    QTest::newRow("erfc") << Function(math::Erfc) << Function([](double x) { return std::erfc(x); }) << -6.0 << 26.0
                          << 250.0 << 0.0;
    QTest::newRow("normal cdf") << Function(math::NormalCdf) << Function(cdf) << -37.0 << 8.0 << 250.0 << 0.0;
    QTest::newRow("normal quantile") << Function(math::NormalQuantile) << Function(quantile) << 1e-12 << 0.999
                                     << 64.0 << 1.0;
    // Whole numbers and beyond: where the engine takes it, at the counts plus one.
    QTest::newRow("log-gamma") << Function(math::LogGamma) << Function(lgamma) << 3.0 << 1e9 << 32.0 << 1.0;
}

void PortableMathTest::matchesReference()
{
    QFETCH(Function, ours);
    QFETCH(Function, reference);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, units);
    QFETCH(double, floor);
    // Half the arguments evenly spaced, half spread evenly in their logarithm
    // where the range allows, with random jitter so no grid hides a fault.
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 20000; ++i) {
        double x = low + (high - low) * unit(random);
        if (i % 2 && low > 0) {
            x = low * std::pow(high / low, unit(random));
        }
        const double actual = ours(x);
        const double expected = reference(x);
        QVERIFY2(UnitsApart(actual, expected, floor) <= units,
                 qPrintable(QString("x = %1: %2 against %3").arg(x, 0, 'g', 17).arg(actual, 0, 'g', 17)
                                .arg(expected, 0, 'g', 17)));
    }
}

void PortableMathTest::edges_data()
{
    QTest::addColumn<double>("actual");
    QTest::addColumn<double>("expected");  // NaN: not a number expected
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("exp 0") << math::Exp(0) << 1.0;
    QTest::newRow("exp past the largest") << math::Exp(710) << kInf;
    QTest::newRow("exp below the smallest") << math::Exp(-746) << 0.0;
    QTest::newRow("exp of minus infinity") << math::Exp(-kInf) << 0.0;
    QTest::newRow("exp to a subnormal") << math::Exp(-744) << std::exp(-744.0);
    QTest::newRow("log 1") << math::Log(1) << 0.0;
    QTest::newRow("log 0") << math::Log(0) << -kInf;
    QTest::newRow("log of a negative") << math::Log(-1) << nan;
    QTest::newRow("log of the smallest subnormal") << math::Log(std::numeric_limits<double>::denorm_min())
                                                   << std::log(std::numeric_limits<double>::denorm_min());
    QTest::newRow("log1p -1") << math::Log1p(-1) << -kInf;
    QTest::newRow("log1p below -1") << math::Log1p(-2) << nan;
    QTest::newRow("log1p of a tiny number") << math::Log1p(1e-300) << 1e-300;
    QTest::newRow("expm1 of a tiny number") << math::Expm1(-1e-300) << -1e-300;
    QTest::newRow("expm1 far below") << math::Expm1(-100) << -1.0;
    QTest::newRow("log-gamma 1") << math::LogGamma(1) << 0.0;
    QTest::newRow("log-gamma 2") << math::LogGamma(2) << 0.0;
    QTest::newRow("log-gamma 0") << math::LogGamma(0) << kInf;
    QTest::newRow("log-gamma 19, from 18!") << math::LogGamma(19) << std::log(6402373705728000.0);
    QTest::newRow("erfc 0") << math::Erfc(0) << 1.0;
    QTest::newRow("erfc far below") << math::Erfc(-30) << 2.0;
    QTest::newRow("erfc far above") << math::Erfc(30) << 0.0;
    QTest::newRow("normal quantile 0.5") << math::NormalQuantile(0.5) << 0.0;
    QTest::newRow("normal quantile 0") << math::NormalQuantile(0) << -kInf;
    QTest::newRow("normal quantile 1") << math::NormalQuantile(1) << kInf;
    QTest::newRow("normal quantile above 1") << math::NormalQuantile(1.5) << nan;
    QTest::newRow("chi-square 0") << math::ChiSquaredOneUpperTail(0) << 1.0;
    QTest::newRow("chi-square 100") << math::ChiSquaredOneUpperTail(100) << 1.5239706048321052e-23;
    QTest::newRow("beta tail at 0") << math::BetaUpperTail(0, 3, 4) << 1.0;
    QTest::newRow("beta tail at 1") << math::BetaUpperTail(1, 3, 4) << 0.0;
    QTest::newRow("flat beta density") << math::BetaDensity(0.3, 1, 1) << 1.0;
    QTest::newRow("binomial, none in none") << math::BinomialDensity(0, 0, 0.5, 0.5) << 1.0;
    QTest::newRow("binomial, more than the trials") << math::BinomialDensity(5, 4, 0.5, 0.5) << 0.0;
}

void PortableMathTest::edges()
{
    QFETCH(double, actual);
    QFETCH(double, expected);
    if (std::isnan(expected)) {
        QVERIFY(std::isnan(actual));
    } else {
        QVERIFY2(UnitsApart(actual, expected) <= 2, qPrintable(QString::number(actual, 'g', 17)));
    }
}

void PortableMathTest::betaMatchesBoost()
{
    // Shapes from 1 to a billion, points within a few spreads of the mean,
    // where the chance to beat integrates.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 3000; ++i) {
        const double a = 1 + std::ldexp(unit(random), static_cast<int>(random() % 30));
        const double b = 1 + std::ldexp(unit(random), static_cast<int>(random() % 30));
        const double mean = a / (a + b);
        const double x = std::clamp(mean + (2 * unit(random) - 1) * 4 * std::sqrt(mean * (1 - mean) / (a + b + 1)),
                                    1e-9, 1 - 1e-9);
        const boost::math::beta_distribution<double> beta(a, b);
        const double density = boost::math::pdf(beta, x);
        const double tail = boost::math::cdf(complement(beta, x));
        const QString at = QString("a %1, b %2, x %3").arg(a, 0, 'g', 17).arg(b, 0, 'g', 17).arg(x, 0, 'g', 17);
        QVERIFY2(std::fabs(math::BetaDensity(x, a, b) - density) <= 1e-10 * density, qPrintable(at));
        QVERIFY2(std::fabs(math::BetaUpperTail(x, a, b) - tail) <= 1e-8 * std::max(tail, 1e-300), qPrintable(at));
    }
}

void PortableMathTest::binomialSumsToOne()
{
    for (const double n : {1.0, 7.0, 40.0, 1000.0}) {
        for (const double p : {0.01, 0.3, 0.5, 0.97}) {
            double sum = 0;
            for (double k = 0; k <= n; ++k) {
                sum += math::BinomialDensity(k, n, p, 1 - p);
            }
            QVERIFY2(std::fabs(sum - 1) < 1e-13, qPrintable(QString("n %1, p %2: %3").arg(n).arg(p).arg(sum, 0, 'g', 17)));
        }
    }
}

QTEST_APPLESS_MAIN(PortableMathTest)
#include "tst_portable_math.moc"

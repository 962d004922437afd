#include "engine/portable_math.h"

#include <array>
#include <bit>
#include <cmath>
#include <utility>
#include <cstdint>
#include <limits>

namespace ambrelay::math {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ln 2 split so that k * kLn2High is exact for every |k| < 2048.
constexpr double kLn2High = 0x1.62e42feep-1;
constexpr double kLn2Low = 0x1.a39ef35793c76p-33;
constexpr double kLog2E = 1.44269504088896340736;
constexpr double kSqrtHalf = 0.70710678118654752440;
constexpr double kSqrt2 = 1.41421356237309504880;
constexpr double kSqrtPi = 1.77245385090551602730;
constexpr double kSqrt2Pi = 2.50662827463100050242;
constexpr double kLnSqrt2Pi = 0.91893853320467274178;
constexpr double kLn2Pi = 1.83787706640934548356;

constexpr double kExpOverflow = 709.782712893383973096;   // ln of the largest double
constexpr double kExpUnderflow = -745.133219101941108420;  // ln of half the smallest

// 1 / n! for n = 0 ... 15, folded by the compiler.
constexpr std::array<double, 16> InverseFactorials()
{
    std::array<double, 16> c{};
    double factorial = 1;
    for (int n = 0; n < 16; ++n) {
        factorial *= n > 0 ? n : 1;
        c[n] = 1 / factorial;
    }
    return c;
}
constexpr std::array<double, 16> kInverseFactorial = InverseFactorials();

// 2^k for -1074 <= k <= 1023, built bit by bit.
double PowerOfTwo(int k)
{
    if (k >= -1022) {
        return std::bit_cast<double>(static_cast<std::uint64_t>(k + 1023) << 52);
    }
    return std::bit_cast<double>(std::uint64_t{1} << (k + 1074));
}

// p * 2^k, rounded once unless the result is subnormal.
double Scale(double p, int k)
{
    if (k > 1023) {
        return p * 2 * PowerOfTwo(k - 1);
    }
    if (k < -1022) {
        return p * PowerOfTwo(k + 60) * PowerOfTwo(-60);
    }
    return p * PowerOfTwo(k);
}

// log(1 + f) for |f| <= sqrt(2) - 1: with s = f / (2 + f), it is
// 2 atanh(s) = 2s + s R(s^2), and 2s = f - s f.
double Log1pKernel(double f)
{
    const double s = f / (2 + f);
    const double z = s * s;
    double r = 0;
    for (int k = 12; k >= 1; --k) {
        r = r * z + 2.0 / (2 * k + 1);
    }
    r *= z;
    return f - s * (f - r);
}

// x * x as a sum hi + lo with no rounding (Dekker's product).
struct Square {
    double hi, lo;
};
Square ExactSquare(double x)
{
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double t = kSplitter * x;
    const double high = t - (t - x);
    const double low = x - high;
    const double hi = x * x;
    const double lo = ((high * high - hi) + 2 * high * low) + low * low;
    return {hi, lo};
}

// exp(-x^2) without the rounding of x^2, which for large x would cost
// x^2 units in the last place.
double ExpMinusSquare(double x)
{
    const Square sq = ExactSquare(x);
    return Exp(-sq.hi) * (1 - sq.lo);
}

// The error function by its series with positive terms,
// erf(x) = 2x e^(-x^2) / sqrt(pi) * sum (2x^2)^n / (1 * 3 * ... * (2n + 1)).
double ErfSeries(double x, double expMinusSquare)
{
    const double twoSquare = 2 * x * x;
    double term = 1;
    double sum = 1;
    for (int n = 1; n < 200 && term > 1e-17 * sum; ++n) {
        term *= twoSquare / (2 * n + 1);
        sum += term;
    }
    return 2 * x * expMinusSquare / kSqrtPi * sum;
}

// erfc by Laplace's continued fraction, good for x >= 1 (fewer than a
// hundred steps there):
// erfc(x) = e^(-x^2) / sqrt(pi) * 2x / (2x^2 + 1 - 1*2 / (2x^2 + 5 - 3*4 / (2x^2 + 9 - ...))).
double ErfcFraction(double x, double expMinusSquare)
{
    constexpr double kTiny = 1e-300;
    const double base = 2 * x * x + 1;
    double f = base;
    double c = f;
    double d = 0;
    for (int n = 1; n < 1000; ++n) {
        const double a = -(2.0 * n - 1) * (2.0 * n);
        const double b = base + 4.0 * n;
        d = b + a * d;
        d = d == 0 ? kTiny : 1 / d;
        c = b + a / c;
        if (c == 0) {
            c = kTiny;
        }
        const double delta = c * d;
        f *= delta;
        if (std::fabs(delta - 1) < 1e-16) {
            break;
        }
    }
    return expMinusSquare / kSqrtPi * 2 * x / f;
}

// erfc(x) for x >= 0, given e^(-x^2): its caller may know that better than
// the square of x would give it.
double ErfcOfPositive(double x, double expMinusSquare)
{
    if (x < 1) {
        return 1 - ErfSeries(x, expMinusSquare);
    }
    if (x > 27.3) {
        return 0;  // below the smallest double
    }
    return ErfcFraction(x, expMinusSquare);
}

// The remainder of Stirling's series, ln Gamma(x) - ((x - 0.5) ln x - x + ln sqrt(2 pi)),
// for x >= 10, where the terms left out stay below 1e-17: the Bernoulli
// numbers' B(2j) / (2j (2j - 1)) over x^(2j - 1).
double StirlingSeries(double x)
{
    constexpr std::array<double, 8> kTerms{1.0 / 12,         -1.0 / 360, 1.0 / 1260,  -1.0 / 1680,
                                           1.0 / 1188,        -691.0 / 360360, 1.0 / 156, -3617.0 / 122400};
    const double s = 1 / x;
    const double s2 = s * s;
    double sum = 0;
    for (auto term = kTerms.rbegin(); term != kTerms.rend(); ++term) {
        sum = sum * s2 + *term;
    }
    return s * sum;
}

// ln n! - ((n + 0.5) ln n - n + ln sqrt(2 pi)): the error of Stirling's
// formula, which Loader's binomial form is built on.
double StirlingError(double n)
{
    if (n >= 10) {
        return StirlingSeries(n);
    }
    return LogGamma(n + 1) - (n + 0.5) * Log(n) + n - kLnSqrt2Pi;
}

// x ln(x / m) + m - x, the binomial deviance, precise when x is near m.
double Deviance(double x, double m)
{
    if (std::fabs(x - m) < 0.1 * (x + m)) {
        double v = (x - m) / (x + m);
        double sum = (x - m) * v;
        double term = 2 * x * v;
        v *= v;
        for (int j = 1; j < 1000; ++j) {
            term *= v;
            const double next = sum + term / (2 * j + 1);
            if (next == sum) {
                break;
            }
            sum = next;
        }
        return sum;
    }
    return x * Log(x / m) + m - x;
}

// The binomial probability of k successes and m failures, k + m trials,
// each a success with chance p (q = 1 - p). Taking the failures apart keeps
// them exact where n - k would round: the beta functions pass b - 1 that way.
double BinomialTerms(double k, double m, double p, double q)
{
    if (std::isnan(k) || std::isnan(m) || std::isnan(p) || std::isnan(q)) {
        return kNaN;
    }
    const double n = k + m;
    if (p == 0 || q == 0) {
        return (p == 0 ? k == 0 : m == 0) ? 1 : 0;
    }
    if (k == 0) {
        return n == 0 ? 1 : Exp(p < 0.1 ? -Deviance(n, n * q) - n * p : n * Log(q));
    }
    if (m == 0) {
        return Exp(q < 0.1 ? -Deviance(n, n * p) - n * q : n * Log(p));
    }
    const double logCore =
        StirlingError(n) - StirlingError(k) - StirlingError(m) - Deviance(k, n * p) - Deviance(m, n * q);
    const double logScale = kLn2Pi + Log(k) + Log(m / n);  // ln(2 pi k m / n)
    return Exp(logCore - 0.5 * logScale);
}

// I_x(a, b) from its fraction: x^a y^b / (a B(a, b)) times the fraction,
// where y = 1 - x is given apart so that neither loses digits to the other.
double LowerIncompleteBeta(double x, double y, double a, double b)
{
    return BinomialTerms(a, b, x, y) * b / (a + b) * BetaContinuedFraction(x, y, a, b);
}

// I_x(a, b) by its series of positive terms,
// x^a y^b / (a B(a, b)) * (1 + sum over n >= 0 of B(a + 1, n + 1) / B(a + b, n + 1) x^(n + 1)),
// where each term is the one before times x (a + b + n) / (a + n + 1). It
// needs about x (a + b) terms, few where a is small and b huge; there the
// fraction would subtract nearly equal numbers.
double LowerIncompleteBetaSeries(double x, double y, double a, double b)
{
    double term = 1;
    double sum = 1;
    for (double n = 0; n < 100000; ++n) {
        term *= x * (a + b + n) / (a + n + 1);
        sum += term;
        if (term < 1e-17 * sum) {
            break;
        }
    }
    return BinomialTerms(a, b, x, y) * b / (a + b) * sum;
}

}  // namespace

double Exp(double x)
{
    if (std::isnan(x)) {
        return x;
    }
    if (x > kExpOverflow) {
        return kInfinity;
    }
    if (x < kExpUnderflow) {
        return 0;
    }
    // x = k ln 2 + r with |r| <= ln 2 / 2; e^r by its Taylor series.
    const double k = std::nearbyint(x * kLog2E);
    const double r = (x - k * kLn2High) - k * kLn2Low;
    double p = kInverseFactorial[15];
    for (int n = 14; n >= 0; --n) {
        p = p * r + kInverseFactorial[n];
    }
    return Scale(p, static_cast<int>(k));
}

double Log(double x)
{
    if (std::isnan(x) || x < 0) {
        return kNaN;
    }
    if (x == 0) {
        return -kInfinity;
    }
    if (x == kInfinity) {
        return x;
    }
    int e = 0;
    double m = std::frexp(x, &e);  // x = m 2^e, 0.5 <= m < 1, exactly
    if (m < kSqrtHalf) {
        m *= 2;
        --e;
    }
    return e * kLn2High + (e * kLn2Low + Log1pKernel(m - 1));
}

double Log1p(double x)
{
    if (std::isnan(x) || x < -1) {
        return kNaN;
    }
    if (x == -1) {
        return -kInfinity;
    }
    if (std::fabs(x) <= kSqrt2 - 1) {
        return Log1pKernel(x);
    }
    const double u = 1 + x;
    if (u == kInfinity) {
        return u;
    }
    // u differs from 1 + x by (u - 1) - x; one step of Newton puts it back.
    return Log(u) - ((u - 1) - x) / u;
}

double Expm1(double x)
{
    if (std::isnan(x)) {
        return x;
    }
    if (std::fabs(x) < kLn2High / 2) {
        double p = kInverseFactorial[15];
        for (int n = 14; n >= 2; --n) {
            p = p * x + kInverseFactorial[n];
        }
        return x + x * x * p;
    }
    if (x < -40) {
        return -1;
    }
    return Exp(x) - 1;
}

double LogGamma(double x)
{
    if (std::isnan(x) || x < 0) {
        return kNaN;
    }
    if (x == 0 || x == kInfinity) {
        return kInfinity;
    }
    // Whole numbers up to 19: the logarithm of an exact factorial.
    if (x <= 19 && std::floor(x) == x) {
        double factorial = 1;
        for (double n = 2; n < x; ++n) {
            factorial *= n;
        }
        return Log(factorial);
    }
    // Below 10, climb by Gamma(x + 1) = x Gamma(x) to where Stirling's series holds.
    double product = 1;
    while (x < 10) {
        product *= x;
        x += 1;
    }
    return (x - 0.5) * Log(x) - x + kLnSqrt2Pi + StirlingSeries(x) - Log(product);
}

double LogBeta(double a, double b)
{
    if (a < b) {
        std::swap(a, b);
    }
    if (!(b > 0)) {
        return kNaN;
    }
    if (a < 10) {
        return LogGamma(a) + LogGamma(b) - LogGamma(a + b);
    }
    // ln Gamma(a) - ln Gamma(a + b) from Stirling's series, its large terms
    // cancelled by hand: -b ln a - (a + b - 1/2) ln(1 + b/a) + b.
    const double ratio =
        -b * Log(a) - (a + b - 0.5) * Log1p(b / a) + b + StirlingSeries(a) - StirlingSeries(a + b);
    return LogGamma(b) + ratio;
}

double Erfc(double x)
{
    if (std::isnan(x)) {
        return x;
    }
    if (x < 0) {
        return 2 - Erfc(-x);
    }
    return ErfcOfPositive(x, ExpMinusSquare(x));
}

double NormalCdf(double z) { return 0.5 * Erfc(-z / kSqrt2); }

double NormalQuantile(double probability)
{
    if (!(probability >= 0 && probability <= 1)) {
        return kNaN;
    }
    if (probability == 0 || probability == 1) {
        return probability == 0 ? -kInfinity : kInfinity;
    }
    if (probability >= 0.5) {
        return probability == 0.5 ? 0 : -NormalQuantile(1 - probability);  // 1 - probability is exact here
    }
    // A start good to 5e-4 (Abramowitz and Stegun 26.2.23), then Halley's
    // method on the lower tail, which triples the correct digits each step.
    const double t = std::sqrt(-2 * Log(probability));
    double z = -(t - (2.515517 + t * (0.802853 + t * 0.010328)) / (1 + t * (1.432788 + t * (0.189269 + t * 0.001308))));
    for (int step = 0; step < 4; ++step) {
        const double excess = NormalCdf(z) - probability;
        const double u = excess * kSqrt2Pi * Exp(z * z / 2);
        if (u == 0 || !std::isfinite(u)) {
            break;
        }
        z -= u / (1 + z * u / 2);
    }
    return z;
}

double ChiSquaredUpperTail(double x, double df)
{
    if (std::isnan(x) || !(df > 0)) {
        return kNaN;
    }
    if (x <= 0) {
        return 1;
    }
    const double a = df / 2, z = x / 2;
    // The common factor z^a e^-z / Gamma(a), in logarithms.
    const double front = Exp(a * Log(z) - z - LogGamma(a));
    constexpr double kTiny = 1e-300, kPrecision = 1e-16;
    if (z < a + 1) {
        // P(a, z) by its series, which converges fast below a + 1.
        double term = 1 / a, sum = term;
        for (int n = 1; n < 10000 && term > sum * kPrecision; ++n) {
            term *= z / (a + n);
            sum += term;
        }
        return 1 - front * sum;
    }
    // Q(a, z) by its continued fraction (modified Lentz), fast above a + 1.
    double b = z + 1 - a, c = 1 / kTiny, d = 1 / b, h = d;
    for (int i = 1; i < 10000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::fabs(d) < kTiny ? kTiny : d;
        c = b + an / c;
        c = std::fabs(c) < kTiny ? kTiny : c;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < kPrecision) {
            break;
        }
    }
    return front * h;
}

double ChiSquaredOneUpperTail(double x)
{
    if (std::isnan(x)) {
        return x;
    }
    // erfc(sqrt(x / 2)), with e^(-x/2) from x itself: the rounded root,
    // squared, would be off by up to x units in the last place.
    return x <= 0 ? 1 : ErfcOfPositive(std::sqrt(x / 2), Exp(-x / 2));
}

double BinomialDensity(double k, double n, double p, double q)
{
    if (k < 0 || k > n) {
        return 0;
    }
    return BinomialTerms(k, n - k, p, q);
}

double BetaDensity(double x, double a, double b)
{
    if (!(x >= 0 && x <= 1) || !(a >= 1 && b >= 1)) {
        return kNaN;
    }
    // (a + b - 1) times the probability of a - 1 successes and b - 1 failures.
    return (a + b - 1) * BinomialTerms(a - 1, b - 1, x, 1 - x);
}

double BetaUpperTail(double x, double a, double b)
{
    if (std::isnan(x) || !(a >= 1 && b >= 1)) {
        return kNaN;
    }
    if (x <= 0 || x >= 1) {
        return x <= 0 ? 1 : 0;
    }
    // The fraction of whichever side converges fast; P(X > x) = I_(1-x)(b, a).
    // Each side by its fraction where that converges fast, and by the series
    // where its variable is small and the terms few: near 0 or 1 the
    // fraction would subtract nearly equal numbers.
    const double y = 1 - x;
    const auto seriesFits = [&](double t) { return t < 0.1 && t * (a + b) < 1000; };
    if (x < (a + 1) / (a + b + 2)) {
        return seriesFits(y) ? LowerIncompleteBetaSeries(y, x, b, a) : 1 - LowerIncompleteBeta(x, y, a, b);
    }
    return seriesFits(x) ? 1 - LowerIncompleteBetaSeries(x, y, a, b) : LowerIncompleteBeta(y, x, b, a);
}

// The continued fraction of the regularised incomplete beta function, which
// converges fast for x < (a + 1) / (a + b + 2) (modified Lentz). Its first
// term, 1 - (a + b) x / (a + 1), is taken from y = 1 - x as well: near x = 1
// the subtraction would lose what x holds beyond its rounding.
double BetaContinuedFraction(double x, double y, double a, double b)
{
    constexpr double kTiny = 1e-300;
    const auto guard = [](double v) { return std::fabs(v) < kTiny ? kTiny : v; };
    double c = 1;
    double d = (a + 1) / guard(a * y + 1 - b * x);
    double h = d;
    for (int m = 1; m < 10'000'000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((a - 1 + m2) * (a + m2));
        d = 1 / guard(1 + aa * d);
        c = guard(1 + aa / c);
        h *= d * c;
        aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + 1 + m2));
        d = 1 / guard(1 + aa * d);
        c = guard(1 + aa / c);
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < 1e-15) {
            break;
        }
    }
    return h;
}

}  // namespace ambrelay::math

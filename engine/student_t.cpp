#include "engine/student_t.h"

#include <cmath>
#include <limits>

#include "engine/portable_math.h"

namespace ambrelay::math {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Beyond this many degrees of freedom the noncentral t is taken from the
// normal with a correction of order 1/df (Abramowitz and Stegun 26.7.10).
constexpr double kNearlyNormal = 4e5;

// x^a y^b / B(a, b), from the logarithms of x and y.
double BetaFront(double a, double b, double logX, double logY)
{
    return Exp(a * logX + b * logY - LogBeta(a, b));
}

double IncompleteBetaFromLogs(double a, double b, double x, double y, double logX, double logY)
{
    if (x <= 0) {
        return 0;
    }
    if (y <= 0) {
        return 1;
    }
    const double front = BetaFront(a, b, logX, logY);
    if (x < (a + 1) / (a + b + 2)) {
        return front * BetaContinuedFraction(x, y, a, b) / a;
    }
    return 1 - front * BetaContinuedFraction(y, x, b, a) / b;
}

// The density of Student's t at t.
double StudentTDensity(double t, double df)
{
    return Exp(-LogBeta(df / 2, 0.5) - 0.5 * Log(df) - (df + 1) / 2 * Log1p(t * t / df));
}

}  // namespace

double IncompleteBeta(double a, double b, double x, double y)
{
    return IncompleteBetaFromLogs(a, b, x, y, x > 0 ? Log(x) : 0, y > 0 ? Log(y) : 0);
}

double StudentTUpperTail(double t, double df)
{
    if (std::isnan(t) || !(df > 0)) {
        return kNaN;
    }
    if (t < 0) {
        return 1 - StudentTUpperTail(-t, df);
    }
    if (std::isinf(t)) {
        return 0;
    }
    // P(|T| > t) = I_y(df / 2, 1 / 2) with y = df / (df + t^2).
    const double share = t * t / df;  // x / y
    const double x = share / (1 + share);
    const double y = 1 / (1 + share);
    return IncompleteBetaFromLogs(df / 2, 0.5, y, x, -Log1p(share), Log(x)) / 2;
}

double StudentTUpperQuantile(double probability, double df)
{
    if (!(probability > 0 && probability < 1) || !(df > 0)) {
        return kNaN;
    }
    if (probability > 0.5) {
        return -StudentTUpperQuantile(1 - probability, df);
    }
    if (probability == 0.5) {
        return 0;
    }
    // The normal quantile with the Cornish-Fisher terms to start, then
    // Newton's steps on the logarithm of the tail, which is concave there.
    const double z = -NormalQuantile(probability);
    double t = z + (z * z * z + z) / (4 * df) + (5 * std::pow(z, 5) + 16 * z * z * z + 3 * z) / (96 * df * df);
    const double target = Log(probability);
    for (int i = 0; i < 100; ++i) {
        const double tail = StudentTUpperTail(t, df);
        const double density = StudentTDensity(t, df);
        if (!(tail > 0 && density > 0)) {
            return t;
        }
        const double step = (Log(tail) - target) * tail / density;
        const double next = t + step <= 0 ? t / 2 : t + step;
        if (std::fabs(next - t) <= 1e-15 * t) {
            return next;
        }
        t = next;
    }
    return t;
}

double NoncentralTUpperTail(double t, double df, double ncp)
{
    if (ncp == 0) {
        return StudentTUpperTail(t, df);
    }
    // P(T <= t) first; for t < 0 by the reflection T(-ncp).
    const bool reflected = t < 0;
    const double tt = reflected ? -t : t;
    const double del = reflected ? -ncp : ncp;
    double below = 0;  // P(T <= tt) for noncentrality del
    if (df > kNearlyNormal) {
        const double s = 1 / (4 * df);
        below = NormalCdf((tt * (1 - s) - del) / std::sqrt(1 + tt * tt * 2 * s));
    } else {
        const double x = tt * tt / (tt * tt + df);
        double sum = 0;
        if (x > 0) {
            const double lambda = del * del;
            double p = 0.5 * Exp(-0.5 * lambda);
            double q = std::sqrt(2 / 3.14159265358979323846) * p * del;
            double s = 0.5 - p;
            if (s < 1e-7) {
                s = -0.5 * Expm1(-0.5 * lambda);
            }
            double a = 0.5;
            const double b = 0.5 * df;
            const double y = df / (tt * tt + df);
            const double logX = Log(x);
            const double logY = -Log1p(tt * tt / df);
            const double rxb = Exp(b * logY);
            const double logBetaHalf = LogBeta(0.5, b);
            double xodd = IncompleteBetaFromLogs(a, b, x, y, logX, logY);
            double godd = 2 * rxb * Exp(a * logX - logBetaHalf);
            double tnc = b * x;
            double xeven = tnc < std::numeric_limits<double>::epsilon() ? tnc : 1 - rxb;
            double geven = tnc * rxb;
            sum = p * xodd + q * xeven;
            for (int it = 1; it <= 1000; ++it) {
                a += 1;
                xodd -= godd;
                xeven -= geven;
                godd *= x * (a + b - 1) / a;
                geven *= x * (a + b - 0.5) / (a + 0.5);
                p *= lambda / (2 * it);
                q *= lambda / (2 * it + 1);
                sum += p * xodd + q * xeven;
                s -= p;
                if (s < -1e-10 || (s <= 0 && it > 1) || std::fabs(2 * s * (xodd - godd)) < 1e-12) {
                    break;
                }
            }
        }
        below = sum + NormalCdf(-del);
    }
    below = std::fmin(below, 1.0);
    return reflected ? below : 1 - below;
}

}  // namespace ambrelay::math

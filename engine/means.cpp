#include "engine/means.h"

#include <cmath>
#include <limits>
#include <tuple>

#include "engine/portable_math.h"
#include "engine/student_t.h"

namespace ambrelay {
namespace {

constexpr double kZ95 = 1.959963984540054;  // the normal's 97.5% point

bool Finite(double x) { return std::isfinite(x); }

}  // namespace

double IntervalZ(double intervalLevel)
{
    return intervalLevel == 0.95 ? kZ95 : math::NormalQuantile(1 - (1 - intervalLevel) / 2);
}

Outcome<MeansComparison> CompareMeans(const MeanSummary& a, const MeanSummary& b, Better better, bool ratios,
                                      double splitPercentA, double intervalLevel)
{
    if (!(a.n >= 2) || !(b.n >= 2)) {
        return Reason::FewerThanTwoObservations;
    }
    if (a.sd < 0 || b.sd < 0) {
        return Reason::NegativeSpread;
    }
    if (!Finite(a.n + a.mean + a.sd + b.n + b.mean + b.sd)) {
        return Reason::BeyondDoubles;
    }
    const double va = a.sd * a.sd / a.n;  // each mean's squared standard error
    const double vb = b.sd * b.sd / b.n;
    if (!(va + vb > 0)) {
        return Reason::NoVariation;
    }
    MeansComparison c;
    c.difference = b.mean - a.mean;
    c.standardError = std::sqrt(va + vb);
    c.t = c.difference / c.standardError;
    c.degreesOfFreedom = ratios ? std::numeric_limits<double>::infinity()
                                : (va + vb) * (va + vb) / (va * va / (a.n - 1) + vb * vb / (b.n - 1));
    if (!Finite(c.t) || !(ratios || Finite(c.degreesOfFreedom))) {
        return Reason::BeyondDoubles;
    }
    // The difference's and the lift's intervals at the level asked, 95% unless a correction widens them.
    const double beyond = intervalLevel == 0.95 ? 0.025 : (1 - intervalLevel) / 2;
    const double z = IntervalZ(intervalLevel);
    const double q = ratios ? z : math::StudentTUpperQuantile(beyond, c.degreesOfFreedom);
    c.differenceInterval = {c.difference - q * c.standardError, c.difference + q * c.standardError};
    const double tail = ratios ? math::NormalCdf(-std::fabs(c.t))
                               : math::StudentTUpperTail(std::fabs(c.t), c.degreesOfFreedom);
    c.pTwoSided = std::fmin(1.0, 2 * tail);
    c.pOneSided = tail;
    for (const auto& [summary, variance, into] : {std::tuple{&a, va, &c.intervalA}, std::tuple{&b, vb, &c.intervalB}}) {
        const double half = (ratios ? kZ95 : math::StudentTUpperQuantile(0.025, summary->n - 1)) * std::sqrt(variance);
        *into = {summary->mean - half, summary->mean + half};
    }
    c.identical = c.difference == 0;
    const bool bHigher = c.difference > 0;
    c.leader = c.identical ? Version::A : (bHigher == (better == Better::Higher) ? Version::B : Version::A);
    c.chanceBetter = math::NormalCdf(std::fabs(c.t));

    // The leader over the other by the delta method: the ratio of the means
    // with the variance of a ratio of independent estimates.
    const MeanSummary& lead = c.leader == Version::A ? a : b;
    const MeanSummary& other = c.leader == Version::A ? b : a;
    const double leadVariance = c.leader == Version::A ? va : vb;
    const double otherVariance = c.leader == Version::A ? vb : va;
    if (c.identical) {
        c.liftPercent = 0.0;
    } else if (other.mean == 0) {
        c.liftPercent = Reason::OtherNeverResponded;
    } else {
        c.liftPercent = (lead.mean / other.mean - 1) * 100;
    }
    if (!c.identical && other.mean != 0) {
        if (std::fabs(other.mean) <= z * std::sqrt(otherVariance)) {
            c.liftIntervalPercent = Reason::OtherMeanNearZero;
        } else {
            const double ratio = lead.mean / other.mean;
            const double spread = z * std::sqrt(leadVariance / (other.mean * other.mean)
                                                    + ratio * ratio * otherVariance / (other.mean * other.mean));
            c.liftIntervalPercent = Interval{(ratio - spread - 1) * 100, (ratio + spread - 1) * 100};
        }
    }
    c.sampleRatio = CheckSampleRatio(a.n, b.n, splitPercentA);
    if (!c.identical) {
        // The spread both versions share, as the planner takes it.
        const double sd = std::sqrt((a.sd * a.sd + b.sd * b.sd) / 2);
        c.observationsNeeded = ObservationsForMeans(std::fabs(c.difference), sd);
    }
    return c;
}

NonInferiorityOutcome TestNonInferiority(const MeanSummary& a, const MeanSummary& b, const Margin& margin,
                                         Better better, double alpha)
{
    if (const auto problem = MarginProblem(margin)) {
        return *problem;
    }
    const double va = a.sd * a.sd / a.n, vb = b.sd * b.sd / b.n;
    // How much better B is, the way better goes, plus the margin allowed.
    const double sign = better == Better::Higher ? 1 : -1;
    double estimate = 0, error = 0;
    if (margin.kind == MarginKind::Points) {
        estimate = sign * (b.mean - a.mean) + margin.size;
        error = std::sqrt(va + vb);
    } else {
        if (!(a.mean > 0 && b.mean > 0)) {
            return Problem(Reason::RelativeMarginNeedsPositiveMeans, Input::Margin);
        }
        const double allowed = better == Better::Higher ? -math::Log1p(-margin.size / 100) : math::Log1p(margin.size / 100);
        estimate = sign * math::Log(b.mean / a.mean) + allowed;
        error = std::sqrt(vb / (b.mean * b.mean) + va / (a.mean * a.mean));
    }
    return TestNonInferiority(estimate, error, alpha);
}

Outcome<double> ObservationsForMeans(double delta, double sd, double alpha, double power)
{
    if (!(alpha > 0 && alpha < 1)) {
        return Problem(Reason::AlphaOutOfRange, Input::Alpha);
    }
    if (!(power > 0 && power < 1)) {
        return Problem(Reason::PowerOutOfRange, Input::Power);
    }
    if (sd < 0) {
        return Reason::NegativeSpread;
    }
    if (delta == 0) {
        return Problem(Reason::ZeroEffect, Input::Effect);
    }
    if (sd == 0) {
        return Reason::NoVariation;
    }
    // The power of n observations a version: the noncentral t beyond the
    // two-sided critical value, with 2 (n - 1) degrees of freedom.
    const double effect = std::fabs(delta) / sd;
    const auto shortfall = [&](double n) {
        const double df = 2 * (n - 1);
        const double critical = math::StudentTUpperQuantile(alpha / 2, df);
        return math::NoncentralTUpperTail(critical, df, std::sqrt(n / 2) * effect) - power;
    };
    // The normal approximation to start; the t's heavier tails need a little more.
    const double zSum = math::NormalQuantile(1 - alpha / 2) + math::NormalQuantile(power);
    double high = std::fmax(2.0, 2 * zSum * zSum / (effect * effect) + 2);
    if (!Finite(high) || high > 1e15) {
        return Reason::TooManyObservations;
    }
    while (shortfall(high) < 0) {
        high *= 2;
        if (high > 1e15) {
            return Reason::TooManyObservations;
        }
    }
    double low = 2;
    if (shortfall(low) >= 0) {
        return low;
    }
    // The secant's guess, kept inside the bracket (Illinois' rule keeps it from stalling).
    double fLow = shortfall(low);
    double fHigh = shortfall(high);
    for (int i = 0; i < 200 && high - low > 1e-9 * high; ++i) {
        const double guess = high - fHigh * (high - low) / (fHigh - fLow);
        const double fGuess = shortfall(guess);
        if (fGuess >= 0) {
            high = guess;
            fHigh = fGuess;
            fLow /= 2;
        } else {
            low = guess;
            fLow = fGuess;
            fHigh /= 2;
        }
    }
    return high;
}

}  // namespace ambrelay

#include "engine/chance_to_beat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include "engine/hypergeometric.h"
#include "engine/portable_math.h"

namespace ambrelay {
namespace {

constexpr double kNegligible = 1e-12;  // far below the 1e-4 the figure is good for
// The figure is good to 1e-4 up to a billion observations a version; beyond,
// the differences of log-gammas in the closed form lose that precision and
// its terms grow too many to sum in good time.
constexpr double kLargestViews = 1e9;

struct Rate {
    double alpha;  // 1 + responses
    double beta;   // 1 + non-responses
};

double LogBeta(double a, double b) { return math::LogGamma(a) + math::LogGamma(b) - math::LogGamma(a + b); }

// P(q > p) for p ~ Beta(p.alpha, p.beta), q ~ Beta(q.alpha, q.beta) with a
// whole q.alpha, as the finite sum over i < q.alpha of
//   t(i) = B(p.alpha + i, p.beta + q.beta) / ((q.beta + i) B(1 + i, q.beta) B(p.alpha, p.beta)).
// Successive terms differ by a simple ratio, and they rise to one peak and
// fall, so only the terms around the peak are summed: from it outward until
// a term no longer counts.
double ClosedForm(Rate p, Rate q)
{
    const auto logTerm = [&](double i) {
        return LogBeta(p.alpha + i, p.beta + q.beta) - math::Log(q.beta + i) - LogBeta(1 + i, q.beta)
               - LogBeta(p.alpha, p.beta);
    };
    // t(i + 1) / t(i), and the peak where that ratio is one.
    const auto ratio = [&](double i) {
        return (p.alpha + i) * (q.beta + i) / ((p.alpha + p.beta + q.beta + i) * (i + 1));
    };
    const double last = q.alpha - 1;
    const double peak = std::clamp(std::floor((p.alpha * q.beta - (p.alpha + p.beta + q.beta)) / (p.beta + 1)), 0.0,
                                   last);
    const double logPeak = logTerm(peak);
    double sum = 1;  // in units of t(peak)
    double term = 1;
    for (double i = peak; i < last;) {
        term *= ratio(i);
        ++i;
        sum += term;
        if (term < kNegligible * sum) {
            break;
        }
    }
    term = 1;
    for (double i = peak; i > 0;) {
        --i;
        term /= ratio(i);
        sum += term;
        if (term < kNegligible * sum) {
            break;
        }
    }
    return std::clamp(sum * math::Exp(logPeak), 0.0, 1.0);
}

// The same probability by integration, for counts with fractions, where the
// closed form has no whole number of terms: the density of p times the
// chance that q lies above it.
double Integrated(Rate p, Rate q)
{
    const auto f = [&](double x) {
        return math::BetaDensity(x, p.alpha, p.beta) * math::BetaUpperTail(x, q.alpha, q.beta);
    };
    // Most of p's mass lies within a few spreads of its mean; split there so
    // the quadrature sees the peak.
    const double mean = p.alpha / (p.alpha + p.beta);
    const double spread = std::sqrt(mean * (1 - mean) / (p.alpha + p.beta + 1));
    const double low = std::max(0.0, mean - 12 * spread);
    const double high = std::min(1.0, mean + 12 * spread);
    using Quadrature = boost::math::quadrature::gauss_kronrod<double, 61>;
    return std::clamp(Quadrature::integrate(f, low, high, 15, 1e-10), 0.0, 1.0);
}

}  // namespace

Outcome<double> ChanceToBeat(const Counts& c, Version ahead)
{
    if (c.responses1 < 0 || c.responses2 < 0 || c.responses1 > c.views1 || c.responses2 > c.views2) {
        return Reason::NoTable;
    }
    if (c.views1 > kLargestViews || c.views2 > kLargestViews) {
        return Reason::TooLargeForChance;
    }
    const bool whole = std::floor(c.views1) == c.views1 && std::floor(c.responses1) == c.responses1
                       && std::floor(c.views2) == c.views2 && std::floor(c.responses2) == c.responses2;
    if (whole) {
        // With flat priors, the leader's rate is the higher exactly as often
        // as a hypergeometric count stays at or below the leader's responses:
        // the population holds both versions' views and two more, the
        // responses and one more are marked, and the leader's views and one
        // more are drawn.
        const double leaderViews = ahead == Version::A ? c.views1 : c.views2;
        const double otherViews = ahead == Version::A ? c.views2 : c.views1;
        const double leaderResponses = ahead == Version::A ? c.responses1 : c.responses2;
        const Margins m{leaderViews + 1, otherViews + 1, c.responses1 + c.responses2 + 1};
        const double chance = LowerTail(m, leaderResponses);
        return std::isfinite(chance) ? Outcome<double>(chance) : Reason::BeyondDoubles;
    }
    const Rate a{1 + c.responses1, 1 + c.views1 - c.responses1};
    const Rate b{1 + c.responses2, 1 + c.views2 - c.responses2};
    const Rate leader = ahead == Version::A ? a : b;
    const Rate other = ahead == Version::A ? b : a;
    // P(leader > other) four ways: directly, one minus the reverse, and the
    // same two for the non-response rates, which are Beta(beta, alpha) and
    // order the other way. The one with the fewest terms is cheapest.
    struct Way {
        Rate p, q;
        bool complement;
    };
    const std::array<Way, 4> ways{{
        {other, leader, false},
        {leader, other, true},
        {{leader.beta, leader.alpha}, {other.beta, other.alpha}, false},
        {{other.beta, other.alpha}, {leader.beta, leader.alpha}, true},
    }};
    const Way* best = nullptr;
    for (const Way& way : ways) {
        if (std::floor(way.q.alpha) == way.q.alpha && (!best || way.q.alpha < best->q.alpha)) {
            best = &way;
        }
    }
    const double chance = best ? ClosedForm(best->p, best->q) : Integrated(other, leader);
    if (!std::isfinite(chance)) {
        return Reason::BeyondDoubles;
    }
    return best && best->complement ? 1 - chance : chance;
}

}  // namespace ambrelay

#include "engine/best_version.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <boost/math/quadrature/gauss.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>

#include "engine/chance_to_beat.h"
#include "engine/portable_math.h"

namespace ambrelay {
namespace {

using Quadrature = boost::math::quadrature::gauss_kronrod<double, 61>;
using Panel = boost::math::quadrature::gauss<double, 10>;
constexpr double kTolerance = 1e-10;  // the figure is good to 1e-9; the integrand's own rounding is near 1e-12
constexpr unsigned kMostHalvings = 8;  // below that, the rounding of the integrand only costs time
constexpr double kLargestViews = 1e9;
constexpr double kTail = 1e-18;  // the mass left outside a version's range, at each end
constexpr double kPanelSds = 2;  // a panel's width at most, in standard deviations: ten points integrate it to 1e-12

// A rate's flat-prior posterior, Beta(a, b), and where it holds its mass.
struct Posterior {
    double a = 1, b = 1;
    double sd = 0;
    double low = 0, high = 1;  // all the mass but kTail at each end
};

// Where Beta(a, b) holds all its mass but kTail at each end, by bisection on
// its tails between the mean and 45 standard deviations away, beyond which
// not even a rate with no responses keeps 1e-18 (its tail falls as
// exp(-(t + 1)) at t standard deviations): a rate with few responses is far
// from normal, and a range of a few standard deviations would cut its long
// tail short. A tenth of a standard deviation is close enough.
Posterior PosteriorOf(const RateCounts& v)
{
    Posterior p;
    p.a = 1 + v.responses;
    p.b = 1 + v.views - v.responses;
    const double mean = p.a / (p.a + p.b);
    p.sd = std::sqrt(mean * (1 - mean) / (p.a + p.b + 1));
    const auto edge = [&](double inside, double outside, auto tailBeyond) {
        while (std::fabs(outside - inside) > p.sd / 10) {
            const double middle = (inside + outside) / 2;
            (tailBeyond(middle) > kTail ? inside : outside) = middle;
        }
        return outside;
    };
    p.low = edge(mean, std::max(0.0, mean - 45 * p.sd), [&](double x) { return math::BetaUpperTail(1 - x, p.b, p.a); });
    p.high = edge(mean, std::min(1.0, mean + 45 * p.sd), [&](double x) { return math::BetaUpperTail(x, p.a, p.b); });
    return p;
}

// The panels the integrals share, from the lowest version's range to the
// highest's: none wider than the narrowest standard deviation of the
// versions whose range it lies in, and none across where a range starts.
// Where no version holds mass, no panel.
std::vector<std::pair<double, double>> Panels(const std::vector<Posterior>& versions)
{
    std::vector<std::pair<double, double>> panels;
    double x = 1, end = 0;
    for (const Posterior& p : versions) {
        x = std::min(x, p.low);
        end = std::max(end, p.high);
    }
    while (x < end) {
        double step = end - x, nextStart = end;
        bool inside = false;
        for (const Posterior& p : versions) {
            if (x >= p.low && x < p.high) {
                step = std::min(step, kPanelSds * p.sd);
                inside = true;
            } else if (p.low > x) {
                nextStart = std::min(nextStart, p.low);
            }
        }
        const double next = std::min(x + step, nextStart);
        if (inside) {
            panels.emplace_back(x, next);
        }
        x = next;
    }
    return panels;
}

// For each version, the integral of its density times every other's
// distribution function, over the panels they share: every density and
// distribution function found once a point, each product of the others'
// from the products before and after it.
std::vector<double> ChancesOfRates(const std::vector<Posterior>& versions)
{
    const std::size_t k = versions.size();
    std::vector<double> chances(k, 0.0), density(k), below(k), before(k + 1), after(k + 1);
    const auto add = [&](double x, double weight) {
        for (std::size_t i = 0; i < k; ++i) {
            const Posterior& p = versions[i];
            const bool in = x >= p.low && x <= p.high;
            density[i] = in ? math::BetaDensity(x, p.a, p.b) : 0.0;
            below[i] = x < p.low ? 0.0 : x > p.high ? 1.0 : 1 - math::BetaUpperTail(x, p.a, p.b);
        }
        before[0] = after[k] = 1;
        for (std::size_t i = 0; i < k; ++i) {
            before[i + 1] = before[i] * below[i];
            after[k - 1 - i] = after[k - i] * below[k - 1 - i];
        }
        for (std::size_t j = 0; j < k; ++j) {
            chances[j] += weight * density[j] * before[j] * after[j + 1];
        }
    };
    const auto& nodes = Panel::abscissa();
    const auto& weights = Panel::weights();
    for (const auto& [from, to] : Panels(versions)) {
        const double half = (to - from) / 2, middle = (to + from) / 2;
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            const double w = weights[n] * half;
            if (nodes[n] == 0) {
                add(middle, w);
            } else {
                add(middle - half * nodes[n], w);
                add(middle + half * nodes[n], w);
            }
        }
    }
    return chances;
}

template <typename F>
double Integral(F f, double from, double to)
{
    return from < to ? Quadrature::integrate(f, from, to, kMostHalvings, kTolerance) : 0.0;
}

// Each chance from the integrals, which add up to 1 but for the quadrature's
// own error: scaled so that they do, and kept within [0, 1].
std::vector<double> Normalised(std::vector<double> chances)
{
    double sum = 0;
    for (const double c : chances) {
        sum += c;
    }
    for (double& c : chances) {
        c = std::clamp(sum > 0 ? c / sum : 0.0, 0.0, 1.0);
    }
    return chances;
}

}  // namespace

Outcome<std::vector<double>> ChanceToBeBest(std::span<const RateCounts> versions)
{
    for (const RateCounts& v : versions) {
        if (!(v.responses >= 0 && v.responses <= v.views)) {
            return Reason::NoTable;
        }
        if (v.views > kLargestViews) {
            return Reason::TooLargeForChance;
        }
    }
    if (versions.size() == 2) {
        const Counts c{versions[0].views, versions[0].responses, versions[1].views, versions[1].responses};
        const Outcome<double> b = ChanceToBeat(c, Version::B);
        if (!b) {
            return b.Failure();
        }
        return std::vector<double>{1 - *b, *b};
    }
    std::vector<Posterior> posteriors;
    for (const RateCounts& v : versions) {
        posteriors.push_back(PosteriorOf(v));
    }
    std::vector<double> chances = ChancesOfRates(posteriors);
    if (!std::all_of(chances.begin(), chances.end(), [](double c) { return std::isfinite(c); })) {
        return Reason::BeyondDoubles;
    }
    return Normalised(std::move(chances));
}

Outcome<std::vector<double>> ChanceToBeBest(std::span<const MeanSummary> versions, Better better)
{
    const double sign = better == Better::Higher ? 1 : -1;
    if (versions.size() == 2) {
        // As the comparison of two averages has it: the t of B against A.
        const double va = versions[0].sd * versions[0].sd / versions[0].n;
        const double vb = versions[1].sd * versions[1].sd / versions[1].n;
        const double t = (versions[1].mean - versions[0].mean) / std::sqrt(va + vb);
        if (!std::isfinite(t)) {
            return Reason::NoVariation;
        }
        const double b = math::NormalCdf(sign * t);
        return std::vector<double>{1 - b, b};
    }
    std::vector<double> chances;
    for (std::size_t j = 0; j < versions.size(); ++j) {
        const MeanSummary& v = versions[j];
        const double error = v.sd / std::sqrt(v.n);
        if (!(error > 0) || !std::isfinite(error)) {
            return Reason::NoVariation;
        }
        // In the units of j's own standard error: z = (x - mean_j) / error_j.
        const auto f = [&](double z) {
            double product = math::Exp(-z * z / 2) / std::sqrt(2 * 3.14159265358979323846);
            for (std::size_t i = 0; i < versions.size() && product > 0; ++i) {
                if (i != j) {
                    const double other = versions[i].sd / std::sqrt(versions[i].n);
                    product *= math::NormalCdf(sign * (v.mean + error * z - versions[i].mean) / other);
                }
            }
            return product;
        };
        chances.push_back(Integral(f, -16.0, 16.0));
    }
    return Normalised(std::move(chances));
}

}  // namespace ambrelay

#include "engine/best_version.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include "engine/chance_to_beat.h"
#include "engine/portable_math.h"

namespace ambrelay {
namespace {

using Quadrature = boost::math::quadrature::gauss_kronrod<double, 61>;
constexpr double kTolerance = 1e-10;  // the figure is good to 1e-9; the integrand's own rounding is near 1e-12
constexpr unsigned kMostHalvings = 8;  // below that, the rounding of the integrand only costs time
constexpr double kLargestViews = 1e9;

constexpr double kTail = 1e-18;  // the mass left outside an integral's range, at each end

template <typename F>
double Integral(F f, double from, double to)
{
    return from < to ? Quadrature::integrate(f, from, to, kMostHalvings, kTolerance) : 0.0;
}

// Where Beta(a, b) holds all its mass but kTail at each end, found by
// bisection on its tails: a rate with few responses is far from normal, and
// its long upper tail would be cut short by a range of standard deviations.
std::pair<double, double> BetaRange(double a, double b)
{
    const double mean = a / (a + b);
    const auto edge = [](double inside, double outside, auto tailBeyond) {
        for (int i = 0; i < 64; ++i) {
            const double middle = (inside + outside) / 2;
            (tailBeyond(middle) > kTail ? inside : outside) = middle;
        }
        return outside;
    };
    const double low = edge(mean, 0.0, [&](double x) { return math::BetaUpperTail(1 - x, b, a); });
    const double high = edge(mean, 1.0, [&](double x) { return math::BetaUpperTail(x, a, b); });
    return {low, high};
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
    std::vector<double> chances;
    for (std::size_t j = 0; j < versions.size(); ++j) {
        const double a = 1 + versions[j].responses, b = 1 + versions[j].views - versions[j].responses;
        const auto f = [&](double x) {
            double product = math::BetaDensity(x, a, b);
            for (std::size_t i = 0; i < versions.size() && product > 0; ++i) {
                if (i != j) {
                    const RateCounts& v = versions[i];
                    product *= 1 - math::BetaUpperTail(x, 1 + v.responses, 1 + v.views - v.responses);
                }
            }
            return product;
        };
        const auto [from, to] = BetaRange(a, b);
        chances.push_back(Integral(f, from, to));
    }
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

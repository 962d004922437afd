#include "engine/hypergeometric.h"

#include <algorithm>
#include <cmath>

#include "engine/portable_math.h"

namespace ambrelay {
namespace {

constexpr double kNegligible = 1e-17;  // what may be left unsummed, relative to the sum

// The sum of P(x) / P(a) outward from x. The tails of large tables run to
// hundreds of terms, so four steps share one division: the next block's
// weight waits only on that division, and the three terms between are
// worked out beside it.
template <bool kUpward>
double Tail(const Margins& m, double x, double weight)
{
    const double end = kUpward ? m.Highest() : m.Lowest();
    // P(x + 1) / P(x) going up, P(x - 1) / P(x) going down, as a fraction.
    const auto numerator = [&](double at) { return kUpward ? (m.k - at) * (m.n1 - at) : at * (m.n2 - m.k + at); };
    const auto denominator = [&](double at) {
        return kUpward ? (at + 1) * (m.n2 - m.k + at + 1) : (m.k - at + 1) * (m.n1 - at + 1);
    };
    const double step = kUpward ? 1 : -1;
    double sum = weight;
    while (std::fabs(end - x) >= 4) {
        const double n0 = numerator(x), d0 = denominator(x);
        // Outward from the mode the ratios only fall, so what is left after
        // this term is at most weight * r / (1 - r) for the current ratio r.
        if (n0 < d0 && weight * n0 < kNegligible * sum * (d0 - n0)) {
            return sum;
        }
        const double n1 = numerator(x + step), d1 = denominator(x + step);
        const double n2 = numerator(x + 2 * step), d2 = denominator(x + 2 * step);
        const double n3 = numerator(x + 3 * step), d3 = denominator(x + 3 * step);
        const double scale = weight / (d0 * d1 * d2 * d3);
        const double t1 = scale * n0 * (d1 * d2 * d3);
        const double t2 = scale * (n0 * n1) * (d2 * d3);
        const double t3 = scale * (n0 * n1) * n2 * d3;
        weight = scale * ((n0 * n1) * (n2 * n3));
        sum += (t1 + t2) + (t3 + weight);
        x += 4 * step;
    }
    while (x != end) {
        weight *= numerator(x) / denominator(x);
        sum += weight;
        x += step;
    }
    return sum;
}

}  // namespace

double Margins::Lowest() const { return std::max(0.0, k - n2); }

double Margins::Highest() const { return std::min(k, n1); }

double Margins::Mode() const { return std::floor((n1 + 1) * (k + 1) / (n1 + n2 + 2)); }

double TableProbability(const Margins& m, double a)
{
    const double n = m.n1 + m.n2;
    const double p = m.n1 / n;
    const double q = m.n2 / n;
    return math::BinomialDensity(a, m.k, p, q) * math::BinomialDensity(m.n1 - a, n - m.k, p, q)
           / math::BinomialDensity(m.n1, n, p, q);
}

double TailFrom(const Margins& m, double from, double weight, bool upward)
{
    return upward ? Tail<true>(m, from, weight) : Tail<false>(m, from, weight);
}

double LowerTail(const Margins& m, double x)
{
    if (x < m.Lowest()) {
        return 0;
    }
    if (x >= m.Highest()) {
        return 1;
    }
    if (x <= m.Mode()) {
        return std::min(1.0, TableProbability(m, x) * TailFrom(m, x, 1, false));
    }
    const double above = TableProbability(m, x + 1) * TailFrom(m, x + 1, 1, true);
    return std::clamp(1 - above, 0.0, 1.0);
}

}  // namespace ambrelay

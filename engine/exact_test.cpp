#include "engine/exact_test.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/hypergeometric.h"

namespace ambrelay {
namespace {

constexpr double kTieTolerance = 1 + 1e-7;  // as R's fisher.test compares probabilities
constexpr double kLargest = 4294967295.0;   // totals beyond this no longer fit the table's counts

bool Whole(double x) { return std::floor(x) == x; }

// The first table on the far side of the mode that is no more likely than
// the observed one, with its weight P(x) / P(a). The search starts at the
// observed table's mirror image about the mean, where the normal shape puts
// it, and walks the few steps to the exact place.
struct FarSide {
    double x;
    double weight;
    bool exists;
};

FarSide FirstNoMoreLikely(const Margins& m, double a, double observed, bool upward)
{
    const double mode = m.Mode();
    const double end = upward ? m.Highest() : m.Lowest();
    const double first = upward ? mode + 1 : mode - 1;  // the nearest table beyond the mode
    if (upward ? first > end : first < end) {
        return {0, 0, false};
    }
    const double mean = m.n1 * m.k / (m.n1 + m.n2);
    double x = std::clamp(std::round(2 * mean - a), std::min(first, end), std::max(first, end));
    double weight = TableProbability(m, x) / observed;
    const auto outward = [&](double from) { return upward ? m.Up(from) : m.Down(from); };
    const auto inward = [&](double from) { return upward ? m.Down(from) : m.Up(from); };
    // Outward while still more likely than the observed table.
    while (weight > kTieTolerance) {
        if (x == end) {
            return {0, 0, false};
        }
        weight *= outward(x);
        x += upward ? 1 : -1;
    }
    // Inward while the next table toward the mode is no more likely either.
    while (x != first) {
        const double w = weight * inward(x);
        if (w > kTieTolerance) {
            break;
        }
        weight = w;
        x -= upward ? 1 : -1;
    }
    return {x, weight, true};
}

}  // namespace

ExactTestOutcome FisherExactTest(const Counts& c, Version leader)
{
    if (!Whole(c.views1) || !Whole(c.responses1) || !Whole(c.views2) || !Whole(c.responses2)) {
        return Reason::NotWholeCounts;
    }
    if (c.responses1 < 0 || c.responses2 < 0 || c.responses1 > c.views1 || c.responses2 > c.views2) {
        return Reason::NoTable;
    }
    if (c.views1 + c.views2 > kLargest) {
        return Reason::TooLargeForTable;
    }
    const Margins m{c.views1, c.views2, c.responses1 + c.responses2};
    const double a = c.responses1;
    if (m.Lowest() == m.Highest()) {
        return ExactTest{};
    }
    const double observed = TableProbability(m, a);
    if (!(observed > 0)) {
        // So unlikely a table that no double holds its probability: both p
        // values lie below the smallest double.
        return ExactTest{0, 0};
    }
    const double mode = m.Mode();
    const bool aboveMode = a >= mode;

    // Two-sided: the observed table's own tail, from the nearest table to the
    // mode that is no more likely (a near tie counts as equal), and the far tail.
    double start = a;
    double startWeight = 1;
    while (start != mode) {
        const double next = aboveMode ? start - 1 : start + 1;
        const double w = startWeight * (aboveMode ? m.Down(start) : m.Up(start));
        if (w > kTieTolerance) {
            break;
        }
        start = next;
        startWeight = w;
    }
    const double ownTail = TailFrom(m, start, startWeight, aboveMode);
    double twoSided = ownTail;
    const FarSide far = FirstNoMoreLikely(m, a, observed, !aboveMode);
    if (far.exists) {
        twoSided += TailFrom(m, far.x, far.weight, !aboveMode);
    }
    ExactTest test;
    test.twoSided = std::min(1.0, observed * twoSided);

    // One-sided, toward the version ahead: P(a or more) when A leads, else
    // P(a or less). A tail that holds the mode is one minus the other tail.
    const bool upward = leader == Version::A;
    const bool away = upward == aboveMode || a == mode;
    if (away) {
        // Most often the very tail summed above.
        const double tail = upward == aboveMode && start == a ? ownTail : TailFrom(m, a, 1, upward);
        test.oneSided = std::min(1.0, observed * tail);
    } else {
        const double beyond = upward ? a - 1 : a + 1;
        const double weight = upward ? m.Down(a) : m.Up(a);
        const bool inside = upward ? a > m.Lowest() : a < m.Highest();
        test.oneSided = inside ? std::max(0.0, 1 - observed * TailFrom(m, beyond, weight, !upward)) : 1.0;
    }
    return test;
}

}  // namespace ambrelay

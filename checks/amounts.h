#pragma once
// Percentages, shares, percentiles, margins and planned totals as a person
// writes them, read alike for every option of every door. "99%" is always a
// percent. What a bare number means is the option's to say: a percent for a
// share, a percentile or a relative margin (90 is 90%), a fraction for a
// ratio, a level or a power (0.1 is 10%). A bare number that could as well
// be the other is refused with both spellings rather than guessed at.

#include <string_view>
#include <vector>

#include "checks/given_values.h"
#include "engine/looking_early.h"
#include "engine/multiple_comparisons.h"
#include "engine/outcome.h"

namespace ambrelay {

enum class Amount {
    Percent,       // a bare number is a percent; one above 0 and at most 1 could be a fraction
    Fraction,      // a bare number is a fraction; one above 1 and at most 100 could be a percent
    PercentShown,  // a window's field that shows its unit, %, beside it: a bare number is a percent
};

// The amount in percent: PercentOrFraction, FractionNotPercent or NotANumber
// (or NoNumber) at `from` when it cannot be read.
Outcome<double> ReadPercent(std::string_view text, Amount bare, const Origin& from);

// The same for a number a script handed over: read as its shortest text is.
Outcome<double> GivenPercent(double x, Amount bare, const Origin& from);

// A number in percentage points (or a share among others that add up to
// 100): a % sign after it says the same.
Outcome<double> ReadPoints(std::string_view text, const Origin& from);

// A percentile above 0 and below 100, read as a percent.
Outcome<double> ReadPercentile(std::string_view text, const Origin& from);

// A relative margin (a percent of A's) or one in points or the metric's
// units (a plain number), and within its range.
Outcome<Margin> ReadMargin(std::string_view text, MarginKind kind, const Origin& from,
                           Amount bare = Amount::Percent);

// The observations in all a test is planned to reach: a number above 0.
Outcome<double> ReadPlanned(std::string_view text, const Origin& from);

// How the observations were meant to split: A's share in percent ("90",
// "90%"), or every version's ("90/10", "50/25/25"), which then must add up to
// 100. Each share lies above 0 and below 100.
struct Split {
    std::vector<double> sharesPercent;  // one a version given, or A's alone

    // A's share, where there are two versions.
    double SharePercentA() const { return sharesPercent.front(); }
};
// A correction of p values by the name R gives it (case aside): holm,
// hochberg, BH (or fdr), bonferroni or none; UnknownAdjustment for any other.
Outcome<Adjustment> ReadAdjustment(std::string_view text, const Origin& from);

Outcome<Split> ReadSplit(std::string_view text, const Origin& from, Amount bare = Amount::Percent);

// A split fitted to a test of `versions` versions: A's share alone serves two.
Outcome<Split> SplitFor(const Split& split, std::size_t versions, const Origin& from);

}  // namespace ambrelay

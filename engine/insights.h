#pragma once
// What a user may want beyond the verdict, from the same four counts: how
// big the difference is, how sure we are of its size, and how large a test
// would need to be. Computed apart from the verdict, which it never changes.

#include <optional>
#include <string>

#include "engine/comparison_result.h"
#include "numbers/counts.h"

namespace ambrelay {

struct Insights {
    std::string leader;      // "A" or "B": the version with the higher ratio, "A" when they are equal
    std::string other;       // the other version
    bool identical = false;  // both ratios are the same
    double leaderRatio = 0.0;
    double otherRatio = 0.0;
    double differencePoints = 0.0;       // leader's ratio minus the other's, in percentage points
    std::optional<double> liftPercent;   // how much more often the leader responded; none when the other never did
    double intervalLowPoints = 0.0;      // 95% confidence interval of the difference, unpooled standard error
    double intervalHighPoints = 0.0;
    double oneSidedP = 0.0;              // the normal approximation of the unrounded z, not the table
    double twoSidedP = 0.0;
    std::optional<double> observationsNeeded;  // per version for 80% power at the 5% level; none without a difference
};

// From the counts and the finished z statistic's figures; nothing when a
// figure is beyond what doubles can carry.
std::optional<Insights> ComputeInsights(const Counts& counts, const Calculation& calculation);

// The insights in plain words, for the interpretation's tooltip.
std::string InsightsText(const Insights& insights);

}  // namespace ambrelay

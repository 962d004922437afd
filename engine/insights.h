#pragma once
// What a user may want beyond the verdict, from the same four counts: how
// big the difference is, how sure we are of its size, whether the test
// itself can be trusted, and how large a test would need to be. Computed
// apart from the verdict, which it never changes.

#include <optional>
#include <string>
#include <vector>

#include "engine/comparison_result.h"
#include "engine/exact_test.h"
#include "engine/interval.h"
#include "engine/looking_early.h"
#include "engine/sample_ratio.h"
#include "numbers/counts.h"

namespace ambrelay {

inline constexpr double kSmallestExpectedCell = 5;  // below this the normal approximation is unreliable

enum class WarningCode { SmallSample, SampleRatioMismatch };

// "small_sample", "sample_ratio_mismatch": the names scripts read.
std::string WarningCodeName(WarningCode code);

struct Warning {
    WarningCode code;
    std::string message;  // plain words, one or two sentences
};

struct Insights {
    Version leader = Version::A;  // the version with the higher ratio, A when they are equal
    bool identical = false;  // both ratios are the same
    double leaderRatio = 0.0;
    double otherRatio = 0.0;
    double differencePoints = 0.0;       // leader's ratio minus the other's, in percentage points
    std::optional<double> liftPercent;   // how much more often the leader responded; none when the other never did
    std::optional<Interval> liftIntervalPercent;  // 95%, from the log of the ratio of the two ratios
    Interval ratio1IntervalPercent;      // each version's response ratio, 95% Wilson score interval
    Interval ratio2IntervalPercent;
    double intervalLowPoints = 0.0;      // 95% confidence interval of the difference, unpooled standard error
    double intervalHighPoints = 0.0;
    double oneSidedP = 0.0;              // the normal approximation of the unrounded z, not the table
    double twoSidedP = 0.0;
    ExactTestOutcome exact;              // Fisher's exact test, or why there is none
    std::optional<double> chanceToBeat;  // P(leader's true rate > the other's), flat priors
    double smallestExpectedCell = 0.0;   // of the 2 x 2 table, from the pooled ratio
    std::optional<SampleRatio> sampleRatio;  // against an even split
    std::optional<double> observationsNeeded;  // per version for 80% power at the 5% level; none without a difference
    std::vector<Warning> warnings;       // the test's own trouble, most serious first
    AlwaysValidOutcome alwaysValid;      // the peeking-safe test
    double plannedObservations = kDefaultPlannedObservations;  // in all, behind the peeking-safe test
    bool plannedByUser = false;          // else the default
    std::optional<Margin> margin;        // "not worse than", when the user gave a margin
    NonInferiorityOutcome nonInferiority;  // with a margin

    Version Other() const { return OtherVersion(leader); }
};

// The 95% Wilson score interval of `responses` in `views`, in percent.
Interval WilsonInterval(double responses, double views);

// From the counts and the finished z statistic's figures; nothing when a
// figure is beyond what doubles can carry.
std::optional<Insights> ComputeInsights(const Counts& counts, const Calculation& calculation);

// Fisher's exact test in words: its p value, or why there is none.
std::string ExactTestText(const ExactTestOutcome& exact);


}  // namespace ambrelay

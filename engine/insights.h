#pragma once
// What a user may want beyond the verdict, from the same four counts: how
// big the difference is, how sure we are of its size, whether the test
// itself can be trusted, and how large a test would need to be. Computed
// apart from the verdict, which it never changes.

#include <optional>
#include <vector>

#include "engine/comparison_result.h"
#include "engine/exact_test.h"
#include "engine/interval.h"
#include "engine/looking_early.h"
#include "engine/sample_ratio.h"
#include "numbers/counts.h"

namespace ambrelay {

inline constexpr double kSmallestExpectedCell = 5;  // below this the normal approximation is unreliable

// The test's own trouble, most serious first.
enum class WarningCode {
    SmallSample,
    SampleRatioMismatch,
    SkewedSmallSample,  // averages: too few observations for the normal approximation, given the skewness
    CapOnZero,          // averages: the upper percentile cap falls on 0 and was not applied
    CovariateImbalance,  // averages: the versions differed before the test started
    ConstantCovariate,   // averages: the covariate does not vary, so it adjusts nothing
};

// Which of the insights to work out: all of them unless an output that
// prints only some asks for less, so a table without Fisher's p walks no
// Fisher tail. What the warnings need (the smallest expected cell, the
// split check) is always worked out.
struct InsightParts {
    bool ratioIntervals = true;  // each ratio's Wilson interval
    bool lift = true;            // the lift's interval (the lift itself costs nothing)
    bool normalP = true;         // the normal approximation's p values
    bool exact = true;           // Fisher's exact test; a small sample has it always, for its warning
    bool chance = true;          // the chance to beat
    bool needed = true;          // the observations needed
    bool alwaysValid = true;     // the peeking-safe test
    bool nonInferiority = true;  // "not worse than", given a margin
};

struct Insights {
    Version leader = Version::A;  // the version with the higher ratio, A when they are equal
    bool identical = false;  // both ratios are the same
    double leaderRatio = 0.0;
    double otherRatio = 0.0;
    double differencePoints = 0.0;       // leader's ratio minus the other's, in percentage points
    Outcome<double> liftPercent = Reason::OtherNeverResponded;  // how much more often the leader responded
    std::optional<Interval> liftIntervalPercent;  // 95%, from the log of the ratio of the two ratios
    Interval ratio1IntervalPercent;      // each version's response ratio, 95% Wilson score interval
    Interval ratio2IntervalPercent;
    double intervalLowPoints = 0.0;      // 95% confidence interval of the difference, unpooled standard error
    double intervalHighPoints = 0.0;
    double oneSidedP = 0.0;              // the normal approximation of the unrounded z, not the table
    double twoSidedP = 0.0;
    ExactTestOutcome exact = Reason::NoTable;       // Fisher's exact test
    Outcome<double> chanceToBeat = Reason::NoTable;  // P(leader's true rate > the other's), flat priors
    double smallestExpectedCell = 0.0;   // of the 2 x 2 table, from the pooled ratio
    double splitPercentA = 50;           // A's intended share of the observations
    Outcome<SampleRatio> sampleRatio = Reason::NoSplit;  // against the intended split
    Outcome<double> observationsNeeded = Reason::NoDifference;  // per version for 80% power at the 5% level
    std::vector<WarningCode> warnings;
    AlwaysValidOutcome alwaysValid = Reason::NoObservationsOfBoth;  // the peeking-safe test
    double plannedObservations = kDefaultPlannedObservations;  // in all, behind the peeking-safe test
    bool plannedByUser = false;          // else the default
    std::optional<Margin> margin;        // "not worse than", when the user gave a margin
    std::optional<NonInferiorityOutcome> nonInferiority;  // with a margin

    Version Other() const { return OtherVersion(leader); }
};

// The 95% Wilson score interval of `responses` in `views`, in percent.
Interval WilsonInterval(double responses, double views);

// From the counts and the finished z statistic's figures. With counts at
// the edge of what doubles carry a figure may come out infinite or NaN; the
// figures layer shows such a figure as missing.
// `intervalLevel` is the two-sided level of the difference's and the lift's intervals.
Insights ComputeInsights(const Counts& counts, const ComparisonResult& calculation, double splitPercentA = 50,
                         double intervalLevel = 0.95, const InsightParts& parts = {});

}  // namespace ambrelay

#pragma once
// Averages: revenue per visitor, order value, minutes on a page. Welch's t
// test of the difference of two means, the relative lift with its interval,
// the chance that the leader's true mean is the better one, the split check
// and the observations a test needs, from each version's count, mean and
// standard deviation.

#include "engine/interval.h"
#include "engine/looking_early.h"
#include "engine/outcome.h"
#include "engine/sample_ratio.h"
#include "engine/version.h"

namespace ambrelay {

// One version's observations, summarised.
struct MeanSummary {
    double n = 0.0;     // observations
    double mean = 0.0;
    double sd = 0.0;    // sample standard deviation (n - 1 in the divisor)
};

enum class Better { Higher, Lower };  // which way a mean is better: revenue up, load time down

struct MeansComparison {
    Interval intervalA, intervalB;  // each version's mean, 95% (Student's t with n - 1 degrees of freedom)
    double difference = 0.0;    // B's mean minus A's
    Interval differenceInterval;  // 95%, Welch's
    double standardError = 0.0;
    double t = 0.0;             // difference / standard error
    double degreesOfFreedom = 0.0;  // Welch-Satterthwaite
    double pTwoSided = 1.0;
    double pOneSided = 0.5;     // toward the leader
    Version leader = Version::A;  // the better mean, A when they are equal
    bool identical = false;
    Outcome<double> liftPercent = Reason::NoDifference;  // the leader's mean over the other's, minus one
    Outcome<Interval> liftIntervalPercent = Reason::NoDifference;  // 95%, delta method
    double chanceBetter = 0.5;  // P(the leader's true mean is the better one), normal approximation
    Outcome<SampleRatio> sampleRatio = Reason::NoSplit;
    Outcome<double> observationsNeeded = Reason::NoDifference;  // per version, 80% power at 5%, two-sided
};

// The normal quantile of a two-sided interval at `intervalLevel`: 1.96 for 95%.
double IntervalZ(double intervalLevel);

// FewerThanTwoObservations, NegativeSpread, NoVariation (both standard
// deviations zero) or BeyondDoubles when there is no test.
// With `ratios`, each summary is a ratio metric's (its s^2 / n the delta
// method's variance) and the test is a z test: no degrees of freedom, which
// are then infinite.
// `splitPercentA` is A's intended share of the observations, for the split
// check; `intervalLevel` the two-sided level of the difference's and the
// lift's intervals.
Outcome<MeansComparison> CompareMeans(const MeanSummary& a, const MeanSummary& b, Better better = Better::Higher,
                                      bool ratios = false, double splitPercentA = 50, double intervalLevel = 0.95);

// "B is not worse than A by more than the margin": relative (percent of A's
// mean, from the log of the ratio of the means, both above 0) or in the
// metric's units (MarginKind::Points), with "worse" the way `better` says.
// A z test on the standard errors of the summaries.
NonInferiorityOutcome TestNonInferiority(const MeanSummary& a, const MeanSummary& b, const Margin& margin,
                                         Better better, double alpha = kLookingAlpha);

// Observations per version for a two-sided t test at `alpha` to detect
// `delta` with `power`, both versions of standard deviation `sd`: the n
// (unrounded) at which the noncentral t gives that power.
Outcome<double> ObservationsForMeans(double delta, double sd, double alpha = 0.05, double power = 0.8);

}  // namespace ambrelay

#pragma once
// Two averages compared from each version's summary (observations, average,
// standard deviation): Welch's test and everything around it, the
// peeking-safe test, "not worse than" and the split check, as numbers.

#include <optional>
#include <vector>

#include "engine/covariate.h"
#include "engine/insights.h"
#include "engine/means.h"
#include "engine/outcome.h"

namespace ambrelay {

// What is asked of a comparison besides the summaries.
struct MeansOptions {
    Better better = Better::Higher;
    bool ratios = false;  // each summary is a ratio metric's: a z test
    std::optional<double> plannedObservations;  // in all, for the peeking-safe test; the default without
    std::optional<Margin> margin;  // "not worse than": relative, or in the metric's units (MarginKind::Points)
    double splitPercentA = 50;     // A's intended share of the observations
    double intervalLevel = 0.95;   // of the difference's and the lift's intervals, wider where a correction asks
};

// Each version's metric with what its users did before the test, and the
// fit over every user, when the comparison takes the covariate out.
struct CovariateRequest {
    CovariateSummary a, b;
    CovariateFit fit;
};

struct MeansRequest {
    MeanSummary a, b;  // with a covariate, the answer's request holds the adjusted ones
    MeansOptions options;
    std::optional<CovariateRequest> covariate;
};

// What the covariate did: θ, each version's variance taken away, the plain
// comparison beside the adjusted one, and whether the versions already
// differed before the test.
struct CovariateAnswer {
    CovariateRequest given;
    double reductionA = 0, reductionB = 0;
    MeansComparison unadjusted;
    Outcome<MeansComparison> balance = Reason::NoVariation;  // Welch's test on the covariate
};

inline constexpr double kImbalanceLevel = 0.001;  // below this p the versions differed before the test

struct MeansAnswer {
    MeansRequest request;
    MeansComparison comparison;
    AlwaysValidOutcome alwaysValid = Reason::NoObservationsOfBoth;
    std::optional<NonInferiorityOutcome> nonInferiority;  // with a margin
    std::vector<WarningCode> warnings;  // most serious first
    std::optional<CovariateAnswer> covariate;
};

// The comparison, or why there is none.
Outcome<MeansAnswer> CompareSummaries(const MeansRequest& request);

// Six summaries as a door hands them over, each read already: observations,
// average and standard deviation of A, then of B. The first that is missing
// or no number, in that order.
Outcome<MeansRequest> SummariesGiven(const Outcome<double> (&six)[6], const MeansOptions& options);

}  // namespace ambrelay

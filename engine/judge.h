#pragma once
// The one entry every front end calls: four counts in, everything a finished
// calculation gives out, or why the counts have no result and which steps
// completed before the stop. Numbers and bands only: the figures layer
// words them.

#include <optional>

#include "engine/comparison_result.h"
#include "engine/insights.h"
#include "engine/zstat.h"
#include "numbers/counts.h"

namespace ambrelay {

// What the user may add to the four counts: the observations in all the
// test is planned to reach, a margin for "not worse than", and how the
// observations were meant to split.
struct JudgeOptions {
    std::optional<double> plannedObservations;  // the default when none
    std::optional<Margin> margin;
    double splitPercentA = 50;  // A's intended share of the observations
    double intervalLevel = 0.95;  // of the difference's and the lift's intervals, wider where a correction asks
    InsightParts parts = {};      // what to work out beyond the verdict: everything unless asked for less
};

struct Judgement {
    Counts counts;                 // as read
    ComparisonResult calculation;  // the fields of the completed steps
    Outcome<Insights, ZStatFailure> result = ZStatFailure{ZStatStep::Views, Reason::OutOfRange};

    bool Finished() const { return static_cast<bool>(result); }
    // Only for a finished judgement.
    const Insights& Figures() const { return *result; }
};

// The z statistic, the table, the verdict and the insights, in that order,
// stopping at the first failure.
Judgement Judge(const Counts& counts, const JudgeOptions& options = {});

// Writes a judgement into the window's form variables: after a failure only
// what the completed steps wrote, after a finished calculation every field.
void StoreFormVariables(const Judgement& judgement, ComparisonResult& variables);

}  // namespace ambrelay

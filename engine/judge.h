#pragma once
// The one entry every front end calls: four counts in, everything a finished
// calculation shows out, or why the counts have no result and which steps
// completed before the stop.

#include <optional>

#include "engine/comparison_result.h"
#include "engine/insights.h"
#include "engine/result_display.h"
#include "engine/zstat.h"
#include "numbers/counts.h"

namespace ambrelay {

// What the user may add to the four counts: the observations in all the
// test is planned to reach, and a margin for "not worse than".
struct JudgeOptions {
    std::optional<double> plannedObservations;  // the default when none
    std::optional<Margin> margin;
    // Whether the window's texts (the p value, the ratios and z as shown) are
    // written. A batch that prints none of them goes without; the verdict is
    // always written.
    bool windowTexts = true;
};

// What a calculation that ran to the end gives: the window's result and
// every figure beyond it.
struct FinishedJudgement {
    ResultView view;
    Insights insights;
};

struct Judgement {
    Counts counts;            // as read
    ComparisonResult calculation;  // the fields of the completed steps
    Outcome<FinishedJudgement, ZStatFailure> result = ZStatFailure{ZStatStep::Views, Reason::OutOfRange};

    bool Finished() const { return static_cast<bool>(result); }
    // Only for a finished judgement.
    const ResultView& View() const { return result->view; }
    const Insights& Figures() const { return result->insights; }
};

// The z statistic, the table, the verdict, what to show and the insights, in
// that order, stopping at the first failure.
Judgement Judge(const Counts& counts, const JudgeOptions& options = {});

// Writes a judgement into the window's form variables: after a failure only
// what the completed steps wrote, after a finished calculation every field.
void StoreFormVariables(const Judgement& judgement, ComparisonResult& variables);

}  // namespace ambrelay

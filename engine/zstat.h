#pragma once
// First stage of the engine: from four counts to the response ratios, the
// pooled ratio and the two-proportion z statistic, rounded and made
// non-negative, with the provisional winner.

#include <optional>

#include "engine/comparison_result.h"
#include "engine/outcome.h"

namespace ambrelay {

// The steps of ComputeZStat in the order they store their results:
// 1 Views1 and Views2, 2 Ratio1, 3 Ratio2, 4 PooledRatio, 5 standard error
// (not stored), 6 z (not stored), 7 ZStat and Winner.
enum class ZStatStep { Views = 1, Ratio1, Ratio2, PooledRatio, StandardError, ZValue };

struct ZStatFailure {
    ZStatStep step;  // the step that failed; the steps before it completed
    Reason reason;  // one of the counts' reasons, NegativeCount to OutOfRange
};

struct ZStatOutcome {
    ComparisonResult result;  // the fields of the completed steps
    std::optional<ZStatFailure> failure;
};

ZStatOutcome ComputeZStat(double views1, double responses1, double views2, double responses2);

// Copies into `variables` the fields of the steps that completed, in their
// order, and leaves every other field as it was: after a failure the window's
// form variables hold exactly what the completed steps wrote.
void StoreCompletedSteps(const ZStatOutcome& outcome, ComparisonResult& variables);

}  // namespace ambrelay

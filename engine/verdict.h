#pragma once
// Last stage of the engine: the one-tailed p value, the likelihood and the
// verdict sentence.

#include "engine/comparison_result.h"

namespace ambrelay {

// Folds Probability (the table's) to the one-tailed p value, sets
// Likelihood = 100 - 100 * p, picks Band and VerdictText, and withdraws the
// winner below a likelihood of 70.
void ComputeVerdict(ComparisonResult& result);

}  // namespace ambrelay

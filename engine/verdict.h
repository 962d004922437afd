#pragma once
// Last stage of the engine: the one-tailed p value, the likelihood and the
// verdict sentence.

#include "engine/comparison_result.h"

namespace ambrelay {

// Folds CumulativeProbability (the table's) to the one-tailed PValue, sets
// Likelihood = 100 - 100 * p, picks Band and VerdictText, and withdraws the
// winner below a likelihood of 70.
void ComputeVerdict(Calculation& result);

}  // namespace ambrelay

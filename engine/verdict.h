#pragma once
// Last stage of the engine: the one-tailed p value, the likelihood and the
// verdict's band. The band's sentence is the figures layer's to word
// (ComputeVerdict there runs this stage and words it).

#include "engine/comparison_result.h"

namespace ambrelay {

// Folds Probability (the table's) to the one-tailed p value, sets
// Likelihood = 100 - 100 * p, picks Band, and withdraws the winner below a
// likelihood of 70.
void DecideVerdict(ComparisonResult& result);

}  // namespace ambrelay

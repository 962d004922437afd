#pragma once
// The verdict in the window's own words: one sentence for each band,
// joined from fixed pieces exactly as the window has always shown them.

#include <string>

#include "engine/comparison_result.h"

namespace ambrelay {

// The sentence of the result's band, with its winner and likelihood.
std::string VerdictSentence(const ComparisonResult& result);

// The last stage of a calculation as the window runs it: folds the
// probability, sets the likelihood and the band, withdraws the winner below
// 70, and puts the band's sentence into VerdictText.
void ComputeVerdict(ComparisonResult& result);

}  // namespace ambrelay

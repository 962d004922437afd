#pragma once
// The probability that the version ahead really has the higher response
// rate: each rate Beta(1 + responses, 1 + non-responses), flat priors.

#include "engine/outcome.h"
#include "engine/version.h"
#include "numbers/counts.h"

namespace ambrelay {

// P(rate of the version ahead > rate of the other): to the last digits for
// whole counts, a hypergeometric tail; to 1e-4 for counts with fractions;
// leader names the version ahead. NoTable when the counts are not a table
// (negative, responses above views), TooLargeForChance beyond a billion
// observations a version.
Outcome<double> ChanceToBeat(const Counts& counts, Version leader);

}  // namespace ambrelay

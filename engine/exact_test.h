#pragma once
// Fisher's exact test of the 2 x 2 table of responses and non-responses of
// the two versions, given its margins.

#include "engine/outcome.h"
#include "engine/version.h"
#include "numbers/counts.h"

namespace ambrelay {

struct ExactTest {
    double twoSided = 1.0;  // tables no more likely than the observed one (relative tolerance 1e-7)
    double oneSided = 1.0;  // tables at least as far in the direction of the version ahead
};

// A test, or why there is none: NotWholeCounts (a count with a fraction: no
// table of whole observations), TooLargeForTable (more than 4,294,967,295
// observations in all) or NoTable (a count below zero or more responses
// than views).
using ExactTestOutcome = Outcome<ExactTest>;

// leader: the direction of the one-sided test, the version ahead.
ExactTestOutcome FisherExactTest(const Counts& counts, Version leader);

}  // namespace ambrelay

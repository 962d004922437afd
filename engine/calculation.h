#pragma once
// The whole calculation for callers without a window: the z statistic, the
// table and the verdict, stopping at the first failure.

#include "engine/zstat.h"

namespace ambrelay {

// Runs ComputeZStat, the table lookup and ComputeVerdict in that order. On
// failure the result holds only the fields of the completed steps.
ZStatOutcome Calculate(double views1, double responses1, double views2, double responses2);

}  // namespace ambrelay

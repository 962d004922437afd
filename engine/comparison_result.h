#pragma once
// The record of one calculation and the verdict's bands.

#include <string>

#include "engine/version.h"

namespace ambrelay {

enum class VerdictBand {
    ClearWinner,     // likelihood 95 or more
    AlmostCertain,   // 90 or more, below 95
    CouldBeWinner,   // 80 or more, below 90
    SlightlyBetter,  // 70 or more, below 80
    TooClose,        // below 70, but not exactly 50
    Identical,       // exactly 50: z statistic 0
};

// The record of one calculation, filled step by step by ComputeZStat, the
// table and ComputeVerdict. The window keeps the last one as its form
// variables: after a calculation that stopped early, the fields of the steps
// it did not reach hold what the calculation before wrote.
struct ComparisonResult {
    double Views1 = 0.0;
    double Views2 = 0.0;
    double Ratio1 = 0.0;         // responses1 / views1, unrounded
    double Ratio2 = 0.0;         // responses2 / views2, unrounded
    double PooledRatio = 0.0;    // all responses over all views
    double StandardError = 0.0;  // of the difference, from the pooled ratio
    double Z = 0.0;              // unrounded and signed: positive when version 1 is ahead
    double ZStat = 0.0;          // |z| rounded to two decimals
    Winner winner;               // none until the z statistic names one
    double Probability = 0.0;    // the table's value for ZStat, then folded to the one-tailed p value
    double Likelihood = 0.0;     // 100 - 100 * p value, a percentage
    VerdictBand Band = VerdictBand::Identical;
    std::string VerdictText;     // the band's sentence, which the figures layer words
};

}  // namespace ambrelay

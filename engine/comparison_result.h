#pragma once
// The records of one calculation: the engine's own, and the form variables
// the window keeps between events in their documented types.

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

// The engine's record, filled step by step by ComputeZStat, the table and
// ComputeVerdict.
struct Calculation {
    double Views1 = 0.0;
    double Views2 = 0.0;
    double Ratio1 = 0.0;         // responses1 / views1, unrounded
    double Ratio2 = 0.0;         // responses2 / views2, unrounded
    double PooledRatio = 0.0;    // all responses over all views
    double StandardError = 0.0;  // of the difference, from the pooled ratio
    double Z = 0.0;              // unrounded and signed: positive when version 1 is ahead
    double ZStat = 0.0;          // |z| rounded to two decimals
    Winner winner;  // none until the z statistic names one
    double CumulativeProbability = 0.0;  // the table's value for ZStat
    double PValue = 0.0;                 // folded to one tail
    double Likelihood = 0.0;             // 100 - 100 * p value, a percentage
    VerdictBand Band = VerdictBand::Identical;
    std::string VerdictText;
};

// The window's form variables. Winner is empty before the first calculation;
// Probability holds the table's cumulative probability and, once the verdict
// has folded it, the one-tailed p value.
struct ComparisonResult {
    double Views1 = 0.0;
    double Views2 = 0.0;
    double Ratio1 = 0.0;
    double Ratio2 = 0.0;
    double PooledRatio = 0.0;
    double ZStat = 0.0;
    std::string Winner;
    double Probability = 0.0;
    double Likelihood = 0.0;
    VerdictBand Band = VerdictBand::Identical;
    std::string VerdictText;
};

}  // namespace ambrelay

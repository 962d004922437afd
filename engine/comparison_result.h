#pragma once
// The record of one calculation. The window keeps the last one as its form
// variables; the engine fills it step by step.

#include <string>

namespace ambrelay {

enum class VerdictBand {
    ClearWinner,     // likelihood 95 or more
    AlmostCertain,   // 90 or more, below 95
    CouldBeWinner,   // 80 or more, below 90
    SlightlyBetter,  // 70 or more, below 80
    TooClose,        // below 70, but not exactly 50
    Identical,       // exactly 50: z statistic 0
};

struct ComparisonResult {
    double Views1 = 0.0;
    double Views2 = 0.0;
    double Ratio1 = 0.0;       // responses1 / views1, unrounded
    double Ratio2 = 0.0;       // responses2 / views2, unrounded
    double PooledRatio = 0.0;  // all responses over all views
    double ZStat = 0.0;        // |z| rounded to two decimals
    std::string Winner;        // "A", "B" or "None"; empty before the first calculation
    double Probability = 0.0;  // cumulative probability of ZStat, then the one-tailed p value
    double Likelihood = 0.0;   // 100 - 100 * p value, a percentage
    VerdictBand Band = VerdictBand::Identical;
    std::string VerdictText;
};

}  // namespace ambrelay

#pragma once
// What the window shows after a finished calculation: the texts of the
// value fields and the verdict, the marker, the winner's bar and its
// "Winner!" labels.

#include <optional>
#include <string>

#include "engine/comparison_result.h"

namespace ambrelay {

struct ResultView {
    std::string pValue;  // the p value rounded to 5 decimals
    std::string ratio1;  // each ratio rounded to 6 decimals
    std::string ratio2;
    std::string zStat;
    std::string verdict;
    std::optional<Version> star;  // the "*" beside this version's ratio
    std::optional<Version> bar;   // whose progress bar shows; the other's is hidden
    float barValue = 70.0f;       // the shown bar's value
    bool winnerLabels = false;    // the bar's version also shows "Winner!" and its name
};

// The window's final state after a finished calculation.
ResultView ViewOf(const ComparisonResult& calculation);

}  // namespace ambrelay

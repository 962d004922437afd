#pragma once
// What a finished calculation shows: the texts of the value fields and the
// verdict, the marker, the winner's bar and its "Winner!" labels.

#include <optional>
#include <string>
#include <string_view>

#include "engine/comparison_result.h"

namespace ambrelay {

// The window rounds the p value to 5 decimals and each ratio to 6.
inline constexpr int kShownPValueDecimals = 5;
inline constexpr int kShownRatioDecimals = 6;

struct ResultView {
    std::string pValue;  // the p value rounded to 5 decimals
    std::string ratio1;  // each ratio rounded to 6 decimals
    std::string ratio2;
    std::string zStat;
    std::string verdict;
    std::optional<Version> star;  // the "*" beside this version's ratio
    std::optional<Version> bar;   // whose progress bar shows; the other's is hidden
    float barValue = 70.0f;         // the shown bar's value
    bool winnerLabels = false;      // the bar's version also shows "Winner!" and its name
};

// The window's final state after a finished calculation.
ResultView ViewOf(const ComparisonResult& calculation);

// The marker goes beside the higher of the two ratios as the user reads them,
// so it compares the shown captions, not the unrounded ratios.
std::optional<Version> MarkerForShownRatios(std::string_view ratio1Caption, std::string_view ratio2Caption);

// The winner's bar shows the likelihood in single precision; the bar starts
// at 70, the lowest likelihood that names a winner.
float BarValue(double likelihood);

// The "Winner!" labels appear from a likelihood of 80.
bool ShowsWinnerLabels(double likelihood);

}  // namespace ambrelay

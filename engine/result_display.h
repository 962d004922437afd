#pragma once
// What a finished calculation shows: the texts of the value fields, the
// marker beside the higher ratio as shown, and the progress bar's value.

#include <string>
#include <string_view>

#include "engine/comparison_result.h"

namespace ambrelay {

struct ResultTexts {
    std::string pValue;  // the p value rounded to 5 decimals
    std::string ratio1;  // each ratio rounded to 6 decimals
    std::string ratio2;
    std::string zStat;
};

ResultTexts TextsOf(const ComparisonResult& result);

enum class Marker { Version1, Version2, Neither };

// The marker goes beside the higher of the two ratios as the user reads them,
// so it compares the shown captions, not the unrounded ratios.
Marker MarkerForShownRatios(std::string_view ratio1Caption, std::string_view ratio2Caption);

// The winner's bar shows the likelihood in single precision; the bar starts
// at 70, the lowest likelihood that names a winner.
float BarValue(double likelihood);

// The "Winner!" labels appear from a likelihood of 80.
bool ShowsWinnerLabels(double likelihood);

}  // namespace ambrelay

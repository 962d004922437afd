#pragma once
// What a finished calculation shows, as numbers: the decimals the window
// rounds to, the marker, the winner's bar and its "Winner!" labels. The
// figures layer writes the texts.

#include <optional>
#include <string_view>

#include "engine/comparison_result.h"

namespace ambrelay {

// The window rounds the p value to 5 decimals and each ratio to 6.
inline constexpr int kShownPValueDecimals = 5;
inline constexpr int kShownRatioDecimals = 6;

// The marker goes beside the higher of the two ratios as the user reads them,
// so it compares the shown captions, not the unrounded ratios.
std::optional<Version> MarkerForShownRatios(std::string_view ratio1Caption, std::string_view ratio2Caption);

// The winner's bar shows the likelihood in single precision; the bar starts
// at 70, the lowest likelihood that names a winner.
float BarValue(double likelihood);

// The "Winner!" labels appear from a likelihood of 80.
bool ShowsWinnerLabels(double likelihood);

}  // namespace ambrelay

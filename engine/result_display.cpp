#include "engine/result_display.h"

#include "numbers/number_text.h"

namespace ambrelay {

std::optional<Version> MarkerForShownRatios(std::string_view ratio1Caption, std::string_view ratio2Caption)
{
    const double r1 = ReadNumber(ratio1Caption);
    const double r2 = ReadNumber(ratio2Caption);
    if (r2 < r1) {
        return Version::A;
    }
    if (r1 < r2) {
        return Version::B;
    }
    return std::nullopt;
}

float BarValue(double likelihood)
{
    return likelihood > 70 ? static_cast<float>(likelihood) : 70.0f;
}

bool ShowsWinnerLabels(double likelihood) { return likelihood >= 80; }

}  // namespace ambrelay

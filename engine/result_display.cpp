#include "engine/result_display.h"

#include "numbers/number_text.h"

namespace ambrelay {

ResultTexts TextsOf(const ComparisonResult& r)
{
    return {
        NumberToText(RoundDecimal(r.Probability, 5)),
        NumberToText(RoundDecimal(r.Ratio1, 6)),
        NumberToText(RoundDecimal(r.Ratio2, 6)),
        NumberToText(r.ZStat),
    };
}

Marker MarkerForShownRatios(std::string_view ratio1Caption, std::string_view ratio2Caption)
{
    const double r1 = ReadNumber(ratio1Caption);
    const double r2 = ReadNumber(ratio2Caption);
    if (r2 < r1) {
        return Marker::Version1;
    }
    if (r1 < r2) {
        return Marker::Version2;
    }
    return Marker::Neither;
}

float BarValue(double likelihood)
{
    return likelihood > 70 ? static_cast<float>(likelihood) : 70.0f;
}

bool ShowsWinnerLabels(double likelihood) { return likelihood >= 80; }

}  // namespace ambrelay

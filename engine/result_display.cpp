#include "engine/result_display.h"

#include "numbers/number_text.h"

namespace ambrelay {

ResultView ViewOf(const ComparisonResult& r)
{
    ResultView view;
    view.pValue = NumberToText(RoundDecimal(r.Probability, kShownPValueDecimals));
    view.ratio1 = NumberToText(RoundDecimal(r.Ratio1, kShownRatioDecimals));
    view.ratio2 = NumberToText(RoundDecimal(r.Ratio2, kShownRatioDecimals));
    view.zStat = NumberToText(r.ZStat);
    view.verdict = r.VerdictText;
    // A named winner always carries the marker; without one the marker
    // follows the ratios as shown, except when they are identical.
    if (r.winner) {
        view.star = r.winner;
    } else if (r.Band != VerdictBand::Identical) {
        view.star = MarkerForShownRatios(view.ratio1, view.ratio2);
    }
    view.bar = r.winner;
    view.barValue = BarValue(r.Likelihood);
    view.winnerLabels = r.winner && ShowsWinnerLabels(r.Likelihood);
    return view;
}

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

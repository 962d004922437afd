#include "figures/window_view.h"

#include "engine/result_display.h"
#include "figures/verdict_words.h"
#include "numbers/number_text.h"

namespace ambrelay {

ResultView ViewOf(const ComparisonResult& r)
{
    ResultView view;
    view.pValue = NumberToText(RoundDecimal(r.Probability, kShownPValueDecimals));
    view.ratio1 = NumberToText(RoundDecimal(r.Ratio1, kShownRatioDecimals));
    view.ratio2 = NumberToText(RoundDecimal(r.Ratio2, kShownRatioDecimals));
    view.zStat = NumberToText(r.ZStat);
    view.verdict = VerdictSentence(r);
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

}  // namespace ambrelay

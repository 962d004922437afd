#include "engine/verdict.h"

#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string WinnerSentence(const ComparisonResult& r, const char* middle, const char* end)
{
    return "Variation " + WinnerText(r.winner) + middle + NumberToText(r.Likelihood) + end;
}

}  // namespace

void ComputeVerdict(ComparisonResult& r)
{
    r.Probability = r.Probability > 0.5 ? 1 - r.Probability : r.Probability;
    // Two steps, as the likelihood has always been computed: the same double
    // comes out every time, so the bounds below see the same value.
    r.Likelihood = r.Probability * 100;
    r.Likelihood = 100 - r.Likelihood;

    const double l = r.Likelihood;
    if (l >= 95) {
        r.Band = VerdictBand::ClearWinner;
        r.VerdictText = WinnerSentence(r, " is the clear and undisputed winner with a likelihood of ", "%");
    }
    if (l >= 90 && l < 95) {
        r.Band = VerdictBand::AlmostCertain;
        r.VerdictText = WinnerSentence(r, " is almost certainly the winner with a likelihood of ", "%");
    }
    if (l >= 80 && l < 90) {
        r.Band = VerdictBand::CouldBeWinner;
        r.VerdictText = WinnerSentence(
            r, " could be the winner but it could be explained by random variation. The scale is at ", "%");
    }
    if (l >= 70 && l < 80) {
        r.Band = VerdictBand::SlightlyBetter;
        r.VerdictText = WinnerSentence(
            r, " looks very slightly better, but it is highly likely to be random variation. The scale is at ",
            "%");
    }
    if (l < 70) {
        r.Band = VerdictBand::TooClose;
        r.VerdictText =
            "It is statistically too close to call a winner. Any difference is likely just random variation.";
        r.winner = std::nullopt;
    }
    // Holds only together with the test above, and replaces its sentence.
    if (l == 50) {
        r.Band = VerdictBand::Identical;
        r.VerdictText = "The response rate is identical. Statistically they are the same.";
        r.winner = std::nullopt;
    }
}

}  // namespace ambrelay

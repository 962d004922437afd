#include "figures/verdict_words.h"

#include "engine/verdict.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string WinnerSentence(const ComparisonResult& r, const char* middle, const char* end)
{
    return "Variation " + WinnerText(r.winner) + middle + NumberToText(r.Likelihood) + end;
}

}  // namespace

std::string VerdictSentence(const ComparisonResult& r)
{
    switch (r.Band) {
    case VerdictBand::ClearWinner:
        return WinnerSentence(r, " is the clear and undisputed winner with a likelihood of ", "%");
    case VerdictBand::AlmostCertain:
        return WinnerSentence(r, " is almost certainly the winner with a likelihood of ", "%");
    case VerdictBand::CouldBeWinner:
        return WinnerSentence(
            r, " could be the winner but it could be explained by random variation. The scale is at ", "%");
    case VerdictBand::SlightlyBetter:
        return WinnerSentence(
            r, " looks very slightly better, but it is highly likely to be random variation. The scale is at ", "%");
    case VerdictBand::TooClose:
        return "It is statistically too close to call a winner. Any difference is likely just random variation.";
    case VerdictBand::Identical:
        return "The response rate is identical. Statistically they are the same.";
    }
    return {};
}

void ComputeVerdict(ComparisonResult& r)
{
    DecideVerdict(r);
    r.VerdictText = VerdictSentence(r);
}

}  // namespace ambrelay

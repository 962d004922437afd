#include "engine/verdict.h"

namespace ambrelay {

void DecideVerdict(ComparisonResult& r)
{
    r.Probability = r.Probability > 0.5 ? 1 - r.Probability : r.Probability;
    // Two steps, as the likelihood has always been computed: the same double
    // comes out every time, so the bounds below see the same value.
    r.Likelihood = r.Probability * 100;
    r.Likelihood = 100 - r.Likelihood;

    // Six separate tests in this order, each replacing what an earlier one set.
    const double l = r.Likelihood;
    if (l >= 95) {
        r.Band = VerdictBand::ClearWinner;
    }
    if (l >= 90 && l < 95) {
        r.Band = VerdictBand::AlmostCertain;
    }
    if (l >= 80 && l < 90) {
        r.Band = VerdictBand::CouldBeWinner;
    }
    if (l >= 70 && l < 80) {
        r.Band = VerdictBand::SlightlyBetter;
    }
    if (l < 70) {
        r.Band = VerdictBand::TooClose;
        r.winner = std::nullopt;
    }
    // Holds only together with the test above, and replaces its band.
    if (l == 50) {
        r.Band = VerdictBand::Identical;
        r.winner = std::nullopt;
    }
}

}  // namespace ambrelay

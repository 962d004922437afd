#pragma once
// A comparison of two averages as a list of figures, worded once, so that
// the averages window and every output of the command line render it alike.

#include <span>
#include <string>
#include <vector>

#include "engine/means.h"
#include "figures/figures.h"

namespace ambrelay {

enum class MeansFigure {
    Answer, Leader, Better, Observations1, Average1, Deviation1, Observations2, Average2, Deviation2, Difference, Lift, PTwoSided, POneSided, T, DegreesOfFreedom, Chance,
    ObservationsNeeded, SplitChiSquare, SplitP,
    Count
};

std::span<const FigureKind> MeansFigureKinds();

// The two summaries, which way is better, and what was asked of the figures.
struct MeansRequest {
    MeanSummary a, b;
    Better better = Better::Higher;
};

// Every figure of the comparison, or why there is none.
Outcome<FigureList<MeansFigure>> AnswerMeans(const MeansRequest& request, Wording wording = Wording::ForPeople);

// The comparison's warnings, most serious first.
std::vector<Warning> MeansWarnings(const MeansRequest& request);

// "higher" or "lower", as scripts read which way is better.
const char* BetterName(Better better);

}  // namespace ambrelay

#pragma once
// A comparison of two averages as a list of figures, worded once, so that
// the averages window and every output of the command line render it alike.

#include <span>
#include <string>
#include <vector>

#include "answers/summaries_answer.h"
#include "answers/values_answer.h"
#include "figures/figures.h"

namespace ambrelay {

enum class MeansFigure {
    Answer, Leader, Better, Observations1, Average1, Deviation1, Observations2, Average2, Deviation2, Difference, Lift, PTwoSided, POneSided, T, DegreesOfFreedom, Chance,
    ObservationsNeeded, SplitChiSquare, SplitP, AlwaysValidP, AlwaysValidDifference, Planned, NotWorse, NotWorseP,
    Count
};

std::span<const FigureKind> MeansFigureKinds();

// Every figure of a comparison.
FigureList<MeansFigure> MeansFigures(const MeansAnswer& answer, Wording wording = Wording::ForPeople);

// The comparison's warnings, most serious first.
std::vector<Warning> MeansWarnings(const MeansAnswer& answer);

enum class ValuesFigure {
    Label1, Label2, Skewness1, Skewness2, Blanks, CapUpper, CappedUpper, CapLower, CappedLower, RowsLeftOut,
    Count
};

std::span<const FigureKind> ValuesFigureKinds();

// What a values file adds to a comparison (the one of two versions, or the
// one at `comparison` of more): the labels, the skewness, the blanks counted
// as 0, the caps and the rows left out.
FigureList<ValuesFigure> ValuesFigures(const ValuesAnswer& answer, std::size_t comparison = 0,
                                       Wording wording = Wording::ForPeople);

// A values file's warnings for that comparison: the comparison's own (its
// split where there are two versions), the skewness against the
// observations, and a cap that fell on 0. None without a comparison.
std::vector<Warning> ValuesWarnings(const ValuesAnswer& answer, std::size_t comparison = 0);

// Observations a version needs before its average is near enough normal,
// given its skewness: the common rule 355 times the skewness squared.
double ObservationsForSkewness(double skewness);

// "higher" or "lower", as scripts read which way is better.
const char* BetterName(Better better);

}  // namespace ambrelay

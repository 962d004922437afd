#pragma once
// A comparison of two averages as a list of figures, worded once, so that
// the averages window and every output of the command line render it alike.

#include <span>
#include <string>
#include <vector>

#include "engine/means.h"
#include "engine/observations.h"
#include "figures/figures.h"

namespace ambrelay {

enum class MeansFigure {
    Answer, Leader, Better, Observations1, Average1, Deviation1, Observations2, Average2, Deviation2, Difference, Lift, PTwoSided, POneSided, T, DegreesOfFreedom, Chance,
    ObservationsNeeded, SplitChiSquare, SplitP, AlwaysValidP, AlwaysValidDifference, Planned, NotWorse, NotWorseP,
    Count
};

std::span<const FigureKind> MeansFigureKinds();

// The two summaries, which way is better, and what was asked of the figures.
struct MeansRequest {
    MeanSummary a, b;
    Better better = Better::Higher;
    bool ratios = false;  // each summary is a ratio metric's: a z test
    std::optional<double> plannedObservations;  // in all, for the peeking-safe test; the default without
    std::optional<Margin> margin;  // "not worse than": relative, or in the metric's units (MarginKind::Points)
};

// Every figure of the comparison, or why there is none.
Outcome<FigureList<MeansFigure>> AnswerMeans(const MeansRequest& request, Wording wording = Wording::ForPeople);

// The comparison's warnings, most serious first.
std::vector<Warning> MeansWarnings(const MeansRequest& request);

// What a values file adds to the summaries: the labels, the skewness, the
// blanks counted as 0 and the caps.
struct ValuesReport {
    std::string labelA, labelB;
    double skewnessA = 0, skewnessB = 0;
    double blanks = 0;
    CapsApplied caps;
    std::optional<double> upperPercent, lowerPercent;  // the caps asked for
};

enum class ValuesFigure {
    Label1, Label2, Skewness1, Skewness2, Blanks, CapUpper, CappedUpper, CapLower, CappedLower,
    Count
};

std::span<const FigureKind> ValuesFigureKinds();

FigureList<ValuesFigure> AnswerValues(const ValuesReport& report, Wording wording = Wording::ForPeople);

// A values file's warnings: the skewness against the observations, and a cap
// that fell on 0.
std::vector<Warning> ValuesWarnings(const MeansRequest& request, const ValuesReport& report);

// Observations a version needs before its average is near enough normal,
// given its skewness: the common rule 355 times the skewness squared.
double ObservationsForSkewness(double skewness);

// "higher" or "lower", as scripts read which way is better.
const char* BetterName(Better better);

}  // namespace ambrelay

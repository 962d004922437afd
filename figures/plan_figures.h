#pragma once
// The planner's and the split check's answers as lists of figures, so that
// every output writes them as it writes a judgement's.

#include <optional>
#include <span>
#include <vector>

#include "answers/plan_reading.h"
#include "engine/test_plan.h"
#include "figures/figures.h"

namespace ambrelay {

enum class PlanFigure {
    Observations, ObservationsUnrounded, Total, Days, Baseline, Variant, Relative, Absolute, Alpha, Power, TwoSided,
    Split,
    Count
};

std::span<const FigureKind> PlanFigureKinds();

Outcome<FigureList<PlanFigure>> AnswerPlan(const PlanRequest& request);

// The level each comparison of more than two versions is planned at: the
// family's split among the comparisons with the control (Bonferroni).
double ComparisonLevel(double alpha, std::size_t versions);

// What a plan of more than two versions adds: how many, and each
// comparison's level. Its observations in all are every version's.
enum class FamilyPlanFigure { Versions, LevelPerComparison, Count };
std::span<const FigureKind> FamilyPlanFigureKinds();
FigureList<FamilyPlanFigure> FamilyPlanFigures(double alpha, std::size_t versions);

enum class MeansPlanFigure {
    Observations, ObservationsUnrounded, Total, Days, Deviation, Average, Absolute, Relative, Alpha, Power, TwoSided,
    Count
};

std::span<const FigureKind> MeansPlanFigureKinds();

// The observations planned with the residual spread where a correlation
// with before the test is given.
Outcome<FigureList<MeansPlanFigure>> AnswerMeansPlan(const MeansPlanRequest& request);

// What a correlation with before the test adds to a plan of averages.
enum class CovariatePlanFigure { Correlation, ResidualDeviation, Count };
std::span<const FigureKind> CovariatePlanFigureKinds();
FigureList<CovariatePlanFigure> CovariatePlanFigures(const MeansPlanRequest& request);

enum class SplitFigure { ChiSquare, PValue, Mismatch, Count };

std::span<const FigureKind> SplitFigureKinds();

// The observations of A and B against A's intended share in percent.
Outcome<FigureList<SplitFigure>> AnswerSplit(double observations1, double observations2, double sharePercent);

}  // namespace ambrelay

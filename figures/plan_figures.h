#pragma once
// The planner's and the split check's answers as lists of figures, so that
// every output writes them as it writes a judgement's.

#include <optional>
#include <span>
#include <vector>

#include "engine/test_plan.h"
#include "figures/figures.h"

namespace ambrelay {

// What the user asks of the planner: either the observations needed to
// detect an effect, given in percent (relative) or points (absolute) as the
// user wrote it, or the smallest effect a number of observations per version
// can detect. `settings.effect` is ignored; the effect comes from here.
struct PlanRequest {
    PlanInputs settings;
    std::optional<double> effect;                  // in percent or points, as `settings.kind` says
    std::optional<double> observationsPerVersion;  // on average: twice this in all, split by the share
};

enum class PlanFigure {
    Observations, ObservationsUnrounded, Total, Days, Baseline, Variant, Relative, Absolute, Alpha, Power, TwoSided,
    Split,
    Count
};

std::span<const FigureKind> PlanFigureKinds();

Outcome<FigureList<PlanFigure>> AnswerPlan(const PlanRequest& request);

// Planning a test of averages: the difference worth detecting, in the
// metric's units or in percent of the control's average.
struct MeansPlanRequest {
    double sd = 0.0;                  // the metric's standard deviation, both versions alike
    double effect = 0.0;              // in units, or percent of `average` when relative
    bool relative = false;
    std::optional<double> average;    // the control's average; needed for a relative effect
    double alpha = 0.05;
    double power = 0.8;
    bool twoSided = true;
    std::optional<double> dailyObservations;
};

enum class MeansPlanFigure {
    Observations, ObservationsUnrounded, Total, Days, Deviation, Average, Absolute, Relative, Alpha, Power, TwoSided,
    Count
};

std::span<const FigureKind> MeansPlanFigureKinds();

Outcome<FigureList<MeansPlanFigure>> AnswerMeansPlan(const MeansPlanRequest& request);

enum class SplitFigure { ChiSquare, PValue, Mismatch, Count };

std::span<const FigureKind> SplitFigureKinds();

// The observations of A and B against A's intended share in percent.
Outcome<FigureList<SplitFigure>> AnswerSplit(double observations1, double observations2, double sharePercent);

}  // namespace ambrelay

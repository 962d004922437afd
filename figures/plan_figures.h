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

enum class SplitFigure { ChiSquare, PValue, Mismatch, Count };

std::span<const FigureKind> SplitFigureKinds();

// The observations of A and B against A's intended share in percent.
Outcome<FigureList<SplitFigure>> AnswerSplit(double observations1, double observations2, double sharePercent);

}  // namespace ambrelay

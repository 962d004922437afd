#pragma once
// The planner's and the split check's answers as lists of figures, so that
// every output writes them as it writes a judgement's.

#include <optional>
#include <string>
#include <vector>

#include "engine/figures.h"
#include "engine/test_plan.h"

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

struct PlanAnswer {
    std::vector<Figure> figures;  // one of each of PlanFigureKinds(); empty with a problem
    std::string problem;
    std::optional<PlanInput> culprit;
};

const std::vector<FigureKind>& PlanFigureKinds();

PlanAnswer AnswerPlan(const PlanRequest& request);

struct SplitAnswer {
    std::vector<Figure> figures;  // one of each of SplitFigureKinds(); empty with a problem
    std::string problem;
};

const std::vector<FigureKind>& SplitFigureKinds();

// The observations of A and B against A's intended share in percent.
SplitAnswer AnswerSplit(double observations1, double observations2, double sharePercent);

}  // namespace ambrelay

#pragma once
// The planner's inputs as a person writes them, read alike by the command
// line and Python: a baseline, level and power as fractions or with their %
// sign (0.1 or 10%), a relative effect and a share in percent (20 or 20%),
// an absolute effect in points or in the metric's units.

#include <optional>
#include <string>
#include <string_view>

#include "engine/outcome.h"
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
    std::size_t versions = 2;  // more: each compared with the control at the level over the comparisons (Bonferroni)
};

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
    std::size_t versions = 2;  // more: each compared with the control at the level over the comparisons (Bonferroni)
    // Of the metric with what each user did before the test, which the
    // comparison takes out: the spread left is sd sqrt(1 - correlation^2).
    std::optional<double> correlation;

    // The standard deviation the test has to see through.
    double ResidualSd() const;
};

// The inputs as given; an empty text is one not given.
struct PlanTexts {
    std::string baseline, mde, observations, alpha = "0.05", power = "0.8", split = "50", daily, sd, mean, correlation;
    std::string versions = "2";
    bool absolute = false, oneSided = false;
};

// Each input named as the door names it: `prefix` "--" on a command line,
// "" for a script's arguments. The first input that cannot be read.
Outcome<PlanRequest> ReadRatesPlan(const PlanTexts& texts, NameKind kind, std::string_view prefix);
Outcome<MeansPlanRequest> ReadMeansPlan(const PlanTexts& texts, NameKind kind, std::string_view prefix);

}  // namespace ambrelay

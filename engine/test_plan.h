#pragma once
// Planning the next test: how many observations each version needs to
// detect a given effect, the smallest effect a given size can detect, and
// the power of a given size. The normal approximation of the two-proportion
// test, counting one tail of a two-sided test, generalised to an uneven split.

#include <optional>

#include "engine/outcome.h"

namespace ambrelay {

enum class EffectKind { Relative, Absolute };

struct PlanInputs {
    double baseline = 0.0;  // the control's (version A's) response ratio, within (0, 1)
    double effect = 0.0;    // relative (0.2: 20% more) or absolute (0.02: two points)
    EffectKind kind = EffectKind::Relative;
    double alpha = 0.05;       // significance level
    double power = 0.8;
    bool twoSided = true;
    double sharePercent = 50;  // version A's share of the observations
    std::optional<double> dailyObservations;  // both versions together
};

struct Plan {
    double perVersionA = 0.0;  // unrounded observations of version A (and B below)
    double perVersionB = 0.0;
    double neededA = 0.0;  // rounded up
    double neededB = 0.0;
    double total = 0.0;    // neededA + neededB
    std::optional<double> days;  // whole days at the daily rate, rounded up
    double variant = 0.0;        // version B's response ratio the plan detects
};

// A plan, or the problem and the input it lies in.
using PlanOutcome = Outcome<Plan>;

PlanOutcome PlanTest(const PlanInputs& inputs);

// Observations per version, unrounded, to tell ratio p2 from p1 with an
// even split at the settings' level, power and sides (5%, 80%, two-sided by
// default). Either ratio may be 0; infinite when they are equal.
double ObservationsPerVersion(double p1, double p2, const PlanInputs& settings = {});

// The smallest effect that `perVersion` observations of version A can detect
// (version B's follow from the share), upward from the baseline; `effect`
// and `kind` of the inputs are ignored.
struct Detectable {
    double relativePercent = 0.0;
    double absolutePoints = 0.0;
    double variant = 0.0;
};

using DetectableOutcome = Outcome<Detectable>;

DetectableOutcome SmallestDetectableEffect(const PlanInputs& inputs, double perVersion);

// The power of a test with `perVersion` observations per version (even
// split) between ratios p1 and p2; NaN for impossible inputs.
double PowerOfTest(double p1, double p2, double perVersion, double alpha = 0.05, bool twoSided = true);

}  // namespace ambrelay

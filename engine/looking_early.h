#pragma once
// Two questions beside the verdict. Looking early: a test that stays valid
// however often the counts are looked at (the normal-mixture sequential test,
// whose intervals are confidence sequences). Not worse than: whether version
// B falls short of version A by no more than a margin (non-inferiority).

#include <optional>

#include "engine/interval.h"
#include "engine/outcome.h"
#include "numbers/counts.h"

namespace ambrelay {

// Observations in all that a test is planned to reach, when the user has not
// said: the common default of experimentation platforms.
inline constexpr double kDefaultPlannedObservations = 5000;
inline constexpr double kLookingAlpha = 0.05;

struct AlwaysValid {
    double pValue = 1.0;           // valid however often the counts were looked at
    Interval differencePoints;     // B minus A, a confidence sequence at 95%
};

// NoObservationsOfBoth, NoPlannedObservations, NoSpread or BeyondDoubles
// when there is no test.
using AlwaysValidOutcome = Outcome<AlwaysValid>;

// From the counts and the observations in all the test is planned to reach.
AlwaysValidOutcome AlwaysValidTest(const Counts& counts, double plannedObservations, double alpha = kLookingAlpha);

// The same for any difference `delta` of two means with the variance
// `spread` (each mean's squared standard error, summed) after n
// observations in all; the interval is in delta's own units.
AlwaysValidOutcome AlwaysValidTest(double delta, double spread, double n, double plannedObservations,
                                   double alpha = kLookingAlpha);

enum class MarginKind { RelativePercent, Points };

// "B is not worse than A by more than 2%" (relative) or "by 0.5 points".
struct Margin {
    double size = 0.0;  // above 0: percent of A's ratio, or percentage points
    MarginKind kind = MarginKind::RelativePercent;
};

struct NonInferiority {
    double z = 0.0;
    double pValue = 1.0;     // one-sided, against "B is worse by the margin or more"
    bool notWorse = false;   // the (1 - 2 alpha) interval's lower bound clears the margin
};

// A margin out of range, RelativeMarginNeedsResponses or NoMarginSpread when
// there is no test.
using NonInferiorityOutcome = Outcome<NonInferiority>;

// Why a margin cannot be tested against, whatever the counts: nothing for a
// margin above 0, and below 100 when relative.
std::optional<Problem> MarginProblem(const Margin& margin);

// B against A: the difference with the Wald standard error for a margin in
// points, the log of the ratio of the ratios for a relative one.
NonInferiorityOutcome TestNonInferiority(const Counts& counts, const Margin& margin, double alpha = kLookingAlpha);

// The one-sided z test of `estimate` (how much better B is, margin
// included) against its standard error: NoMarginSpread without a spread.
NonInferiorityOutcome TestNonInferiority(double estimate, double error, double alpha = kLookingAlpha);

}  // namespace ambrelay

#pragma once
// What each user did before the test, taken out of a comparison of
// averages, as figures: θ, how much of each version's variance it took
// away, each version's covariate, whether the versions already differed
// before the test, and the plain comparison beside the adjusted one. Only a
// comparison with a covariate has them, so no output without one changes.

#include <span>
#include <vector>

#include "answers/values_answer.h"
#include "figures/figures.h"

namespace ambrelay {

enum class CovariateFigure {
    Theta, Reduction1, Reduction2, CovariateAverage1, CovariateAverage2, CovariateP, Average1, Average2,
    Difference, Lift, PTwoSided, Blanks, Cap, Capped,
    Count
};

std::span<const FigureKind> CovariateFigureKinds();

// The figures of the comparison at `comparison` of a file of values read
// with a covariate (its only one for two versions).
FigureList<CovariateFigure> CovariateFigures(const ValuesAnswer& answer, std::size_t comparison = 0,
                                             Wording wording = Wording::ForPeople);

// The warnings of a comparison with a covariate: the versions differed
// before the test, or the covariate does not vary.
std::vector<Warning> CovariateWarnings(const MeansAnswer& answer);

}  // namespace ambrelay

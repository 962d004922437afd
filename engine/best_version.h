#pragma once
// The chance that each of several versions is really the best: for rates
// with flat priors (each rate Beta(1 + responses, 1 + non-responses)), for
// averages under the normal approximation of each mean.

#include <span>
#include <vector>

#include "engine/means.h"
#include "engine/outcome.h"

namespace ambrelay {

// A version's observations and responses.
struct RateCounts {
    double views = 0;
    double responses = 0;
};

// For each version, in their order, the chance its true rate is the highest:
// the integral of its density times every other's distribution function,
// by adaptive quadrature. Two versions take the chance to beat's own closed
// form. NoTable for counts that are not a table, TooLargeForChance beyond a
// billion observations a version.
Outcome<std::vector<double>> ChanceToBeBest(std::span<const RateCounts> versions);

// The same for averages: each mean normal about its estimate with its
// standard error; the lowest is the best when lower is better.
Outcome<std::vector<double>> ChanceToBeBest(std::span<const MeanSummary> versions, Better better);

}  // namespace ambrelay

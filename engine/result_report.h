#pragma once
// The plain-text report of a finished calculation, for the clipboard.

#include <string>

#include "engine/comparison_result.h"
#include "engine/insights.h"

namespace ambrelay {

struct Counts {
    double views1 = 0.0;
    double responses1 = 0.0;
    double views2 = 0.0;
    double responses2 = 0.0;
};

// The four counts, both ratios, the p value and the z statistic as the window
// shows them, the likelihood, the verdict sentence and the insights.
std::string ResultReport(const Counts& counts, const ComparisonResult& result, const Insights& insights);

}  // namespace ambrelay

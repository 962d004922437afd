#pragma once
// The plain-text report of a finished calculation, for the clipboard.

#include <string>

#include "engine/judge.h"

namespace ambrelay {

// The four counts, both ratios, the p value and the z statistic as the window
// shows them, the likelihood, the verdict sentence and the insights. Empty
// for a judgement that did not finish.
std::string ResultReport(const Judgement& judgement);

}  // namespace ambrelay

#pragma once
// The plain-text report of a finished calculation, for the clipboard.

#include <string>

#include "engine/judge.h"

namespace ambrelay {

// The four counts, the warnings, every figure with its words, and the summary
// in plain words. Empty for a judgement that did not finish.
std::string ResultReport(const Judgement& judgement);

// The four counts in words, a line a version: "Version 1 (A): 1000
// observations, 100 responses".
std::string CountsText(const Counts& counts);

}  // namespace ambrelay

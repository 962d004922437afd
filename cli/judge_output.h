#pragma once
// A judgement as the command line writes it: plain text, one JSON object, or
// the result columns of a CSV row.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/judge.h"

namespace ambrelay::cli {

// The result columns a CSV row gains, in order, the last being "error".
const std::vector<std::string>& ResultColumns();

// Warnings first, then what the window shows, then the insights.
std::string JudgementText(const Judgement& judgement);

// The keys scripts read; a judgement that did not finish has null figures.
nlohmann::ordered_json JudgementJson(const Judgement& judgement);

// The values of ResultColumns() but "error", for a finished judgement.
std::vector<std::string> JudgementFields(const Judgement& judgement);

// A number exactly as the double holds it, in the fewest digits that read back.
std::string ExactNumber(double x);

}  // namespace ambrelay::cli

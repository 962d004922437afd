#pragma once
// The figures an output is asked for, by the names it writes them under: a
// figure's key, its interval's key, or either end of the interval's CSV
// columns. A figure brings its interval with it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "checks/given_values.h"
#include "figures/figures.h"

namespace ambrelay {

// The names of a list such as "p_two_sided, lift_percent": split at commas,
// blanks around each name dropped.
std::vector<std::string> FigureNames(std::string_view list);

// The kinds named, in the order named, each once. The inputs' own names
// (`inputs`) are allowed and choose nothing, since the inputs are always
// written. UnknownFigure, at `from`, for any other name (its `text` the
// name, `names` the figures'), and for a list that names nothing.
Outcome<std::vector<FigureKind>> ChooseFigures(std::span<const FigureKind> kinds,
                                               const std::vector<std::string>& names,
                                               const std::vector<std::string>& inputs, const Origin& from);

// The chosen kinds of a judgement's list as a choice of its figures.
JudgementChoice JudgementChoiceOf(std::span<const FigureKind> chosen);

}  // namespace ambrelay

#pragma once
// A file (or frame) of values' answer as programs read it: the one JSON
// object the command line writes, and each comparison's figures in one row,
// as a frame of many tests holds them.

#include <span>
#include <string>
#include <vector>

#include "answers/values_answer.h"
#include "figures/figures.h"

namespace ambrelay {

// Two versions' one comparison as a flat object; more versions as
// {"comparisons": [...], "warnings": [...]}, each comparison with its own
// warnings. Indented for a person's terminal. The answer has comparisons.
std::string ValuesJson(const ValuesAnswer& answer);

// The lists of kinds of a comparison's row, one after the other: the
// file's, the family's, the comparison's, and the covariate's where a
// covariate was given.
std::vector<std::span<const FigureKind>> ValuesRowKinds(bool covariate);

// The comparison's figures in the order of ValuesRowKinds.
std::vector<Figure> ValuesRowFigures(const ValuesAnswer& answer, std::size_t comparison);

// Its warnings: of more than two versions, the test's first.
std::vector<Warning> ValuesRowWarnings(const ValuesAnswer& answer, std::size_t comparison);

// A frame's rows left out, as a script's warning says them: the first few
// each by its place in the frame (counted from 0), then how many more.
std::string FrameRowsLeftOutText(const std::vector<Problem>& named, std::size_t count);

}  // namespace ambrelay

#pragma once
// One column of a table, by header name (case and surrounding blanks aside)
// or by 1-based position.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/outcome.h"

namespace ambrelay::tables {

// The column's index; NoSuchPosition (a position beyond the table's
// columns), PositionsOnly (a name where the table has no header) or
// NoSuchColumn, with what was asked for and what there is, when there is none.
Outcome<std::size_t> FindColumn(const std::vector<std::string>& names, const std::string& wanted, bool noHeader);

}  // namespace ambrelay::tables

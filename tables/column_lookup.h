#pragma once
// One column of a table, by header name (case and surrounding blanks aside)
// or by 1-based position.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ambrelay::tables {

enum class ColumnMiss {
    NoSuchPosition,  // a position beyond the table's columns
    PositionsOnly,   // a name where the table has no header
    NoSuchName,      // no header cell of that name
};

struct ColumnProblem {
    ColumnMiss kind = ColumnMiss::NoSuchName;
    std::string wanted;              // as asked, blanks trimmed
    std::vector<std::string> names;  // the header's cells
};

// The column's index; nothing, with the problem, when there is none.
std::optional<std::size_t> FindColumn(const std::vector<std::string>& names, const std::string& wanted,
                                      bool noHeader, ColumnProblem& problem);

}  // namespace ambrelay::tables

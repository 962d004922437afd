#pragma once
// What is wrong with a table or a values file, in words: a column that is
// not there, a row that cannot be counted, a file without two versions.

#include <cstddef>
#include <string>
#include <string_view>

#include "tables/column_lookup.h"
#include "tables/values_reading.h"

namespace ambrelay {

std::string ColumnProblemText(const tables::ColumnProblem& problem);
std::string ValuesProblemText(const tables::ValuesProblem& problem);

// Why a file gave no values at all: it cannot be opened, or has no header.
std::string UnreadableFileText(std::string_view path);

// "2 rows were left out; the first, line 12: ...".
std::string RowsLeftOutText(std::size_t count, const tables::ValuesProblem& first);

std::string FieldCountText(std::size_t fields, std::size_t width);
std::string NotANumberText(std::string_view text, std::string_view column);

}  // namespace ambrelay

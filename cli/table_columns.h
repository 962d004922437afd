#pragma once
// Which columns of a table hold the four counts, and the names its input
// columns go by in the output.

#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/table_settings.h"

namespace ambrelay::cli {

// The four count columns (or the six of averages): as --columns names them, by header name (case and
// surrounding blanks aside) or 1-based position, else by the usual names, or
// the first positions when there is no header. Nothing, with the
// problem in words, when they cannot be found.
std::optional<CountColumns> FindColumns(const std::vector<std::string>& names, const TableOptions& options,
                                        std::string& problem);

// One column by header name (case and surrounding blanks aside) or 1-based
// position; nothing, with the problem in words, when there is none.
std::optional<std::size_t> FindColumn(const std::vector<std::string>& names, const std::string& wanted,
                                      bool noHeader, bool namedByUser, std::string& problem);

// Input names as JSON keys: a repeated one gets its position.
std::vector<std::string> DistinctNames(const std::vector<std::string>& names);

// The name of an input column without a header name: "column3".
std::string ExtraName(std::size_t i);

}  // namespace ambrelay::cli

#pragma once
// One row of a table: its four counts read as the table's settings say,
// judged, and written back out with every figure.

#include <optional>
#include <string>

#include "tables/csv.h"
#include "cli/table_settings.h"
#include "figures/figures.h"

namespace ambrelay::cli {

// `problem` is why the row cannot be judged before its counts are read (an
// unclosed quote, text in the wrong encoding); the row still goes out, with
// every field it had.
// The row goes onto `out`; when it fails, its line for standard error onto
// `errors`. `figures` is where its figures are worked out, kept from row to
// row so that a row allocates nothing.
void WriteRow(const TableSettings& table, const csv::Row& row, const std::optional<std::string>& problem,
              std::string& out, std::string& errors, FigureList<JudgementFigure>& figures);

}  // namespace ambrelay::cli

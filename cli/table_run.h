#pragma once
// judge --csv and means --csv: a table of tests in, the same table with
// every figure of each row out, one batch of rows at a time, the batch
// shared among the cores. The header decides how the table is read and how
// its numbers are written; no row can change that.

#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "answers/summaries_answer.h"
#include "answers/table_answers.h"
#include "answers/versions_answer.h"
#include "engine/judge.h"
#include "figures/figures.h"
#include "tables/table_reader.h"

namespace ambrelay::cli {

struct TableRequest {
    TableKind kind = TableKind::Rates;
    bool json = false;               // JSON lines out instead of CSV
    tables::Dialect dialect;
    std::string columns;             // the count columns by name or 1-based position, comma-separated
    std::string versionColumn;       // a table of versions, a row a version: the label's column, else found
    std::string testColumn;          // there, the column naming each row's test, else found
    std::optional<unsigned> jobs;    // threads that judge; every core when not given
    JudgeOptions judge;              // for every row of rates
    MeansOptions means;              // for every row of averages
    VersionsOptions family;          // for a table of versions: the control, the correction, the shares
    std::vector<std::string> figures;  // the figures to write (and work out), by name; every one when none
};

// The kinds `names` chooses of `kinds` (every one when it names none), the
// table's `inputs` allowed as names; UnknownFigure for any other name.
Outcome<std::vector<FigureKind>> ChosenKinds(std::span<const FigureKind> kinds, const std::vector<std::string>& names,
                                             const std::vector<std::string>& inputs);

// Writes CSV (or JSON lines) to `out` and the rows without an answer to
// `err`. Returns the exit status.
int AnswerTable(std::istream& in, const TableRequest& request, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

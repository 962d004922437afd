#pragma once
// judge --csv and means --csv on a table of versions, a row a version: the
// rows grouped into tests, each test's versions compared with its control,
// and a row out for each version compared, carrying that version's own
// fields, the family's figures and the comparison's.

#include <istream>
#include <ostream>

#include "answers/table_answers.h"
#include "cli/table_run.h"
#include "tables/table_reader.h"

namespace ambrelay::cli {

// The table's rows, from the reader of `in` started on the header. Returns the exit status.
int AnswerVersionsTable(std::istream& in, tables::TableReader& reader, const VersionColumns& columns,
                        const TableRequest& request, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

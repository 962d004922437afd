#pragma once
// A table of tests, a row a test: which columns hold the four counts (or the
// six summaries of averages), and each row's answer, its numbers read with
// the table's decimal mark. Every door names these inputs alike.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "answers/summaries_answer.h"
#include "engine/judge.h"
#include "tables/table_reader.h"

namespace ambrelay {

// What a table's rows hold: a test of rates (four counts) or of averages
// (each version's observations, average and standard deviation).
enum class TableKind { Rates, Means };

// The inputs' names wherever a door does not rename them: a table's usual
// columns, the JSON keys of the inputs, a script's arguments.
inline constexpr std::array<const char*, 4> kCountNames = {"views1", "responses1", "views2", "responses2"};
inline constexpr std::array<const char*, 6> kSummaryNames = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};

// A table of versions, a row a version: the names its columns go by when
// not named, the version's among several a database might give it.
inline constexpr std::array<const char*, 4> kVersionColumnNames = {"version", "variant", "arm", "group"};
inline constexpr const char* kTestColumnName = "test";
inline constexpr std::array<const char*, 2> kVersionCountNames = {"views", "responses"};
inline constexpr std::array<const char*, 3> kVersionSummaryNames = {"n", "mean", "sd"};

// The columns a row is judged from, by their 0-based place in a row.
struct CountColumns {
    std::size_t at[6] = {};
    std::size_t count = 4;
};

// As `asked` names them (comma-separated, by header name or 1-based
// position), else by the usual names, or the first positions without a
// header: ColumnsNamed, CountColumnsNotFound or the lookup's problem when
// they cannot be found.
Outcome<CountColumns> FindCountColumns(const std::vector<std::string>& names, TableKind kind,
                                       const std::string& asked, bool noHeader);

// Where a table of versions holds each row's version, test and counts (or
// summaries).
struct VersionColumns {
    std::size_t version = 0;
    std::optional<std::size_t> test;  // without one, the table is one test
    std::vector<std::size_t> cells;   // 2 counts or 3 summaries
};

// The table's columns as a table of versions, as asked (the version's and
// the test's column, `asked` the count columns), else found by their usual
// names; nothing for a table of a test a row; the problem when a column
// asked for is not there.
Outcome<std::optional<VersionColumns>> FindVersionColumns(const std::vector<std::string>& names, TableKind kind,
                                                          const std::string& asked, const std::string& version,
                                                          const std::string& test, bool noHeader);

// A row's test judged, or why not: the row's own problem, a count missing or
// no number (or a number only with the other decimal mark), or the counts'.
Outcome<Judgement> JudgeRow(const tables::TableRow& row, const CountColumns& columns,
                            const std::vector<std::string>& names, bool decimalComma, const JudgeOptions& options);

// A row's two averages compared, or why not.
Outcome<MeansAnswer> CompareRow(const tables::TableRow& row, const CountColumns& columns,
                                const std::vector<std::string>& names, bool decimalComma,
                                const MeansOptions& options);

}  // namespace ambrelay

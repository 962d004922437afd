#pragma once
// A table of versions handed out a thousand tests at a time. A test's rows
// may lie anywhere in a table, so one that can be read only once (a pipe)
// is read whole before its first test is answered. A file is read twice
// instead: the first reading looks only at the tests' names, and when each
// test's rows lie together, as a database's GROUP BY writes them, the
// second hands the tests out as they come and lets go of them once
// answered, so memory stays flat however long the file.

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "answers/long_form.h"
#include "answers/table_answers.h"
#include "tables/table_reader.h"

namespace ambrelay::cli {

struct TestChunk {
    std::vector<std::vector<VersionRow>> tests;    // each test's rows, the tests in the order they come
    std::vector<std::vector<std::string>> fields;  // each row's own fields, by its place
};

class TestChunks {
public:
    // `reader` reads `in` and is started on the header; `in` is read again
    // from its start when it can be.
    TestChunks(std::istream& in, tables::TableReader& reader, const VersionColumns& columns,
               const tables::Dialect& dialect);
    ~TestChunks();

    // The next tests, at most `most` of them, in place of the chunk's;
    // false, and the chunk empty, at the end.
    bool Next(std::size_t most, TestChunk& chunk);

    // Whether the tests come as they are read rather than from a table read whole.
    bool Streamed() const { return second_ != nullptr; }

private:
    VersionRow FromRow(tables::TableRow& row) const;
    void HoldAll(tables::TableReader& reader);  // every row, grouped into its test

    const VersionColumns& columns_;
    std::vector<std::string> names_;
    bool decimalComma_ = false;
    // A table read whole: its tests, and its rows' fields by their places.
    GroupedTests held_;
    std::vector<std::vector<std::string>> heldFields_;
    std::size_t handed_ = 0;
    // A file read a second time, and the row read beyond the last chunk.
    std::unique_ptr<tables::TableReader> second_;
    std::optional<tables::TableRow> pending_;
};

}  // namespace ambrelay::cli

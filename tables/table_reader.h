#pragma once
// Every rule for reading a table, in one reader that every door opens files
// through: the encoding (UTF-16 by its byte order mark, UTF-8, or
// Windows-1252 found from the text), a first line "sep=;" as spreadsheet
// programs write it, the delimiter (the header's), the decimal mark (a comma
// in semicolon tables), quotes, line numbers, and the rows that cannot be
// read as they stand: an unclosed quote, text in another encoding than the
// lines before, or a field count other than the header's. Rows come one at
// a time, so a file of any length never sits in memory whole.

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/outcome.h"
#include "tables/csv.h"
#include "tables/text_encoding.h"

namespace ambrelay::tables {

// How a table is to be read, as asked; what is not asked is found from it.
struct Dialect {
    std::optional<Encoding> encoding;
    std::optional<char> delimiter;
    std::optional<bool> decimalComma;
    bool header = true;
};

// What the reading settled. The rows are split and their numbers read with
// it, and what is written back goes out in it, so a spreadsheet opens the
// output as it opened the input.
struct Settled {
    Encoding encoding = Encoding::Utf8;
    bool encodingKnown = false;  // given, marked, or found from the first text beyond ASCII
    bool encodingGiven = false;  // given: no row can contradict it
    bool byteOrderMark = false;  // the input began with one
    bool sepLine = false;        // the input began with "sep=;"
    char delimiter = ',';
    bool decimalComma = false;
};

struct TableRow {
    std::vector<std::string> fields;  // as UTF-8
    long line = 0;                    // the physical line it starts on, the first being 1
    std::optional<Problem> problem;   // why it cannot be read as it stands; its fields are kept all the same
};

class TableReader {
public:
    TableReader(std::istream& in, const Dialect& asked);
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    // Reads as far as the header (or, without one, the first row, which Next
    // then gives first): EmptyTable, or the header's own problem.
    std::optional<Problem> Start();

    const Settled& Found() const { return settled_; }

    // The header's names, or column1, column2, ... without one.
    const std::vector<std::string>& Names() const { return names_; }

    // The next row that is not blank; false at the end.
    bool Next(TableRow& row);

private:
    std::optional<Problem> Decode(std::vector<std::string>& fields);
    void Check(TableRow& row);

    const Dialect asked_;
    Settled settled_;
    std::unique_ptr<std::streambuf> utf16_;
    std::unique_ptr<std::istream> decoded_;
    std::unique_ptr<csv::Reader> reader_;
    std::vector<std::string> names_;
    std::optional<TableRow> first_;  // the first row of a table without a header
    std::string text_;
};

// The name of an input column without a header name: "column3".
std::string ColumnName(std::size_t i);

// A number in a table's cell, with the table's decimal mark: blank is
// NoNumber; a text that is a number only with the other mark is
// OtherDecimalMark, never guessed at; else what the number reader makes of it.
Outcome<double> ReadCell(std::string_view text, bool decimalComma, const std::string& column);

// Whether a cell holds nothing but blanks.
bool BlankCell(std::string_view text);

}  // namespace ambrelay::tables

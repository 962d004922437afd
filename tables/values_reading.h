#pragma once
// A file of one row per user: the version's label in one column and the
// user's value in another (or a numerator and a denominator), read as it
// streams past. The command line and the averages window read it here.

#include <atomic>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/observations.h"
#include "tables/column_lookup.h"

namespace ambrelay::tables {

struct ValuesLayout {
    std::string group, value;            // columns by header name or 1-based position
    std::string numerator, denominator;  // a ratio metric's columns, instead of value
    std::string control;                 // the label of version A; else the first label in the file
    CapRequest caps;
    std::optional<char> delimiter;       // else the header's
    std::optional<bool> decimalComma;    // else where the delimiter is a semicolon

    bool Ratio() const { return !numerator.empty(); }
};

enum class ValuesMiss {
    // The file's: nothing is computed
    EmptyFile,          // not even a header row
    Column,             // a column of the layout is not in the header
    TwoVersionsNeeded,  // rows of fewer than two versions (or none of the control)
    Stopped,            // the reader was asked to stop
    // A row's: the row is left out, the others still count
    FieldCount,    // fewer fields than the columns it needs
    NotANumber,    // a value that is not a number
    ThirdVersion,  // a label beyond the two versions
};

struct ValuesProblem {
    ValuesMiss kind = ValuesMiss::EmptyFile;
    long line = 0;                      // a row's physical line
    std::string text, column;           // NotANumber: the text and its column; ThirdVersion: the label
    std::size_t fields = 0, width = 0;  // FieldCount: the row's fields, the header's
    std::string labels[2];              // the labels known so far
    bool anyLabel = false;              // whether the file had any label
    std::string control;                // the control asked for
    ColumnProblem columnProblem;        // Column
};

struct ValuesRead {
    std::string labels[2];  // A's, B's
    double blanks = 0;      // blank values, counted as 0
    std::size_t rowProblems = 0;
    ValuesCollector::Result result;
};

// The header's cells and the delimiter they use; nothing for an empty file.
struct ValuesHeader {
    std::vector<std::string> names;
    char delimiter = ',';
};
std::optional<ValuesHeader> ReadHeader(std::istream& in);

using RowProblemSink = std::function<void(const ValuesProblem&)>;

// Reads the whole stream. Each row that cannot be counted goes to `onRow`;
// `stop`, when given and set, ends the reading early with Stopped.
std::variant<ValuesRead, ValuesProblem> ReadValues(std::istream& in, const ValuesLayout& layout,
                                                   const RowProblemSink& onRow,
                                                   const std::atomic<bool>* stop = nullptr);

}  // namespace ambrelay::tables

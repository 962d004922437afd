#pragma once
// How one table is read and written, decided once from the options and the
// header: the reader splits with it, the rows are judged with it, and the
// writer writes with it, so no row can change it.

#include <cstddef>
#include <string>
#include <vector>

#include "cli/judge_output.h"
#include "cli/text_encoding.h"
#include "engine/judge.h"
#include "engine/means.h"

namespace ambrelay::cli {

// What a table's rows hold: a test of rates (four counts) or of averages
// (each version's observations, average and standard deviation).
enum class TableKind { Rates, Means };

// The columns a row is judged from, by their 0-based place in a row: four
// counts, or six summaries of averages.
struct CountColumns {
    std::size_t at[6];
    std::size_t count = 4;
};

struct TableSettings {
    char delimiter = ',';
    bool decimalComma = false;
    bool sepLine = false;              // a first line "sep=;", which spreadsheet programs read too
    Encoding encoding = Encoding::Utf8;
    bool encodingKnown = false;        // said by --encoding or a byte order mark, else found from the text
    bool encodingGiven = false;        // said by --encoding: no row can contradict it
    bool byteOrderMark = false;        // the input began with one, so the output does too
    std::vector<std::string> inputNames;  // the header's names, or column1, column2, ... without one
    CountColumns columns{};
    Format format = Format::Csv;
    OutputNames resultNames;  // the figures' keys, then warnings and error, none an input's
    TableKind kind = TableKind::Rates;
    JudgeOptions judge;
    Better better = Better::Higher;
};

}  // namespace ambrelay::cli

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

namespace ambrelay::cli {

// The four count columns, by their 0-based place in a row.
struct CountColumns {
    std::size_t at[4];

    bool Holds(std::size_t i) const;
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
    JudgeOptions judge;
};

}  // namespace ambrelay::cli

#pragma once
// ambrelay-cli's commands, with the streams they read and write passed in,
// so the program, its tests and its fuzzer run the same code.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/messages.h"
#include "cli/table_settings.h"
#include "cli/text_encoding.h"
#include "engine/judge.h"
#include "engine/means.h"

namespace ambrelay::cli {

// args without the program's name. Returns the exit status.
int RunCli(std::vector<std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

// How judge --csv and means --csv read a table; what is not given is found
// from the header.
struct TableOptions {
    TableKind kind = TableKind::Rates;
    bool json = false;                 // JSON lines out instead of CSV
    std::optional<char> delimiter;     // ',', ';' or '\t'; else the header's
    std::optional<bool> decimalComma;  // else a comma in semicolon files, a point in others
    std::string columns;               // the four count columns by name or 1-based position, comma-separated
    bool noHeader = false;             // the first line is a row; columns by position
    std::optional<Encoding> encoding;  // else UTF-16 by its byte order mark, UTF-8, or Windows-1252
    std::optional<unsigned> jobs;      // threads that judge; every core when not given
    JudgeOptions judge;                // the planned total and a margin, for every row
    Better better = Better::Higher;    // for averages: which way is better
};

// judge --csv: judges every row of the table on `in`, writing CSV (or JSON
// lines) to `out` and a line per failed row to `err`.
int JudgeTable(std::istream& in, const TableOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

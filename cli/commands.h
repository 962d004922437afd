#pragma once
// ambrelay-cli's commands, with the streams they read and write passed in,
// so the program, its tests and its fuzzer run the same code.

#include <iosfwd>
#include <string>
#include <vector>

namespace ambrelay::cli {

enum ExitStatus { kResult = 0, kNoResult = 1, kUsage = 2 };

// args without the program's name. Returns the exit status.
int RunCli(std::vector<std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

// judge --csv: judges every row of the table on `in`, writing CSV (or JSON
// lines) to `out` and a line per failed row to `err`.
int JudgeTable(std::istream& in, bool json, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

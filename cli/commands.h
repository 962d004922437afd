#pragma once
// ambrelay-cli's commands, with the streams they read and write passed in,
// so the program, its tests and its fuzzer run the same code.

#include <iosfwd>
#include <string>
#include <vector>

namespace ambrelay::cli {

// args without the program's name. Returns the exit status.
int RunCli(std::vector<std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

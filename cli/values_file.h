#pragma once
// means --values: a file of one row per user, its version's label in one
// column and the user's value in another (or a numerator and a
// denominator), read as it streams past.

#include <iosfwd>
#include <optional>
#include <string>

#include "engine/judge.h"
#include "engine/observations.h"

namespace ambrelay::cli {

struct ValuesOptions {
    std::string group, value;             // columns by header name or 1-based position
    std::string numerator, denominator;   // a ratio metric's columns, instead of value
    std::string control;                  // the label of version A; else the first label in the file
    CapRequest caps;
    std::optional<char> delimiter;
    std::optional<bool> decimalComma;
    Better better = Better::Higher;
    bool json = false;
    JudgeOptions looking;  // the planned total and a margin
};

// Reads the values on `in`, writes the comparison to `out` and a line for
// each row that could not be read to `err`. Returns the exit status.
int CompareValues(std::istream& in, const ValuesOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

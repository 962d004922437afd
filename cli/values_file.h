#pragma once
// means --values: a file of one row per user, its version's label in one
// column and the user's value in another (or a numerator and a
// denominator).

#include <iosfwd>

#include "engine/judge.h"
#include "tables/values_reading.h"

namespace ambrelay::cli {

struct ValuesOptions {
    tables::ValuesLayout layout;
    Better better = Better::Higher;
    bool json = false;
    JudgeOptions looking;  // the planned total and a margin
};

// Reads the values on `in`, writes the comparison to `out` and a line for
// each row that could not be read to `err`. Returns the exit status.
int CompareValues(std::istream& in, const ValuesOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli

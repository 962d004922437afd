#pragma once
// means: two averages compared from their summaries, or from a table of them,
// or from the observations themselves.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "engine/judge.h"

namespace CLI {
class App;
}

namespace ambrelay::cli {

struct MeansOptions {
    std::vector<std::string> numbers;  // N1 MEAN1 SD1 N2 MEAN2 SD2
    bool lowerIsBetter = false;
    bool json = false;
    // A file of observations instead.
    std::string valuesPath, group = "group", value = "value", numerator, denominator, control, cap, capLower;
    bool ignoreZeros = false;
    // The peeking-safe test's planned total, and a margin for "not worse than".
    std::string planned, margin, marginUnits;
    JudgeOptions looking;  // as read from them

    void Register(CLI::App& means);
    int Run(std::istream& in, std::ostream& out, std::ostream& err) const;
};

}  // namespace ambrelay::cli

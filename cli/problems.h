#pragma once
// How the command line ends: an exit status for every problem, decided in
// one place, and the problem said on the error stream in the figures
// layer's words.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "engine/outcome.h"

namespace ambrelay::cli {

enum ExitStatus { kResult = 0, kNoResult = 1, kUsage = 2 };

// 2 for what the command line was given (its options, its columns, its
// files), 1 for inputs that have no result.
int ExitStatusOf(const Problem& problem);

// Says the problem on `err`, after "ambrelay-cli: " when it is a usage
// error, and returns its exit status.
int Fail(std::ostream& err, const Problem& problem);

// The rows that had no answer, for the error stream: each by its line up to
// the tenth, then how many more, so a reason repeated row after row does not
// flood the terminal. A table's output keeps every row's reason.
class RowProblems {
public:
    // The line of the row's problem while fewer than ten were said, onto `text`.
    void Add(const Problem& problem, std::string& text);
    // Counts `more` rows whose lines are not said.
    void AddUnnamed(std::size_t more) { count_ += more; }
    bool Any() const { return count_ > 0; }
    // "and 19,990 more rows ..." when there were more than ten; else nothing.
    std::string Rest(const char* what) const;

private:
    std::size_t count_ = 0;
};

}  // namespace ambrelay::cli

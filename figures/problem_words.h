#pragma once
// Every problem in one plain sentence, whichever door it reaches: what is
// wrong, where (the box, the column, the argument, the option or the row's
// line) and, where the user can do something, what to change. The window's
// own messages are among them, word for word.

#include <cstddef>
#include <string>

#include "engine/looking_early.h"
#include "engine/outcome.h"

namespace ambrelay {

// The reason alone, as a form shows it beside its field.
std::string ReasonText(Reason reason);

// The problem with all it carries: where it lies and what was given there.
// A row's line is not said here; the door that lists rows says it.
std::string ProblemText(const Problem& problem);

// A problem as a message box shows it: a sentence, begun with a capital.
std::string ProblemSentence(const Problem& problem);

// What a margin must be: "a percentage above 0 and below 100".
std::string MarginRule(MarginKind kind);

// The window's result label after the blank check fails, and as it starts.
std::string InsufficientDataText();

// "line 12: ...", a row's problem where the rows are listed.
std::string RowProblemText(const Problem& problem);

// "2 rows were left out; the first, line 12: ...".
std::string RowsLeftOutText(std::size_t count, const Problem& first);

}  // namespace ambrelay

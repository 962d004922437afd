#pragma once
// Every reason the engine gives, in one plain sentence: what is wrong and,
// where the user can do something, what to change.

#include <string>
#include <string_view>

#include "engine/looking_early.h"
#include "engine/outcome.h"

namespace ambrelay {

std::string ReasonText(Reason reason);

inline std::string ReasonText(const Problem& problem) { return ReasonText(problem.reason); }

// What a margin must be: "a percentage above 0 and below 100".
std::string MarginRule(MarginKind kind);

// The planned observations and a margin as a person types them, read alike
// by every window and the command line; a relative margin may end in "%".
Outcome<double> ReadPlanned(std::string_view text);
Outcome<Margin> ReadMargin(std::string_view text, MarginKind kind);

}  // namespace ambrelay

#pragma once
// One test's four counts as every door but the window hands them over (a
// command line's arguments, a table's row, a script's numbers), each read
// already: checked, then judged. The window keeps its own order of checks.

#include "engine/judge.h"
#include "engine/outcome.h"

namespace ambrelay {

// The judgement, finished; or the first count missing or not a number (in
// the window's order of boxes), more responses than views, or why the
// counts have no result.
Outcome<Judgement> JudgeGiven(const Outcome<double>& views1, const Outcome<double>& responses1,
                              const Outcome<double>& views2, const Outcome<double>& responses2,
                              const JudgeOptions& options);

}  // namespace ambrelay

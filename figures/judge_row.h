#pragma once
// One test's four counts as texts, judged as the window judges them: the
// input checks first, then the engine. Every front end that starts from
// texts (a table's row, a number handed over by a script) comes through here.

#include <optional>
#include <string>

#include "engine/judge.h"
#include "numbers/counts.h"

namespace ambrelay {

// Nothing when `judgement` is finished; else why not, in the window's words.
std::optional<std::string> JudgeTexts(const CountTexts& texts, const JudgeOptions& options, Judgement& judgement);

}  // namespace ambrelay

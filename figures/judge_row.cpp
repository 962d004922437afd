#include "figures/judge_row.h"

#include "checks/input_checks.h"
#include "figures/reasons.h"

namespace ambrelay {

std::optional<std::string> JudgeTexts(const CountTexts& texts, const JudgeOptions& options, Judgement& judgement)
{
    if (const auto failure = RunInputChecks(texts)) {
        return failure->outcome.message;
    }
    judgement = Judge(ReadCounts(texts), options);
    if (!judgement.Finished()) {
        return ReasonText(judgement.result.Failure().reason);
    }
    return std::nullopt;
}

}  // namespace ambrelay

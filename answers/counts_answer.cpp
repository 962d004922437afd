#include "answers/counts_answer.h"

#include "checks/given_values.h"

namespace ambrelay {

Outcome<Judgement> JudgeGiven(const Outcome<double>& views1, const Outcome<double>& responses1,
                              const Outcome<double>& views2, const Outcome<double>& responses2,
                              const JudgeOptions& options)
{
    const Outcome<Counts> counts = CheckCounts(views1, responses1, views2, responses2);
    if (!counts) {
        return counts.Failure();
    }
    Judgement judgement = Judge(*counts, options);
    if (!judgement.Finished()) {
        return Problem(judgement.result.Failure().reason);
    }
    return judgement;
}

}  // namespace ambrelay

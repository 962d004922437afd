#include "engine/calculation.h"

#include "engine/normal_table.h"
#include "engine/verdict.h"

namespace ambrelay {

ZStatOutcome Calculate(double views1, double responses1, double views2, double responses2)
{
    ZStatOutcome outcome = ComputeZStat(views1, responses1, views2, responses2);
    if (outcome.failure) {
        return outcome;
    }
    // Every ZStat the first stage produces is a key or above the last one,
    // so the table always answers here.
    if (const auto probability = LookupNormalTable(outcome.result.ZStat)) {
        outcome.result.Probability = *probability;
    }
    ComputeVerdict(outcome.result);
    return outcome;
}

}  // namespace ambrelay

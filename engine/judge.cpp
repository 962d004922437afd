#include "engine/judge.h"

#include "engine/normal_table.h"
#include "engine/verdict.h"

namespace ambrelay {

Judgement Judge(const Counts& counts, const JudgeOptions& options)
{
    Judgement j;
    j.counts = counts;
    ZStatOutcome outcome = ComputeZStat(counts.views1, counts.responses1, counts.views2, counts.responses2);
    j.calculation = outcome.result;
    if (outcome.failure) {
        j.result = *outcome.failure;
        return j;
    }
    // Every ZStat the first stage produces is a key or above the last one,
    // so the table always answers here.
    if (const auto probability = LookupNormalTable(j.calculation.ZStat)) {
        j.calculation.Probability = *probability;
    }
    DecideVerdict(j.calculation);
    Insights& insights = j.result.Emplace(
        ComputeInsights(counts, j.calculation, options.splitPercentA, options.intervalLevel, options.parts));
    insights.plannedByUser = options.plannedObservations.has_value();
    insights.plannedObservations = options.plannedObservations.value_or(kDefaultPlannedObservations);
    if (options.parts.alwaysValid) {
        insights.alwaysValid = AlwaysValidTest(counts, insights.plannedObservations);
    }
    insights.margin = options.margin;
    if (options.margin && options.parts.nonInferiority) {
        insights.nonInferiority = TestNonInferiority(counts, *options.margin);
    }
    return j;
}

void StoreFormVariables(const Judgement& j, ComparisonResult& variables)
{
    if (j.Finished()) {
        variables = j.calculation;
        return;
    }
    StoreCompletedSteps({j.calculation, j.result.Failure()}, variables);
}

}  // namespace ambrelay

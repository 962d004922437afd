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
    j.failure = outcome.failure;
    if (j.failure) {
        return j;
    }
    // Every ZStat the first stage produces is a key or above the last one,
    // so the table always answers here.
    if (const auto probability = LookupNormalTable(j.calculation.ZStat)) {
        j.calculation.CumulativeProbability = *probability;
    }
    ComputeVerdict(j.calculation);
    j.view = ViewOf(j.calculation);
    j.insights = ComputeInsights(counts, j.calculation);
    if (j.insights) {
        Insights& in = *j.insights;
        in.plannedByUser = options.plannedObservations.has_value();
        in.plannedObservations = options.plannedObservations.value_or(kDefaultPlannedObservations);
        in.alwaysValid = AlwaysValidTest(counts, in.plannedObservations);
        in.margin = options.margin;
        if (options.margin) {
            in.nonInferiority = TestNonInferiority(counts, *options.margin);
        }
    }
    return j;
}

void StoreFormVariables(const Judgement& j, ComparisonResult& variables)
{
    StoreCompletedSteps({j.calculation, j.failure}, variables);
    if (j.Finished()) {
        const Calculation& c = j.calculation;
        variables.Probability = c.PValue;
        variables.Likelihood = c.Likelihood;
        variables.Winner = WinnerText(c.winner);
        variables.Band = c.Band;
        variables.VerdictText = c.VerdictText;
    }
}

}  // namespace ambrelay

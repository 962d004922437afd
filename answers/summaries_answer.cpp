#include "answers/summaries_answer.h"

namespace ambrelay {

Outcome<MeansAnswer> CompareSummaries(const MeansRequest& r)
{
    const MeansOptions& o = r.options;
    Outcome<MeansComparison> comparison = CompareMeans(r.a, r.b, o.better, o.ratios, o.splitPercentA, o.intervalLevel);
    if (!comparison) {
        return comparison.Failure();
    }
    MeansAnswer answer{r, std::move(*comparison), Reason::NoObservationsOfBoth, std::nullopt, {}};
    const MeansComparison& c = answer.comparison;
    const double planned = o.plannedObservations.value_or(kDefaultPlannedObservations);
    answer.alwaysValid = AlwaysValidTest(c.difference, c.standardError * c.standardError, r.a.n + r.b.n, planned);
    if (o.margin) {
        answer.nonInferiority = TestNonInferiority(r.a, r.b, *o.margin, o.better);
    }
    if (c.sampleRatio && c.sampleRatio->mismatch) {
        answer.warnings.push_back(WarningCode::SampleRatioMismatch);
    }
    return answer;
}

Outcome<MeansRequest> SummariesGiven(const Outcome<double> (&six)[6], const MeansOptions& options)
{
    for (const Outcome<double>& x : six) {
        if (!x) {
            return x.Failure();
        }
    }
    return MeansRequest{{*six[0], *six[1], *six[2]}, {*six[3], *six[4], *six[5]}, options};
}

}  // namespace ambrelay

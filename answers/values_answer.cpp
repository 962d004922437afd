#include "answers/values_answer.h"

namespace ambrelay {

Outcome<ValuesAnswer> CompareValuesFile(std::istream& in, const ValuesRequest& request,
                                        const std::atomic<bool>* stop)
{
    Outcome<tables::ValuesRead> read = tables::ReadValues(in, request.layout, stop);
    if (!read) {
        return read.Failure();
    }
    return Recompared(ValuesAnswer{request, std::move(*read), Reason::NoValueRows}, request.options,
                      request.family);
}

ValuesAnswer Recompared(ValuesAnswer answer, const MeansOptions& options, const VersionsOptions& family)
{
    answer.request.options = options;
    answer.request.options.ratios = answer.request.layout.Ratio();
    answer.request.family = family;
    answer.request.family.control.clear();  // the reader puts the control first
    if (answer.read.versions) {
        answer.versions = *answer.read.versions;
        return answer;
    }
    MeansVersions versions{answer.read.labels, {}, {}, std::nullopt};
    const ValuesCollector::Result& result = answer.read.result;
    if (!result.covariates.empty()) {
        // A covariate whose ratio has no denominator leaves nothing to adjust by.
        if (!result.everyone) {
            answer.versions = result.everyone.Failure();
            return answer;
        }
        for (const Outcome<CovariateSummary>& covariate : result.covariates) {
            if (!covariate) {
                answer.versions = covariate.Failure();
                return answer;
            }
            versions.covariates.push_back(*covariate);
        }
        versions.fit = FitCovariate(*result.everyone);
    }
    for (const Outcome<MeanSummary>& summary : answer.read.result.summaries) {
        if (!summary && versions.labels.size() == 2) {
            answer.versions = summary.Failure();  // as two versions have always said it
            return answer;
        }
        if (!summary) {
            // A version whose values have no average: said as its comparison's problem.
            Problem problem(Reason::VersionWithoutAnswer, NameKind::None,
                            versions.labels[versions.summaries.size()], versions.labels.front());
            problem.because = summary.Failure().reason;
            answer.versions = problem;
            return answer;
        }
        versions.summaries.push_back(*summary);
    }
    answer.versions = CompareVersions(versions, answer.request.options, answer.request.family);
    return answer;
}

}  // namespace ambrelay

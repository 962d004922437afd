#include "answers/values_answer.h"

namespace ambrelay {

Outcome<ValuesAnswer> CompareValuesFile(std::istream& in, const ValuesRequest& request,
                                        const std::atomic<bool>* stop)
{
    Outcome<tables::ValuesRead> read = tables::ReadValues(in, request.layout, stop);
    if (!read) {
        return read.Failure();
    }
    return Recompared(ValuesAnswer{request, std::move(*read), Reason::NoValueRows}, request.options);
}

ValuesAnswer Recompared(ValuesAnswer answer, const MeansOptions& options)
{
    answer.request.options = options;
    answer.request.options.ratios = answer.request.layout.Ratio();
    const ValuesCollector::Result& result = answer.read.result;
    if (answer.read.versions) {
        answer.means = *answer.read.versions;
    } else if (!result.a || !result.b) {
        answer.means = (result.a ? result.b : result.a).Failure();
    } else {
        answer.means = CompareSummaries({*result.a, *result.b, answer.request.options});
    }
    return answer;
}

}  // namespace ambrelay

#include "answers/summaries_answer.h"

#include <cmath>

namespace ambrelay {

namespace {

// The comparison with the covariate taken out, the plain one beside it, and
// the test of the covariate itself; the request then holds the adjusted
// summaries, which the peeking-safe test and "not worse than" take.
Outcome<MeansAnswer> CompareAdjusted(const MeansRequest& r)
{
    const MeansOptions& o = r.options;
    const CovariateRequest& given = *r.covariate;
    Outcome<MeansComparison> comparison =
        CompareAdjustedMeans(given.a, given.b, given.fit, o.better, o.ratios, o.splitPercentA, o.intervalLevel);
    if (!comparison) {
        return comparison.Failure();
    }
    Outcome<MeansComparison> unadjusted = CompareMeans(r.a, r.b, o.better, o.ratios, o.splitPercentA, o.intervalLevel);
    if (!unadjusted) {
        return unadjusted.Failure();
    }
    MeansRequest adjusted = r;
    adjusted.a = AdjustedSummary(given.a, given.fit);
    adjusted.b = AdjustedSummary(given.b, given.fit);
    CovariateAnswer covariate{given, VarianceReduction(given.a, given.fit), VarianceReduction(given.b, given.fit),
                              std::move(*unadjusted), Reason::NoVariation};
    covariate.balance = CompareMeans({given.a.n, given.a.covariateMean, std::sqrt(given.a.covariateVariance)},
                                     {given.b.n, given.b.covariateMean, std::sqrt(given.b.covariateVariance)},
                                     Better::Higher, o.ratios);
    MeansAnswer answer{adjusted, std::move(*comparison), Reason::NoObservationsOfBoth, std::nullopt, {},
                       std::move(covariate)};
    return answer;
}

}  // namespace

Outcome<MeansAnswer> CompareSummaries(const MeansRequest& request)
{
    Outcome<MeansAnswer> compared = Reason::NoVariation;
    if (request.covariate) {
        compared = CompareAdjusted(request);
    } else {
        Outcome<MeansComparison> comparison = CompareMeans(request.a, request.b, request.options.better,
                                                           request.options.ratios, request.options.splitPercentA,
                                                           request.options.intervalLevel);
        if (!comparison) {
            return comparison.Failure();
        }
        compared = MeansAnswer{request, std::move(*comparison), Reason::NoObservationsOfBoth, std::nullopt, {}, {}};
    }
    if (!compared) {
        return compared;
    }
    MeansAnswer& answer = *compared;
    const MeansRequest& r = answer.request;
    const MeansOptions& o = r.options;
    const MeansComparison& c = answer.comparison;
    const double planned = o.plannedObservations.value_or(kDefaultPlannedObservations);
    answer.alwaysValid = AlwaysValidTest(c.difference, c.standardError * c.standardError, r.a.n + r.b.n, planned);
    if (o.margin) {
        answer.nonInferiority = TestNonInferiority(r.a, r.b, *o.margin, o.better);
    }
    if (c.sampleRatio && c.sampleRatio->mismatch) {
        answer.warnings.push_back(WarningCode::SampleRatioMismatch);
    }
    if (answer.covariate) {
        const Outcome<MeansComparison>& balance = answer.covariate->balance;
        if (balance && balance->pTwoSided < kImbalanceLevel) {
            answer.warnings.push_back(WarningCode::CovariateImbalance);
        }
        if (answer.covariate->given.fit.constant) {
            answer.warnings.push_back(WarningCode::ConstantCovariate);
        }
    }
    return compared;
}

Outcome<MeansRequest> SummariesGiven(const Outcome<double> (&six)[6], const MeansOptions& options)
{
    for (const Outcome<double>& x : six) {
        if (!x) {
            return x.Failure();
        }
    }
    return MeansRequest{{*six[0], *six[1], *six[2]}, {*six[3], *six[4], *six[5]}, options, std::nullopt};
}

}  // namespace ambrelay

#include "engine/insights.h"

#include <algorithm>
#include <cmath>

#include "engine/chance_to_beat.h"
#include "engine/portable_math.h"
#include "engine/test_plan.h"

namespace ambrelay {
Interval WilsonInterval(double responses, double views)
{
    static const double z = math::NormalQuantile(0.975);
    const double p = responses / views;
    const double z2n = z * z / views;
    const double centre = (p + z2n / 2) / (1 + z2n);
    const double half = z * std::sqrt(p * (1 - p) / views + z2n / (4 * views)) / (1 + z2n);
    return {std::max(0.0, centre - half) * 100, std::min(1.0, centre + half) * 100};
}

Insights ComputeInsights(const Counts& counts, const ComparisonResult& r, double splitPercentA, double intervalLevel,
                         const InsightParts& parts)
{
    const double views1 = counts.views1;
    const double views2 = counts.views2;
    Insights in;
    const bool bLeads = r.Ratio2 > r.Ratio1;
    in.leader = bLeads ? Version::B : Version::A;
    in.identical = r.Ratio1 == r.Ratio2;
    in.leaderRatio = bLeads ? r.Ratio2 : r.Ratio1;
    in.otherRatio = bLeads ? r.Ratio1 : r.Ratio2;
    const double difference = in.leaderRatio - in.otherRatio;
    in.differencePoints = difference * 100;
    static const double z95 = math::NormalQuantile(0.975);
    // The difference's and the lift's intervals at the level asked, 95% unless a correction widens them.
    const double z975 = intervalLevel == 0.95 ? z95 : math::NormalQuantile(1 - (1 - intervalLevel) / 2);
    if (in.otherRatio > 0) {
        const double lift = (in.leaderRatio / in.otherRatio - 1) * 100;
        // A ratio of 1 in 1e308 against one of a half is a lift no double holds.
        in.liftPercent = std::isfinite(lift) ? Outcome<double>(lift) : Reason::BeyondDoubles;
    }
    if (in.otherRatio > 0 && parts.lift) {
        const double leaderResponses = bLeads ? counts.responses2 : counts.responses1;
        const double otherResponses = bLeads ? counts.responses1 : counts.responses2;
        const double logError = std::sqrt(1 / leaderResponses - 1 / (bLeads ? views2 : views1) + 1 / otherResponses
                                          - 1 / (bLeads ? views1 : views2));
        const double logRatio = math::Log(in.leaderRatio / in.otherRatio);
        in.liftIntervalPercent = Interval{math::Expm1(logRatio - z975 * logError) * 100,
                                          math::Expm1(logRatio + z975 * logError) * 100};
    }
    // Unpooled: each version's own spread, as for an interval of the difference.
    const double unpooled = std::sqrt(r.Ratio1 * (1 - r.Ratio1) / views1 + r.Ratio2 * (1 - r.Ratio2) / views2);
    if (parts.ratioIntervals) {
        in.ratio1IntervalPercent = WilsonInterval(counts.responses1, views1);
        in.ratio2IntervalPercent = WilsonInterval(counts.responses2, views2);
    }
    in.intervalLowPoints = (difference - z975 * unpooled) * 100;
    in.intervalHighPoints = (difference + z975 * unpooled) * 100;

    // The verdict's own pooled z, unrounded, through the normal distribution.
    if (parts.normalP) {
        const double z = std::fabs(r.Z);
        in.twoSidedP = math::Erfc(z / std::sqrt(2.0));
        in.oneSidedP = in.twoSidedP / 2;
    }

    const double pooled = r.PooledRatio;
    in.smallestExpectedCell = std::min(views1, views2) * std::min(pooled, 1 - pooled);
    if (parts.exact || in.smallestExpectedCell < kSmallestExpectedCell) {
        in.exact = FisherExactTest(counts, in.leader);
    }
    if (parts.chance) {
        in.chanceToBeat = ChanceToBeat(counts, in.leader);
    }
    in.splitPercentA = splitPercentA;
    in.sampleRatio = CheckSampleRatio(views1, views2, splitPercentA);

    if (!in.identical && parts.needed) {
        const double needed = std::ceil(ObservationsPerVersion(r.Ratio1, r.Ratio2));
        in.observationsNeeded = std::isfinite(needed) ? Outcome<double>(needed) : Reason::TooManyObservations;
    }
    if (in.liftIntervalPercent
        && !(std::isfinite(in.liftIntervalPercent->low) && std::isfinite(in.liftIntervalPercent->high))) {
        in.liftIntervalPercent.reset();  // a lift whose interval doubles cannot carry
    }
    if (in.smallestExpectedCell < kSmallestExpectedCell) {
        in.warnings.push_back(WarningCode::SmallSample);
    }
    if (in.sampleRatio && in.sampleRatio->mismatch) {
        in.warnings.push_back(WarningCode::SampleRatioMismatch);
    }
    return in;
}

}  // namespace ambrelay

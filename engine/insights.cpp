#include "engine/insights.h"

#include <algorithm>
#include <cmath>

#include "engine/chance_to_beat.h"
#include "engine/portable_math.h"
#include "engine/figure_text.h"
#include "engine/test_plan.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string SmallSampleMessage(const Insights& in)
{
    return "Small sample: the smallest expected count of the table is "
           + NumberToText(RoundDecimal(in.smallestExpectedCell, 2))
           + ", below 5, so the normal approximation behind the verdict is unreliable. " + ExactTestText(in.exact);
}

std::string MismatchMessage(const Counts& c, const SampleRatio& ratio)
{
    return "Sample ratio mismatch: " + NumberToText(c.views1) + " against " + NumberToText(c.views2)
           + " observations is far from an even split, if both versions were meant to be shown equally often "
             "(chi-square "
           + NumberToText(RoundDecimal(ratio.chiSquare, 2)) + ", " + PEquals(ratio.pValue) + "). This usually means the test was set up or counted wrongly, so its verdict should not be trusted.";
}

}  // namespace

std::string WarningCodeName(WarningCode code)
{
    return code == WarningCode::SmallSample ? "small_sample" : "sample_ratio_mismatch";
}

Interval WilsonInterval(double responses, double views)
{
    static const double z = math::NormalQuantile(0.975);
    const double p = responses / views;
    const double z2n = z * z / views;
    const double centre = (p + z2n / 2) / (1 + z2n);
    const double half = z * std::sqrt(p * (1 - p) / views + z2n / (4 * views)) / (1 + z2n);
    return {std::max(0.0, centre - half) * 100, std::min(1.0, centre + half) * 100};
}

std::optional<Insights> ComputeInsights(const Counts& counts, const Calculation& r)
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
    static const double z975 = math::NormalQuantile(0.975);
    if (in.otherRatio > 0) {
        in.liftPercent = (in.leaderRatio / in.otherRatio - 1) * 100;
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
    in.ratio1IntervalPercent = WilsonInterval(counts.responses1, views1);
    in.ratio2IntervalPercent = WilsonInterval(counts.responses2, views2);
    in.intervalLowPoints = (difference - z975 * unpooled) * 100;
    in.intervalHighPoints = (difference + z975 * unpooled) * 100;

    // The verdict's own pooled z, unrounded, through the normal distribution.
    const double z = std::fabs(r.Z);
    in.twoSidedP = math::Erfc(z / std::sqrt(2.0));
    in.oneSidedP = in.twoSidedP / 2;

    in.exact = FisherExactTest(counts, in.leader);
    in.chanceToBeat = ChanceToBeat(counts, in.leader);
    const double pooled = r.PooledRatio;
    in.smallestExpectedCell = std::min(views1, views2) * std::min(pooled, 1 - pooled);
    in.sampleRatio = CheckSampleRatio(views1, views2);

    if (!in.identical) {
        in.observationsNeeded = std::ceil(ObservationsPerVersion(r.Ratio1, r.Ratio2));
    }
    for (const double v : {in.differencePoints, in.intervalLowPoints, in.intervalHighPoints, in.oneSidedP,
                           in.twoSidedP, in.liftPercent.value_or(0), in.observationsNeeded.value_or(0),
                           in.chanceToBeat.value_or(0), in.smallestExpectedCell, in.ratio1IntervalPercent.low,
                           in.ratio1IntervalPercent.high, in.ratio2IntervalPercent.low,
                           in.ratio2IntervalPercent.high}) {
        if (!std::isfinite(v)) {
            return std::nullopt;
        }
    }
    if (in.liftIntervalPercent
        && !(std::isfinite(in.liftIntervalPercent->low) && std::isfinite(in.liftIntervalPercent->high))) {
        in.liftIntervalPercent.reset();  // a lift whose interval doubles cannot carry
    }
    if (in.smallestExpectedCell < kSmallestExpectedCell) {
        in.warnings.push_back({WarningCode::SmallSample, SmallSampleMessage(in)});
    }
    if (in.sampleRatio && in.sampleRatio->mismatch) {
        in.warnings.push_back({WarningCode::SampleRatioMismatch, MismatchMessage(counts, *in.sampleRatio)});
    }
    return in;
}

std::string ExactTestText(const ExactTestOutcome& exact)
{
    if (exact.test) {
        return "Fisher's exact test gives " + PEquals(exact.test->twoSided) + " two-sided.";
    }
    switch (exact.gap.value_or(ExactTestGap::NoTable)) {
    case ExactTestGap::NotWholeCounts:
        return "Fisher's exact test needs whole counts, and these have fractions.";
    case ExactTestGap::TooLarge:
        return "Fisher's exact test is not run beyond 4,294,967,295 observations in all.";
    case ExactTestGap::NoTable:
        break;
    }
    return "Fisher's exact test needs counts of zero or more, with no more responses than observations.";
}

}  // namespace ambrelay

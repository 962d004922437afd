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

std::string Percent(double ratio) { return PercentText(ratio * 100) + "%"; }

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
           + NumberToText(RoundDecimal(ratio.chiSquare, 2)) + ", p " + (ratio.pValue < 0.0001 ? "" : "= ")
           + PValueText(ratio.pValue)
           + "). This usually means the test was set up or counted wrongly, so its verdict should not be trusted.";
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
    in.leader = bLeads ? "B" : "A";
    in.other = bLeads ? "A" : "B";
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

    in.exact = FisherExactTest(counts, !bLeads);
    in.chanceToBeat = ChanceToBeat(counts, !bLeads);
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
        return "Fisher's exact test gives p " + std::string(exact.test->twoSided < 0.0001 ? "" : "= ")
               + PValueText(exact.test->twoSided) + " two-sided.";
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

std::string InsightsText(const Insights& in, bool withWarnings)
{
    std::string text;
    const int decimals = IntervalDecimals(in.intervalLowPoints, in.intervalHighPoints);
    const std::string difference = Fixed(in.differencePoints, decimals);
    const std::string interval = " (95% confidence interval " + Fixed(in.intervalLowPoints, decimals) + " to "
                                 + Fixed(in.intervalHighPoints, decimals) + " points)";
    if (in.identical) {
        text = "A and B responded equally often: " + Percent(in.leaderRatio) + " each" + interval + ".";
    } else if (in.liftPercent) {
        const int liftDecimals =
            in.liftIntervalPercent ? IntervalDecimals(in.liftIntervalPercent->low, in.liftIntervalPercent->high) : 1;
        text = in.leader + " responded " + Fixed(*in.liftPercent, liftDecimals) + "% more often than " + in.other
               + ": " + Percent(in.leaderRatio) + " against " + Percent(in.otherRatio) + ", a difference of "
               + difference + " points" + interval + ".";
    } else {
        text = in.leader + " responded " + Percent(in.leaderRatio) + " of the time and " + in.other
               + " never, a difference of " + difference + " points" + interval + ".";
    }
    text += " The p value of the normal approximation is " + PValueText(in.oneSidedP) + " one-sided and "
            + PValueText(in.twoSidedP) + " two-sided.";
    if (in.observationsNeeded) {
        text += " To detect a difference this size with 80% power at the 5% level, a test needs about "
                + Grouped(*in.observationsNeeded) + " observations per version.";
    } else {
        text += " With no difference between the versions, there is no difference for a larger test to detect.";
    }

    for (const Warning& warning : in.warnings) {
        text += withWarnings ? "\n" + warning.message : "";
    }
    const bool exactInWarning = withWarnings && std::any_of(in.warnings.begin(), in.warnings.end(),
                                            [](const Warning& w) { return w.code == WarningCode::SmallSample; });
    if (!exactInWarning) {
        text += "\n" + ExactTestText(in.exact);
    }
    if (in.liftIntervalPercent) {
        const Interval& lift = *in.liftIntervalPercent;
        const int liftDecimals = IntervalDecimals(lift.low, lift.high);
        text += "\nLift of " + in.leader + " over " + in.other + ": " + Fixed(*in.liftPercent, liftDecimals)
                + "% (95% confidence interval " + Fixed(lift.low, liftDecimals) + "% to "
                + Fixed(lift.high, liftDecimals) + "%).";
    } else if (!in.identical) {
        text += "\nNo lift: " + in.other + " never responded, so there is nothing to compare against.";
    }
    if (in.chanceToBeat) {
        text += "\nChance that " + in.leader + "'s true response rate is the higher (flat priors): "
                + ChanceText(*in.chanceToBeat) + ".";
    }
    return text;
}

}  // namespace ambrelay

#include "engine/insights.h"

#include <cmath>

#include "engine/figure_text.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

constexpr double kZ975 = 1.959963984540054;  // two-sided 5% level
constexpr double kZ80 = 0.8416212335729143;  // 80% power

std::string Percent(double ratio) { return PercentText(ratio * 100) + "%"; }

}  // namespace

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
    if (in.otherRatio > 0) {
        in.liftPercent = (in.leaderRatio / in.otherRatio - 1) * 100;
    }
    // Unpooled: each version's own spread, as for an interval of the difference.
    const double unpooled = std::sqrt(r.Ratio1 * (1 - r.Ratio1) / views1 + r.Ratio2 * (1 - r.Ratio2) / views2);
    in.intervalLowPoints = (difference - kZ975 * unpooled) * 100;
    in.intervalHighPoints = (difference + kZ975 * unpooled) * 100;

    // The verdict's own pooled z, unrounded, through the normal distribution.
    const double z = std::fabs(r.Z);
    in.oneSidedP = 0.5 * std::erfc(z / std::sqrt(2.0));
    in.twoSidedP = std::erfc(z / std::sqrt(2.0));

    if (!in.identical) {
        const double mean = (r.Ratio1 + r.Ratio2) / 2;
        const double root = kZ975 * std::sqrt(2 * mean * (1 - mean))
                            + kZ80 * std::sqrt(r.Ratio1 * (1 - r.Ratio1) + r.Ratio2 * (1 - r.Ratio2));
        in.observationsNeeded = std::ceil(root * root / (difference * difference));
    }
    for (const double v : {in.differencePoints, in.intervalLowPoints, in.intervalHighPoints, in.oneSidedP,
                           in.twoSidedP, in.liftPercent.value_or(0), in.observationsNeeded.value_or(0)}) {
        if (!std::isfinite(v)) {
            return std::nullopt;
        }
    }
    return in;
}

std::string InsightsText(const Insights& in)
{
    std::string text;
    const int decimals = IntervalDecimals(in.intervalLowPoints, in.intervalHighPoints);
    const std::string difference = Fixed(in.differencePoints, decimals);
    const std::string interval = " (95% confidence interval " + Fixed(in.intervalLowPoints, decimals) + " to "
                                 + Fixed(in.intervalHighPoints, decimals) + " points)";
    if (in.identical) {
        text = "A and B responded equally often: " + Percent(in.leaderRatio) + " each" + interval + ".";
    } else if (in.liftPercent) {
        text = in.leader + " responded " + NumberToText(RoundDecimal(*in.liftPercent, 1)) + "% more often than "
               + in.other + ": " + Percent(in.leaderRatio) + " against " + Percent(in.otherRatio)
               + ", a difference of " + difference + " points" + interval + ".";
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
    return text;
}

}  // namespace ambrelay

#include "engine/detail_rows.h"

#include "engine/figure_text.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string WithInterval(double estimate, const Interval& i, const std::string& unit)
{
    const int d = IntervalDecimals(i.low, i.high);
    return Fixed(estimate, d) + unit + " (" + Fixed(i.low, d) + unit + " to " + Fixed(i.high, d) + unit + ")";
}

}  // namespace

std::vector<DetailRow> DetailRows(const Judgement& j)
{
    if (!j.Finished() || !j.insights) {
        return {};
    }
    const Insights& in = *j.insights;
    const Calculation& c = j.calculation;
    std::vector<DetailRow> rows;
    rows.push_back({"Response ratio of A (95% interval*)", WithInterval(c.Ratio1 * 100, in.ratio1IntervalPercent, "%")});
    rows.push_back({"Response ratio of B (95% interval*)", WithInterval(c.Ratio2 * 100, in.ratio2IntervalPercent, "%")});
    rows.push_back({"Difference, " + in.leader + " minus " + in.other + " (95% interval)",
                    WithInterval(in.differencePoints, {in.intervalLowPoints, in.intervalHighPoints}, " points")});
    if (in.liftPercent && in.liftIntervalPercent) {
        rows.push_back({"Lift of " + in.leader + " over " + in.other + " (95% interval)",
                        WithInterval(*in.liftPercent, *in.liftIntervalPercent, "%")});
    } else if (!in.identical) {
        rows.push_back({"Lift of " + in.leader + " over " + in.other, "none: " + in.other + " never responded"});
    }
    rows.push_back({"p value, one-tailed from the table (as shown)", j.view.pValue});
    rows.push_back({"p value, normal approximation", PValueText(in.oneSidedP) + " one-sided, "
                                                         + PValueText(in.twoSidedP) + " two-sided"});
    rows.push_back({"p value, Fisher's exact test",
                    in.exact.test ? PValueText(in.exact.test->twoSided) + " two-sided" : ExactTestText(in.exact)});
    if (in.chanceToBeat) {
        rows.push_back({"Chance that " + in.leader + " is really better (flat priors)",
                        ChanceText(*in.chanceToBeat)});
    }
    rows.push_back({"Observations per version to detect it (80% power, 5% two-sided)",
                    in.observationsNeeded ? Grouped(*in.observationsNeeded) : "none: there is no difference"});
    return rows;
}

}  // namespace ambrelay

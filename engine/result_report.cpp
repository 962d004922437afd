#include "engine/result_report.h"

#include "engine/figure_text.h"
#include "numbers/number_text.h"

namespace ambrelay {

std::string ResultReport(const Judgement& j)
{
    if (!j.Finished() || !j.insights) {
        return {};
    }
    const Counts& c = j.counts;
    const ResultView& shown = j.view;
    std::string report = "Ambrelay A/B test result\n";
    report += "Version 1 (A): " + NumberToText(c.views1) + " observations, " + NumberToText(c.responses1)
              + " responses, ratio " + shown.ratio1 + "\n";
    report += "Version 2 (B): " + NumberToText(c.views2) + " observations, " + NumberToText(c.responses2)
              + " responses, ratio " + shown.ratio2 + "\n";
    report += "p value: " + shown.pValue + "\n";
    report += "Z statistic: " + shown.zStat + "\n";
    report += "Likelihood: " + NumberToText(j.calculation.Likelihood) + "%\n";
    report += "Verdict: " + shown.verdict + "\n\n";
    const Insights& in = *j.insights;
    report += InsightsText(in) + "\n";
    if (in.exact.test) {
        report += "Fisher's exact test, one-sided toward " + in.leader + ": p " + std::string(in.exact.test->oneSided < 0.0001 ? "" : "= ")
                  + PValueText(in.exact.test->oneSided)
                  + "\n";
    }
    if (in.sampleRatio) {
        report += "Split of observations against an even one: chi-square "
                  + NumberToText(RoundDecimal(in.sampleRatio->chiSquare, 2)) + ", p "
                  + (in.sampleRatio->pValue < 0.0001 ? "" : "= ") + PValueText(in.sampleRatio->pValue) + "\n";
    }
    return report;
}

}  // namespace ambrelay

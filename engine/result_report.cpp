#include "engine/result_report.h"

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
    report += InsightsText(*j.insights) + "\n";
    return report;
}

}  // namespace ambrelay

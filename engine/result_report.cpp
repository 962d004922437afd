#include "engine/result_report.h"

#include "engine/result_display.h"
#include "numbers/number_text.h"

namespace ambrelay {

std::string ResultReport(const Counts& c, const ComparisonResult& r, const Insights& insights)
{
    const ResultTexts shown = TextsOf(r);
    std::string report = "Ambrelay A/B test result\n";
    report += "Version 1 (A): " + NumberToText(c.views1) + " observations, " + NumberToText(c.responses1)
              + " responses, ratio " + shown.ratio1 + "\n";
    report += "Version 2 (B): " + NumberToText(c.views2) + " observations, " + NumberToText(c.responses2)
              + " responses, ratio " + shown.ratio2 + "\n";
    report += "p value: " + shown.pValue + "\n";
    report += "Z statistic: " + shown.zStat + "\n";
    report += "Likelihood: " + NumberToText(r.Likelihood) + "%\n";
    report += "Verdict: " + r.VerdictText + "\n\n";
    report += InsightsText(insights) + "\n";
    return report;
}

}  // namespace ambrelay

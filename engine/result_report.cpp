#include "engine/result_report.h"

#include "engine/figures.h"
#include "numbers/number_text.h"

namespace ambrelay {

std::string ResultReport(const Judgement& j)
{
    if (!j.Finished() || !j.insights) {
        return {};
    }
    const Counts& c = j.counts;
    std::string report = "Ambrelay A/B test result\n";
    report += "Version 1 (A): " + NumberToText(c.views1) + " observations, " + NumberToText(c.responses1)
              + " responses\n";
    report += "Version 2 (B): " + NumberToText(c.views2) + " observations, " + NumberToText(c.responses2)
              + " responses\n\n";
    return report + FiguresText(JudgementFigures(j), j.insights->warnings);
}

}  // namespace ambrelay

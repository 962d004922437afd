#include "figures/result_report.h"

#include "figures/figures.h"
#include "numbers/number_text.h"

namespace ambrelay {

std::string ResultReport(const Judgement& j)
{
    if (!j.Finished()) {
        return {};
    }
    return "Ambrelay A/B test result\n" + CountsText(j.counts) + "\n"
           + FiguresText(JudgementFigures(j).All(), JudgementWarnings(j));
}

std::string CountsText(const Counts& c)
{
    return "Version 1 (A): " + NumberToText(c.views1) + " observations, " + NumberToText(c.responses1)
           + " responses\nVersion 2 (B): " + NumberToText(c.views2) + " observations, "
           + NumberToText(c.responses2) + " responses\n";
}

}  // namespace ambrelay

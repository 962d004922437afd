#include "figures/result_report.h"

#include <vector>

#include "figures/figures.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::vector<std::string> CountsLines(const Counts& c)
{
    return {"Version 1 (A): " + NumberToText(c.views1) + " observations, " + NumberToText(c.responses1) + " responses",
            "Version 2 (B): " + NumberToText(c.views2) + " observations, " + NumberToText(c.responses2)
                + " responses"};
}

}  // namespace

std::string ResultReport(const Judgement& j) { return ResultReportForms(j).plain; }

ReportForms ResultReportForms(const Judgement& j)
{
    if (!j.Finished()) {
        return {};
    }
    return FormatReport(JudgementFigures(j).All(), JudgementWarnings(j),
                        {"Ambrelay A/B test result", CountsLines(j.counts), {}});
}

std::string CountsText(const Counts& c)
{
    std::string text;
    for (const std::string& line : CountsLines(c)) {
        text += line + "\n";
    }
    return text;
}

}  // namespace ambrelay

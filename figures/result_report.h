#pragma once
// The report of a finished calculation, for the clipboard: plain text, and
// the HTML and Markdown tables pasted into documents and chats.

#include <string>

#include "engine/judge.h"
#include "figures/report_formats.h"

namespace ambrelay {

// The four counts, the warnings, every figure with its words, and the summary
// in plain words. Empty for a judgement that did not finish.
std::string ResultReport(const Judgement& judgement);

// The same report in each form a paste takes; all empty for a judgement that
// did not finish.
ReportForms ResultReportForms(const Judgement& judgement);

// The four counts in words, a line a version: "Version 1 (A): 1000
// observations, 100 responses".
std::string CountsText(const Counts& counts);

}  // namespace ambrelay

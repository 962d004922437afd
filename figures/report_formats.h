#pragma once
// A report as people paste it: the plain text the report has always been, an
// HTML table for documents and chat programs that take rich text, and a
// Markdown table. All three are rendered from one list of figures and its
// warnings, so a pasted table never says what the plain report does not.

#include <string>
#include <string_view>
#include <vector>

#include "figures/figures.h"

namespace ambrelay {

struct ReportForms {
    std::string plain;
    std::string html;
    std::string markdown;
};

// What a report says around its figures: a heading and lines before them
// (the counts judged), and lines after them (the rows a file left out).
struct ReportFrame {
    std::string heading;
    std::vector<std::string> before;
    std::vector<std::string> after;
};

// The three forms: the heading and the lines before, the warnings, a table
// row a figure (its label and its words, in the list's order), the summary in
// plain words, and the lines after. The plain form is FiguresText's within
// the frame.
ReportForms FormatReport(const std::vector<Figure>& figures, const std::vector<Warning>& warnings,
                         const ReportFrame& frame = {});

// A test of more than two versions: a section a comparison, under its heading.
struct ReportSection {
    std::string heading;  // "C against A, the control:"
    std::vector<Figure> figures;
    std::vector<Warning> warnings;  // the comparison's own
};

// The three forms of such a test: the test's warnings, then each section's
// heading, warnings, table and summary, then the lines after (the rows a
// file left out).
ReportForms FormatSections(const std::vector<Warning>& warnings, const std::vector<ReportSection>& sections,
                           const std::vector<std::string>& after = {});

// The text as HTML shows it: & < > " ' as references, line ends as <br>.
std::string HtmlEscaped(std::string_view text);

// The text as Markdown shows it, in a paragraph or a table cell alike: the
// characters that would start emphasis, code, a link, raw HTML or a cell
// boundary are escaped, and line ends become <br>.
std::string MarkdownEscaped(std::string_view text);

}  // namespace ambrelay

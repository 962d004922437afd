#include "figures/report_formats.h"

#include <cctype>

namespace ambrelay {
namespace {

// The table's column heads, as the windows' tables of figures name them.
constexpr const char* kFigureHead = "Figure";
constexpr const char* kValueHead = "Value";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// The summary's sentences, each a paragraph of its own in the pasted forms.
std::vector<std::string> SummaryLines(const std::vector<Figure>& figures, const std::vector<Warning>& warnings)
{
    std::vector<std::string> lines;
    for (const std::string& line : Lines(SummaryText(figures, warnings, false))) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string Plain(const std::vector<Figure>& figures, const std::vector<Warning>& warnings, const ReportFrame& frame)
{
    std::string text = frame.heading.empty() ? std::string() : frame.heading + "\n";
    for (const std::string& line : frame.before) {
        text += line + "\n";
    }
    text += text.empty() ? "" : "\n";
    text += FiguresText(figures, warnings);
    for (const std::string& line : frame.after) {
        text += line + "\n";
    }
    return text;
}

// One table of figures and its summary, as HTML: each warning, the table,
// then the summary's sentences.
std::string HtmlTable(const std::vector<Figure>& figures, const std::vector<Warning>& warnings)
{
    std::string html;
    for (const Warning& w : warnings) {
        html += "<p><b>Warning:</b> " + HtmlEscaped(w.message) + "</p>\n";
    }
    html += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n<tr><th align=\"left\">" + std::string(kFigureHead)
            + "</th><th align=\"left\">" + kValueHead + "</th></tr>\n";
    for (const Figure& f : figures) {
        html += "<tr><td>" + HtmlEscaped(f.label) + "</td><td>" + HtmlEscaped(f.words) + "</td></tr>\n";
    }
    html += "</table>\n";
    for (const std::string& line : SummaryLines(figures, warnings)) {
        html += "<p>" + HtmlEscaped(line) + "</p>\n";
    }
    return html;
}

constexpr const char* kHtmlStart = "<html><head><meta charset=\"utf-8\"></head><body>\n";
constexpr const char* kHtmlEnd = "</body></html>\n";

std::string HtmlHeading(const std::string& heading)
{
    return heading.empty() ? std::string() : "<p><b>" + HtmlEscaped(heading) + "</b></p>\n";
}

std::string Html(const std::vector<Figure>& figures, const std::vector<Warning>& warnings, const ReportFrame& frame)
{
    std::string html = kHtmlStart + HtmlHeading(frame.heading);
    if (!frame.before.empty()) {
        std::string lines;
        for (const std::string& line : frame.before) {
            lines += (lines.empty() ? "" : "<br>\n") + HtmlEscaped(line);
        }
        html += "<p>" + lines + "</p>\n";
    }
    html += HtmlTable(figures, warnings);
    for (const std::string& line : frame.after) {
        html += "<p>" + HtmlEscaped(line) + "</p>\n";
    }
    return html + kHtmlEnd;
}

// One table of figures and its summary as Markdown blocks.
void MarkdownTable(const std::vector<Figure>& figures, const std::vector<Warning>& warnings,
                   std::vector<std::string>& blocks)
{
    for (const Warning& w : warnings) {
        blocks.push_back("**Warning:** " + MarkdownEscaped(w.message));
    }
    std::string table = "| " + std::string(kFigureHead) + " | " + kValueHead + " |\n| --- | --- |";
    for (const Figure& f : figures) {
        table += "\n| " + MarkdownEscaped(f.label) + " | " + MarkdownEscaped(f.words) + " |";
    }
    blocks.push_back(table);
    for (const std::string& line : SummaryLines(figures, warnings)) {
        blocks.push_back(MarkdownEscaped(line));
    }
}

std::string Joined(const std::vector<std::string>& blocks)
{
    std::string text;
    for (const std::string& block : blocks) {
        text += (text.empty() ? "" : "\n\n") + block;
    }
    return text + "\n";
}

std::string Markdown(const std::vector<Figure>& figures, const std::vector<Warning>& warnings,
                     const ReportFrame& frame)
{
    std::vector<std::string> blocks;
    if (!frame.heading.empty()) {
        blocks.push_back("**" + MarkdownEscaped(frame.heading) + "**");
    }
    for (const std::string& line : frame.before) {
        blocks.push_back(MarkdownEscaped(line));
    }
    MarkdownTable(figures, warnings, blocks);
    for (const std::string& line : frame.after) {
        blocks.push_back(MarkdownEscaped(line));
    }
    return Joined(blocks);
}

}  // namespace

ReportForms FormatReport(const std::vector<Figure>& figures, const std::vector<Warning>& warnings,
                         const ReportFrame& frame)
{
    return {Plain(figures, warnings, frame), Html(figures, warnings, frame), Markdown(figures, warnings, frame)};
}

ReportForms FormatSections(const std::vector<Warning>& warnings, const std::vector<ReportSection>& sections,
                           const std::vector<std::string>& after)
{
    ReportForms forms;
    forms.plain = WarningsText(warnings);
    forms.html = kHtmlStart;
    std::vector<std::string> blocks;
    for (const Warning& w : warnings) {
        forms.html += "<p><b>Warning:</b> " + HtmlEscaped(w.message) + "</p>\n";
        blocks.push_back("**Warning:** " + MarkdownEscaped(w.message));
    }
    for (const ReportSection& section : sections) {
        forms.plain += (forms.plain.empty() ? "" : "\n") + section.heading + "\n"
                       + FiguresText(section.figures, section.warnings);
        forms.html += HtmlHeading(section.heading) + HtmlTable(section.figures, section.warnings);
        blocks.push_back("**" + MarkdownEscaped(section.heading) + "**");
        MarkdownTable(section.figures, section.warnings, blocks);
    }
    for (const std::string& line : after) {
        forms.plain += line + "\n";
        forms.html += "<p>" + HtmlEscaped(line) + "</p>\n";
        blocks.push_back(MarkdownEscaped(line));
    }
    forms.html += kHtmlEnd;
    forms.markdown = Joined(blocks);
    return forms;
}

std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                break;  // the line end is the \n that follows
            }
            out += "<br>";
            break;
        case '\n': out += "<br>"; break;
        default: out += text[i];
        }
    }
    return out;
}

std::string MarkdownEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += "<br>";
            continue;
        }
        // An & starts a character reference only before a letter, a digit or #.
        const bool reference = c == '&' && i + 1 < text.size()
                               && (std::isalnum(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '#');
        if (reference || std::string_view("\\|*_`[]<~").find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    return out;
}

}  // namespace ambrelay

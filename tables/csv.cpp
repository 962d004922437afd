#include "tables/csv.h"


namespace ambrelay::csv {

// The stream's buffer directly: a character at a time through the stream
// itself would cost a sentry for each.
int Reader::Get() { return in_.rdbuf()->sbumpc(); }

int Reader::Peek() { return in_.rdbuf()->sgetc(); }

std::string Reader::SkipByteOrderMark()
{
    std::string taken;
    if (started_) {
        return taken;
    }
    started_ = true;
    if (Peek() == 0xEF) {
        const int a = Get();
        const int b = Peek() == 0xBB ? Get() : -1;
        const int c = b == 0xBB && Peek() == 0xBF ? Get() : -1;
        markSkipped_ = c == 0xBF;
        if (c != 0xBF) {
            // Not a mark after all: put back what was taken, as text.
            taken.push_back(static_cast<char>(a));
            if (b >= 0) {
                taken.push_back(static_cast<char>(b));
            }
        }
    }
    return taken;
}

bool Reader::Next(Row& row)
{
    row.fields.clear();
    row.blank = false;
    if (!NextRecordText(text_, row.line)) {
        return false;
    }
    row.blank = text_.empty();
    SplitRecordInto(text_, delimiter_, row.fields);
    return true;
}

bool Reader::NextRecordText(std::string& text, long& line)
{
    text = SkipByteOrderMark();
    line = line_;
    int c = Get();
    if (c == EOF && text.empty()) {
        return false;
    }
    bool quoted = false;
    for (; c != EOF; c = Get()) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || (c == '\r' && Peek() == '\n'))) {
            if (c == '\r') {
                Get();
            }
            ++line_;
            return true;
        } else if (c == '\n') {
            ++line_;
        }
        text.push_back(static_cast<char>(c));
    }
    unclosedQuote_ = quoted;
    return true;
}

void SplitRecordInto(std::string_view text, char delimiter, std::vector<std::string>& fields)
{
    fields.clear();
    fields.emplace_back();
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                fields.back().push_back(c);
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                fields.back().push_back('"');
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == delimiter) {
            fields.emplace_back();
        } else {
            fields.back().push_back(c);
        }
    }
}

std::vector<std::string> SplitRecord(std::string_view text, char delimiter)
{
    std::vector<std::string> fields;
    SplitRecordInto(text, delimiter, fields);
    return fields;
}

void AppendField(std::string& out, std::string_view field, char delimiter)
{
    bool quote = !field.empty() && (field.front() == ' ' || field.back() == ' ');
    for (std::size_t i = 0; i < field.size() && !quote; ++i) {
        const char c = field[i];
        quote = c == delimiter || c == '"' || c == '\r' || c == '\n';
    }
    if (!quote) {
        out += field;
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendRow(std::string& out, const std::vector<std::string>& fields, char delimiter)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out.push_back(delimiter);
        }
        AppendField(out, fields[i], delimiter);
    }
    out += "\r\n";
}

// The delimiter the header line uses most, outside quotes; a comma when it
// uses none.
char HeaderDelimiter(const std::string& header)
{
    const auto count = [&](char d) { return csv::SplitRecord(header, d).size() - 1; };
    const std::size_t commas = count(','), semicolons = count(';'), tabs = count('\t');
    if (semicolons > commas && semicolons >= tabs) {
        return ';';
    }
    return tabs > commas ? '\t' : ',';
}

// The next line that is not empty; false at the end.
bool NextFilled(csv::Reader& reader, std::string& text, long& line)
{
    while (reader.NextRecordText(text, line)) {
        if (!text.empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace ambrelay::csv

#include "cli/csv.h"

#include <sstream>

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
    row.line = line_;
    row.blank = false;
    row.fields.emplace_back(SkipByteOrderMark());
    int c = Get();
    if (c == EOF && row.fields.size() == 1 && row.fields.front().empty()) {
        return false;
    }
    bool anything = !row.fields.front().empty();
    bool quoted = false;
    while (true) {
        if (c == EOF) {
            if (quoted) {
                unclosedQuote_ = true;
            }
            row.blank = !anything;
            return true;
        }
        if (quoted) {
            if (c == '"') {
                if (Peek() == '"') {
                    Get();
                    row.fields.back().push_back('"');
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') {
                    ++line_;
                }
                row.fields.back().push_back(static_cast<char>(c));
            }
        } else if (c == '"') {
            quoted = true;
            anything = true;
        } else if (c == delimiter_) {
            row.fields.emplace_back();
            anything = true;
        } else if (c == '\n' || (c == '\r' && Peek() == '\n')) {
            if (c == '\r') {
                Get();
            }
            ++line_;
            row.blank = !anything;
            return true;
        } else {
            row.fields.back().push_back(static_cast<char>(c));
            anything = true;
        }
        c = Get();
    }
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

std::vector<std::string> SplitRecord(const std::string& text, char delimiter)
{
    std::istringstream in(text);
    Reader reader(in, delimiter);
    Row row;
    reader.Next(row);
    return row.fields;
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

}  // namespace ambrelay::csv

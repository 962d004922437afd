#pragma once
// Comma-separated values as RFC 4180 writes them, with a semicolon or a tab
// in place of the comma where a file has one: fields in double quotes may
// hold the delimiter, line breaks and doubled quotes; lines end in CRLF or LF;
// a UTF-8 byte order mark before the first field is skipped. Rows are read
// one at a time, so a file of any length never sits in memory whole.

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace ambrelay::csv {

struct Row {
    std::vector<std::string> fields;
    long line = 0;       // the physical line the row starts on, the first line being 1
    bool blank = false;  // an empty line, which holds no row
};

class Reader {
public:
    explicit Reader(std::istream& in, char delimiter = ',') : in_(in), delimiter_(delimiter) {}

    // The next row: the next record's text, split. False at the end.
    bool Next(Row& row);

    // The next record's text as it stands, quotes and delimiters included,
    // without its line end: a line break inside quotes belongs to the
    // record. `line` is the physical line it starts on. False at the end.
    bool NextRecordText(std::string& text, long& line);

    void SetDelimiter(char delimiter) { delimiter_ = delimiter; }

    // Set when a quoted field was still open at the end of the input.
    bool UnclosedQuote() const { return unclosedQuote_; }

    // Whether the input began with UTF-8's byte order mark (known once the
    // first record is read).
    bool SkippedByteOrderMark() const { return markSkipped_; }

private:
    int Get();
    int Peek();
    // The first field's start: a byte order mark is skipped, and what only
    // looked like one is kept as text.
    std::string SkipByteOrderMark();

    std::istream& in_;
    char delimiter_;
    long line_ = 1;
    bool started_ = false;
    bool unclosedQuote_ = false;
    bool markSkipped_ = false;
    std::string text_;  // the record being split, kept to reuse its memory
};

// One field as it goes out: quoted when it holds the delimiter, a quote, a
// line break or leading or trailing blanks, with quotes doubled.
void AppendField(std::string& out, std::string_view field, char delimiter = ',');

// A whole row, fields separated by the delimiter and ended by CRLF on every
// platform.
void AppendRow(std::string& out, const std::vector<std::string>& fields, char delimiter = ',');

// The fields of one record's text: quoted fields unquoted, doubled quotes
// made single. Into `fields`, reusing its memory, or as a new list.
void SplitRecordInto(std::string_view text, char delimiter, std::vector<std::string>& fields);
std::vector<std::string> SplitRecord(std::string_view text, char delimiter);

// The delimiter the header line uses most, outside quotes; a comma when it
// uses none.
char HeaderDelimiter(const std::string& header);

// The next record that is not empty; false at the end.
bool NextFilled(Reader& reader, std::string& text, long& line);

}  // namespace ambrelay::csv

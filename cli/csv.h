#pragma once
// Comma-separated values as RFC 4180 writes them: fields in double quotes
// may hold commas, line breaks and doubled quotes; lines end in CRLF or LF;
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
    explicit Reader(std::istream& in) : in_(in) {}

    // The next row; false at the end of the input.
    bool Next(Row& row);

    // Set when a quoted field was still open at the end of the input.
    bool UnclosedQuote() const { return unclosedQuote_; }

private:
    int Get();
    int Peek();

    std::istream& in_;
    long line_ = 1;
    bool started_ = false;
    bool unclosedQuote_ = false;
};

// One field as it goes out: quoted when it holds a comma, a quote, a line
// break or leading or trailing blanks, with quotes doubled.
void AppendField(std::string& out, std::string_view field);

// A whole row, fields separated by commas and ended by CRLF on every platform.
void AppendRow(std::string& out, const std::vector<std::string>& fields);

}  // namespace ambrelay::csv

#include "tables/table_reader.h"

#include "checks/given_values.h"
#include "numbers/number_text.h"

namespace ambrelay::tables {
namespace {

// The two decimal marks trade places, so that a text written with a decimal
// comma reads as the number services read numbers.
std::string SwapMarks(std::string_view text)
{
    std::string swapped(text);
    for (char& c : swapped) {
        c = c == ',' ? '.' : c == '.' ? ',' : c;
    }
    return swapped;
}

}  // namespace

TableReader::TableReader(std::istream& in, const Dialect& asked) : asked_(asked)
{
    if (asked.encoding) {
        settled_.encoding = *asked.encoding;
        settled_.encodingKnown = settled_.encodingGiven = true;
    }
    // A table in UTF-16 says so with its byte order mark (UTF-8's mark, if
    // any, the scanner skips itself); what the mark says is taken from the
    // stream before the scanner starts.
    std::streambuf& bytes = *in.rdbuf();
    const int first = bytes.sgetc();
    if (first == 0xFF || first == 0xFE) {
        bytes.sbumpc();
        if (bytes.sgetc() == (first == 0xFF ? 0xFE : 0xFF)) {
            bytes.sbumpc();
            settled_.encoding = first == 0xFF ? Encoding::Utf16LE : Encoding::Utf16BE;
            settled_.encodingKnown = true;
            settled_.byteOrderMark = true;
        } else {
            bytes.sungetc();
        }
    }
    if (settled_.encoding == Encoding::Utf16LE || settled_.encoding == Encoding::Utf16BE) {
        utf16_ = std::make_unique<Utf16Reader>(bytes, settled_.encoding == Encoding::Utf16BE);
        decoded_ = std::make_unique<std::istream>(utf16_.get());
    }
    reader_ = std::make_unique<csv::Reader>(decoded_ ? *decoded_ : in);
}

TableReader::~TableReader() = default;

std::optional<Problem> TableReader::Start()
{
    std::string first;
    long line = 0;
    bool any = csv::NextFilled(*reader_, first, line);
    if (any && first.size() == 5 && first.rfind("sep=", 0) == 0) {
        settled_.sepLine = true;
        settled_.delimiter = first[4];
        any = csv::NextFilled(*reader_, first, line);
    }
    if (reader_->SkippedByteOrderMark()) {
        settled_.byteOrderMark = true;
        settled_.encoding = Encoding::Utf8;
        settled_.encodingKnown = true;
    }
    if (!any) {
        Problem empty(Reason::EmptyTable);
        empty.expected = asked_.header ? 1 : 0;
        return empty;
    }
    if (asked_.delimiter) {
        settled_.delimiter = *asked_.delimiter;
    } else if (!settled_.sepLine) {
        settled_.delimiter = csv::HeaderDelimiter(first);
    }
    settled_.decimalComma = asked_.decimalComma.value_or(settled_.delimiter == ';');
    reader_->SetDelimiter(settled_.delimiter);

    TableRow row;
    row.fields = csv::SplitRecord(first, settled_.delimiter);
    row.line = line;
    if (!asked_.header) {
        for (std::size_t i = 0; i < row.fields.size(); ++i) {
            names_.push_back(ColumnName(i));
        }
        Check(row);
        first_ = std::move(row);
        return std::nullopt;
    }
    Check(row);
    if (row.problem) {
        // Only text that contradicts a given encoding, or a quote never
        // closed, keeps a header from naming the columns.
        if (row.problem->reason == Reason::NotUtf8AsBefore) {
            row.problem->reason = Reason::HeaderNotUtf8;
        }
        return row.problem;
    }
    names_ = std::move(row.fields);
    return std::nullopt;
}

bool TableReader::Next(TableRow& row)
{
    if (first_) {
        row = std::move(*first_);
        first_.reset();
        return true;
    }
    while (reader_->NextRecordText(text_, row.line)) {
        if (text_.empty()) {
            continue;
        }
        csv::SplitRecordInto(text_, settled_.delimiter, row.fields);
        Check(row);
        return true;
    }
    return false;
}

void TableReader::Check(TableRow& row)
{
    row.problem = Decode(row.fields);
    if (!row.problem && reader_->UnclosedQuote()) {
        row.problem = Problem(Reason::UnclosedQuote);
    }
    if (!row.problem && !names_.empty() && row.fields.size() != names_.size()) {
        row.problem = Problem(Reason::FieldCount);
        row.problem->count = row.fields.size();
        row.problem->expected = names_.size();
    }
    if (row.problem) {
        row.problem->line = row.line;
    }
}

// Rows in UTF-8 or Windows-1252 are turned into UTF-8 as they come. Unless
// the encoding was given, the first text beyond ASCII decides it: valid
// UTF-8 is UTF-8, anything else Windows-1252. Standard input cannot be read
// twice, so a later row that contradicts the decision fails with its line.
std::optional<Problem> TableReader::Decode(std::vector<std::string>& fields)
{
    Settled& t = settled_;
    if (t.encoding == Encoding::Utf16LE || t.encoding == Encoding::Utf16BE) {
        return std::nullopt;  // the stream gave UTF-8 already
    }
    bool valid = true, beyond = false;
    for (const std::string& f : fields) {
        const Utf8Check check = CheckUtf8(f);
        valid = valid && check.valid;
        beyond = beyond || check.beyondAscii;
    }
    if (!beyond) {
        return std::nullopt;
    }
    if (!t.encodingKnown) {
        t.encoding = valid ? Encoding::Utf8 : Encoding::Windows1252;
        t.encodingKnown = true;
    }
    if (t.encoding == Encoding::Utf8) {
        return valid ? std::nullopt : std::optional<Problem>(Reason::NotUtf8AsBefore);
    }
    if (valid && !t.encodingGiven) {
        return Problem(Reason::Utf8AfterWindows1252);
    }
    for (std::string& f : fields) {
        f = Windows1252ToUtf8(f);
    }
    return std::nullopt;
}

std::string ColumnName(std::size_t i) { return "column" + std::to_string(i + 1); }

bool BlankCell(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

Outcome<double> ReadCell(std::string_view text, bool decimalComma, const std::string& column)
{
    if (!decimalComma) {
        if (const auto number = ReadWholeNumber(text)) {
            return *number;  // the common case, read once and without a copy
        }
    }
    const Origin at = Origin::Column(column);
    if (BlankCell(text)) {
        return ProblemAt(Reason::NoNumber, at);
    }
    const std::string swapped = SwapMarks(text);
    const std::string_view asRead = decimalComma ? std::string_view(swapped) : text;
    if (IsNumeric(asRead)) {
        return ReadNumber(asRead);
    }
    if (IsNumeric(decimalComma ? text : std::string_view(swapped))) {
        Problem other = ProblemAt(Reason::OtherDecimalMark, at, std::string(text));
        other.count = decimalComma ? 1 : 0;
        return other;
    }
    return ProblemAt(Reason::NotANumber, at, std::string(text));
}

}  // namespace ambrelay::tables

#include "tables/values_reading.h"

#include <algorithm>

#include "numbers/number_text.h"
#include "tables/csv.h"

namespace ambrelay::tables {
namespace {

// A value as the number services read it: the decimal comma, where it is in
// force, becomes a point and the point a thousands mark.
std::optional<double> ValueOf(std::string text, bool decimalComma)
{
    if (decimalComma) {
        for (char& c : text) {
            c = c == ',' ? '.' : c == '.' ? ',' : c;
        }
    }
    if (!IsNumeric(text)) {
        return std::nullopt;
    }
    return ReadNumber(text);
}

bool Blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

std::optional<ValuesHeader> ReadHeader(std::istream& in)
{
    csv::Reader reader(in);
    std::string header;
    long line = 0;
    if (!csv::NextFilled(reader, header, line)) {
        return std::nullopt;
    }
    const char delimiter = csv::HeaderDelimiter(header);
    return ValuesHeader{csv::SplitRecord(header, delimiter), delimiter};
}

std::variant<ValuesRead, ValuesProblem> ReadValues(std::istream& in, const ValuesLayout& o,
                                                   const RowProblemSink& onRow, const std::atomic<bool>* stop)
{
    csv::Reader reader(in);
    std::string header;
    long headerLine = 0;
    if (!csv::NextFilled(reader, header, headerLine)) {
        return ValuesProblem{};
    }
    const char delimiter = o.delimiter.value_or(csv::HeaderDelimiter(header));
    const bool decimalComma = o.decimalComma.value_or(delimiter == ';');
    reader.SetDelimiter(delimiter);
    const std::vector<std::string> names = csv::SplitRecord(header, delimiter);
    const bool ratio = o.Ratio();
    ValuesProblem missing;
    missing.kind = ValuesMiss::Column;
    const auto column = [&](const std::string& wanted) {
        return FindColumn(names, wanted, false, missing.columnProblem);
    };
    const std::optional<std::size_t> group = column(o.group);
    const std::optional<std::size_t> value = group ? column(ratio ? o.numerator : o.value) : std::nullopt;
    const std::optional<std::size_t> denominator = value && ratio ? column(o.denominator) : value;
    if (!denominator) {
        return missing;
    }
    const std::size_t needed = std::max({*group, *value, *denominator}) + 1;

    ValuesCollector values(ratio, o.caps);
    ValuesRead read;
    bool named[2] = {false, false};
    if (!o.control.empty()) {
        read.labels[0] = o.control;
        named[0] = true;
    }
    double rows[2] = {0, 0};
    ValuesProblem problem;
    const auto fail = [&](long line, ValuesMiss kind) {
        problem.kind = kind;
        problem.line = line;
        onRow(problem);
        ++read.rowProblems;
    };
    csv::Row row;
    for (unsigned long n = 0; reader.Next(row); ++n) {
        if (stop && n % 65536 == 0 && stop->load(std::memory_order_relaxed)) {
            ValuesProblem stopped;
            stopped.kind = ValuesMiss::Stopped;
            return stopped;
        }
        if (row.blank) {
            continue;
        }
        if (row.fields.size() < needed) {
            problem.fields = row.fields.size();
            problem.width = names.size();
            fail(row.line, ValuesMiss::FieldCount);
            continue;
        }
        // A blank value is a user without a purchase: 0.
        const auto number = [&](std::size_t at, double& into) {
            const std::string& text = row.fields[at];
            const std::optional<double> x = Blank(text) ? 0.0 : ValueOf(text, decimalComma);
            if (!x) {
                problem.text = text;
                problem.column = names[at];
                fail(row.line, ValuesMiss::NotANumber);
                return false;
            }
            into = *x;
            return true;
        };
        // The label is the version's even on a row whose value cannot be read.
        const std::string& label = row.fields[*group];
        int version = label == read.labels[0] && named[0] ? 0 : label == read.labels[1] && named[1] ? 1 : -1;
        if (version < 0) {
            version = !named[0] ? 0 : !named[1] ? 1 : -1;
            if (version < 0) {
                problem.text = label;
                problem.labels[0] = read.labels[0];
                problem.labels[1] = read.labels[1];
                fail(row.line, ValuesMiss::ThirdVersion);
                continue;
            }
            read.labels[version] = label;
            named[version] = true;
        }
        double x = 0, y = 1;
        if (!number(*value, x) || (ratio && !number(*denominator, y))) {
            continue;
        }
        read.blanks += Blank(row.fields[*value]) ? 1 : 0;
        ++rows[version];
        values.Add(version == 0 ? Version::A : Version::B, x, y);
    }
    if (!named[1] || rows[0] == 0) {
        ValuesProblem two;
        two.kind = ValuesMiss::TwoVersionsNeeded;
        two.labels[0] = read.labels[0];
        two.anyLabel = named[0];
        two.control = o.control;
        return two;
    }
    read.result = values.Finish();
    return read;
}

}  // namespace ambrelay::tables

#include "figures/table_words.h"

namespace ambrelay {

std::string ColumnProblemText(const tables::ColumnProblem& p)
{
    switch (p.kind) {
    case tables::ColumnMiss::NoSuchPosition:
        return "there is no column " + p.wanted + ": the table has " + std::to_string(p.names.size()) + " columns";
    case tables::ColumnMiss::PositionsOnly:
        return "without a header, columns are named by position (1, 2, ...), not '" + p.wanted + "'";
    case tables::ColumnMiss::NoSuchName:
        break;
    }
    std::string list;
    for (const std::string& n : p.names) {
        list += (list.empty() ? "" : ", ") + n;
    }
    return "the header row has no column named '" + p.wanted + "'; its columns are: " + list;
}

std::string ValuesProblemText(const tables::ValuesProblem& p)
{
    using tables::ValuesMiss;
    switch (p.kind) {
    case ValuesMiss::EmptyFile:
        return "the file is empty: it needs a header row naming its columns, and a row of values for each user";
    case ValuesMiss::Column:
        return ColumnProblemText(p.columnProblem);
    case ValuesMiss::Stopped:
        return "the reading was stopped";
    case ValuesMiss::FieldCount:
        return FieldCountText(p.fields, p.width);
    case ValuesMiss::NotANumber:
        return NotANumberText(p.text, p.column);
    case ValuesMiss::ThirdVersion:
        return "a third version, '" + p.text + "': the file already has '" + p.labels[0] + "' and '" + p.labels[1]
               + "', and a comparison takes two";
    case ValuesMiss::TwoVersionsNeeded:
        break;
    }
    if (!p.control.empty() && (!p.anyLabel || p.labels[0] == p.control)) {
        return "the file needs rows of the control '" + p.control + "' and of one other version";
    }
    return p.anyLabel ? "the file has only one version, '" + p.labels[0] + "'; a comparison takes two"
                      : "the file has no rows of values";
}

std::string UnreadableFileText(std::string_view path)
{
    return "No values could be read from " + std::string(path) + ": the file cannot be opened, or it is empty.";
}

std::string RowsLeftOutText(std::size_t count, const tables::ValuesProblem& first)
{
    const std::string where = "line " + std::to_string(first.line) + ": " + ValuesProblemText(first);
    return count == 1 ? "One row was left out, " + where
                      : std::to_string(count) + " rows were left out; the first, " + where;
}

std::string FieldCountText(std::size_t fields, std::size_t width)
{
    return "The row has " + std::to_string(fields) + " fields where the header has " + std::to_string(width) + ".";
}

std::string NotANumberText(std::string_view text, std::string_view column)
{
    return "'" + std::string(text) + "' in column " + std::string(column) + " is not a number";
}

}  // namespace ambrelay

#include "cli/table_output.h"

#include <algorithm>

#include "figures/problem_words.h"
#include "tables/csv.h"

namespace ambrelay::cli {
namespace {

std::vector<std::string> DistinctNames(const std::vector<std::string>& names)
{
    std::vector<std::string> distinct;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = names[i];
        if (std::find(distinct.begin(), distinct.end(), name) != distinct.end()) {
            name += "_" + std::to_string(i + 1);
        }
        distinct.push_back(name);
    }
    return distinct;
}

}  // namespace

TableOutput::TableOutput(const tables::TableReader& reader, std::vector<std::span<const FigureKind>> lists, bool json)
    : reader_(reader), lists_(std::move(lists)), inputNames_(reader.Names()), format_(json ? Format::Json : Format::Csv)
{
    // Every result name kept clear of the inputs' and of the lists' before it.
    std::vector<std::string> taken = inputNames_;
    for (std::size_t l = 0; l < lists_.size(); ++l) {
        OutputNames names = NamesOf(lists_[l]);
        if (l + 1 < lists_.size()) {
            names.warnings.clear();  // the warnings and the error close the last list only
            names.error.clear();
        }
        names.KeepClearOf(taken, format_);
        const std::vector<std::string> all = names.All(format_);
        taken.insert(taken.end(), all.begin(), all.end());
        names_.push_back(std::move(names));
    }
    if (format_ == Format::Json) {
        inputNames_ = DistinctNames(inputNames_);
    }
}

void TableOutput::Write(std::ostream& out, const std::string& text) const
{
    // JSON is always UTF-8; CSV goes out in the input's own encoding, so a
    // spreadsheet opens it as it opened the input. Text only in ASCII reads
    // the same in UTF-8 and Windows-1252, so a batch written before its
    // encoding was decided is written right.
    const tables::Encoding encoding = format_ == Format::Json ? tables::Encoding::Utf8 : reader_.Found().encoding;
    out << (encoding == tables::Encoding::Utf8 ? text : tables::FromUtf8(text, encoding));
}

void TableOutput::WriteHeader(std::ostream& out) const
{
    if (format_ == Format::Json) {
        return;
    }
    const tables::Settled& found = reader_.Found();
    std::string names = found.byteOrderMark ? std::string(tables::ByteOrderMark(found.encoding)) : std::string();
    if (found.byteOrderMark && found.encoding != tables::Encoding::Utf8) {
        out << names;
        names.clear();
    }
    if (found.sepLine) {
        names += std::string("sep=") + found.delimiter + "\r\n";
    }
    std::vector<std::string> all = inputNames_;
    for (const OutputNames& list : names_) {
        std::vector<std::string> results = list.All(format_);
        results.erase(std::remove(results.begin(), results.end(), std::string()), results.end());
        all.insert(all.end(), results.begin(), results.end());
    }
    csv::AppendRow(names, all, found.delimiter);
    Write(out, names);
}

void TableOutput::AppendRow(const std::vector<std::string>& fields,
                            std::span<const std::vector<Figure>* const> figures,
                            const std::vector<WarningCode>& codes,
                            const std::function<std::vector<Warning>()>& warnings, const std::optional<Problem>& error,
                            std::string& out) const
{
    static const std::vector<Figure> none;
    const OutputNames& last = names_.back();
    // Every field the row had, as many as the header names at least.
    const std::size_t width = inputNames_.size();
    const std::size_t carried = std::max(width, fields.size());
    if (format_ == Format::Json) {
        JsonWriter json(out, false);
        json.BeginObject();
        for (std::size_t i = 0; i < carried; ++i) {
            json.Key(i < width ? inputNames_[i] : tables::ColumnName(i));
            if (i < fields.size()) {
                json.Text(fields[i]);
            } else {
                json.Null();
            }
        }
        for (std::size_t l = 0; l < lists_.size(); ++l) {
            WriteFigures(json, lists_[l], error || l >= figures.size() ? none : *figures[l], names_[l]);
        }
        json.Key(last.warnings);
        WriteWarnings(json, error ? std::vector<Warning>() : warnings());
        json.Key(last.error);
        if (error) {
            json.Text(ProblemText(*error));
        } else {
            json.Null();
        }
        json.EndObject();
        out.push_back('\n');
        return;
    }
    // A table's warnings are their codes: their sentences are never built.
    const char delimiter = reader_.Found().delimiter;
    for (std::size_t i = 0; i < carried; ++i) {
        if (i > 0) {
            out.push_back(delimiter);
        }
        csv::AppendField(out, i < fields.size() ? std::string_view(fields[i]) : std::string_view(), delimiter);
    }
    for (std::size_t l = 0; l < lists_.size(); ++l) {
        AppendFigureCsv(out, lists_[l], error || l >= figures.size() ? none : *figures[l],
                        reader_.Found().decimalComma ? ',' : '.', delimiter);
    }
    out.push_back(delimiter);
    csv::AppendField(out, error ? std::string() : WarningCodes(codes), delimiter);
    out.push_back(delimiter);
    csv::AppendField(out, error ? ProblemText(*error) : std::string(), delimiter);
    out += "\r\n";
}

}  // namespace ambrelay::cli

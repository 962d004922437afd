// judge --csv: a table of tests in, the same table with the verdicts out,
// one row at a time. The header decides how the table is split and how its
// numbers are written; no row can change that.

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <set>
#include <thread>

#include "checks/input_checks.h"
#include "cli/commands.h"
#include "cli/csv.h"
#include "cli/judge_output.h"
#include "figures/reasons.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

constexpr const char* kCountNames[4] = {"views1", "responses1", "views2", "responses2"};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

// How the header says the table is written.
struct Dialect {
    char delimiter = ',';
    bool decimalComma = false;
    bool sepLine = false;  // a first line "sep=;", which spreadsheet programs read too
};

// The delimiter the header line uses most, outside quotes; a comma when it
// uses none.
char HeaderDelimiter(const std::string& header)
{
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const char c : header) {
        quoted = c == '"' ? !quoted : quoted;
        if (!quoted) {
            commas += c == ',';
            semicolons += c == ';';
            tabs += c == '\t';
        }
    }
    if (semicolons > commas && semicolons >= tabs) {
        return ';';
    }
    return tabs > commas ? '\t' : ',';
}

// The two decimal marks trade places, so that a text written with a decimal
// comma reads as the number services read numbers.
std::string SwapMarks(std::string text)
{
    for (char& c : text) {
        c = c == ',' ? '.' : c == '.' ? ',' : c;
    }
    return text;
}

// Why a count cannot be read: it is no number where the file's decimal mark
// is in force, though it would be one with the other mark. Never a guess.
std::optional<std::string> Ambiguity(const std::string& text, const std::string& column, bool decimalComma)
{
    if (IsNumeric(decimalComma ? SwapMarks(text) : text) || !IsNumeric(decimalComma ? text : SwapMarks(text))) {
        return std::nullopt;
    }
    return decimalComma ? "'" + text + "' in " + column
                              + " is not a number where ',' is the decimal mark and '.' groups thousands; if '.' is "
                                "the decimal mark in this file, give --decimal-point."
                        : "'" + text + "' in " + column
                              + " is not a number where '.' is the decimal mark and ',' groups thousands; if ',' is "
                                "the decimal mark in this file, give --decimal-comma.";
}

struct Columns {
    std::size_t at[4];

    bool Holds(std::size_t i) const { return std::find(std::begin(at), std::end(at), i) != std::end(at); }
};

// The four count columns: as --columns names them, by header name (case
// and surrounding blanks aside) or 1-based position, else by the usual
// names, or the first four positions when there is no header.
std::optional<Columns> FindColumns(const std::vector<std::string>& names, const TableOptions& options,
                                   std::string& problem)
{
    std::vector<std::string> wanted;
    if (!options.columns.empty()) {
        wanted = csv::SplitRecord(options.columns, ',');
        if (wanted.size() != 4) {
            problem = "--columns names four columns, views 1, responses 1, views 2 and responses 2, separated by "
                      "commas; it has " + std::to_string(wanted.size());
            return std::nullopt;
        }
    } else if (options.noHeader) {
        wanted = {"1", "2", "3", "4"};
    } else {
        wanted.assign(std::begin(kCountNames), std::end(kCountNames));
    }
    Columns found{};
    for (int i = 0; i < 4; ++i) {
        const std::string name = Trimmed(wanted[i]);
        const bool position = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
            return std::isdigit(c);
        });
        if (position) {
            const std::size_t n = name.size() > 6 ? 0 : std::stoul(name);
            if (n < 1 || n > names.size()) {
                problem = "there is no column " + name + ": the table has " + std::to_string(names.size())
                          + " columns";
                return std::nullopt;
            }
            found.at[i] = n - 1;
            continue;
        }
        if (options.noHeader) {
            problem = "without a header, --columns names the columns by position (1, 2, ...), not '" + name + "'";
            return std::nullopt;
        }
        const auto it = std::find_if(names.begin(), names.end(),
                                     [&](const std::string& h) { return Lower(Trimmed(h)) == Lower(name); });
        if (it == names.end()) {
            problem = "the header row has no column named '" + name + "'; its columns are: " + Joined(names)
                      + (options.columns.empty() ? ". Name the four count columns with --columns, e.g. --columns "
                                                   "\"Views A,Clicks A,Views B,Clicks B\", or by position: "
                                                   "--columns 2,3,4,5"
                                                 : "");
            return std::nullopt;
        }
        found.at[i] = static_cast<std::size_t>(it - names.begin());
    }
    return found;
}

// Input names as JSON keys: a repeated one gets its position.
std::vector<std::string> DistinctNames(const std::vector<std::string>& names)
{
    std::set<std::string> seen;
    std::vector<std::string> distinct;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = names[i];
        if (!seen.insert(name).second) {
            name += "_" + std::to_string(i + 1);
            seen.insert(name);
        }
        distinct.push_back(name);
    }
    return distinct;
}

struct Table {
    std::vector<std::string> inputNames;  // the header's names, or column1, column2, ... without one
    Columns columns;
    Dialect dialect;
    bool json = false;
    OutputNames resultNames;  // the figures' keys, then warnings and error, none an input's
    JudgeOptions judge;
};

std::string ExtraName(std::size_t i) { return "column" + std::to_string(i + 1); }

// Why a row has no result, in the window's words; nothing for a judged row.
std::optional<std::string> Judged(const Table& t, const csv::Row& row, Judgement& judgement)
{
    const std::size_t width = t.inputNames.size();
    if (row.fields.size() != width) {
        return "The row has " + std::to_string(row.fields.size()) + " fields where the header has "
               + std::to_string(width) + ".";
    }
    CountTexts texts;
    std::string* const into[4] = {&texts.views1, &texts.responses1, &texts.views2, &texts.responses2};
    for (int i = 0; i < 4; ++i) {
        const std::string& text = row.fields[t.columns.at[i]];
        if (const auto unclear = Ambiguity(text, t.inputNames[t.columns.at[i]], t.dialect.decimalComma)) {
            return unclear;
        }
        *into[i] = t.dialect.decimalComma ? SwapMarks(text) : text;
    }
    if (const auto failure = RunInputChecks(texts)) {
        return failure->outcome.message;
    }
    judgement = Judge(ReadCounts(texts), t.judge);
    if (!judgement.Finished()) {
        return ReasonText(judgement.result.Failure().reason);
    }
    return std::nullopt;
}

// One row as it goes out, and the line for standard error when it failed.
struct Written {
    std::string text;
    std::string error;
};

Written WriteRow(const Table& t, const csv::Row& row, bool unclosedQuote)
{
    Judgement judgement;
    std::optional<std::string> error = Judged(t, row, judgement);
    if (!error && unclosedQuote) {
        error = "A quoted field is never closed.";
    }
    Written w;
    if (error) {
        w.error = "line " + std::to_string(row.line) + ": " + *error + "\n";
    }
    const std::vector<Figure> figures =
        error ? std::vector<Figure>() : JudgementFigures(judgement, Wording::NumbersOnly).All();
    const std::vector<Warning> warnings = error ? std::vector<Warning>() : JudgementWarnings(judgement);
    const std::span<const FigureKind> kinds = JudgementFigureKinds();
    // Every field the row had, as many as the header names at least.
    const std::size_t width = t.inputNames.size();
    const std::size_t carried = std::max(width, row.fields.size());
    if (t.json) {
        Json o;
        for (std::size_t i = 0; i < carried; ++i) {
            o[i < width ? t.inputNames[i] : ExtraName(i)] = i < row.fields.size() ? Json(row.fields[i]) : Json(nullptr);
        }
        PutFigures(o, kinds, figures, t.resultNames);
        o[t.resultNames.warnings] = WarningsJson(warnings);
        o[t.resultNames.error] = error ? Json(*error) : Json(nullptr);
        w.text = o.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
        return w;
    }
    std::vector<std::string> fields;
    fields.reserve(carried + t.resultNames.kinds.size() * 3);
    for (std::size_t i = 0; i < carried; ++i) {
        fields.push_back(i < row.fields.size() ? row.fields[i] : std::string());
    }
    AppendFigureFields(fields, kinds, figures, t.dialect.decimalComma ? ',' : '.');
    fields.push_back(WarningCodes(warnings));
    fields.push_back(error.value_or(std::string()));
    csv::AppendRow(w.text, fields, t.dialect.delimiter);
    return w;
}

// Rows are judged a batch at a time, the batch shared among the processor's
// cores, and written in their order: the file streams through in bounded memory.
constexpr std::size_t kBatch = 4096;

struct Pending {
    csv::Row row;
    bool unclosedQuote;
};

void WriteBatch(const Table& t, const std::vector<Pending>& batch, std::vector<Written>& written)
{
    written.resize(batch.size());
    const auto range = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            written[i] = WriteRow(t, batch[i].row, batch[i].unclosedQuote);
        }
    };
    const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    if (workers == 1 || batch.size() < 64) {
        range(0, batch.size());
        return;
    }
    std::vector<std::thread> helpers;
    const std::size_t share = (batch.size() + workers - 1) / workers;
    for (std::size_t w = 1; w < workers; ++w) {
        helpers.emplace_back(range, std::min(batch.size(), w * share), std::min(batch.size(), (w + 1) * share));
    }
    range(0, std::min(batch.size(), share));
    for (std::thread& helper : helpers) {
        helper.join();
    }
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

}  // namespace

int JudgeTable(std::istream& in, const TableOptions& options, std::ostream& out, std::ostream& err)
{
    csv::Reader reader(in);
    std::string first;
    long firstLine = 0;
    Dialect dialect;
    bool any = NextFilled(reader, first, firstLine);
    if (any && first.size() == 5 && first.rfind("sep=", 0) == 0) {
        dialect.sepLine = true;
        dialect.delimiter = first[4];
        any = NextFilled(reader, first, firstLine);
    }
    if (!any) {
        err << "ambrelay-cli: the table is empty: it needs "
            << (options.noHeader ? "rows of counts" : "a header row naming its columns, and rows of counts") << "\n";
        return kUsage;
    }
    if (options.delimiter) {
        dialect.delimiter = *options.delimiter;
    } else if (!dialect.sepLine) {
        dialect.delimiter = HeaderDelimiter(first);
    }
    dialect.decimalComma = options.decimalComma.value_or(dialect.delimiter == ';');
    reader.SetDelimiter(dialect.delimiter);

    Table table;
    table.dialect = dialect;
    table.json = options.json;
    table.judge = options.judge;
    csv::Row firstRow;
    firstRow.fields = csv::SplitRecord(first, dialect.delimiter);
    firstRow.line = firstLine;
    if (options.noHeader) {
        for (std::size_t i = 0; i < firstRow.fields.size(); ++i) {
            table.inputNames.push_back(ExtraName(i));
        }
    } else {
        table.inputNames = firstRow.fields;
    }
    std::string problem;
    const std::optional<Columns> columns = FindColumns(table.inputNames, options, problem);
    if (!columns) {
        err << "ambrelay-cli: " << problem << "\n";
        return kUsage;
    }
    table.columns = *columns;
    const Format format = options.json ? Format::Json : Format::Csv;
    table.resultNames = NamesOf(JudgementFigureKinds());
    table.resultNames.KeepClearOf(table.inputNames, format);
    if (options.json) {
        table.inputNames = DistinctNames(table.inputNames);
    } else {
        std::string names = dialect.sepLine ? std::string("sep=") + dialect.delimiter + "\r\n" : std::string();
        std::vector<std::string> all = table.inputNames;
        const std::vector<std::string> results = table.resultNames.All(format);
        all.insert(all.end(), results.begin(), results.end());
        csv::AppendRow(names, all, dialect.delimiter);
        out << names;
    }
    bool anyFailed = false;
    std::vector<Pending> batch;
    if (options.noHeader) {
        batch.push_back({std::move(firstRow), reader.UnclosedQuote()});
    }
    std::vector<Written> written;
    bool more = true;
    while (more) {
        csv::Row row;
        while (batch.size() < kBatch && (more = reader.Next(row))) {
            if (!row.blank) {
                batch.push_back({std::move(row), reader.UnclosedQuote()});
            }
        }
        WriteBatch(table, batch, written);
        std::string text, errors;
        for (const Written& w : written) {
            text += w.text;
            errors += w.error;
        }
        anyFailed = anyFailed || !errors.empty();
        out << text;
        err << errors;
        batch.clear();
    }
    out.flush();
    return anyFailed ? kNoResult : kResult;
}

}  // namespace ambrelay::cli

// judge --csv: a table of tests in, the same table with the verdicts out,
// one row at a time.

#include <algorithm>
#include <cctype>
#include <optional>
#include <thread>
#include <ostream>

#include "checks/input_checks.h"
#include "cli/commands.h"
#include "cli/csv.h"
#include "cli/judge_output.h"
#include "engine/failure_message.h"

namespace ambrelay::cli {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

struct Columns {
    std::size_t views1, responses1, views2, responses2;

    bool Holds(std::size_t i) const { return i == views1 || i == responses1 || i == views2 || i == responses2; }
};

// The count columns by name, whatever their case; the first missing one's name otherwise.
std::optional<Columns> FindColumns(const std::vector<std::string>& header, std::string& missing)
{
    std::size_t found[4];
    const char* names[4] = {"views1", "responses1", "views2", "responses2"};
    for (int i = 0; i < 4; ++i) {
        const auto it = std::find_if(header.begin(), header.end(),
                                     [&](const std::string& h) { return Lower(h) == names[i]; });
        if (it == header.end()) {
            missing = names[i];
            return std::nullopt;
        }
        found[i] = static_cast<std::size_t>(it - header.begin());
    }
    return Columns{found[0], found[1], found[2], found[3]};
}

// Why a row has no result, in the window's words; nothing for a judged row.
std::optional<std::string> Judged(const csv::Row& row, std::size_t width, const Columns& c, Judgement& judgement)
{
    if (row.fields.size() != width) {
        return "The row has " + std::to_string(row.fields.size()) + " fields where the header has "
               + std::to_string(width) + ".";
    }
    const CountTexts texts{row.fields[c.views1], row.fields[c.responses1], row.fields[c.views2],
                           row.fields[c.responses2]};
    if (const auto failure = RunInputChecks(texts)) {
        return failure->outcome.message;
    }
    judgement = Judge(ReadCounts(texts));
    if (!judgement.Finished()) {
        return CalcFailureMessage(judgement.failure->reason);
    }
    return std::nullopt;
}

// One row as it goes out, and the line for standard error when it failed.
struct Written {
    std::string text;
    std::string error;
};

struct Table {
    std::vector<std::string> header;
    Columns columns;
    bool json;
};

Written WriteRow(const Table& t, const csv::Row& row, bool unclosedQuote)
{
    const std::size_t width = t.header.size();
    Judgement judgement;
    std::optional<std::string> error = Judged(row, width, t.columns, judgement);
    if (!error && unclosedQuote) {
        error = "A quoted field is never closed.";
    }
    Written w;
    if (error) {
        w.error = "line " + std::to_string(row.line) + ": " + *error + "\n";
    }
    if (t.json) {
        nlohmann::ordered_json o;
        for (std::size_t i = 0; i < row.fields.size() && i < width; ++i) {
            if (!t.columns.Holds(i)) {
                o[t.header[i]] = row.fields[i];
            }
        }
        const nlohmann::ordered_json figures = JudgementJson(judgement);
        for (auto it = figures.begin(); it != figures.end(); ++it) {
            o[it.key()] = error ? nlohmann::ordered_json(nullptr) : it.value();
        }
        o["error"] = error ? nlohmann::ordered_json(*error) : nullptr;
        w.text = o.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
        return w;
    }
    // The row's own fields, as many as the header names at least, then the results.
    const std::size_t carried = std::max(width, row.fields.size());
    for (std::size_t i = 0; i < carried; ++i) {
        if (i > 0) {
            w.text.push_back(',');
        }
        csv::AppendField(w.text, i < row.fields.size() ? row.fields[i] : std::string_view());
    }
    const std::vector<std::string> results =
        error ? std::vector<std::string>(ResultColumns().size() - 1) : JudgementFields(judgement);
    for (const std::string& field : results) {
        w.text.push_back(',');
        csv::AppendField(w.text, field);
    }
    w.text.push_back(',');
    csv::AppendField(w.text, error.value_or(std::string()));
    w.text += "\r\n";
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

}  // namespace

int JudgeTable(std::istream& in, bool json, std::ostream& out, std::ostream& err)
{
    csv::Reader reader(in);
    csv::Row header;
    while (reader.Next(header) && header.blank) {
    }
    if (header.fields.empty() || header.blank) {
        err << "ambrelay-cli: the table is empty: it needs a header row naming views1, responses1, views2 and "
               "responses2\n";
        return kUsage;
    }
    std::string missing;
    const std::optional<Columns> columns = FindColumns(header.fields, missing);
    if (!columns) {
        err << "ambrelay-cli: the header row has no column named " << missing
            << "; it needs views1, responses1, views2 and responses2\n";
        return kUsage;
    }
    const Table table{header.fields, *columns, json};
    if (!json) {
        std::string names;
        std::vector<std::string> all = header.fields;
        all.insert(all.end(), ResultColumns().begin(), ResultColumns().end());
        csv::AppendRow(names, all);
        out << names;
    }
    bool anyFailed = false;
    std::vector<Pending> batch;
    std::vector<Written> written;
    bool more = true;
    while (more) {
        batch.clear();
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
    }
    out.flush();
    return anyFailed ? kNoResult : kResult;
}

}  // namespace ambrelay::cli

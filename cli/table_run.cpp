// A table streams through in bounded memory: rows are read a batch at a
// time, answered on every core, and written in their order.

#include "cli/table_run.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "answers/worker_pool.h"
#include "cli/problems.h"
#include "figures/machine_text.h"
#include "figures/means_figures.h"
#include "figures/problem_words.h"
#include "tables/csv.h"

namespace ambrelay::cli {
namespace {

constexpr std::size_t kBatch = 4096;
constexpr std::size_t kPart = 256;

// How the rows are written, settled from the header.
struct Layout {
    const TableRequest& request;
    const tables::TableReader& reader;
    CountColumns columns;
    std::vector<std::string> inputNames;  // as JSON keys: a repeated name gets its position
    OutputNames resultNames;              // the figures' keys, then warnings and error, none an input's
    Format format = Format::Csv;
};

// A part's rows that had no answer: the first few, and how many.
struct PartProblems {
    std::vector<Problem> named;
    std::size_t count = 0;

    void Add(Problem problem)
    {
        if (named.size() < tables::kRowProblemsNamed) {
            named.push_back(std::move(problem));
        }
        ++count;
    }
};

// A part's text and figures, kept from batch to batch so their memory is reused.
struct Part {
    std::string out;
    PartProblems problems;
    FigureList<JudgementFigure> figures;
};

struct Batch {
    std::vector<tables::TableRow> rows;
    std::size_t parts = 0;
    std::vector<Part> results;

    void Split()
    {
        parts = (rows.size() + kPart - 1) / kPart;
        results.resize(std::max(results.size(), parts));
    }
};

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

// The row's own fields, then its figures, warnings and error. `warnings`
// gives the warnings when JSON needs their words; CSV writes `codes`.
template <typename Warnings>
void WriteResult(const Layout& t, const tables::TableRow& row, std::span<const FigureKind> kinds,
                 const std::vector<Figure>& figures, const std::vector<WarningCode>& codes, Warnings warnings,
                 const std::optional<Problem>& error, std::string& out)
{
    // Every field the row had, as many as the header names at least.
    const std::size_t width = t.inputNames.size();
    const std::size_t carried = std::max(width, row.fields.size());
    if (t.format == Format::Json) {
        JsonWriter json(out, false);
        json.BeginObject();
        for (std::size_t i = 0; i < carried; ++i) {
            json.Key(i < width ? t.inputNames[i] : tables::ColumnName(i));
            if (i < row.fields.size()) {
                json.Text(row.fields[i]);
            } else {
                json.Null();
            }
        }
        WriteFigures(json, kinds, figures, t.resultNames);
        json.Key(t.resultNames.warnings);
        WriteWarnings(json, error ? std::vector<Warning>() : warnings());
        json.Key(t.resultNames.error);
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
    const char delimiter = t.reader.Found().delimiter;
    for (std::size_t i = 0; i < carried; ++i) {
        if (i > 0) {
            out.push_back(delimiter);
        }
        csv::AppendField(out, i < row.fields.size() ? std::string_view(row.fields[i]) : std::string_view(),
                         delimiter);
    }
    AppendFigureCsv(out, kinds, figures, t.reader.Found().decimalComma ? ',' : '.', delimiter);
    out.push_back(delimiter);
    csv::AppendField(out, error ? std::string() : WarningCodes(codes), delimiter);
    out.push_back(delimiter);
    csv::AppendField(out, error ? ProblemText(*error) : std::string(), delimiter);
    out += "\r\n";
}

void WriteRow(const Layout& t, const tables::TableRow& row, Part& part)
{
    static const std::vector<Figure> none;
    static const std::vector<WarningCode> noCodes;
    const bool decimalComma = t.reader.Found().decimalComma;
    if (t.request.kind == TableKind::Means) {
        const Outcome<MeansAnswer> answer =
            CompareRow(row, t.columns, t.reader.Names(), decimalComma, t.request.means);
        std::optional<Problem> error;
        if (!answer) {
            error = answer.Failure();
            part.problems.Add(*error);
        }
        const std::vector<Figure> figures = answer ? MeansFigures(*answer, Wording::NumbersOnly).All() : none;
        WriteResult(t, row, MeansFigureKinds(), figures, answer ? answer->warnings : noCodes,
                    [&] { return MeansWarnings(*answer); }, error, part.out);
        return;
    }
    const Outcome<Judgement> judgement = JudgeRow(row, t.columns, t.reader.Names(), decimalComma, t.request.judge);
    std::optional<Problem> error;
    if (!judgement || !FillJudgementFigures(*judgement, Wording::NumbersOnly, part.figures)) {
        error = judgement ? Problem(Reason::OutOfRange) : judgement.Failure();
        error->line = row.line;
        part.problems.Add(*error);
    }
    WriteResult(t, row, JudgementFigureKinds(), error ? none : part.figures.All(),
                error ? noCodes : judgement->Figures().warnings, [&] { return JudgementWarnings(*judgement); },
                error, part.out);
}

}  // namespace

int AnswerTable(std::istream& in, const TableRequest& request, std::ostream& out, std::ostream& err)
{
    tables::TableReader reader(in, request.dialect);
    if (auto problem = reader.Start()) {
        return Fail(err, *problem);
    }
    const Outcome<CountColumns> columns =
        FindCountColumns(reader.Names(), request.kind, request.columns, !request.dialect.header);
    if (!columns) {
        return Fail(err, columns.Failure());
    }
    Layout t{request, reader, *columns, reader.Names(), {}, request.json ? Format::Json : Format::Csv};
    t.resultNames = NamesOf(request.kind == TableKind::Means ? MeansFigureKinds() : JudgementFigureKinds());
    t.resultNames.KeepClearOf(t.inputNames, t.format);
    // JSON is always UTF-8; CSV goes out in the input's own encoding, so a
    // spreadsheet opens it as it opened the input. Text only in ASCII reads
    // the same in UTF-8 and Windows-1252, so a batch written before its
    // encoding was decided is written right.
    const auto write = [&](const std::string& text) {
        const tables::Encoding encoding =
            t.format == Format::Json ? tables::Encoding::Utf8 : reader.Found().encoding;
        out << (encoding == tables::Encoding::Utf8 ? text : tables::FromUtf8(text, encoding));
    };
    if (t.format == Format::Json) {
        t.inputNames = DistinctNames(t.inputNames);
    } else {
        const tables::Settled& found = reader.Found();
        std::string names = found.byteOrderMark ? std::string(tables::ByteOrderMark(found.encoding)) : std::string();
        if (found.byteOrderMark && found.encoding != tables::Encoding::Utf8) {
            out << names;
            names.clear();
        }
        if (found.sepLine) {
            names += std::string("sep=") + found.delimiter + "\r\n";
        }
        std::vector<std::string> all = t.inputNames;
        const std::vector<std::string> results = t.resultNames.All(t.format);
        all.insert(all.end(), results.begin(), results.end());
        csv::AppendRow(names, all, found.delimiter);
        write(names);
    }

    // The output is the same whatever the number of threads: every row is
    // written in its place in the batch. While the threads answer one batch,
    // one of them first writes out the batch before and reads the next, so
    // reading and writing take no time of their own.
    WorkerPool pool(std::max<std::size_t>(request.jobs.value_or(std::thread::hardware_concurrency()), 1) - 1);
    RowProblems said;
    Batch batches[2];
    bool more = true;
    const auto readInto = [&](Batch& batch) {
        tables::TableRow row;
        while (batch.rows.size() < kBatch && more && (more = reader.Next(row))) {
            batch.rows.push_back(std::move(row));
        }
    };
    const auto writeOut = [&](Batch& batch) {
        for (std::size_t p = 0; p < batch.parts; ++p) {
            Part& part = batch.results[p];
            write(part.out);
            std::string lines;
            for (const Problem& problem : part.problems.named) {
                said.Add(problem, lines);
            }
            said.AddUnnamed(part.problems.count - part.problems.named.size());
            err << lines;
        }
        batch.rows.clear();
        batch.parts = 0;
    };
    readInto(batches[0]);
    for (std::size_t now = 0; !batches[now].rows.empty(); now = 1 - now) {
        Batch& batch = batches[now];
        Batch& other = batches[1 - now];
        batch.Split();
        pool.Run(batch.parts + 1, [&](std::size_t task, std::size_t) {
            if (task == 0) {
                writeOut(other);
                readInto(other);
                return;
            }
            // Each part writes into a part of its own stack frame and hands
            // it back at the end: the parts sit side by side in the batch,
            // and threads writing to neighbours would share cache lines.
            const std::size_t index = task - 1;
            Part part;
            std::swap(part, batch.results[index]);
            part.out.clear();
            part.problems = {};
            for (std::size_t i = index * kPart; i < std::min(batch.rows.size(), (index + 1) * kPart); ++i) {
                WriteRow(t, batch.rows[i], part);
            }
            std::swap(part, batch.results[index]);
        });
        if (other.rows.empty()) {
            writeOut(batch);
        }
    }
    err << said.Rest("have no result; the output's error column says why for each");
    out.flush();
    return said.Any() ? kNoResult : kResult;
}

}  // namespace ambrelay::cli

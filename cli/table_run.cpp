// A table streams through in bounded memory: rows are read a batch at a
// time, answered on every core, and written in their order.

#include "cli/table_run.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "answers/worker_pool.h"
#include "cli/problems.h"
#include "cli/shared_options.h"
#include "cli/table_output.h"
#include "cli/versions_table.h"
#include "figures/figure_choice.h"
#include "figures/machine_text.h"
#include "figures/means_figures.h"
#include "figures/problem_words.h"
#include "tables/csv.h"

namespace ambrelay::cli {
namespace {

constexpr std::size_t kBatch = 4096;
constexpr std::size_t kPart = 256;

// How the rows are read and written, settled from the header.
struct Layout {
    const TableRequest& request;
    const tables::TableReader& reader;
    CountColumns columns;
    TableOutput output;
    JudgeOptions judge;     // the request's, working out only what is written
    JudgementChoice chosen;  // the judgement's figures written
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

void WriteRow(const Layout& t, const tables::TableRow& row, Part& part)
{
    static const std::vector<WarningCode> noCodes;
    const bool decimalComma = t.reader.Found().decimalComma;
    std::optional<Problem> error;
    if (t.request.kind == TableKind::Means) {
        const Outcome<MeansAnswer> answer =
            CompareRow(row, t.columns, t.reader.Names(), decimalComma, t.request.means);
        if (!answer) {
            error = answer.Failure();
            part.problems.Add(*error);
        }
        const std::vector<Figure> figures = answer ? MeansFigures(*answer, Wording::NumbersOnly).All()
                                                   : std::vector<Figure>();
        const std::vector<Figure>* lists[] = {&figures};
        t.output.AppendRow(row.fields, lists, answer ? answer->warnings : noCodes,
                           [&] { return MeansWarnings(*answer); }, error, part.out);
        return;
    }
    const Outcome<Judgement> judgement = JudgeRow(row, t.columns, t.reader.Names(), decimalComma, t.judge);
    if (!judgement || !FillJudgementFigures(*judgement, Wording::NumbersOnly, part.figures, t.chosen)) {
        error = judgement ? Problem(Reason::OutOfRange) : judgement.Failure();
        error->line = row.line;
        part.problems.Add(*error);
    }
    const std::vector<Figure>* lists[] = {&part.figures.All()};
    t.output.AppendRow(row.fields, lists, error ? noCodes : judgement->Figures().warnings,
                       [&] { return JudgementWarnings(*judgement); }, error, part.out);
}

}  // namespace

Outcome<std::vector<FigureKind>> ChosenKinds(std::span<const FigureKind> kinds, const std::vector<std::string>& names,
                                             const std::vector<std::string>& inputs)
{
    if (names.empty()) {
        return std::vector<FigureKind>(kinds.begin(), kinds.end());
    }
    return ChooseFigures(kinds, names, inputs, Origin::Option("--figures"));
}

int AnswerTable(std::istream& in, const TableRequest& request, std::ostream& out, std::ostream& err)
{
    tables::TableReader reader(in, request.dialect);
    if (auto problem = reader.Start()) {
        return Fail(err, *problem);
    }
    const Outcome<std::optional<VersionColumns>> versions =
        FindVersionColumns(reader.Names(), request.kind, request.columns, request.versionColumn, request.testColumn,
                           !request.dialect.header);
    if (!versions) {
        return Fail(err, versions.Failure());
    }
    if (*versions) {
        return AnswerVersionsTable(reader, **versions, request, out, err);
    }
    if (auto problem = TwoVersionsOnly(request.family)) {
        return Fail(err, *problem);  // a table a test a row holds two versions
    }
    const Outcome<CountColumns> columns =
        FindCountColumns(reader.Names(), request.kind, request.columns, !request.dialect.header);
    if (!columns) {
        return Fail(err, columns.Failure());
    }
    const bool means = request.kind == TableKind::Means;
    const Outcome<std::vector<FigureKind>> kinds =
        ChosenKinds(means ? MeansFigureKinds() : JudgementFigureKinds(), request.figures, reader.Names());
    if (!kinds) {
        return Fail(err, kinds.Failure());
    }
    Layout t{request, reader, *columns, TableOutput(reader, {*kinds}, request.json), request.judge,
             JudgementChoiceOf(means ? std::span<const FigureKind>() : std::span<const FigureKind>(*kinds))};
    t.judge.parts = PartsFor(t.chosen);
    t.output.WriteHeader(out);

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
            t.output.Write(out, part.out);
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

#include "cli/versions_table.h"

#include <algorithm>
#include <thread>
#include <type_traits>

#include "answers/long_form.h"
#include "answers/worker_pool.h"
#include "cli/problems.h"
#include "cli/table_output.h"
#include "cli/table_run.h"
#include "figures/means_figures.h"
#include "figures/versions_figures.h"

namespace ambrelay::cli {
namespace {

// What a test's rows become: each row's text out, by the row's place, and
// the test's problem, if any.
struct Answered {
    std::vector<std::pair<std::size_t, std::string>> rows;
    std::optional<Problem> problem;
};

template <typename Answer>
void Render(const std::vector<VersionRow>& rows, const std::vector<std::vector<std::string>>& fields,
            const Outcome<Answer>& answer, const TableOutput& output, Answered& done)
{
    static const std::vector<WarningCode> noCodes;
    if (!answer) {
        // Every row of a test without an answer goes out with the reason.
        done.problem = answer.Failure();
        for (const VersionRow& row : rows) {
            std::string text;
            output.AppendRow(fields[row.place], {}, noCodes, {}, done.problem, text);
            done.rows.emplace_back(row.place, std::move(text));
        }
        return;
    }
    for (std::size_t c = 0; c < answer->comparisons.size(); ++c) {
        const VersionRow& row = rows[answer->comparisons[c].version];
        const std::vector<Figure> family = VersionFigures(*answer, c, Wording::NumbersOnly).All();
        std::vector<Figure> figures;
        std::vector<WarningCode> codes = answer->warnings;
        if constexpr (std::is_same_v<Answer, RatesVersionsAnswer>) {
            figures = ComparisonFigures(*answer, c, Wording::NumbersOnly).All();
            const std::vector<WarningCode>& own = answer->comparisons[c].answer.Figures().warnings;
            codes.insert(codes.end(), own.begin(), own.end());
        } else {
            figures = ComparisonFigures(*answer, c, Wording::NumbersOnly).All();
            codes.insert(codes.end(), answer->comparisons[c].answer.warnings.begin(),
                         answer->comparisons[c].answer.warnings.end());
        }
        const std::vector<Figure>* lists[] = {&family, &figures};
        std::string text;
        output.AppendRow(fields[row.place], lists, codes, [&] {
            std::vector<Warning> all = VersionsWarnings(*answer);
            std::vector<Warning> own;
            if constexpr (std::is_same_v<Answer, RatesVersionsAnswer>) {
                own = JudgementWarnings(answer->comparisons[c].answer);
            } else {
                own = MeansWarnings(answer->comparisons[c].answer);
            }
            all.insert(all.end(), own.begin(), own.end());
            return all;
        }, std::nullopt, text);
        done.rows.emplace_back(row.place, std::move(text));
    }
}

}  // namespace

int AnswerVersionsTable(tables::TableReader& reader, const VersionColumns& columns, const TableRequest& request,
                        std::ostream& out, std::ostream& err)
{
    const bool means = request.kind == TableKind::Means;
    // --figures chooses among both lists: the versions' and the comparison's.
    // Every figure is still worked out, since the versions' own figures (the
    // corrected p values, the chance to be best) stand on the comparisons'.
    const std::span<const FigureKind> compared = means ? MeansFigureKinds() : JudgementFigureKinds();
    const auto keysOf = [&](std::span<const FigureKind> kinds) {
        std::vector<std::string> keys = reader.Names();
        for (const FigureKind& kind : kinds) {
            keys.emplace_back(kind.key);
            if (*kind.intervalKey) {
                keys.emplace_back(kind.intervalKey);
                keys.push_back(std::string(kind.intervalKey) + "_low");
                keys.push_back(std::string(kind.intervalKey) + "_high");
            }
        }
        return keys;
    };
    const Outcome<std::vector<FigureKind>> family =
        ChosenKinds(VersionFigureKinds(), request.figures, keysOf(compared));
    Outcome<std::vector<FigureKind>> comparison = ChosenKinds(compared, request.figures, keysOf(VersionFigureKinds()));
    if (!family || !comparison) {
        Problem problem = (family ? comparison : family).Failure();
        problem.names.clear();
        for (const std::span<const FigureKind> kinds : {VersionFigureKinds(), compared}) {
            for (const FigureKind& kind : kinds) {
                problem.names.emplace_back(kind.key);
            }
        }
        return Fail(err, problem);
    }
    const TableOutput output(reader, {*family, *comparison}, request.json);
    output.WriteHeader(out);
    // Every row is read before any test is answered: a test's rows may lie
    // anywhere in the file.
    const std::vector<std::string>& names = reader.Names();
    const bool decimalComma = reader.Found().decimalComma;
    GroupedTests tests;
    std::vector<std::vector<std::string>> fields;
    tables::TableRow row;
    while (reader.Next(row)) {
        VersionRow version;
        version.line = row.line;
        version.place = fields.size();
        version.problem = row.problem;
        if (!row.problem) {
            version.test = columns.test ? row.fields[*columns.test] : std::string();
            version.version = row.fields[columns.version];
            for (const std::size_t at : columns.cells) {
                version.cells.push_back(tables::ReadCell(row.fields[at], decimalComma, names[at]));
            }
        }
        fields.push_back(std::move(row.fields));
        tests.Add(std::move(version));
    }
    // The tests shared among the cores a thousand at a time, their rows
    // written in the order of the tests: while the threads answer one
    // thousand, one of them writes the thousand before and lets go of its
    // rows, so the output never waits in memory whole.
    constexpr std::size_t kTestsAtOnce = 1024;
    WorkerPool pool(std::max<std::size_t>(request.jobs.value_or(std::thread::hardware_concurrency()), 1) - 1);
    RowProblems said;
    std::string lines;
    std::vector<Answered> answered[2];
    const auto writeOut = [&](std::vector<Answered>& done, std::size_t first) {
        for (std::size_t i = 0; i < done.size(); ++i) {
            std::string text;
            for (const auto& [place, rowText] : done[i].rows) {
                text += rowText;
            }
            output.Write(out, text);
            const std::vector<VersionRow>& rows = tests.Rows(first + i);
            if (done[i].problem) {
                Problem problem = *done[i].problem;
                if (problem.line == 0) {
                    problem.line = rows.front().line;  // a test's problem is said at its first row
                }
                said.Add(problem, lines);
            }
            for (const VersionRow& row : rows) {
                std::vector<std::string>().swap(fields[row.place]);
            }
        }
        done.clear();
    };
    std::size_t first = 0;
    for (std::size_t now = 0; first < tests.Size(); first += kTestsAtOnce, now = 1 - now) {
        const std::size_t count = std::min(kTestsAtOnce, tests.Size() - first);
        answered[now].assign(count, Answered());
        pool.Run(count + 1, [&](std::size_t task, std::size_t) {
            if (task == 0) {
                writeOut(answered[1 - now], first - answered[1 - now].size());
                return;
            }
            const std::size_t t = first + task - 1;
            const std::vector<VersionRow>& rows = tests.Rows(t);
            if (means) {
                Render(rows, fields, CompareRowsOfTest(rows, request.means, request.family), output,
                       answered[now][task - 1]);
            } else {
                Render(rows, fields, JudgeRowsOfTest(rows, request.judge, request.family), output,
                       answered[now][task - 1]);
            }
        });
    }
    for (std::vector<Answered>& done : answered) {
        if (!done.empty()) {
            writeOut(done, tests.Size() - done.size());
        }
    }
    err << lines << said.Rest("begin tests without a result; the output's error column says why for each");
    out.flush();
    return said.Any() ? kNoResult : kResult;
}

}  // namespace ambrelay::cli

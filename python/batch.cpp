#include "python/batch.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <type_traits>

#include "answers/counts_answer.h"
#include "answers/long_form.h"
#include "answers/worker_pool.h"
#include "checks/amounts.h"
#include "figures/machine_text.h"
#include "figures/means_figures.h"
#include "figures/plan_figures.h"
#include "figures/problem_words.h"
#include "figures/versions_figures.h"

namespace ambrelay::python {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// A thread's way of writing a row's texts: the i-th text column's code.
struct Texts {
    Output& out;
    TextCodes& codes;
    std::int32_t thread;
    std::vector<std::int32_t> last = std::vector<std::int32_t>(out.codes.size(), kNoText);  // by column

    void Set(std::size_t column, std::size_t row, std::optional<std::string_view> text)
    {
        std::int32_t code = kNoText;
        if (text) {
            // A column often repeats its text ("B", no warnings): compared, not looked up.
            const std::int32_t previous = last[column];
            code = previous != kNoText && codes.Texts()[static_cast<std::size_t>(previous)] == *text
                       ? previous
                       : codes.Code(*text);
            last[column] = code;
        }
        out.codes[column][row] = code == kNoText ? kNoText : thread | code;
    }
};

// Runs the rows in chunks on `jobs` threads of the one pool, each taking the
// next chunk not yet taken; `chunk` answers rows [first, end) with its
// thread's codes. An exception on any thread is carried back and raised.
template <typename Chunk>
void OnThreads(std::size_t rows, unsigned jobs, Output& out, Chunk chunk)
{
    const std::size_t chunks = (rows + kChunkRows - 1) / kChunkRows;
    const std::size_t most = std::min<std::size_t>(std::max<std::size_t>(chunks, 1), kMostThreads);
    WorkerPool pool(std::clamp<std::size_t>(jobs, 1, most) - 1);
    out.dictionaries.assign(pool.Workers(), TextCodes());
    std::vector<std::optional<Texts>> texts(pool.Workers());
    std::exception_ptr failed;
    std::mutex failing;
    std::atomic<bool> stop{false};
    pool.Run(chunks, [&](std::size_t c, std::size_t worker) {
        if (stop.load(std::memory_order_relaxed)) {
            return;  // the other threads stop after their chunk
        }
        try {
            if (!texts[worker]) {
                texts[worker].emplace(Texts{out, out.dictionaries[worker],
                                            static_cast<std::int32_t>(worker << kThreadShift)});
            }
            chunk(c * kChunkRows, std::min(rows, (c + 1) * kChunkRows), *texts[worker]);
        } catch (...) {
            const std::lock_guard<std::mutex> hold(failing);
            failed = failed ? failed : std::current_exception();
            stop = true;
        }
    });
    if (failed) {
        std::rethrow_exception(failed);
    }
}

// A row without figures: NaN in its numbers, no texts, and why.
void WriteError(std::string_view error, std::size_t row, Output& out, Texts& texts)
{
    for (double* column : out.numbers) {
        if (column) {
            column[row] = kNone;
        }
    }
    for (std::size_t c = 0; c <= out.textColumns; ++c) {
        texts.Set(c, row, std::nullopt);
    }
    texts.Set(out.textColumns + 1, row, error);
}

// A row's figures, then its warnings' codes, and no error.
void WriteFigures(const std::vector<Figure>& figures, std::string_view codes, std::size_t row, Output& out,
                  Texts& texts)
{
    std::size_t textColumn = 0;
    for (std::size_t c = 0; c < out.columns.size(); ++c) {
        const OutputColumn& column = out.columns[c];
        const Figure& f = figures[column.kind];
        if (column.part > 0) {
            out.numbers[c][row] = f.interval ? (column.part == 1 ? f.interval->low : f.interval->high) : kNone;
        } else if (column.type == ColumnType::Text) {
            const std::string* text = std::get_if<std::string>(&f.value);
            texts.Set(textColumn++, row, text ? std::optional<std::string_view>(*text) : std::nullopt);
        } else if (const double* x = std::get_if<double>(&f.value)) {
            out.numbers[c][row] = *x;
        } else if (const bool* yes = std::get_if<bool>(&f.value)) {
            out.numbers[c][row] = *yes ? 1 : 0;
        } else {
            out.numbers[c][row] = kNone;
        }
    }
    texts.Set(out.textColumns, row, codes);
    texts.Set(out.textColumns + 1, row, std::nullopt);
}

// The warnings' codes, separated by semicolons, into `codes`; their words too when asked.
template <typename Codes>
void WarningsOf(const Codes& warnings, std::size_t row, Output& out, std::string& codes)
{
    codes.clear();
    for (const auto& w : warnings) {
        if constexpr (std::is_same_v<std::decay_t<decltype(w)>, Warning>) {
            codes += (codes.empty() ? "" : ";") + WarningCodeName(w.code);
            if (!out.warningWords.empty()) {
                out.warningWords[row].emplace_back(WarningCodeName(w.code), w.message);
            }
        } else {
            codes += (codes.empty() ? "" : ";") + WarningCodeName(w);
        }
    }
}

// The planned total of a row, read as the command line reads --planned.
std::optional<Problem> Planned(const Settings& s, std::size_t row, std::optional<double>& planned)
{
    planned.reset();
    if (s.planned.size == 0) {
        return std::nullopt;
    }
    const Outcome<double> given = s.planned[row];
    if (!given && given.Failure().reason == Reason::NoNumber) {
        return std::nullopt;  // none given: the default
    }
    if (!given || !(*given > 0)) {
        Problem problem(Reason::PlannedNotPositive, s.planned.origin.kind, s.planned.origin.name,
                        given ? ExactNumber(*given) : given.Failure().text);
        problem.input = Input::Planned;
        return problem;
    }
    planned = *given;
    return std::nullopt;
}

// A's intended share as a number (A's, in percent) or a text ("90/10").
Outcome<double> ShareOfA(const InputColumn& c, std::size_t row)
{
    if (!c.texts) {
        return GivenPercent(c.Number(row), Amount::Percent, c.origin);
    }
    const Outcome<Split> split = ReadSplit((*c.texts)[c.size == 1 ? 0 : row], c.origin);
    const Outcome<Split> two = split ? SplitFor(*split, 2, c.origin) : split;
    return two ? Outcome<double>(two->SharePercentA()) : Outcome<double>(two.Failure());
}

}  // namespace

std::vector<OutputColumn> ColumnsOf(std::initializer_list<std::span<const FigureKind>> lists)
{
    return ColumnsOf(std::span<const std::span<const FigureKind>>(lists.begin(), lists.size()));
}

std::vector<OutputColumn> ColumnsOf(std::span<const std::span<const FigureKind>> lists)
{
    std::vector<OutputColumn> columns;
    std::size_t before = 0;
    for (const std::span<const FigureKind> kinds : lists) {
    for (const FigureKind& k : kinds) {
        const std::size_t at = before + static_cast<std::size_t>(k.id);
        if (k.unit == Unit::Text) {
            columns.push_back({k.key, k.key, ColumnType::Text, at, 0});
        } else if (k.unit == Unit::YesNo) {
            columns.push_back({k.key, k.key, ColumnType::YesNo, at, 0});
        } else {
            columns.push_back({k.key, k.key, ColumnType::Number, at, 0});
        }
        if (*k.intervalKey) {
            const std::string interval = k.intervalKey;
            columns.push_back({interval + "_low", interval, ColumnType::Number, at, 1});
            columns.push_back({interval + "_high", interval, ColumnType::Number, at, 2});
        }
    }
    before += kinds.size();
    }
    return columns;
}

Output::Output(std::vector<OutputColumn> layout) : columns(std::move(layout)), numbers(columns.size(), nullptr)
{
    for (const OutputColumn& column : columns) {
        textColumns += column.type == ColumnType::Text ? 1 : 0;
    }
    codes.assign(textColumns + 2, nullptr);
}

std::int32_t TextCodes::Code(std::string_view text)
{
    if (const auto at = ids_.find(text); at != ids_.end()) {
        return at->second;
    }
    if (texts_.size() >= (1u << kThreadShift) - 1) {
        throw std::length_error("more distinct texts than a column of codes holds");
    }
    const auto id = static_cast<std::int32_t>(texts_.size());
    texts_.emplace_back(text);
    ids_.emplace(texts_.back(), id);
    return id;
}

Outcome<double> InputColumn::operator[](std::size_t i) const
{
    const std::size_t at = size == 1 ? 0 : i;
    return texts ? ReadGiven((*texts)[at], origin) : GivenNumber(data[at], origin);
}

void JudgeBatch(const InputColumn (&counts)[4], std::size_t rows, const Settings& s, Output& out)
{
    OnThreads(rows, s.jobs, out, [&](std::size_t first, std::size_t end, Texts& texts) {
        FigureList<JudgementFigure> list;
        JudgeOptions options;
        options.margin = s.margin;
        options.splitPercentA = s.splitPercentA;
        options.parts = PartsFor(s.chosen);
        std::string codes;
        for (std::size_t row = first; row < end; ++row) {
            if (auto problem = Planned(s, row, options.plannedObservations)) {
                WriteError(ProblemText(*problem), row, out, texts);
                continue;
            }
            const Outcome<Judgement> judgement =
                JudgeGiven(counts[0][row], counts[1][row], counts[2][row], counts[3][row], options);
            if (!judgement) {
                WriteError(ProblemText(judgement.Failure()), row, out, texts);
                continue;
            }
            if (!FillJudgementFigures(*judgement, Wording::NumbersOnly, list, s.chosen)) {
                WriteError(ReasonText(Reason::OutOfRange), row, out, texts);
                continue;
            }
            if (out.warningWords.empty()) {
                WarningsOf(judgement->Figures().warnings, row, out, codes);
            } else {
                WarningsOf(JudgementWarnings(*judgement), row, out, codes);
            }
            WriteFigures(list.All(), codes, row, out, texts);
        }
    });
}

void MeansBatch(const InputColumn (&in)[6], Better better, std::size_t rows, const Settings& s, Output& out)
{
    OnThreads(rows, s.jobs, out, [&](std::size_t first, std::size_t end, Texts& texts) {
        std::string codes;
        MeansOptions options;
        options.better = better;
        options.margin = s.margin;
        options.splitPercentA = s.splitPercentA;
        for (std::size_t row = first; row < end; ++row) {
            if (auto problem = Planned(s, row, options.plannedObservations)) {
                WriteError(ProblemText(*problem), row, out, texts);
                continue;
            }
            const Outcome<double> six[6] = {in[0][row], in[1][row], in[2][row], in[3][row], in[4][row], in[5][row]};
            const Outcome<MeansRequest> request = SummariesGiven(six, options);
            const Outcome<MeansAnswer> answer = request ? CompareSummaries(*request) : request.Failure();
            if (!answer) {
                WriteError(ProblemText(answer.Failure()), row, out, texts);
                continue;
            }
            WarningsOf(MeansWarnings(*answer), row, out, codes);
            WriteFigures(MeansFigures(*answer, Wording::NumbersOnly).All(), codes, row, out, texts);
        }
    });
}

void SplitBatch(const InputColumn (&in)[3], std::size_t rows, const Settings& s, Output& out)
{
    OnThreads(rows, s.jobs, out, [&](std::size_t first, std::size_t end, Texts& texts) {
        for (std::size_t row = first; row < end; ++row) {
            const Outcome<double> observations[2] = {in[0][row], in[1][row]};
            const Outcome<double> share = ShareOfA(in[2], row);
            for (const Outcome<double>* given : {&observations[0], &observations[1], &share}) {
                if (!*given) {
                    WriteError(ProblemText(given->Failure()), row, out, texts);
                    break;
                }
            }
            if (!observations[0] || !observations[1] || !share) {
                continue;
            }
            const auto answer = AnswerSplit(*observations[0], *observations[1], *share);
            if (!answer) {
                WriteError(ProblemText(answer.Failure()), row, out, texts);
                continue;
            }
            WriteFigures(answer->All(), "", row, out, texts);
        }
    });
}

namespace {

// The rows grouped into their tests, each row's cells read as every door reads them.
GroupedTests Grouped(const VersionRows& in)
{
    GroupedTests tests;
    for (std::size_t row = 0; row < in.rows; ++row) {
        VersionRow version;
        version.test = in.tests ? (*in.tests)[row] : std::string();
        version.version = (*in.versions)[row];
        for (const InputColumn& cell : in.cells) {
            version.cells.push_back(cell[row]);
        }
        version.place = row;
        tests.Add(std::move(version));
    }
    return tests;
}

// Each test answered on the pool, then its rows written in the tests' order.
template <typename Answer, typename AnswerTest, typename Own>
std::size_t VersionsBatch(const VersionRows& in, const Settings& s, Output& out, std::int64_t* places,
                          AnswerTest answerTest, Own own)
{
    const GroupedTests tests = Grouped(in);
    std::vector<std::optional<Outcome<Answer>>> answers(tests.Size());
    WorkerPool pool(std::max(s.jobs, 1u) - 1);
    pool.Run(tests.Size(), [&](std::size_t t, std::size_t) { answers[t].emplace(answerTest(tests.Rows(t))); });
    out.dictionaries.assign(1, TextCodes());
    Texts texts{out, out.dictionaries[0], 0};
    std::size_t written = 0;
    std::string codes;
    for (std::size_t t = 0; t < tests.Size(); ++t) {
        const Outcome<Answer>& answer = *answers[t];
        const std::vector<VersionRow>& rows = tests.Rows(t);
        if (!answer) {
            for (const VersionRow& row : rows) {
                WriteError(ProblemText(answer.Failure()), written, out, texts);
                places[written++] = static_cast<std::int64_t>(row.place);
            }
            continue;
        }
        for (std::size_t c = 0; c < answer->comparisons.size(); ++c) {
            std::vector<Figure> figures = VersionFigures(*answer, c, Wording::NumbersOnly).All();
            const std::vector<Figure> comparison = ComparisonFigures(*answer, c, Wording::NumbersOnly).All();
            figures.insert(figures.end(), comparison.begin(), comparison.end());
            std::vector<WarningCode> warnings = answer->warnings;
            const std::vector<WarningCode>& pair = own(answer->comparisons[c].answer);
            warnings.insert(warnings.end(), pair.begin(), pair.end());
            WarningsOf(warnings, written, out, codes);
            WriteFigures(figures, codes, written, out, texts);
            places[written++] = static_cast<std::int64_t>(rows[answer->comparisons[c].version].place);
        }
    }
    return written;
}

// A test's planned total: its first row's, as the command line has one for a table.
JudgeOptions JudgeOptionsOf(const Settings& s, const std::vector<VersionRow>& rows, std::optional<Problem>& problem)
{
    JudgeOptions options;
    options.margin = s.margin;
    problem = Planned(s, rows.front().place, options.plannedObservations);
    return options;
}

}  // namespace

std::size_t JudgeVersionsBatch(const VersionRows& in, const Settings& s, const VersionsOptions& family, Output& out,
                               std::int64_t* places)
{
    return VersionsBatch<RatesVersionsAnswer>(
        in, s, out, places,
        [&](const std::vector<VersionRow>& rows) -> Outcome<RatesVersionsAnswer> {
            std::optional<Problem> problem;
            const JudgeOptions options = JudgeOptionsOf(s, rows, problem);
            if (problem) {
                return *problem;
            }
            return JudgeRowsOfTest(rows, options, family);
        },
        [](const Judgement& j) -> const std::vector<WarningCode>& { return j.Figures().warnings; });
}

std::size_t CompareVersionsBatch(const VersionRows& in, Better better, const Settings& s,
                                 const VersionsOptions& family, Output& out, std::int64_t* places)
{
    return VersionsBatch<MeansVersionsAnswer>(
        in, s, out, places,
        [&](const std::vector<VersionRow>& rows) -> Outcome<MeansVersionsAnswer> {
            MeansOptions options;
            options.better = better;
            options.margin = s.margin;
            if (auto problem = Planned(s, rows.front().place, options.plannedObservations)) {
                return *problem;
            }
            return CompareRowsOfTest(rows, options, family);
        },
        [](const MeansAnswer& a) -> const std::vector<WarningCode>& { return a.warnings; });
}

}  // namespace ambrelay::python

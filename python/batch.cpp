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

#include "figures/judge_row.h"
#include "figures/means_figures.h"
#include "figures/plan_figures.h"
#include "figures/reasons.h"

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

// Runs the rows in chunks on `jobs` threads, each taking the next chunk
// not yet taken; `chunk` judges rows [first, end) with its thread's codes.
template <typename Chunk>
void OnThreads(std::size_t rows, unsigned jobs, Output& out, Chunk chunk)
{
    const std::size_t chunks = (rows + kChunkRows - 1) / kChunkRows;
    const std::size_t most = std::min<std::size_t>(std::max<std::size_t>(chunks, 1), kMostThreads);
    jobs = static_cast<unsigned>(std::clamp<std::size_t>(jobs, 1, most));
    out.dictionaries.assign(jobs, TextCodes());
    std::atomic<std::size_t> next{0};
    std::exception_ptr failed;
    std::mutex failing;
    const auto work = [&](unsigned thread) {
        try {
            Texts texts{out, out.dictionaries[thread], static_cast<std::int32_t>(thread << kThreadShift)};
            for (std::size_t c = next++; c < chunks; c = next++) {
                chunk(c * kChunkRows, std::min(rows, (c + 1) * kChunkRows), texts);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> hold(failing);
            failed = failed ? failed : std::current_exception();
            next = chunks;  // the other threads stop after their chunk
        }
    };
    std::vector<std::thread> threads;
    for (unsigned j = 1; j < jobs; ++j) {
        threads.emplace_back(work, j);
    }
    work(0);
    for (std::thread& t : threads) {
        t.join();
    }
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
std::optional<std::string> Planned(const Settings& s, std::size_t row, std::optional<double>& planned)
{
    planned.reset();
    if (s.planned.size == 0 || std::isnan(s.planned[row])) {
        return std::nullopt;
    }
    const Outcome<double> read = ReadPlanned(ExactText(s.planned[row]));
    if (!read) {
        return ReasonText(read.Failure());
    }
    planned = *read;
    return std::nullopt;
}

}  // namespace

std::vector<OutputColumn> ColumnsOf(std::span<const FigureKind> kinds)
{
    std::vector<OutputColumn> columns;
    for (const FigureKind& k : kinds) {
        const std::size_t at = static_cast<std::size_t>(k.id);
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

std::string ExactText(double x)
{
    if (std::isnan(x)) {
        return {};
    }
    char buffer[64];
    // Counts are whole numbers mostly: written as integers, the same digits, faster.
    if (std::fabs(x) < 9007199254740992.0 && x == std::trunc(x) && !(x == 0 && std::signbit(x))) {
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(x));
        return std::string(buffer, written.ptr);
    }
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, x);
    return std::string(buffer, written.ptr);
}

void JudgeBatch(const InputColumn (&counts)[4], std::size_t rows, const Settings& s, Output& out)
{
    OnThreads(rows, s.jobs, out, [&](std::size_t first, std::size_t end, Texts& texts) {
        Judgement judgement;
        FigureList<JudgementFigure> list;
        JudgeOptions options;
        options.margin = s.margin;
        options.windowTexts = false;  // the window's texts are not figures
        std::string codes;
        for (std::size_t row = first; row < end; ++row) {
            if (auto problem = Planned(s, row, options.plannedObservations)) {
                WriteError(*problem, row, out, texts);
                continue;
            }
            const CountTexts read{ExactText(counts[0][row]), ExactText(counts[1][row]), ExactText(counts[2][row]),
                                  ExactText(counts[3][row])};
            if (auto error = JudgeTexts(read, options, judgement)) {
                WriteError(*error, row, out, texts);
                continue;
            }
            if (!FillJudgementFigures(judgement, Wording::NumbersOnly, list)) {
                WriteError(ReasonText(Reason::OutOfRange), row, out, texts);
                continue;
            }
            if (out.warningWords.empty()) {
                WarningsOf(judgement.Figures().warnings, row, out, codes);
            } else {
                WarningsOf(JudgementWarnings(judgement), row, out, codes);
            }
            WriteFigures(list.All(), codes, row, out, texts);
        }
    });
}

void MeansBatch(const InputColumn (&in)[6], Better better, std::size_t rows, const Settings& s, Output& out)
{
    OnThreads(rows, s.jobs, out, [&](std::size_t first, std::size_t end, Texts& texts) {
        std::string codes;
        for (std::size_t row = first; row < end; ++row) {
            MeansRequest request{{in[0][row], in[1][row], in[2][row]}, {in[3][row], in[4][row], in[5][row]}, better,
                                 false, std::nullopt, s.margin};
            if (auto problem = Planned(s, row, request.plannedObservations)) {
                WriteError(*problem, row, out, texts);
                continue;
            }
            if (std::any_of(std::begin(in), std::end(in), [&](const InputColumn& x) { return std::isnan(x[row]); })) {
                WriteError(ReasonText(Reason::NoNumber), row, out, texts);
                continue;
            }
            const auto answer = AnswerMeans(request, Wording::NumbersOnly);
            if (!answer) {
                WriteError(ReasonText(answer.Failure().reason), row, out, texts);
                continue;
            }
            WarningsOf(MeansWarnings(request), row, out, codes);
            WriteFigures(answer->All(), codes, row, out, texts);
        }
    });
}

void SplitBatch(const InputColumn (&in)[3], std::size_t rows, const Settings& s, Output& out)
{
    OnThreads(rows, s.jobs, out, [&](std::size_t first, std::size_t end, Texts& texts) {
        for (std::size_t row = first; row < end; ++row) {
            const auto answer = AnswerSplit(in[0][row], in[1][row], in[2][row]);
            if (!answer) {
                WriteError(ReasonText(answer.Failure()), row, out, texts);
                continue;
            }
            WriteFigures(answer->All(), "", row, out, texts);
        }
    });
}

}  // namespace ambrelay::python

#pragma once
// Many tests at once for the Python package: input arrays in, one column a
// figure out, computed on as many threads as asked. No Python here; the
// module hands in the arrays' memory and makes the texts' objects after.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "checks/given_values.h"
#include "answers/versions_answer.h"
#include "engine/looking_early.h"
#include "engine/means.h"
#include "figures/figures.h"

namespace ambrelay::python {

// An input column: a value for every row, or one value for all of them;
// numbers, or texts that the number reader reads as every door reads them.
// Its origin names it in the words of a row's problem.
struct InputColumn {
    const double* data = nullptr;
    const std::vector<std::string>* texts = nullptr;
    std::size_t size = 0;  // 1, or the number of rows
    Origin origin;

    Outcome<double> operator[](std::size_t i) const;
    // The number of a numbers column, NaN where there is none.
    double Number(std::size_t i) const { return data ? data[size == 1 ? 0 : i] : 0.0; }
};

// How a figure's value or one end of its interval is written.
enum class ColumnType { Number, Text, YesNo };

struct OutputColumn {
    std::string name;     // the command line's CSV column
    std::string jsonKey;  // its JSON key: an interval's two ends share one
    ColumnType type;
    std::size_t kind;     // the figure's place in its list
    int part;             // 0 the value, 1 the interval's low end, 2 its high end
};

// The columns of one list of figures or more, one after the other: a
// figure's place counts on from the lists before it.
std::vector<OutputColumn> ColumnsOf(std::initializer_list<std::span<const FigureKind>> lists);
std::vector<OutputColumn> ColumnsOf(std::span<const std::span<const FigureKind>> lists);

// Each thread numbers the distinct texts it meets, so a column of texts is
// a column of numbers until the interpreter makes one str object a text.
class TextCodes {
public:
    std::int32_t Code(std::string_view text);
    const std::vector<std::string>& Texts() const { return texts_; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::int32_t, Hash, std::equal_to<>> ids_;
    std::vector<std::string> texts_;
};

// A text's code: the thread's number above bit 24, the text's below; -1
// none. A thread meets far fewer distinct texts than 2^24: a verdict's
// likelihood has three decimals, and the other texts are a handful.
inline constexpr std::int32_t kNoText = -1;
inline constexpr int kThreadShift = 24;
inline constexpr unsigned kMostThreads = 64;

struct Output {
    explicit Output(std::vector<OutputColumn> layout);

    std::vector<OutputColumn> columns;
    std::size_t textColumns = 0;  // of the columns; then come the warnings' codes and the error
    // Numbers go straight into these arrays (NaN where a figure has no
    // value; yes as 1, no as 0), by column; null for a text column.
    std::vector<double*> numbers;
    // The texts' codes, one array per text column (in the columns' order),
    // then the warnings' and the error's.
    std::vector<std::int32_t*> codes;
    std::vector<TextCodes> dictionaries;  // one a thread, filled by the batch
    // Each row's warnings as code and words, when the words are asked for.
    std::vector<std::vector<std::pair<std::string, std::string>>> warningWords;
};

struct Settings {
    InputColumn planned;           // missing: the default
    std::optional<Margin> margin;  // "not worse than"
    double splitPercentA = 50;     // A's intended share of the observations
    unsigned jobs = 1;
    bool words = false;            // the warnings' words as well as their codes
    JudgementChoice chosen = EveryJudgementFigure();  // a judgement's figures written, and so worked out
};

inline constexpr std::size_t kChunkRows = 4096;  // rows a thread takes at a time

void JudgeBatch(const InputColumn (&counts)[4], std::size_t rows, const Settings& settings, Output& out);
void MeansBatch(const InputColumn (&summaries)[6], Better better, std::size_t rows, const Settings& settings,
                Output& out);
void SplitBatch(const InputColumn (&split)[3], std::size_t rows, const Settings& settings, Output& out);

// Tests in long form, a row a version: each row's test (none: one test),
// its version and its two counts (or three summaries).
struct VersionRows {
    const std::vector<std::string>* tests = nullptr;
    const std::vector<std::string>* versions = nullptr;
    std::vector<InputColumn> cells;
    std::size_t rows = 0;
};

// Every test answered: a row out for each version compared with its
// test's control, or for each row of a test without an answer, with the
// versions' figures and then the comparison's (the columns of
// ColumnsOf({VersionFigureKinds(), ...})). `places` gets each row's place
// among the rows in. Returns how many rows go out, never more than come in.
std::size_t JudgeVersionsBatch(const VersionRows& in, const Settings& settings, const VersionsOptions& family,
                               Output& out, std::int64_t* places);
std::size_t CompareVersionsBatch(const VersionRows& in, Better better, const Settings& settings,
                                 const VersionsOptions& family, Output& out, std::int64_t* places);

}  // namespace ambrelay::python

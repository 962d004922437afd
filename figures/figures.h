#pragma once
// Every figure of a finished judgement, a plan or a split check, named once:
// a stable key, the value, its unit, an interval where there is one, and the
// words a person reads. The report, the insights, the details table and the
// command line's text, CSV and JSON all render such a list, so a figure added
// here appears in every one of them, and none of them words a figure itself.

#include <bitset>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "engine/judge.h"

namespace ambrelay {

enum class Unit {
    Count,        // observations; whole numbers are written whole
    Ratio,        // a fraction of the views, 0 to 1
    Percent,
    Points,       // percentage points
    PValue,
    Probability,  // 0 to 1
    Statistic,    // z, chi-square
    Days,
    Text,
    YesNo,
};

// Version A's and version B's figure, in that order.
using VersionPair = std::pair<double, double>;

// None when the figure has no value for these inputs; its words then say why.
using FigureValue = std::variant<std::monostate, double, VersionPair, std::string, bool>;

struct FigureKind {
    int id;                   // the kind's value of its list's enum, which is its place in the list
    const char* key;          // what scripts read: "lift_percent"
    const char* intervalKey;  // its interval's key, "lift_ci_percent"; empty without one
    Unit unit;
};

template <typename Id>
constexpr FigureKind Kind(Id id, const char* key, const char* intervalKey, Unit unit)
{
    return {static_cast<int>(id), key, intervalKey, unit};
}

// Whether a kinds table has one row for each value of its enum, in the
// enum's order: every table is checked so when it is compiled.
template <typename Id, std::size_t N>
constexpr bool EveryKindInOrder(const FigureKind (&kinds)[N])
{
    if (N != static_cast<std::size_t>(Id::Count)) {
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (kinds[i].id != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}

// Where a figure's sentence goes in a summary in plain words.
enum class Sentence { None, Paragraph, OwnLine };

struct Figure {
    const FigureKind* kind = nullptr;
    FigureValue value;
    std::optional<Interval> interval;  // in the value's unit
    std::string label;                 // "Lift of B over A (95% interval)"
    std::string words;                 // "30.0% (1.7% to 66.2%)", or why there is no value
    std::string sentence;              // the figure in a sentence of the summary, for a few figures
    Sentence place = Sentence::None;

    std::optional<double> Number() const;
};

// A figure's value, label and words at once.
void SetFigure(Figure& figure, FigureValue value, std::string label, std::string words);

// One figure of each kind of a list, in the kinds' order, found by the
// list's enum. Empty for an answer that has no figures.
template <typename Id>
class FigureList {
public:
    FigureList() = default;
    explicit FigureList(std::span<const FigureKind> kinds) : all_(kinds.size())
    {
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            all_[i].kind = &kinds[i];
        }
    }
    Figure& operator[](Id id) { return all_[static_cast<std::size_t>(id)]; }
    const Figure& operator[](Id id) const { return all_[static_cast<std::size_t>(id)]; }
    const std::vector<Figure>& All() const { return all_; }
    bool Empty() const { return all_.empty(); }

private:
    std::vector<Figure> all_;
};

// Whether a list is read by people, or only by programs, which need no words.
enum class Wording { ForPeople, NumbersOnly };

enum class JudgementFigure {
    Ratio1, Ratio2, PValue, Z, Likelihood, Winner, Verdict, Leader, Ratio1Percent, Ratio2Percent, Difference,
    ZSigned, POneSided, PTwoSided, FisherTwoSided, FisherOneSided, Lift, Chance, ObservationsNeeded, SplitChiSquare, SplitP,
    AlwaysValidP, AlwaysValidDifference, Planned, NotWorse, NotWorseP,
    Count
};

// The kinds of a judgement's figures, in the order every output lists them.
std::span<const FigureKind> JudgementFigureKinds();

// Which of a judgement's figures an output writes, by the list's enum.
using JudgementChoice = std::bitset<static_cast<std::size_t>(JudgementFigure::Count)>;
JudgementChoice EveryJudgementFigure();

// What of the insights the chosen figures need worked out.
InsightParts PartsFor(const JudgementChoice& chosen);

// One figure of each kind, in that order; empty for a judgement that did not
// finish. A figure that the arithmetic could not carry (an infinity) has no
// value, and its words say so.
FigureList<JudgementFigure> JudgementFigures(const Judgement& judgement, Wording wording = Wording::ForPeople);

// The same figures written over `into`, which keeps its storage from one
// judgement to the next, as a batch needs; false, and `into` untouched, for a
// judgement that did not finish. Only the figures chosen are certain to
// have their values: an output that writes only those builds no other text.
bool FillJudgementFigures(const Judgement& judgement, Wording wording, FigureList<JudgementFigure>& into,
                          const JudgementChoice& chosen = EveryJudgementFigure());

// A warning about the test itself, in words.
struct Warning {
    WarningCode code;
    std::string message;  // plain words, one or two sentences
};

// "small_sample", "sample_ratio_mismatch": the names scripts read.
std::string WarningCodeName(WarningCode code);

// "an even one", "the intended 90/10 one": the split the observations were meant to follow.
std::string SplitName(double splitPercentA);

// The warning of a split far from the one intended.
std::string SampleRatioWarning(double observations1, double observations2, const SampleRatio& split,
                               double splitPercentA);

// A finished judgement's warnings, most serious first; none for one that did
// not finish.
std::vector<Warning> JudgementWarnings(const Judgement& judgement);

// The summary in plain words, for the interpretation's tooltip: the paragraph
// sentences, then the warnings and the figures that take a line of their own.
std::string SummaryText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings,
                        bool withWarnings = true);

// A line a warning: "Warning: ...".
std::string WarningsText(const std::vector<Warning>& warnings);

// "Label: words", a line a figure, warnings first; then, when there are
// sentences, a blank line and the summary in plain words (its warnings
// already said).
std::string FiguresText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings = {});

}  // namespace ambrelay

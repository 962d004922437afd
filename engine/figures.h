#pragma once
// Every figure of a finished judgement, a plan or a split check, named once:
// a stable key, the value, its unit, an interval where there is one, and the
// words a person reads. The report, the insights, the details table and the
// command line's text, CSV and JSON all render such a list, so a figure added
// here appears in every one of them, and none of them words a figure itself.

#include <optional>
#include <string>
#include <string_view>
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
    const char* key;          // what scripts read: "lift_percent"
    const char* intervalKey;  // its interval's key, "lift_ci_percent"; empty without one
    Unit unit;
};

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

// Whether a list is read by people, or only by programs, which need no words.
enum class Wording { ForPeople, NumbersOnly };

// One figure of each kind, with no value and no words yet.
std::vector<Figure> BlankFigures(const std::vector<FigureKind>& kinds);

// The kinds of a judgement's figures, in the order every output lists them.
const std::vector<FigureKind>& JudgementFigureKinds();

// One figure of each kind, in that order; empty for a judgement that did not
// finish.
std::vector<Figure> JudgementFigures(const Judgement& judgement, Wording wording = Wording::ForPeople);

// The figure of that key in the list; nothing when it has none.
const Figure* FindFigure(const std::vector<Figure>& figures, std::string_view key);

// The summary in plain words, for the interpretation's tooltip: the paragraph
// sentences, then the warnings and the figures that take a line of their own.
std::string SummaryText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings,
                        bool withWarnings = true);

// "Label: words", a line a figure, warnings first; then, when there are
// sentences, a blank line and the summary in plain words (its warnings
// already said).
std::string FiguresText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings = {});

}  // namespace ambrelay

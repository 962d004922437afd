#pragma once
// Every answer of the engine has one shape: the value, or the problem that
// kept it from being computed. A problem is a typed reason, never a
// sentence; the figures layer puts every reason into words.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ambrelay {

enum class Reason {
    // The four counts
    NegativeCount,  // a count below zero: no real test has one
    NoViews1,       // version 1 has no observations
    NoViews2,       // version 2 has no observations
    NoResponses,    // neither version has a response: standard error 0
    AllResponded,   // every observation of both versions responded: standard error 0
    OutOfRange,     // a step overflows, underflows to a zero divisor or is otherwise undefined
    // Figures beyond the verdict
    NotWholeCounts,       // Fisher's exact test needs a table of whole counts
    TooLargeForTable,     // more than 4,294,967,295 observations in all
    NoTable,              // a count below zero or more responses than views
    TooLargeForChance,    // beyond a billion observations a version
    NoDifference,         // both ratios are the same: nothing to detect
    OtherNeverResponded,  // the version behind has no responses: no lift
    NoSplit,              // observations below zero, none at all, or a share outside (0, 100)
    // Looking early and "not worse than"
    NoObservationsOfBoth,
    NoPlannedObservations,
    NoSpread,           // a version with no responses or only responses
    BeyondDoubles,      // counts beyond what doubles can carry
    RelativeMarginOutOfRange,  // outside (0%, 100%)
    PointsMarginOutOfRange,    // not above 0 points
    RelativeMarginNeedsResponses,
    NoMarginSpread,     // a version with no responses or only responses, against a margin
    // Planning
    BaselineOutOfRange,
    AlphaOutOfRange,
    PowerOutOfRange,
    ShareOutOfRange,
    DailyNotPositive,
    VariantOutOfRange,  // the effect puts B's ratio outside 0% to 100%
    ZeroEffect,
    TooManyObservations,
    ObservationsNotPositive,
    TooFewObservations,  // cannot detect even the largest effect
    // Averages
    FewerThanTwoObservations,  // a version with fewer than two observations has no spread
    NegativeSpread,            // a standard deviation below zero
    NoVariation,               // both standard deviations are zero: standard error 0
    OtherMeanNearZero,         // the other version's mean within 1.96 standard errors of zero: no lift interval
    RelativeEffectNeedsAverage,  // a relative effect on an average is a share of that average
    NoDenominator,               // a ratio metric whose denominators average 0
    RelativeMarginNeedsPositiveMeans,  // a relative margin on averages at or below 0
    // The window's three checks, each in its own words
    BlankBox,             // a box is empty
    ResponsesAboveViews,  // a version has more responses than observations
    BoxNotNumeric,        // `input` names the box
    // A value as a person, a script or a file gives it; `name` says where
    NoNumber,            // nothing given (a blank cell, a missing value)
    NotANumber,          // `text` is no number
    PlannedNotPositive,
    PercentOrFraction,   // `text` is a bare number of 1 or less where a percent is meant: 0.99 or 99%?
    FractionNotPercent,  // `text` is a bare number above 1 where a fraction is meant: 10, or 10%?
    PercentileOutOfRange,  // a percentile outside (0, 100)
    SharesNotHundred,      // `text`: the versions' shares do not add up to 100
    SharesForVersions,     // `count` shares where the test has `expected` versions
    UnknownAdjustment,     // `text` names no correction of p values
    CorrelationOutOfRange,  // `text` is no correlation strictly between -1 and 1
    // Reading a table or a file of values; `line` says where a row's problem is
    UnreadableFile,      // `name` the file, `text` why
    EmptyTable,          // `expected` 1 with a header row, 0 without
    EmptyValuesFile,
    HeaderNotUtf8,       // the header row is not UTF-8, the encoding given
    UnclosedQuote,
    FieldCount,          // `count` fields where the header has `expected`
    NotUtf8AsBefore,
    Utf8AfterWindows1252,
    OtherDecimalMark,    // `text` in column `name` is a number only with the other mark; `count` 1: ',' is the mark
    NoSuchColumn,        // `text` asked for; `names` the header's
    NoSuchPosition,      // `text` a position beyond the table's `count` columns
    PositionsOnly,       // `text` is a name where the table has no header
    CountColumnsNotFound,  // NoSuchColumn for the default columns: `expected` of them, 4 counts or 6 summaries
    ColumnsNamed,        // --columns names `count` columns where `expected` are needed
    NoVersionLabel,      // a row with no version's label
    NoSuchVersion,       // `text` the control asked for; `names` the file's versions
    OneVersionOnly,      // `names` the one version
    NoValueRows,
    SameVersionTwice,    // `text` a label that names two rows of one test
    TooManyVersions,     // `count` versions where at most `expected` are compared; a row's: `text` its label
    VersionWithoutAnswer,  // `name` the version, `text` the control; `because` why they have no comparison
    ControlAndOtherNeeded,  // `text` the control: it has rows, no other version does
    ReadingStopped,
    RowsChangedBetweenPasses,  // `count` rows in this pass over the data, `expected` in the first
    // What the command line is given
    UnknownCommand,        // `text`; `names` the commands
    CommandLineRead,       // the parser's own words in `text`
    CountsOrTable,
    TableOptionsWithoutTable,
    FourCounts,
    SixNumbers,
    MeansNeedNumbers,      // `text`
    OneInputForMeans,
    TableOptionsForValues,
    ValueOptionsWithoutValues,
    RatioNeedsBoth,
    CovariateRatioNeedsBoth,
    CovariateCapWithoutCovariate,
    PlanNeedsBaseline,
    PlanNeedsEffect,
    MeanWithoutSd,
    MeansPlanNeedsEffect,
    SplitNeedsNumbers,
    UnknownFigure,         // `text` is no figure's name (empty: no name at all); `names` the figures'
    Count  // how many reasons there are
};

// The input a problem lies in, so a form can show it beside that field and
// the window can name its box.
enum class Input {
    Baseline, Effect, Alpha, Power, Share, Daily, Observations, Planned, Margin,
    Views1, Views2, Responses1, Responses2,
};

// What a problem's `name` names: a table's column, an argument of a script's
// call, or a command line's option.
enum class NameKind { None, Column, Argument, Option };

struct Problem {
    Reason reason;
    std::optional<Input> input;
    NameKind kind = NameKind::None;
    std::string name;                // the column, argument, option or file it lies in
    std::string text;                // what was given there: a cell, an option's value, a label
    std::vector<std::string> names;  // what there is instead: the header's columns, the file's versions
    long line = 0;                   // a row's physical line, the first being 1; 0 for no row
    std::size_t count = 0, expected = 0;
    std::optional<Reason> because;   // the problem behind this one, where one stands on another

    Problem(Reason why, std::optional<Input> where = std::nullopt) : reason(why), input(where) {}
    Problem(Reason why, NameKind kind, std::string name, std::string text = {})
        : reason(why), kind(kind), name(std::move(name)), text(std::move(text))
    {
    }
};

// A value, or why there is none. E carries the reason (Problem unless a
// stage needs more, such as the step a calculation stopped at).
template <typename T, typename E = Problem>
class Outcome {
public:
    // Taken by reference, not by value: a judgement's insights are large, and
    // a batch makes one a row.
    Outcome(const T& value) : state_(std::in_place_index<0>, value) {}
    Outcome(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}
    Outcome(E failure) : state_(std::in_place_index<1>, std::move(failure)) {}
    Outcome(Reason reason) requires std::is_same_v<E, Problem> : state_(std::in_place_index<1>, Problem(reason)) {}

    explicit operator bool() const { return state_.index() == 0; }
    const T& operator*() const { return std::get<0>(state_); }
    T& operator*() { return std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    // Only without a value.
    const E& Failure() const { return std::get<1>(state_); }
    // The failure to amend (a row's line), or nothing when there is a value.
    E* FailureToAmend() { return std::get_if<1>(&state_); }
    // A value put in place of whatever was there, moved once.
    T& Emplace(T&& value) { return state_.template emplace<0>(std::move(value)); }
    // The value, or nothing.
    const T* Get() const { return std::get_if<0>(&state_); }

private:
    std::variant<T, E> state_;
};

}  // namespace ambrelay

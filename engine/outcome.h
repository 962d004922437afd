#pragma once
// Every answer of the engine has one shape: the value, or the problem that
// kept it from being computed. A problem is a typed reason, never a
// sentence; the figures layer puts every reason into words.

#include <optional>
#include <utility>
#include <variant>

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
    RelativeEffectNeedsAverage,
    NoDenominator,
    RelativeMarginNeedsPositiveMeans,  // a relative margin on averages at or below 0             // a ratio metric whose denominators average 0  // a relative effect on an average is a share of that average
    // What a person types
    NoNumber,    // a field left empty
    NotANumber,
    PlannedNotPositive,
};

// The input a problem lies in, so a form can show it beside that field.
enum class Input { Baseline, Effect, Alpha, Power, Share, Daily, Observations, Planned, Margin };

struct Problem {
    Reason reason;
    std::optional<Input> input;

    Problem(Reason why, std::optional<Input> where = std::nullopt) : reason(why), input(where) {}
};

// A value, or why there is none. E carries the reason (Problem unless a
// stage needs more, such as the step a calculation stopped at).
template <typename T, typename E = Problem>
class Outcome {
public:
    Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Outcome(E failure) : state_(std::in_place_index<1>, std::move(failure)) {}
    Outcome(Reason reason) requires std::is_same_v<E, Problem> : state_(std::in_place_index<1>, Problem(reason)) {}

    explicit operator bool() const { return state_.index() == 0; }
    const T& operator*() const { return std::get<0>(state_); }
    T& operator*() { return std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    // Only without a value.
    const E& Failure() const { return std::get<1>(state_); }
    // The value, or nothing.
    const T* Get() const { return std::get_if<0>(&state_); }

private:
    std::variant<T, E> state_;
};

}  // namespace ambrelay

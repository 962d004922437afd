#pragma once
// The window's three checks that run before a calculation, as pure
// functions: four texts in, the check that failed and its typed problem out.
// The window applies the effects in order and keeps the flags; the figures
// layer puts each problem into the window's own words.

#include <cstdint>
#include <optional>

#include "engine/outcome.h"
#include "numbers/counts.h"

namespace ambrelay {

// The checks, in the order they run: a later one runs only when the earlier
// ones passed.
enum class InputCheck { Blanks, Inverse, Numerics };

// A check that failed, with its problem: BlankBox (the window then writes
// the insufficient-data text into its result label before the message),
// ResponsesAboveViews, or BoxNotNumeric with the box in `input` (which gets
// the focus once the message is dismissed).
struct CheckFailure {
    InputCheck check;
    Problem problem;
};

// Fails when any box is empty; blanks count as text.
std::optional<CheckFailure> CheckBlanks(const CountTexts& texts);

// Fails when either version has more responses than observations, as read by
// the number reader, which accepts any text.
std::optional<CheckFailure> CheckInverse(const CountTexts& texts);

// Fails at the first filled box, in the order views 1, views 2, responses 1,
// responses 2, whose text is not a number.
std::optional<CheckFailure> CheckNumerics(const CountTexts& texts);

// All three in their order, stopping at the first that fails. Nothing when
// the texts may be read as counts.
std::optional<CheckFailure> RunInputChecks(const CountTexts& texts);

// The flags the window keeps: 0 passed, 1 failed. Each check writes only its
// own flag, and a check that did not run keeps its flag as it was.
struct CheckFlags {
    std::int16_t BlankFlag = 0;
    std::int16_t InverseFlag = 0;
    std::int16_t NumericFlag = 0;

    // Records one run of RunInputChecks.
    void Record(const std::optional<CheckFailure>& failure);
};

}  // namespace ambrelay

#pragma once
// The three checks that run before a calculation, as pure functions: four
// texts in, what the window must show and do out. The window applies the
// effects in order and keeps the flags.

#include <cstdint>
#include <optional>
#include <string>

#include "numbers/counts.h"

namespace ambrelay {

enum class InputBox { Views1, Views2, Responses1, Responses2 };

// The checks, in the order they run: a later one runs only when the earlier
// ones passed.
enum class InputCheck { Blanks, Inverse, Numerics };

struct CheckOutcome {
    bool failed = false;
    std::string message;                     // the message box text on failure
    std::optional<std::string> resultText;   // new caption of the result label, shown before the message
    std::optional<InputBox> focusBox;        // box that gets the focus once the message is dismissed
};

struct CheckFailure {
    InputCheck check;
    CheckOutcome outcome;
};

inline const std::string kInsufficientData = "Insufficient data. Please fill in all four input boxes.";

// Fails when any box is empty; blanks count as text.
CheckOutcome CheckBlanks(const CountTexts& texts);

// Fails when either version has more responses than observations, as read by
// the number reader, which accepts any text.
CheckOutcome CheckInverse(const CountTexts& texts);

// Fails at the first filled box, in the order views 1, views 2, responses 1,
// responses 2, whose text is not a number.
CheckOutcome CheckNumerics(const CountTexts& texts);

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

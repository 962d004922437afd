#pragma once
// The three checks that run before a calculation, as pure functions: four
// texts in, what the window must show and do out. The window applies the
// effects in order and keeps the flags.

#include <optional>
#include <string>

namespace ambrelay {

enum class InputBox { Views1, Views2, Responses1, Responses2 };

// The texts of the four input boxes exactly as typed, never trimmed.
struct InputTexts {
    std::string views1;
    std::string views2;
    std::string responses1;
    std::string responses2;
};

struct CheckOutcome {
    bool failed = false;
    std::string message;                     // the message box text on failure
    std::optional<std::string> resultText;   // new caption of the result label, shown before the message
    std::optional<InputBox> focusBox;        // box that gets the focus once the message is dismissed
};

inline const std::string kInsufficientData = "Insufficient data. Please fill in all four input boxes.";

// Fails when any box is empty; blanks count as text.
CheckOutcome CheckBlanks(const InputTexts& texts);

// Fails when either version has more responses than observations, as read by
// the number reader, which accepts any text.
CheckOutcome CheckInverse(const InputTexts& texts);

// Fails at the first filled box, in the order views 1, views 2, responses 1,
// responses 2, whose text is not a number.
CheckOutcome CheckNumerics(const InputTexts& texts);

}  // namespace ambrelay

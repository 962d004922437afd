#include "checks/input_checks.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "numbers/number_text.h"

namespace ambrelay {
namespace {

CheckOutcome Failure(std::string message)
{
    CheckOutcome outcome;
    outcome.failed = true;
    outcome.message = std::move(message);
    return outcome;
}

}  // namespace

CheckOutcome CheckBlanks(const CountTexts& t)
{
    if (!t.views1.empty() && !t.views2.empty() && !t.responses1.empty() && !t.responses2.empty()) {
        return {};
    }
    CheckOutcome outcome = Failure("You must fill in all four values to obtain a result.");
    outcome.resultText = kInsufficientData;
    return outcome;
}

CheckOutcome CheckInverse(const CountTexts& t)
{
    const double r1 = ReadNumber(t.responses1);
    const double r2 = ReadNumber(t.responses2);
    const double v1 = ReadNumber(t.views1);
    const double v2 = ReadNumber(t.views2);
    const bool version1Inverse = r1 > v1;
    const bool version2Inverse = r2 > v2;
    if (!version1Inverse && !version2Inverse) {
        return {};
    }
    return Failure("The number of responses cannot be greater than the number of observations");
}

CheckOutcome CheckNumerics(const CountTexts& t)
{
    struct Box {
        const std::string* text;
        InputBox box;
        const char* message;
    };
    const std::array<Box, 4> order = {{
        {&t.views1, InputBox::Views1, "Input 'Version 1 Views' must be numeric."},
        {&t.views2, InputBox::Views2, "Input in 'Version 2 Views' must be numeric."},
        {&t.responses1, InputBox::Responses1, "Input in 'Ver 1 Responses' must be numeric."},
        {&t.responses2, InputBox::Responses2, "Input in 'Ver 2 Responses' must be numeric."},
    }};
    for (const Box& b : order) {
        if (!b.text->empty() && !IsNumeric(*b.text)) {
            CheckOutcome outcome = Failure(b.message);
            outcome.focusBox = b.box;
            return outcome;
        }
    }
    return {};
}

std::optional<CheckFailure> RunInputChecks(const CountTexts& t)
{
    for (const auto& [check, run] : {std::pair{InputCheck::Blanks, &CheckBlanks},
                                     std::pair{InputCheck::Inverse, &CheckInverse},
                                     std::pair{InputCheck::Numerics, &CheckNumerics}}) {
        CheckOutcome outcome = run(t);
        if (outcome.failed) {
            return CheckFailure{check, std::move(outcome)};
        }
    }
    return std::nullopt;
}

void CheckFlags::Record(const std::optional<CheckFailure>& failure)
{
    // Every check up to the failing one ran, and so rewrote its flag.
    const InputCheck last = failure ? failure->check : InputCheck::Numerics;
    const auto flag = [&](InputCheck check, std::int16_t& value) {
        if (check <= last) {
            value = failure && failure->check == check ? 1 : 0;
        }
    };
    flag(InputCheck::Blanks, BlankFlag);
    flag(InputCheck::Inverse, InverseFlag);
    flag(InputCheck::Numerics, NumericFlag);
}

}  // namespace ambrelay

#include "checks/input_checks.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "numbers/number_text.h"

namespace ambrelay {

std::optional<CheckFailure> CheckBlanks(const CountTexts& t)
{
    if (!t.views1.empty() && !t.views2.empty() && !t.responses1.empty() && !t.responses2.empty()) {
        return std::nullopt;
    }
    return CheckFailure{InputCheck::Blanks, Reason::BlankBox};
}

std::optional<CheckFailure> CheckInverse(const CountTexts& t)
{
    const double r1 = ReadNumber(t.responses1);
    const double r2 = ReadNumber(t.responses2);
    const double v1 = ReadNumber(t.views1);
    const double v2 = ReadNumber(t.views2);
    const bool version1Inverse = r1 > v1;
    const bool version2Inverse = r2 > v2;
    if (!version1Inverse && !version2Inverse) {
        return std::nullopt;
    }
    return CheckFailure{InputCheck::Inverse, Reason::ResponsesAboveViews};
}

std::optional<CheckFailure> CheckNumerics(const CountTexts& t)
{
    const std::array<std::pair<const std::string*, Input>, 4> order = {{
        {&t.views1, Input::Views1},
        {&t.views2, Input::Views2},
        {&t.responses1, Input::Responses1},
        {&t.responses2, Input::Responses2},
    }};
    for (const auto& [text, box] : order) {
        if (!text->empty() && !IsNumeric(*text)) {
            return CheckFailure{InputCheck::Numerics, Problem(Reason::BoxNotNumeric, box)};
        }
    }
    return std::nullopt;
}

std::optional<CheckFailure> RunInputChecks(const CountTexts& t)
{
    for (const auto check : {&CheckBlanks, &CheckInverse, &CheckNumerics}) {
        if (auto failure = check(t)) {
            return failure;
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

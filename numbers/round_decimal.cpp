#include "numbers/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "numbers/exact_scaling.h"

namespace ambrelay {

double RoundDecimal(double x, int decimals)
{
    if (!std::isfinite(x)) {
        return x;
    }
    // A double has at most 1074 decimals, so more than that changes nothing.
    decimals = std::clamp(decimals, 0, 1100);
    if (const auto rounded = detail::RoundScaled(std::fabs(x), decimals)) {
        return std::copysign(*rounded, x);
    }
    // Else by the text: fixed formatting is exact and sends an exact tie to the even digit;
    // reading the digits back gives the double nearest to the rounded decimal,
    // so 2.1 comes back as the same double as the literal 2.1.
    char digits[330 + 1100];
    const auto written = std::to_chars(digits, digits + sizeof digits, x, std::chars_format::fixed, decimals);
    double rounded = x;
    std::from_chars(digits, written.ptr, rounded, std::chars_format::fixed);
    return rounded;
}

double RoundDecimalShown(double x, int decimals)
{
    const double rounded = RoundDecimal(x, decimals);
    double limit = 1;  // 10^(15 - decimals), exactly
    for (int i = decimals; i < 15; ++i) {
        limit *= 10;
    }
    return decimals >= 0 && decimals <= 15 && std::fabs(rounded) < limit ? rounded : ShownValue(rounded);
}

}  // namespace ambrelay

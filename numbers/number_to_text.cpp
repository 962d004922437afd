#include "numbers/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "numbers/exact_scaling.h"

namespace ambrelay {
namespace {

constexpr int kSignificantDigits = 15;

// x rounded to 15 significant digits: the digits without trailing zeros and
// the decimal exponent of the first one.
struct Significand {
    std::string digits;
    int exponent = 0;
};

Significand RoundToSignificant(double magnitude)
{
    char buffer[64];
    // The shortest text that reads back lies within half a binary step of the
    // value, far closer than any 15-digit rounding boundary: when it has 15
    // digits or fewer, it is the value rounded to 15 digits, and much cheaper.
    auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const auto digitsIn = [&] {
        const std::string_view t(buffer, static_cast<std::size_t>(written.ptr - buffer));
        const std::size_t e = t.find('e');
        return e - (t.find('.') < e ? 1 : 0);
    };
    if (digitsIn() > static_cast<std::size_t>(kSignificantDigits)) {
        written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                kSignificantDigits - 1);
    }
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const std::size_t e = text.find('e');
    Significand result;
    for (const char c : text.substr(0, e)) {
        if (c != '.') {
            result.digits.push_back(c);
        }
    }
    const std::size_t signAt = e + 1 + (text[e + 1] == '+' ? 1 : 0);
    std::from_chars(text.data() + signAt, text.data() + text.size(), result.exponent);
    while (result.digits.size() > 1 && result.digits.back() == '0') {
        result.digits.pop_back();
    }
    return result;
}

std::string FixedText(const Significand& s)
{
    const int length = static_cast<int>(s.digits.size());
    if (s.exponent < 0) {
        std::string text = "0.";
        text.append(static_cast<std::size_t>(-s.exponent - 1), '0');
        return text + s.digits;
    }
    if (s.exponent + 1 >= length) {
        return s.digits + std::string(static_cast<std::size_t>(s.exponent + 1 - length), '0');
    }
    const auto point = static_cast<std::size_t>(s.exponent + 1);
    return s.digits.substr(0, point) + "." + s.digits.substr(point);
}

std::string ExponentText(const Significand& s)
{
    std::string text = s.digits.substr(0, 1);
    if (s.digits.size() > 1) {
        text += '.';
        text.append(s.digits, 1);
    }
    text += s.exponent < 0 ? "E-" : "E+";
    text += std::to_string(std::abs(s.exponent));
    return text;
}

// The largest doubles round up past the largest double; the text stays
// readable with the 15-digit neighbour below instead.
Significand ShownSignificand(double magnitude)
{
    Significand s = RoundToSignificant(magnitude);
    if (s.exponent == 308 && s.digits.size() == 15 && s.digits > "179769313486231") {
        s.digits = "179769313486231";
    }
    return s;
}

}  // namespace

double ShownValue(double x)
{
    if (!std::isfinite(x) || x == 0.0) {
        return x == 0.0 ? 0.0 : x;
    }
    // Rounding to 15 significant digits is rounding to the decimals that
    // leaves 15 of them; for the magnitudes figures take, without a text.
    if (const auto leading = detail::LeadingExponent(std::fabs(x))) {
        if (const auto rounded = detail::RoundScaled(std::fabs(x), kSignificantDigits - 1 - *leading)) {
            return std::copysign(*rounded, x);
        }
    }
    // A double whose shortest text has 15 digits or fewer is already its own
    // 15-digit rounding; the rest read back from their 15 digits.
    char buffer[64];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific);
    const std::string_view shortest(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const std::size_t e = shortest.find('e');
    if (e - (e > 1 ? 1 : 0) <= static_cast<std::size_t>(kSignificantDigits)) {
        return x;
    }
    written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific,
                            kSignificantDigits - 1);
    double value = 0;
    if (std::from_chars(buffer, written.ptr, value).ec != std::errc()) {
        // Past the largest double: the 15-digit neighbour below, as the text shows it.
        const Significand s = ShownSignificand(std::fabs(x));
        const std::string text =
            s.digits + "e" + std::to_string(s.exponent - static_cast<int>(s.digits.size()) + 1);
        std::from_chars(text.data(), text.data() + text.size(), value);
    }
    return x < 0 ? -value : value;
}

std::string NumberToText(double x)
{
    if (!std::isfinite(x)) {
        return {};
    }
    if (x == 0.0) {
        return "0";
    }
    const Significand s = ShownSignificand(std::fabs(x));
    const bool fixed = s.exponent >= -15 && s.exponent < 15;
    std::string text = x < 0 ? "-" : "";
    text += fixed ? FixedText(s) : ExponentText(s);
    return text;
}

}  // namespace ambrelay

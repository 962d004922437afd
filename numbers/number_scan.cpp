#include "numbers/number_scan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace ambrelay::detail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSign(char c) { return c == '+' || c == '-'; }

std::size_t SkipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i;
}

// A comma group is a comma and exactly three digits, not followed by a fourth.
bool IsCommaGroupAt(std::string_view text, std::size_t i)
{
    if (i + 4 > text.size() || text[i] != ',') {
        return false;
    }
    for (std::size_t k = i + 1; k < i + 4; ++k) {
        if (!IsDigit(text[k])) {
            return false;
        }
    }
    return i + 4 == text.size() || !IsDigit(text[i + 4]);
}

// Decimal exponent of the leading significant digit of a cleaned number
// (no commas, no plus sign), used to tell underflow from overflow.
long LeadingDecimalExponent(std::string_view cleaned)
{
    std::size_t i = cleaned.empty() || cleaned[0] != '-' ? 0 : 1;
    const std::size_t mantissaEnd = cleaned.find_first_of("eE");
    const std::string_view mantissa = cleaned.substr(i, mantissaEnd - i);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstNonZero = mantissa.find_first_of("123456789");
    long order = firstNonZero < point ? static_cast<long>(point - firstNonZero) - 1
                                      : -static_cast<long>(firstNonZero - point);
    if (mantissaEnd != std::string_view::npos) {
        std::size_t k = mantissaEnd + 1;
        const bool negative = k < cleaned.size() && cleaned[k] == '-';
        if (k < cleaned.size() && IsSign(cleaned[k])) {
            ++k;
        }
        long exponent = 0;
        for (; k < cleaned.size() && exponent < 1'000'000; ++k) {
            exponent = exponent * 10 + (cleaned[k] - '0');
        }
        order += negative ? -exponent : exponent;
    }
    return order;
}

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t ScanNumber(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && IsSign(text[i])) {
        ++i;
    }
    const std::size_t intStart = i;
    i = SkipDigits(text, i);
    const std::size_t intDigits = i - intStart;
    if (intDigits >= 1 && intDigits <= 3) {
        while (IsCommaGroupAt(text, i)) {
            i += 4;
        }
    }
    bool anyDigit = intDigits > 0;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, i + 1);
        if (anyDigit || fractionEnd > i + 1) {
            anyDigit = true;
            i = fractionEnd;
        }
    }
    if (!anyDigit) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t digitsStart = i + 1;
        if (digitsStart < text.size() && IsSign(text[digitsStart])) {
            ++digitsStart;
        }
        const std::size_t exponentEnd = SkipDigits(text, digitsStart);
        if (exponentEnd > digitsStart) {
            i = exponentEnd;
        }
    }
    return i;
}

std::optional<double> ConvertScanned(std::string_view number)
{
    std::string cleaned;
    cleaned.reserve(number.size());
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (c == ',' || (i == 0 && c == '+')) {
            continue;
        }
        cleaned.push_back(c);
    }
    double value = 0.0;
    const char* first = cleaned.data();
    const char* last = first + cleaned.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (LeadingDecimalExponent(cleaned) < 0) {
            return cleaned[0] == '-' ? -0.0 : 0.0;
        }
        return std::nullopt;
    }
    if (error != std::errc{} || end != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace ambrelay::detail

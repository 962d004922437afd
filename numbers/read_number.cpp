#include "numbers/number_scan.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && detail::IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && detail::IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The value of a text that is a number as a whole, blanks aside.
std::optional<double> WholeNumber(std::string_view text)
{
    // Most counts are a few plain digits: every whole number of up to 15
    // digits is a double, so they are added up as they come.
    if (!text.empty() && text.size() <= 15) {
        double value = 0;
        std::size_t i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        if (i == text.size()) {
            return value;
        }
    }
    const std::string_view core = TrimBlanks(text);
    if (core.empty() || detail::ScanNumber(core) != core.size()) {
        return std::nullopt;
    }
    return detail::ConvertScanned(core);
}

}  // namespace

bool IsNumeric(std::string_view text) { return WholeNumber(text).has_value(); }

std::optional<double> ReadWholeNumber(std::string_view text) { return WholeNumber(text); }

double ReadNumber(std::string_view text)
{
    if (const auto whole = WholeNumber(text)) {
        return *whole;
    }
    std::string_view rest = text;
    while (!rest.empty() && detail::IsBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    const std::size_t length = detail::ScanNumber(rest);
    if (length == 0) {
        return 0.0;
    }
    return detail::ConvertScanned(rest.substr(0, length)).value_or(0.0);
}

}  // namespace ambrelay

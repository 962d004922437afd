#include "engine/figure_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "numbers/number_text.h"

namespace ambrelay {
namespace {

constexpr int kMostDecimals = 12;

// Decimals that keep two significant digits of x, and at least `least`.
int TwoSignificant(double x, int least)
{
    if (!(std::fabs(x) > 0) || !std::isfinite(x)) {
        return least;
    }
    const int place = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    return std::clamp(1 - place, least, kMostDecimals);
}

}  // namespace

int IntervalDecimals(double low, double high) { return TwoSignificant((high - low) / 2, 1); }

std::string Fixed(double x, int decimals)
{
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
    std::string text(buffer, written.ptr);
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string PercentText(double percent)
{
    return NumberToText(RoundDecimal(percent, TwoSignificant(percent, 2)));
}

std::string PValueText(double p)
{
    return p >= 0.0001 ? NumberToText(RoundDecimal(p, TwoSignificant(p, 4))) : "below 0.0001";
}

std::string ChanceText(double probability)
{
    if (probability > 0.9999) {
        return "above 99.99%";
    }
    return probability < 0.0001 ? "below 0.01%" : PercentText(probability * 100) + "%";
}

std::string Grouped(double whole)
{
    std::string digits = Fixed(whole, 0);
    const int first = digits.front() == '-' ? 1 : 0;
    for (int i = static_cast<int>(digits.size()) - 3; i > first; i -= 3) {
        digits.insert(static_cast<std::size_t>(i), 1, ',');
    }
    return digits;
}

}  // namespace ambrelay

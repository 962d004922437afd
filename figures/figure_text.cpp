#include "figures/figure_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

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
    // The place of the first digit, read off the shortest text that gives x
    // back, which every system writes alike (a logarithm need not).
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific);
    const std::string_view text(buffer, written.ptr);
    int place = 0;
    std::from_chars(text.data() + text.find('e') + 1, text.data() + text.size(), place);
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

std::string PEquals(double p) { return (p >= 0.0001 ? "p = " : "p ") + PValueText(p); }

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

std::string StatisticText(double statistic) { return NumberToText(RoundDecimal(statistic, 2)); }

std::string MarginText(const Margin& margin)
{
    return NumberToText(margin.size) + (margin.kind == MarginKind::RelativePercent ? "%" : " points");
}

}  // namespace ambrelay

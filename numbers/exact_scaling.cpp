#include "numbers/exact_scaling.h"

#include <cmath>
#include <cstdint>

namespace ambrelay::detail {
namespace {

// Every power of ten a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr double kBelowHalfUnit = 4503599627370496.0;  // 2^52: below it a double's step is at most a half

// The rounded product of a and b and what rounding left out, exactly
// (Dekker's product: each factor split into halves whose products are exact).
struct Product {
    double rounded;
    double error;
};

Product ExactProduct(double a, double b)
{
    const auto split = [](double x, double& high, double& low) {
        const double c = 134217729.0 * x;  // 2^27 + 1
        high = c - (c - x);
        low = x - high;
    };
    double aHigh, aLow, bHigh, bLow;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    const double rounded = a * b;
    const double error = ((aHigh * bHigh - rounded) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
    return {rounded, error};
}

}  // namespace

std::optional<double> RoundScaled(double x, int decimals)
{
    if (decimals < 0 || decimals > 22 || !(x >= 0)) {
        return std::nullopt;
    }
    const double scale = kPowersOfTen[decimals];
    const double y = x * scale;
    if (y < 0.25) {
        return 0.0;  // the exact product is below a half, so the decimal is 0
    }
    if (!(y < kBelowHalfUnit)) {
        return std::nullopt;
    }
    // Below 2^52 the fraction and its distance from a half are exact, and
    // any nonzero distance is a whole step of y, larger than what rounding
    // the product left out: that decides only an exact half.
    const double whole = static_cast<double>(static_cast<std::int64_t>(y));
    const double aboveHalf = (y - whole) - 0.5;
    bool up = aboveHalf > 0;
    if (aboveHalf == 0) {
        const double error = ExactProduct(x, scale).error;
        up = error > 0 || (error == 0 && static_cast<std::int64_t>(whole) % 2 != 0);
    }
    // Both the digits and the power of ten are exact doubles, so one
    // correctly rounded division gives the double nearest the decimal.
    return (up ? whole + 1 : whole) / scale;
}

std::optional<int> LeadingExponent(double x)
{
    if (x >= 1) {
        for (int e = 0; e < 15; ++e) {
            if (x < kPowersOfTen[e + 1]) {
                return e;
            }
        }
        return std::nullopt;
    }
    // x below 1: the first power k with x times 10^k at least 1. A product
    // rounded to 1 may lie a hair either side: its error says which.
    for (int k = 1; k <= 8; ++k) {
        const double y = x * kPowersOfTen[k];
        if (y > 1 || (y == 1 && ExactProduct(x, kPowersOfTen[k]).error >= 0)) {
            return -k;
        }
    }
    return std::nullopt;
}

}  // namespace ambrelay::detail

#pragma once
// Rounding to decimals by IEEE arithmetic alone, where the numbers are small
// enough that a product with a power of ten and its exact error are known:
// the same answer the exact decimal text gives, without writing one.

#include <optional>

namespace ambrelay::detail {

// A non-negative finite x rounded to `decimals` (0 to 22), a value exactly
// halfway going to the even neighbour, as the double nearest to the rounded
// decimal; nothing where x times 10^decimals reaches 2^52 and only the
// text can say.
std::optional<double> RoundScaled(double x, int decimals);

// The decimal exponent of a positive x's leading digit (2 for 250, -3 for
// 0.0012), for x from 1e-8 up to below 1e15; nothing outside.
std::optional<int> LeadingExponent(double x);

}  // namespace ambrelay::detail

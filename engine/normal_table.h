#pragma once
// Second stage of the engine: the fixed table of the cumulative standard
// normal distribution, matched by exact equality of two-decimal keys.

#include <cstddef>
#include <optional>

namespace ambrelay {

inline constexpr std::size_t kNormalTableKeys = 410;  // z = 0.00 to 4.09
inline constexpr double kLastKey = 4.09;
inline constexpr double kTailProbability = 0.99998;  // every z above 4.09

// The table's probability for z: the row whose key k / 100 equals z exactly,
// the tail value for z above 4.09, and nothing for a z that is negative, lies
// between two keys or is not a number.
std::optional<double> LookupNormalTable(double z);

}  // namespace ambrelay

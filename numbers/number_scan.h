#pragma once
// The grammar behind IsNumeric and ReadNumber, kept apart so both read texts
// the same way.

#include <optional>
#include <string_view>

namespace ambrelay::detail {

// Length of the longest start of `text` that is a number: optional sign,
// digits (thousands optionally grouped by commas), optional point and
// fraction, optional exponent. 0 when the text does not start with one.
std::size_t ScanNumber(std::string_view text);

// The value of a text that ScanNumber accepts whole, or nothing when the
// value is not finite. Grouping commas are dropped; a value too small for a
// double reads as a zero of its sign.
std::optional<double> ConvertScanned(std::string_view number);

bool IsBlank(char c);

}  // namespace ambrelay::detail

#pragma once
// The four number services: every number the program reads from a text or
// shows in one goes through them. They hold no state.

#include <optional>
#include <string>
#include <string_view>

namespace ambrelay {

// Whether a text is a number: optional blanks (space, tab) around an optional
// sign, decimal digits with at most one point and at least one digit, an
// optional exponent, and thousands grouped by commas in groups of three
// ("12,500"). The value must be finite.
bool IsNumeric(std::string_view text);

// The value of a text IsNumeric accepts; nothing for any other text.
std::optional<double> ReadWholeNumber(std::string_view text);

// Reads any text as a double and never fails. A text that IsNumeric accepts
// gives the double nearest to the number it shows; any other text gives the
// number it starts with when that is finite ("12abc" reads 12), else 0.
// Never yields NaN or an infinity.
double ReadNumber(std::string_view text);

// Rounds the exact binary value of x to the given count of decimals, a value
// exactly halfway going to the even neighbour, and returns the double nearest
// to that decimal number. Non-finite values come back unchanged.
double RoundDecimal(double x, int decimals);

// Writes x with at most 15 significant digits, no trailing zeros, no point for
// a whole number, a point as decimal separator and "0" for a zero of either
// sign. Fixed notation from 1e-15 up to below 1e15, exponent form ("1.5E+20")
// outside. ReadNumber reads every such text back. A value that is not finite
// has no text: the result is empty.
std::string NumberToText(double x);

// ShownValue(RoundDecimal(x, decimals)). A value rounded to `decimals` has
// at most 15 significant digits below 10^(15 - decimals), and is then its
// own 15-digit rounding: only larger ones are rounded again.
double RoundDecimalShown(double x, int decimals);

// The number NumberToText writes for x, as a double: x rounded to 15
// significant digits, for outputs that give a figure as the window shows it
// without going through its text. NaN and infinities come back unchanged.
double ShownValue(double x);

}  // namespace ambrelay

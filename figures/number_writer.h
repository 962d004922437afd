#pragma once
// The one writer of numbers for programs: CSV fields, JSON and the Python
// package's texts. Every number is written in the fewest digits that read
// back to the same double; a whole count is written as a whole number.

#include <cstddef>
#include <string>

namespace ambrelay {

// How the digits are laid out around the point.
enum class NumberLayout {
    // The shorter of fixed and exponent form, fixed on a tie: 0.001, 1e-04,
    // 12000, 1e+05, 1.5e+20.
    Shortest,
    // Fixed from 1e-4 up to below 1e15, else exponent form, and always a
    // point or an exponent, so a reader never takes a figure for an
    // integer: 2.0, 0.0001, 1e-05, 1e+15.
    Json,
};

// Room enough for any number either layout writes.
inline constexpr std::size_t kNumberRoom = 32;

// Writes a finite x at `at`, which has kNumberRoom chars, and returns the end.
char* WriteNumber(char* at, double x, NumberLayout layout);

// Writes a whole x (WholeCount) as an integer, without point or exponent.
char* WriteWhole(char* at, double x);

// A number in the fewest digits that read back (NumberLayout::Shortest).
std::string ExactNumber(double x);

}  // namespace ambrelay

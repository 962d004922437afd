#include "figures/number_writer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <dragonbox/dragonbox.h>

namespace ambrelay {
namespace {

constexpr double kLargestWhole = 9007199254740992.0;  // 2^53: every integer up to it is a double

// The significand's digits, most significant first, and how many.
struct Digits {
    char text[20];
    int count;
};

constexpr std::uint64_t kPowersOfTen[] = {1ull,
                                          10ull,
                                          100ull,
                                          1000ull,
                                          10000ull,
                                          100000ull,
                                          1000000ull,
                                          10000000ull,
                                          100000000ull,
                                          1000000000ull,
                                          10000000000ull,
                                          100000000000ull,
                                          1000000000000ull,
                                          10000000000000ull,
                                          100000000000000ull,
                                          1000000000000000ull,
                                          10000000000000000ull,
                                          100000000000000000ull,
                                          1000000000000000000ull,
                                          10000000000000000000ull};

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// `pairs` pairs of digits of v, zero-padded, ending at `end`.
void WritePairs(std::uint32_t v, char* end, int pairs)
{
    for (int i = 0; i < pairs; ++i) {
        std::memcpy(end - 2 * (i + 1), kPairs + 2 * (v % 100), 2);
        v /= 100;
    }
}

Digits DigitsOf(std::uint64_t significand)
{
    // A significand has at most 17 digits: the eight below and the nine above
    // are two chains of divisions by 100 that run side by side.
    char padded[20];
    const auto high = static_cast<std::uint32_t>(significand / 100000000);
    WritePairs(static_cast<std::uint32_t>(significand % 100000000), padded + 20, 4);
    WritePairs(high, padded + 12, 5);
    Digits d{};
    const int guess = (std::bit_width(significand) * 1233) >> 12;
    d.count = guess + (significand >= kPowersOfTen[guess] ? 1 : 0);
    std::memcpy(d.text, padded + 20 - d.count, static_cast<std::size_t>(d.count));
    return d;
}

char* Zeros(char* at, int count)
{
    std::memset(at, '0', static_cast<std::size_t>(count));
    return at + count;
}

char* Copy(char* at, const char* from, int count)
{
    std::memcpy(at, from, static_cast<std::size_t>(count));
    return at + count;
}

// d.ddde+XX, the exponent signed and in two digits at least, as printf's %e writes it.
char* Exponent(char* at, const Digits& d, int exponent)
{
    *at++ = d.text[0];
    if (d.count > 1) {
        *at++ = '.';
        at = Copy(at, d.text + 1, d.count - 1);
    }
    *at++ = 'e';
    *at++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) {
        *at++ = '0';
    }
    return std::to_chars(at, at + 4, magnitude).ptr;
}

// The digits with the point `point` places from their start (at most zero:
// before them, with zeros between; at least their count: after them, with
// zeros before it).
char* Fixed(char* at, const Digits& d, int point)
{
    if (point <= 0) {
        *at++ = '0';
        *at++ = '.';
        at = Zeros(at, -point);
        return Copy(at, d.text, d.count);
    }
    if (point >= d.count) {
        at = Copy(at, d.text, d.count);
        return Zeros(at, point - d.count);
    }
    at = Copy(at, d.text, point);
    *at++ = '.';
    return Copy(at, d.text + point, d.count - point);
}

}  // namespace

char* WriteNumber(char* at, double x, NumberLayout layout)
{
    if (x == 0) {
        const char* zero = std::signbit(x) ? (layout == NumberLayout::Json ? "-0.0" : "-0")
                                           : (layout == NumberLayout::Json ? "0.0" : "0");
        return Copy(at, zero, static_cast<int>(std::strlen(zero)));
    }
    const auto decimal = jkj::dragonbox::to_decimal(x);
    const Digits d = DigitsOf(decimal.significand);
    const int n = d.count;
    const int e = decimal.exponent;  // x is the digits times 10^e
    if (layout == NumberLayout::Json) {
        if (decimal.is_negative) {
            *at++ = '-';
        }
        const int point = n + e;
        if (point > -4 && point <= 15) {
            at = Fixed(at, d, point);
            if (point >= n) {
                *at++ = '.';
                *at++ = '0';
            }
            return at;
        }
        return Exponent(at, d, point - 1);
    }
    // The shorter of the two forms, fixed on a tie: for one digit, fixed from
    // 0.001 to 10000; for more, from n + 3 zeros after the point to five
    // zeros before it.
    const bool fixed = n == 1 ? e >= -3 && e <= 4 : e >= -(n + 3) && e <= 5;
    if (fixed && e > 0 && std::fabs(x) >= kLargestWhole) {
        // A whole number past 2^53 in fixed form is written with its exact
        // digits, not the shortest ones and zeros: left to the library.
        return std::to_chars(at, at + kNumberRoom, x).ptr;
    }
    if (decimal.is_negative) {
        *at++ = '-';
    }
    return fixed ? Fixed(at, d, n + e) : Exponent(at, d, n + e - 1);
}

char* WriteWhole(char* at, double x) { return std::to_chars(at, at + kNumberRoom, static_cast<long long>(x)).ptr; }

std::string ExactNumber(double x)
{
    char buffer[kNumberRoom];
    if (!std::isfinite(x)) {
        return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, x).ptr);
    }
    return std::string(buffer, WriteNumber(buffer, x, NumberLayout::Shortest));
}

}  // namespace ambrelay

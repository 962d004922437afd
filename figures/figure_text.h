#pragma once
// Figures in words: as many digits as the figure can honestly claim.

#include <string>

#include "engine/looking_early.h"

namespace ambrelay {

// Decimals for an estimate and its interval: down to the place of the second
// significant digit of the interval's half-width, and at least one.
int IntervalDecimals(double low, double high);

// x with exactly that many decimals; a zero never carries a minus sign.
std::string Fixed(double x, int decimals);

// A percentage with at least two significant digits and at least two
// decimals' precision, trailing zeros dropped: "13", "0.012".
std::string PercentText(double percent);

// A p value with at least two significant digits, or "below 0.0001".
std::string PValueText(double p);

// "p = 0.042", or "p below 0.0001".
std::string PEquals(double p);

// A probability as a percentage, "98.22%", or "above 99.99%" and "below
// 0.01%" at the ends, where two decimals would round to a certainty.
std::string ChanceText(double probability);

// A whole number with thousands separators: "3,841".
std::string Grouped(double whole);

// A test statistic such as a chi-square, to two decimals: "4.79".
std::string StatisticText(double statistic);

// "2%" or "0.5 points", as a margin is read.
std::string MarginText(const Margin& margin);

}  // namespace ambrelay

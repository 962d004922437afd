#pragma once
// The four counts of one A/B test, always in the order the user reads them:
// version 1's views and responses, then version 2's. As texts they are what
// the four boxes (or a command line, or a file's row) hold; as numbers they
// are what the number reader made of those texts.

#include <string>

namespace ambrelay {

template <typename T>
struct FourCounts {
    T views1{};
    T responses1{};
    T views2{};
    T responses2{};
};

using Counts = FourCounts<double>;
using CountTexts = FourCounts<std::string>;

// Each text through ReadNumber, so every front end reads counts alike.
Counts ReadCounts(const CountTexts& texts);

// Whether a number is whole and within the integers doubles carry exactly
// (2^53), so an output may write it as a count, without a point.
bool WholeCount(double x);

}  // namespace ambrelay

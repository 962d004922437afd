#pragma once
// Whether the observations split between the versions as intended: a
// chi-square goodness-of-fit test with one degree of freedom.

#include <span>

#include "engine/outcome.h"

namespace ambrelay {

inline constexpr double kMismatchLevel = 0.001;  // below this p the split is not chance

struct SampleRatio {
    double chiSquare = 0.0;
    double pValue = 1.0;
    bool mismatch = false;  // p below kMismatchLevel
};

// observations1 and observations2 against version 1's intended share in
// percent (50 for an even split). NoSplit for counts below zero, no
// observations at all, or a share outside (0, 100).
Outcome<SampleRatio> CheckSampleRatio(double observations1, double observations2, double sharePercent = 50);

// The same for any number of versions against their intended shares in
// percent (adding up to 100; equal when none are given), with one degree
// of freedom fewer than there are versions. Two versions are judged as
// CheckSampleRatio judges them.
Outcome<SampleRatio> CheckSplit(std::span<const double> observations, std::span<const double> sharesPercent = {});

}  // namespace ambrelay

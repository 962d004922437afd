#include "engine/sample_ratio.h"

#include <cmath>

#include "engine/portable_math.h"

namespace ambrelay {

Outcome<SampleRatio> CheckSampleRatio(double observations1, double observations2, double sharePercent)
{
    const double total = observations1 + observations2;
    if (!(observations1 >= 0 && observations2 >= 0 && total > 0 && std::isfinite(total) && sharePercent > 0
          && sharePercent < 100)) {
        return Reason::NoSplit;
    }
    const double expected1 = total * sharePercent / 100;
    const double expected2 = total - expected1;
    const double d1 = observations1 - expected1;
    const double d2 = observations2 - expected2;
    SampleRatio result;
    result.chiSquare = d1 * d1 / expected1 + d2 * d2 / expected2;
    result.pValue = math::ChiSquaredOneUpperTail(result.chiSquare);
    if (!std::isfinite(result.chiSquare) || !std::isfinite(result.pValue)) {
        return Reason::BeyondDoubles;
    }
    result.mismatch = result.pValue < kMismatchLevel;
    return result;
}

Outcome<SampleRatio> CheckSplit(std::span<const double> observations, std::span<const double> sharesPercent)
{
    const std::size_t k = observations.size();
    const auto share = [&](std::size_t i) {
        return sharesPercent.empty() ? 100 / static_cast<double>(k) : sharesPercent[i];
    };
    if (k == 2) {
        return CheckSampleRatio(observations[0], observations[1], share(0));
    }
    double total = 0;
    for (std::size_t i = 0; i < k; ++i) {
        if (!(observations[i] >= 0 && share(i) > 0 && share(i) < 100)) {
            return Reason::NoSplit;
        }
        total += observations[i];
    }
    if (k < 2 || !(total > 0) || !std::isfinite(total)) {
        return Reason::NoSplit;
    }
    SampleRatio result;
    for (std::size_t i = 0; i < k; ++i) {
        const double expected = total * share(i) / 100;
        const double d = observations[i] - expected;
        result.chiSquare += d * d / expected;
    }
    result.pValue = math::ChiSquaredUpperTail(result.chiSquare, static_cast<double>(k - 1));
    if (!std::isfinite(result.chiSquare) || !std::isfinite(result.pValue)) {
        return Reason::BeyondDoubles;
    }
    result.mismatch = result.pValue < kMismatchLevel;
    return result;
}

}  // namespace ambrelay

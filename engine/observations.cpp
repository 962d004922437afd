#include "engine/observations.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ambrelay {

void RunningMoments::Add(double x)
{
    const double n1 = n_;
    n_ += 1;
    const double delta = x - mean_;
    const double share = delta / n_;
    const double term = delta * share * n1;
    mean_ += share;
    m3_ += term * share * (n_ - 2) - 3 * share * m2_;
    m2_ += term;
}

MeanSummary RunningMoments::Summary() const
{
    return {n_, mean_, n_ > 1 ? std::sqrt(m2_ / (n_ - 1)) : 0.0};
}

double RunningMoments::Skewness() const
{
    if (!(m2_ > 0)) {
        return 0;
    }
    return std::sqrt(n_) * m3_ / std::pow(m2_, 1.5);
}

void RunningRatio::Add(double x, double y)
{
    n_ += 1;
    const double dx = x - meanX_;
    const double dy = y - meanY_;
    meanX_ += dx / n_;
    meanY_ += dy / n_;
    cXX_ += dx * (x - meanX_);
    cYY_ += dy * (y - meanY_);
    cXY_ += dx * (y - meanY_);
}

Outcome<MeanSummary> RunningRatio::Summary() const
{
    if (meanY_ == 0) {
        return Reason::NoDenominator;
    }
    if (n_ < 2) {
        return Reason::FewerThanTwoObservations;
    }
    const double ratio = meanX_ / meanY_;
    const double varX = cXX_ / (n_ - 1), varY = cYY_ / (n_ - 1), cov = cXY_ / (n_ - 1);
    // Var(ratio) = (varX - 2 ratio cov + ratio^2 varY) / (n meanY^2).
    const double perUser = (varX - 2 * ratio * cov + ratio * ratio * varY) / (meanY_ * meanY_);
    return MeanSummary{n_, ratio, std::sqrt(std::fmax(perUser, 0.0))};
}

namespace {

// Doubles in the order of their values as unsigned integers, so a search can
// halve the doubles themselves.
std::uint64_t Key(double x)
{
    const auto bits = std::bit_cast<std::uint64_t>(x);
    return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
}

double FromKey(std::uint64_t key)
{
    return std::bit_cast<double>(key >> 63 ? key & ~(std::uint64_t{1} << 63) : ~key);
}

// The k-th smallest (0-based) counted value of both, by halving the range of
// doubles: some 64 passes over the values, and no copy of them.
double OrderStatistic(std::span<const double> a, std::span<const double> b, std::uint64_t k, bool ignoreZeros)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::uint64_t low = Key(-kInfinity), high = Key(kInfinity);
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        const double at = FromKey(middle);
        std::uint64_t atOrBelow = 0;
        for (const auto values : {a, b}) {
            for (const double x : values) {
                atOrBelow += (x <= at) && !(ignoreZeros && x == 0);
            }
        }
        if (atOrBelow > k) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return FromKey(low);
}

}  // namespace

std::optional<double> PooledQuantile(std::span<const double> a, std::span<const double> b, double probability,
                                     bool ignoreZeros)
{
    std::uint64_t counted = 0;
    for (const auto values : {a, b}) {
        for (const double x : values) {
            counted += !(ignoreZeros && x == 0);
        }
    }
    if (counted == 0) {
        return std::nullopt;
    }
    const double h = (static_cast<double>(counted) - 1) * probability;
    const double lowIndex = std::floor(h);
    const double lowValue = OrderStatistic(a, b, static_cast<std::uint64_t>(lowIndex), ignoreZeros);
    if (h == lowIndex) {
        return lowValue;
    }
    const double highValue = OrderStatistic(a, b, static_cast<std::uint64_t>(lowIndex) + 1, ignoreZeros);
    return lowValue + (h - lowIndex) * (highValue - lowValue);
}

ValuesCollector::ValuesCollector(bool ratio, const CapRequest& caps)
    : ratio_(ratio), caps_(caps), keep_(caps.upperPercent || caps.lowerPercent)
{
}

void ValuesCollector::Add(Version version, double value, double denominator)
{
    const int v = version == Version::A ? 0 : 1;
    if (!keep_) {
        Summarise(version, value, denominator);
        return;
    }
    values_[v].push_back(value);
    if (ratio_) {
        denominators_[v].push_back(denominator);
    }
}

void ValuesCollector::Summarise(Version version, double value, double denominator)
{
    const int v = version == Version::A ? 0 : 1;
    moments_[v].Add(value);
    if (ratio_) {
        ratios_[v].Add(value, denominator);
    }
}

ValuesCollector::Result ValuesCollector::Finish()
{
    Result result;
    if (keep_) {
        CapsApplied& caps = result.caps;
        if (caps_.upperPercent) {
            const auto upper = PooledQuantile(values_[0], values_[1], *caps_.upperPercent / 100, caps_.ignoreZeros);
            caps.upperOnZero = upper && *upper == 0;
            if (upper && !caps.upperOnZero) {
                caps.upper = upper;
            }
        }
        if (caps_.lowerPercent) {
            caps.lower = PooledQuantile(values_[0], values_[1], *caps_.lowerPercent / 100, caps_.ignoreZeros);
        }
        for (int v = 0; v < 2; ++v) {
            const Version version = v == 0 ? Version::A : Version::B;
            for (std::size_t i = 0; i < values_[v].size(); ++i) {
                double x = values_[v][i];
                // Zeros stay zeros when they were left out of the percentiles.
                const bool counted = !(caps_.ignoreZeros && x == 0);
                if (counted && caps.upper && x > *caps.upper) {
                    x = *caps.upper;
                    ++caps.changedUpper;
                } else if (counted && caps.lower && x < *caps.lower) {
                    x = *caps.lower;
                    ++caps.changedLower;
                }
                Summarise(version, x, ratio_ ? denominators_[v][i] : 1);
            }
            values_[v] = {};
            denominators_[v] = {};
        }
    }
    for (int v = 0; v < 2; ++v) {
        Outcome<MeanSummary>& summary = v == 0 ? result.a : result.b;
        summary = ratio_ ? ratios_[v].Summary() : Outcome<MeanSummary>(moments_[v].Summary());
        (v == 0 ? result.skewnessA : result.skewnessB) = moments_[v].Skewness();
    }
    return result;
}

}  // namespace ambrelay

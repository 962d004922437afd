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

// The k-th smallest (0-based) counted value of all, by halving the range of
// doubles: some 64 passes over the values, and no copy of them.
double OrderStatistic(std::span<const std::vector<double>> versions, std::uint64_t k, bool ignoreZeros)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::uint64_t low = Key(-kInfinity), high = Key(kInfinity);
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        const double at = FromKey(middle);
        std::uint64_t atOrBelow = 0;
        for (const std::vector<double>& values : versions) {
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

std::optional<double> PooledQuantile(std::span<const std::vector<double>> versions, double probability,
                                     bool ignoreZeros)
{
    std::uint64_t counted = 0;
    for (const std::vector<double>& values : versions) {
        for (const double x : values) {
            counted += !(ignoreZeros && x == 0);
        }
    }
    if (counted == 0) {
        return std::nullopt;
    }
    const double h = (static_cast<double>(counted) - 1) * probability;
    const double lowIndex = std::floor(h);
    const double lowValue = OrderStatistic(versions, static_cast<std::uint64_t>(lowIndex), ignoreZeros);
    if (h == lowIndex) {
        return lowValue;
    }
    const double highValue = OrderStatistic(versions, static_cast<std::uint64_t>(lowIndex) + 1, ignoreZeros);
    return lowValue + (h - lowIndex) * (highValue - lowValue);
}

ValuesCollector::ValuesCollector(bool ratio, const CapRequest& caps, bool covariate)
    : ratio_(ratio),
      caps_(caps),
      covariate_(covariate),
      keep_(caps.upperPercent || caps.lowerPercent || (covariate && caps.covariateUpperPercent))
{
}

void ValuesCollector::Grow(std::size_t versions)
{
    if (moments_.size() < versions) {
        for (auto* kept : {&values_, &denominators_, &covariateValues_, &covariateDenominators_}) {
            kept->resize(versions);
        }
        moments_.resize(versions);
        ratios_.resize(versions);
        covariates_.resize(versions);
    }
}

void ValuesCollector::Add(std::size_t version, double value, double denominator, double covariate,
                          double covariateDenominator)
{
    Grow(version + 1);
    if (!keep_) {
        Summarise(version, value, denominator, covariate, covariateDenominator);
        return;
    }
    values_[version].push_back(value);
    if (ratio_) {
        denominators_[version].push_back(denominator);
    }
    if (covariate_) {
        covariateValues_[version].push_back(covariate);
        covariateDenominators_[version].push_back(covariateDenominator);
    }
}

void ValuesCollector::Summarise(std::size_t version, double value, double denominator, double covariate,
                                double covariateDenominator)
{
    moments_[version].Add(value);
    if (ratio_) {
        ratios_[version].Add(value, denominator);
    }
    if (covariate_) {
        covariates_[version].Add({value, denominator, covariate, covariateDenominator});
    }
}

namespace {

// A cap applied to one value: zeros stay zeros when they were left out of
// the percentiles; each value changed is counted.
double Capped(double x, CapsApplied& caps, bool ignoreZeros)
{
    const bool counted = !(ignoreZeros && x == 0);
    if (counted && caps.upper && x > *caps.upper) {
        ++caps.changedUpper;
        return *caps.upper;
    }
    if (counted && caps.lower && x < *caps.lower) {
        ++caps.changedLower;
        return *caps.lower;
    }
    return x;
}

// The upper cap at `percent` of every version's values pooled, unless it falls on 0.
void UpperCap(std::span<const std::vector<double>> values, double percent, bool ignoreZeros, CapsApplied& caps)
{
    const auto upper = PooledQuantile(values, percent / 100, ignoreZeros);
    caps.upperOnZero = upper && *upper == 0;
    if (upper && !caps.upperOnZero) {
        caps.upper = upper;
    }
}

}  // namespace

ValuesCollector::Result ValuesCollector::Finish(std::size_t versions)
{
    Grow(versions);
    Result result;
    if (keep_) {
        CapsApplied& caps = result.caps;
        if (caps_.upperPercent) {
            UpperCap(values_, *caps_.upperPercent, caps_.ignoreZeros, caps);
        }
        if (caps_.lowerPercent) {
            caps.lower = PooledQuantile(values_, *caps_.lowerPercent / 100, caps_.ignoreZeros);
        }
        if (covariate_ && caps_.covariateUpperPercent) {
            UpperCap(covariateValues_, *caps_.covariateUpperPercent, caps_.ignoreZeros, result.covariateCaps);
        }
        for (std::size_t v = 0; v < values_.size(); ++v) {
            for (std::size_t i = 0; i < values_[v].size(); ++i) {
                Summarise(v, Capped(values_[v][i], caps, caps_.ignoreZeros), ratio_ ? denominators_[v][i] : 1,
                          covariate_ ? Capped(covariateValues_[v][i], result.covariateCaps, caps_.ignoreZeros) : 0,
                          covariate_ ? covariateDenominators_[v][i] : 1);
            }
            for (auto* kept : {&values_, &denominators_, &covariateValues_, &covariateDenominators_}) {
                (*kept)[v] = {};
            }
        }
    }
    CovariateMoments everyone;
    for (std::size_t v = 0; v < moments_.size(); ++v) {
        result.summaries.push_back(ratio_ ? ratios_[v].Summary() : Outcome<MeanSummary>(moments_[v].Summary()));
        result.skewness.push_back(moments_[v].Skewness());
        if (covariate_) {
            result.covariates.push_back(SummaryOf(covariates_[v]));
            everyone.Merge(covariates_[v]);
        }
    }
    if (covariate_) {
        result.everyone = SummaryOf(everyone);
    }
    return result;
}

}  // namespace ambrelay

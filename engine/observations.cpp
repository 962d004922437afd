#include "engine/observations.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/quantile_in_parts.h"

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

void RunningMoments::Merge(const RunningMoments& o)
{
    if (o.n_ == 0) {
        return;
    }
    if (n_ == 0) {
        *this = o;
        return;
    }
    const double n = n_ + o.n_;
    const double delta = o.mean_ - mean_;
    const double share = delta / n;
    // M3 = M3a + M3b + δ³ na nb (na − nb) / n² + 3 δ (na M2b − nb M2a) / n, from the old M2s.
    m3_ += o.m3_ + delta * share * share * n_ * o.n_ * (n_ - o.n_) + 3 * share * (n_ * o.m2_ - o.n_ * m2_);
    m2_ += o.m2_ + delta * share * n_ * o.n_;
    mean_ += share * o.n_;
    n_ = n;
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

void RunningRatio::Merge(const RunningRatio& o)
{
    if (o.n_ == 0) {
        return;
    }
    if (n_ == 0) {
        *this = o;
        return;
    }
    const double n = n_ + o.n_;
    const double dx = o.meanX_ - meanX_, dy = o.meanY_ - meanY_;
    const double weight = n_ * o.n_ / n;
    cXX_ += o.cXX_ + dx * dx * weight;
    cYY_ += o.cYY_ + dy * dy * weight;
    cXY_ += o.cXY_ + dx * dy * weight;
    meanX_ += dx * o.n_ / n;
    meanY_ += dy * o.n_ / n;
    n_ = n;
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

// The k-th smallest (0-based) counted value of all, by halving the range of
// doubles: some 64 passes over the values, and no copy of them.
double OrderStatistic(std::span<const std::vector<double>> versions, std::uint64_t k, bool ignoreZeros)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::uint64_t low = OrderKey(-kInfinity), high = OrderKey(kInfinity);
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        const double at = FromOrderKey(middle);
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
    return FromOrderKey(low);
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
    const QuantilePlace place = PlaceOf(counted, probability);
    const double low = OrderStatistic(versions, place.low, ignoreZeros);
    return Interpolated(low, place.fraction == 0 ? low : OrderStatistic(versions, place.low + 1, ignoreZeros),
                        place.fraction);
}

ValuesCollector::ValuesCollector(bool ratio, const CapRequest& caps, bool covariate)
    : ratio_(ratio),
      caps_(caps),
      covariate_(covariate),
      keep_(caps.upperPercent || caps.lowerPercent || (covariate && caps.covariateUpperPercent))
{
}

ValuesCollector::ValuesCollector(bool ratio, const CapRequest& caps, bool covariate, const FoundCaps& found)
    : ratio_(ratio), caps_(caps), covariate_(covariate), keep_(false), found_(found)
{
}

void ValuesCollector::Grow(std::size_t versions)
{
    if (versions_.size() < versions) {
        if (keep_) {
            for (auto* kept : {&values_, &denominators_, &covariateValues_, &covariateDenominators_}) {
                kept->resize(versions);
            }
        }
        versions_.resize(versions);
    }
}

namespace {

// A cap applied to one value: zeros stay zeros when they were left out of
// the percentiles; each value changed is counted.
double Capped(double x, const CapsApplied& caps, bool ignoreZeros, double& changedUpper, double& changedLower)
{
    const bool counted = !(ignoreZeros && x == 0);
    if (counted && caps.upper && x > *caps.upper) {
        ++changedUpper;
        return *caps.upper;
    }
    if (counted && caps.lower && x < *caps.lower) {
        ++changedLower;
        return *caps.lower;
    }
    return x;
}

double Capped(double x, CapsApplied& caps, bool ignoreZeros)
{
    return Capped(x, caps, ignoreZeros, caps.changedUpper, caps.changedLower);
}

}  // namespace

void ValuesCollector::Add(std::size_t version, double value, double denominator, double covariate,
                          double covariateDenominator)
{
    Grow(version + 1);
    if (found_) {
        std::array<double, 3>& changed = versions_[version].changed;
        double unchanged = 0;  // the covariate has no lower cap
        Summarise(version, Capped(value, found_->values, caps_.ignoreZeros, changed[0], changed[1]), denominator,
                  covariate_ ? Capped(covariate, found_->covariate, caps_.ignoreZeros, changed[2], unchanged) : 0,
                  covariateDenominator);
        return;
    }
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
    VersionMoments& v = versions_[version];
    v.moments.Add(value);
    if (ratio_) {
        v.ratio.Add(value, denominator);
    }
    if (covariate_) {
        v.covariate.Add({value, denominator, covariate, covariateDenominator});
    }
}

void ValuesCollector::Merge(const ValuesCollector& later, std::span<const std::size_t> placeOf)
{
    for (std::size_t v = 0; v < later.versions_.size() && v < placeOf.size(); ++v) {
        if (placeOf[v] == kNoPlace) {
            continue;
        }
        Grow(placeOf[v] + 1);
        VersionMoments& into = versions_[placeOf[v]];
        const VersionMoments& from = later.versions_[v];
        into.moments.Merge(from.moments);
        into.ratio.Merge(from.ratio);
        into.covariate.Merge(from.covariate);
        for (std::size_t i = 0; i < into.changed.size(); ++i) {
            into.changed[i] += from.changed[i];
        }
    }
}

CapsApplied CapsAt(std::optional<double> upper, std::optional<double> lower)
{
    CapsApplied caps;
    caps.upperOnZero = upper && *upper == 0;
    if (upper && !caps.upperOnZero) {
        caps.upper = upper;
    }
    caps.lower = lower;
    return caps;
}

ValuesCollector::Result ValuesCollector::Finish(std::size_t versions)
{
    Grow(versions);
    Result result;
    if (keep_) {
        const auto at = [&](const std::optional<double>& percent, std::span<const std::vector<double>> values) {
            return percent ? PooledQuantile(values, *percent / 100, caps_.ignoreZeros) : std::nullopt;
        };
        result.caps = CapsAt(at(caps_.upperPercent, values_), at(caps_.lowerPercent, values_));
        if (covariate_) {
            result.covariateCaps = CapsAt(at(caps_.covariateUpperPercent, covariateValues_), std::nullopt);
        }
        for (std::size_t v = 0; v < values_.size(); ++v) {
            for (std::size_t i = 0; i < values_[v].size(); ++i) {
                Summarise(v, Capped(values_[v][i], result.caps, caps_.ignoreZeros), ratio_ ? denominators_[v][i] : 1,
                          covariate_ ? Capped(covariateValues_[v][i], result.covariateCaps, caps_.ignoreZeros) : 0,
                          covariate_ ? covariateDenominators_[v][i] : 1);
            }
            for (auto* kept : {&values_, &denominators_, &covariateValues_, &covariateDenominators_}) {
                (*kept)[v] = {};
            }
        }
    }
    if (found_) {
        result.caps = found_->values;
        result.covariateCaps = found_->covariate;
        for (const VersionMoments& v : versions_) {
            result.caps.changedUpper += v.changed[0];
            result.caps.changedLower += v.changed[1];
            result.covariateCaps.changedUpper += v.changed[2];
        }
    }
    CovariateMoments everyone;
    for (const VersionMoments& v : versions_) {
        result.summaries.push_back(ratio_ ? v.ratio.Summary() : Outcome<MeanSummary>(v.moments.Summary()));
        result.skewness.push_back(v.moments.Skewness());
        if (covariate_) {
            result.covariates.push_back(SummaryOf(v.covariate));
            everyone.Merge(v.covariate);
        }
    }
    if (covariate_) {
        result.everyone = SummaryOf(everyone);
    }
    return result;
}

}  // namespace ambrelay

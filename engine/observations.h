#pragma once
// Observations summarised as they stream past: counts, means and central
// moments updated one value at a time (Welford's and Pébay's updates, which
// stay exact where a sum of squares would cancel) and merged the same way,
// so parts summarised apart add up to one pass over all; and the percentile
// caps that need the values themselves.

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "engine/covariate.h"
#include "engine/means.h"

namespace ambrelay {

// One version's values: n, the mean and the second and third central sums.
class RunningMoments {
public:
    void Add(double x);
    // The values of `other` added, as if they had come one at a time
    // (Pébay's pairwise update of the third moment).
    void Merge(const RunningMoments& other);
    double Count() const { return n_; }
    // n, mean and the sample standard deviation.
    MeanSummary Summary() const;
    // The sample skewness g1 = sqrt(n) M3 / M2^(3/2); 0 without spread.
    double Skewness() const;

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(n_, mean_, m2_, m3_);
    }

private:
    double n_ = 0, mean_ = 0, m2_ = 0, m3_ = 0;
};

// A ratio metric, numerator and denominator a user: revenue over orders.
class RunningRatio {
public:
    void Add(double numerator, double denominator);
    // Chan's pairwise update.
    void Merge(const RunningRatio& other);
    double Count() const { return n_; }
    // The ratio of the means, and a standard deviation s with s^2 / n the
    // delta method's variance of that ratio, its covariance term included:
    // users, not sessions, were randomised. NoDenominator when the
    // denominators' mean is 0.
    Outcome<MeanSummary> Summary() const;

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(n_, meanX_, meanY_, cXX_, cYY_, cXY_);
    }

private:
    double n_ = 0, meanX_ = 0, meanY_ = 0, cXX_ = 0, cYY_ = 0, cXY_ = 0;
};

// The value at `probability` (0 to 1) of every version's values pooled, as
// R's quantile type 7 interpolates; zeros left out when `ignoreZeros`.
// Nothing when no value counts. The values are only read.
std::optional<double> PooledQuantile(std::span<const std::vector<double>> versions, double probability,
                                     bool ignoreZeros);

// Caps that pull extreme values in, from percentiles of both versions pooled.
struct CapRequest {
    std::optional<double> upperPercent;  // 99.9: values above the 99.9th percentile are set to it
    std::optional<double> lowerPercent;  // 1: values below the 1st percentile are raised to it
    bool ignoreZeros = false;            // the percentiles are taken over the values other than 0
    std::optional<double> covariateUpperPercent;  // the covariate capped at its own pooled percentile

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(upperPercent, lowerPercent, ignoreZeros, covariateUpperPercent);
    }
};

struct CapsApplied {
    std::optional<double> upper, lower;  // the caps' values, when applied
    double changedUpper = 0, changedLower = 0;  // how many values each cap changed
    bool upperOnZero = false;  // the upper percentile is 0, as for zero-heavy revenue: not applied

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(upper, lower, changedUpper, changedLower, upperOnZero);
    }
};

// The caps at their percentiles' values (none where no value counted): an
// upper one that falls on 0 is not applied.
CapsApplied CapsAt(std::optional<double> upper, std::optional<double> lower);

// The caps of the values and of the covariate, found before the values
// arrive (by passes over parts of them): applied as each value arrives.
struct FoundCaps {
    CapsApplied values, covariate;

    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(values, covariate);
    }
};

// A version's place when parts merge: none for one left out of the merge.
inline constexpr std::size_t kNoPlace = std::numeric_limits<std::size_t>::max();

// Every version's observations, one value a user (or a numerator and a
// denominator for a ratio metric), and with a covariate what each user did
// before the test. Without caps they are summarised as they arrive, in
// constant memory; a percentile cap needs the values, 8 bytes each (16 for a
// ratio, twice that with a covariate), until the caps are known.
class ValuesCollector {
public:
    ValuesCollector(bool ratio, const CapRequest& caps, bool covariate = false);
    // The caps known already: nothing is kept, and collectors merge.
    ValuesCollector(bool ratio, const CapRequest& caps, bool covariate, const FoundCaps& found);

    // A value of the version at `version`, the first being 0; a version met
    // for the first time takes the next place.
    void Add(std::size_t version, double value, double denominator = 1, double covariate = 0,
             double covariateDenominator = 1);

    struct Result {
        std::vector<Outcome<MeanSummary>> summaries;  // by version
        std::vector<double> skewness;  // of the values (the numerators for a ratio), after capping
        CapsApplied caps;
        // With a covariate: each version's metric and covariate, and everyone's together.
        std::vector<Outcome<CovariateSummary>> covariates;
        Outcome<CovariateSummary> everyone = Reason::NoValueRows;
        CapsApplied covariateCaps;  // the upper cap only
    };
    // Every version's summary, `versions` of them at least.
    Result Finish(std::size_t versions);

    // The values of a collector over later rows of the same versions, each
    // of its versions at `placeOf` here (kNoPlace: left out), as if they
    // had come one at a time after these. Neither may keep values for caps.
    void Merge(const ValuesCollector& later, std::span<const std::size_t> placeOf);

    // The state member by member, for a part that travels between the
    // processes of one build.
    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(ratio_, caps_, covariate_, keep_, found_, versions_);
    }
    // The versions that have values.
    std::size_t Versions() const { return versions_.size(); }

private:
    // What one version's values add up to as they arrive.
    struct VersionMoments {
        RunningMoments moments;
        RunningRatio ratio;
        CovariateMoments covariate;
        // The values changed by the caps found before: upper, lower, the covariate's.
        std::array<double, 3> changed{};

        template <typename Visit>
        void Fields(Visit& visit)
        {
            visit(moments, ratio, covariate, changed);
        }
    };

    void Summarise(std::size_t version, double value, double denominator, double covariate,
                   double covariateDenominator);
    void Grow(std::size_t versions);

    bool ratio_;
    CapRequest caps_;
    bool covariate_;
    bool keep_;
    std::optional<FoundCaps> found_;
    // Kept for the caps, by version: only the columns the file has.
    std::vector<std::vector<double>> values_, denominators_, covariateValues_, covariateDenominators_;
    std::vector<VersionMoments> versions_;
};

}  // namespace ambrelay

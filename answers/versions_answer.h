#pragma once
// Tests of more than two versions, judged honestly: each version against the
// control, the two-sided p values adjusted for the family, the intervals
// widened where the correction asks, the chance that each version is the
// best, and the split across all of them. Two versions are the case every
// two-version door has always judged, figure for figure.

#include <cstddef>
#include <string>
#include <vector>

#include "answers/summaries_answer.h"
#include "engine/best_version.h"
#include "engine/judge.h"
#include "engine/multiple_comparisons.h"
#include "engine/sample_ratio.h"

namespace ambrelay {

// What is asked of a family of comparisons besides each comparison's own options.
struct VersionsOptions {
    Adjustment adjustment = Adjustment::Holm;
    std::string control;                // the control's label; the first version when empty
    std::vector<double> sharesPercent;  // every version's intended share, in their order; empty: equal, or
                                        // for two versions the options' splitPercentA as the control's
};

template <typename Answer>
struct VersionComparison {
    std::size_t version = 0;  // its place among the versions
    Answer answer;            // the control as A, the version as B
    double pAdjusted = 1;     // the two-sided p adjusted for the family
    bool beatsControl = false;  // adjusted below 0.05, in the version's favour
};

template <typename Answer>
struct VersionsAnswer {
    std::vector<std::string> labels;
    std::size_t control = 0;
    Adjustment adjustment = Adjustment::Holm;
    double intervalLevel = 0.95;
    std::vector<VersionComparison<Answer>> comparisons;  // in the versions' order, the control left out
    Outcome<std::vector<double>> chanceToBeBest = Reason::NoTable;  // by version
    std::vector<double> sharesPercent;                // as intended, by version
    Outcome<SampleRatio> split = Reason::NoSplit;     // across every version
    std::vector<WarningCode> warnings;                // of the test as a whole

    std::size_t Versions() const { return labels.size(); }
};

using RatesVersionsAnswer = VersionsAnswer<Judgement>;
using MeansVersionsAnswer = VersionsAnswer<MeansAnswer>;

// Each version's label and counts, in the order the input gives them.
struct RatesVersions {
    std::vector<std::string> labels;
    std::vector<RateCounts> counts;
};

struct MeansVersions {
    std::vector<std::string> labels;
    std::vector<MeanSummary> summaries;
    // With a covariate: each version's metric and covariate, in the same
    // order, and the fit over every user.
    std::vector<CovariateSummary> covariates;
    std::optional<CovariateFit> fit;
};

// OneVersionOnly, TooManyVersions, SameVersionTwice, NoSuchVersion (the
// control), SharesForVersions, or VersionWithoutAnswer when a version and
// the control have no comparison.
Outcome<RatesVersionsAnswer> JudgeVersions(const RatesVersions& versions, const JudgeOptions& options,
                                           const VersionsOptions& family);
Outcome<MeansVersionsAnswer> CompareVersions(const MeansVersions& versions, const MeansOptions& options,
                                             const VersionsOptions& family);

}  // namespace ambrelay

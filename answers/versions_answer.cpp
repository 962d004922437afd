#include "answers/versions_answer.h"

#include <algorithm>

#include "checks/amounts.h"

namespace ambrelay {
namespace {

// Which version is the control, what each was meant to get, and how wide
// the intervals go; or why these versions make no family.
struct Family {
    std::size_t control = 0;
    std::vector<double> shares;
    double level = 0.95;
};

Outcome<Family> FamilyOf(const std::vector<std::string>& labels, const VersionsOptions& o)
{
    const std::size_t k = labels.size();
    if (k < 2) {
        Problem one(k == 0 ? Reason::NoValueRows : Reason::OneVersionOnly);
        one.names = labels;
        return one;
    }
    if (k > kMostVersions) {
        Problem many(Reason::TooManyVersions);
        many.count = k;
        many.expected = kMostVersions;
        return many;
    }
    for (std::size_t i = 0; i < k; ++i) {
        if (std::find(labels.begin() + static_cast<std::ptrdiff_t>(i) + 1, labels.end(), labels[i]) != labels.end()) {
            return Problem(Reason::SameVersionTwice, NameKind::None, {}, labels[i]);
        }
    }
    Family family;
    if (!o.control.empty()) {
        const auto at = std::find(labels.begin(), labels.end(), o.control);
        if (at == labels.end()) {
            Problem missing(Reason::NoSuchVersion, NameKind::None, {}, o.control);
            missing.names = labels;
            return missing;
        }
        family.control = static_cast<std::size_t>(at - labels.begin());
    }
    if (o.sharesPercent.empty()) {
        family.shares.assign(k, 100 / static_cast<double>(k));
        if (k == 2) {
            family.shares = {50, 50};  // as a two-version test has always taken them
        }
    } else {
        const Outcome<Split> split = SplitFor(Split{o.sharesPercent}, k, Origin::Option("--split"));
        if (!split) {
            return split.Failure();
        }
        family.shares = split->sharesPercent;
    }
    family.level = IntervalLevel(o.adjustment, k - 1);
    return family;
}

// The family's answer, its comparisons by `compare`, their p values adjusted.
template <typename Answer, typename Compare, typename PValue, typename Favours>
Outcome<VersionsAnswer<Answer>> Judged(const std::vector<std::string>& labels, const VersionsOptions& o,
                                       Compare compare, PValue pValue, Favours favours)
{
    const Outcome<Family> family = FamilyOf(labels, o);
    if (!family) {
        return family.Failure();
    }
    VersionsAnswer<Answer> answer;
    answer.labels = labels;
    answer.control = family->control;
    answer.adjustment = o.adjustment;
    answer.intervalLevel = family->level;
    answer.sharesPercent = family->shares;
    std::vector<double> raw;
    for (std::size_t v = 0; v < labels.size(); ++v) {
        if (v == family->control) {
            continue;
        }
        // The pair's own split: the control's share of the two, as a two-version test takes it.
        const double pairShare = labels.size() == 2 ? family->shares[family->control]
                                                    : 100 * family->shares[family->control]
                                                          / (family->shares[family->control] + family->shares[v]);
        Outcome<Answer> pair = compare(family->control, v, pairShare, family->level);
        if (!pair && labels.size() == 2) {
            return pair.Failure();  // as two versions have always said it
        }
        if (!pair) {
            Problem problem(Reason::VersionWithoutAnswer, NameKind::None, labels[v], labels[family->control]);
            problem.because = pair.Failure().reason;
            return problem;
        }
        raw.push_back(pValue(*pair));
        answer.comparisons.push_back({v, std::move(*pair), 1, false});
    }
    const std::vector<double> adjusted = AdjustPValues(raw, o.adjustment);
    for (std::size_t i = 0; i < answer.comparisons.size(); ++i) {
        VersionComparison<Answer>& c = answer.comparisons[i];
        c.pAdjusted = adjusted[i];
        c.beatsControl = c.pAdjusted < 0.05 && favours(c.answer);
    }
    return answer;
}

// The split across every version, and its warning.
template <typename Answer>
void CheckFamilySplit(VersionsAnswer<Answer>& answer, const std::vector<double>& observations)
{
    answer.split = CheckSplit(observations, answer.sharesPercent);
    if (answer.split && answer.split->mismatch) {
        answer.warnings.push_back(WarningCode::SampleRatioMismatch);
    }
}

// Two versions' split may come as the pair's own, A's share: the control's.
VersionsOptions WithPairSplit(VersionsOptions family, const std::vector<std::string>& labels, double splitPercentA)
{
    if (family.sharesPercent.empty() && labels.size() == 2 && splitPercentA != 50) {
        const bool controlFirst = family.control.empty() || family.control == labels.front();
        family.sharesPercent = {splitPercentA, 100 - splitPercentA};
        if (!controlFirst) {
            std::swap(family.sharesPercent[0], family.sharesPercent[1]);
        }
    }
    return family;
}

}  // namespace

Outcome<RatesVersionsAnswer> JudgeVersions(const RatesVersions& versions, const JudgeOptions& options,
                                           const VersionsOptions& family)
{
    const auto& n = versions.counts;
    Outcome<RatesVersionsAnswer> answer = Judged<Judgement>(
        versions.labels, WithPairSplit(family, versions.labels, options.splitPercentA),
        [&](std::size_t control, std::size_t v, double share, double level) -> Outcome<Judgement> {
            JudgeOptions pair = options;
            pair.splitPercentA = share;
            pair.intervalLevel = level;
            Judgement j = Judge({n[control].views, n[control].responses, n[v].views, n[v].responses}, pair);
            if (!j.Finished()) {
                return Problem(j.result.Failure().reason);
            }
            return j;
        },
        [](const Judgement& j) { return j.Figures().twoSidedP; },
        [](const Judgement& j) { return j.calculation.Ratio2 > j.calculation.Ratio1; });
    if (answer) {
        answer->chanceToBeBest = ChanceToBeBest(n);
        std::vector<double> observations;
        for (const RateCounts& c : n) {
            observations.push_back(c.views);
        }
        CheckFamilySplit(*answer, observations);
    }
    return answer;
}

Outcome<MeansVersionsAnswer> CompareVersions(const MeansVersions& versions, const MeansOptions& options,
                                             const VersionsOptions& family)
{
    const auto& s = versions.summaries;
    Outcome<MeansVersionsAnswer> answer = Judged<MeansAnswer>(
        versions.labels, WithPairSplit(family, versions.labels, options.splitPercentA),
        [&](std::size_t control, std::size_t v, double share, double level) {
            MeansOptions pair = options;
            pair.splitPercentA = share;
            pair.intervalLevel = level;
            std::optional<CovariateRequest> covariate;
            if (versions.fit) {
                covariate = CovariateRequest{versions.covariates[control], versions.covariates[v], *versions.fit};
            }
            return CompareSummaries({s[control], s[v], pair, covariate});
        },
        [](const MeansAnswer& a) { return a.comparison.pTwoSided; },
        [](const MeansAnswer& a) { return !a.comparison.identical && a.comparison.leader == Version::B; });
    if (answer) {
        // With a covariate, the adjusted averages are the ones that compete.
        std::vector<MeanSummary> competing = s;
        for (std::size_t v = 0; versions.fit && v < competing.size(); ++v) {
            competing[v] = AdjustedSummary(versions.covariates[v], *versions.fit);
        }
        answer->chanceToBeBest = ChanceToBeBest(competing, options.better);
        std::vector<double> observations;
        for (const MeanSummary& m : s) {
            observations.push_back(m.n);
        }
        CheckFamilySplit(*answer, observations);
    }
    return answer;
}

}  // namespace ambrelay

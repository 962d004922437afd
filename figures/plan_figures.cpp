#include "figures/plan_figures.h"

#include <cmath>

#include "engine/sample_ratio.h"
#include "figures/figure_text.h"

namespace ambrelay {
namespace {

using P = PlanFigure;
using S = SplitFigure;

constexpr FigureKind kPlanKinds[] = {
    Kind(P::Observations, "observations_per_version", "", Unit::Count),
    Kind(P::ObservationsUnrounded, "observations_per_version_unrounded", "", Unit::Count),
    Kind(P::Total, "observations_total", "", Unit::Count),
    Kind(P::Days, "days", "", Unit::Days),
    Kind(P::Baseline, "baseline_percent", "", Unit::Percent),
    Kind(P::Variant, "variant_percent", "", Unit::Percent),
    Kind(P::Relative, "mde_relative_percent", "", Unit::Percent),
    Kind(P::Absolute, "mde_absolute_points", "", Unit::Points),
    Kind(P::Alpha, "significance_level", "", Unit::Probability),
    Kind(P::Power, "power", "", Unit::Probability),
    Kind(P::TwoSided, "two_sided", "", Unit::YesNo),
    Kind(P::Split, "split_percent", "", Unit::Percent),
};
static_assert(EveryKindInOrder<PlanFigure>(kPlanKinds), "one kind for every plan figure, in order");

constexpr FigureKind kSplitKinds[] = {
    Kind(S::ChiSquare, "chi_square", "", Unit::Statistic),
    Kind(S::PValue, "p_value", "", Unit::PValue),
    Kind(S::Mismatch, "mismatch", "", Unit::YesNo),
};
static_assert(EveryKindInOrder<SplitFigure>(kSplitKinds), "one kind for every split figure, in order");

void Set(Figure& f, FigureValue value, std::string label, std::string words)
{
    f.value = std::move(value);
    f.label = std::move(label);
    f.words = std::move(words);
}

std::string Percent(double percent) { return PercentText(percent) + "%"; }

}  // namespace

std::span<const FigureKind> PlanFigureKinds() { return kPlanKinds; }

Outcome<FigureList<PlanFigure>> AnswerPlan(const PlanRequest& request)
{
    PlanInputs in = request.settings;
    const bool relative = in.kind == EffectKind::Relative;
    double variant = 0;
    VersionPair unrounded;
    if (request.effect) {
        in.effect = *request.effect / 100;
        const PlanOutcome outcome = PlanTest(in);
        if (!outcome) {
            return outcome.Failure();
        }
        variant = outcome->variant;
        unrounded = {outcome->perVersionA, outcome->perVersionB};
    } else {
        const DetectableOutcome outcome = SmallestDetectableEffect(in, request.observationsPerVersion.value_or(0));
        if (!outcome) {
            return outcome.Failure();
        }
        variant = outcome->variant;
        const double total = 2 * *request.observationsPerVersion;
        const double countA = total * (in.sharePercent / 100);
        unrounded = {countA, total - countA};
    }
    const VersionPair rounded{std::ceil(unrounded.first), std::ceil(unrounded.second)};
    const double total = rounded.first + rounded.second;
    // An effect the user gave is echoed as given, not as it comes back from the ratios.
    const double relativePercent = request.effect && relative ? *request.effect : (variant / in.baseline - 1) * 100;
    const double absolutePoints = request.effect && !relative ? *request.effect : (variant - in.baseline) * 100;

    FigureList<PlanFigure> f(kPlanKinds);
    const auto both = [](const VersionPair& pair, auto write) {
        return write(pair.first) + " for A and " + write(pair.second) + " for B";
    };
    Set(f[P::Observations], rounded, request.effect ? "Observations needed" : "Observations",
        both(rounded, Grouped));
    Set(f[P::ObservationsUnrounded], unrounded, "Observations, unrounded",
        both(unrounded, [](double x) { return Fixed(x, 2); }));
    Set(f[P::Total], total, "Observations in all", Grouped(total));
    if (in.dailyObservations) {
        const double days = std::ceil(total / *in.dailyObservations);
        Set(f[P::Days], days, "Days at " + Grouped(*in.dailyObservations) + " observations a day", Grouped(days));
    } else {
        Set(f[P::Days], {}, "Days", "no daily observations given");
    }
    Set(f[P::Baseline], in.baseline * 100, "Version A's response ratio (baseline)", Percent(in.baseline * 100));
    Set(f[P::Variant], variant * 100, request.effect ? "Version B's response ratio to detect"
                                                     : "Version B's smallest detectable response ratio",
        Percent(variant * 100));
    Set(f[P::Relative], relativePercent, "Effect, relative", Percent(relativePercent));
    Set(f[P::Absolute], absolutePoints, "Effect, absolute", PercentText(absolutePoints) + " points");
    Set(f[P::Alpha], in.alpha, "Significance level", Percent(in.alpha * 100));
    Set(f[P::Power], in.power, "Power", Percent(in.power * 100));
    Set(f[P::TwoSided], in.twoSided, "Two-sided test", in.twoSided ? "yes" : "no, one-sided");
    Set(f[P::Split], in.sharePercent, "Version A's share of the observations", Percent(in.sharePercent));
    return f;
}

std::span<const FigureKind> SplitFigureKinds() { return kSplitKinds; }

Outcome<FigureList<SplitFigure>> AnswerSplit(double observations1, double observations2, double sharePercent)
{
    const Outcome<SampleRatio> ratio = CheckSampleRatio(observations1, observations2, sharePercent);
    if (!ratio) {
        return ratio.Failure();
    }
    FigureList<SplitFigure> f(kSplitKinds);
    Set(f[S::ChiSquare], ratio->chiSquare, "Chi-square", StatisticText(ratio->chiSquare));
    Set(f[S::PValue], ratio->pValue, "p value", PValueText(ratio->pValue));
    Set(f[S::Mismatch], ratio->mismatch, "Sample ratio mismatch",
        ratio->mismatch ? "yes (the split is far from the intended one, which usually means the test was set up "
                          "or counted wrongly)"
                        : "none (the split is as close to the intended one as chance allows)");
    return f;
}

}  // namespace ambrelay

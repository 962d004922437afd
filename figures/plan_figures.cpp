#include "figures/plan_figures.h"

#include <cmath>

#include "engine/means.h"
#include "engine/sample_ratio.h"
#include "numbers/number_text.h"
#include "figures/figure_text.h"

namespace ambrelay {
namespace {

using P = PlanFigure;
using S = SplitFigure;
using MP = MeansPlanFigure;

constexpr FigureKind kMeansPlanKinds[] = {
    Kind(MP::Observations, "observations_per_version", "", Unit::Count),
    Kind(MP::ObservationsUnrounded, "observations_per_version_unrounded", "", Unit::Count),
    Kind(MP::Total, "observations_total", "", Unit::Count),
    Kind(MP::Days, "days", "", Unit::Days),
    Kind(MP::Deviation, "standard_deviation", "", Unit::Statistic),
    Kind(MP::Average, "average", "", Unit::Statistic),
    Kind(MP::Absolute, "mde_absolute", "", Unit::Statistic),
    Kind(MP::Relative, "mde_relative_percent", "", Unit::Percent),
    Kind(MP::Alpha, "significance_level", "", Unit::Probability),
    Kind(MP::Power, "power", "", Unit::Probability),
    Kind(MP::TwoSided, "two_sided", "", Unit::YesNo),
};
static_assert(EveryKindInOrder<MeansPlanFigure>(kMeansPlanKinds), "one kind for every plan figure of averages, in order");

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

std::string Percent(double percent) { return PercentText(percent) + "%"; }

constexpr FigureKind kCovariatePlanKinds[] = {
    Kind(CovariatePlanFigure::Correlation, "correlation", "", Unit::Statistic),
    Kind(CovariatePlanFigure::ResidualDeviation, "residual_standard_deviation", "", Unit::Statistic),
};
static_assert(EveryKindInOrder<CovariatePlanFigure>(kCovariatePlanKinds), "one kind for every covariate plan figure");

constexpr FigureKind kFamilyPlanKinds[] = {
    Kind(FamilyPlanFigure::Versions, "versions", "", Unit::Count),
    Kind(FamilyPlanFigure::LevelPerComparison, "significance_level_per_comparison", "", Unit::Probability),
};
static_assert(EveryKindInOrder<FamilyPlanFigure>(kFamilyPlanKinds), "one kind for every figure of a family's plan");

}  // namespace

std::span<const FigureKind> PlanFigureKinds() { return kPlanKinds; }

double ComparisonLevel(double alpha, std::size_t versions)
{
    return versions > 2 ? alpha / static_cast<double>(versions - 1) : alpha;
}

std::span<const FigureKind> FamilyPlanFigureKinds() { return kFamilyPlanKinds; }

FigureList<FamilyPlanFigure> FamilyPlanFigures(double alpha, std::size_t versions)
{
    FigureList<FamilyPlanFigure> f(kFamilyPlanKinds);
    const double level = ComparisonLevel(alpha, versions);
    SetFigure(f[FamilyPlanFigure::Versions], static_cast<double>(versions), "Versions, the control among them",
              Grouped(static_cast<double>(versions)));
    SetFigure(f[FamilyPlanFigure::LevelPerComparison], level,
              "Significance level of each comparison with the control (Bonferroni)", Percent(level * 100));
    return f;
}

Outcome<FigureList<PlanFigure>> AnswerPlan(const PlanRequest& request)
{
    PlanInputs in = request.settings;
    // Each of the versions beyond the control compared with it at its share of the level.
    in.alpha = ComparisonLevel(in.alpha, request.versions);
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
    // More versions than two are all planned alike, the control's observations each.
    const double total = request.versions > 2 ? rounded.first * static_cast<double>(request.versions)
                                              : rounded.first + rounded.second;
    // An effect the user gave is echoed as given, not as it comes back from the ratios.
    const double relativePercent = request.effect && relative ? *request.effect : (variant / in.baseline - 1) * 100;
    const double absolutePoints = request.effect && !relative ? *request.effect : (variant - in.baseline) * 100;

    FigureList<PlanFigure> f(kPlanKinds);
    const auto both = [](const VersionPair& pair, auto write) {
        return write(pair.first) + " for A and " + write(pair.second) + " for B";
    };
    SetFigure(f[P::Observations], rounded, request.effect ? "Observations needed" : "Observations",
        both(rounded, Grouped));
    SetFigure(f[P::ObservationsUnrounded], unrounded, "Observations, unrounded",
        both(unrounded, [](double x) { return Fixed(x, 2); }));
    SetFigure(f[P::Total], total, "Observations in all", Grouped(total));
    if (in.dailyObservations) {
        const double days = std::ceil(total / *in.dailyObservations);
        SetFigure(f[P::Days], days, "Days at " + Grouped(*in.dailyObservations) + " observations a day", Grouped(days));
    } else {
        SetFigure(f[P::Days], {}, "Days", "no daily observations given");
    }
    SetFigure(f[P::Baseline], in.baseline * 100, "Version A's response ratio (baseline)", Percent(in.baseline * 100));
    SetFigure(f[P::Variant], variant * 100, request.effect ? "Version B's response ratio to detect"
                                                     : "Version B's smallest detectable response ratio",
        Percent(variant * 100));
    SetFigure(f[P::Relative], relativePercent, "Effect, relative", Percent(relativePercent));
    SetFigure(f[P::Absolute], absolutePoints, "Effect, absolute", PercentText(absolutePoints) + " points");
    SetFigure(f[P::Alpha], request.settings.alpha, "Significance level", Percent(request.settings.alpha * 100));
    SetFigure(f[P::Power], in.power, "Power", Percent(in.power * 100));
    SetFigure(f[P::TwoSided], in.twoSided, "Two-sided test", in.twoSided ? "yes" : "no, one-sided");
    SetFigure(f[P::Split], in.sharePercent, "Version A's share of the observations", Percent(in.sharePercent));
    return f;
}

std::span<const FigureKind> MeansPlanFigureKinds() { return kMeansPlanKinds; }

Outcome<FigureList<MeansPlanFigure>> AnswerMeansPlan(const MeansPlanRequest& r)
{
    if (r.relative && !r.average) {
        return Problem(Reason::RelativeEffectNeedsAverage, Input::Effect);
    }
    const double delta = r.relative ? r.effect / 100 * *r.average : r.effect;
    const double alpha = ComparisonLevel(r.alpha, r.versions);
    const Outcome<double> needed = ObservationsForMeans(delta, r.ResidualSd(), r.twoSided ? alpha : 2 * alpha, r.power);
    if (!needed) {
        return needed.Failure();
    }
    const double perVersion = std::ceil(*needed);
    const double total = static_cast<double>(r.versions) * perVersion;
    FigureList<MeansPlanFigure> f(kMeansPlanKinds);
    SetFigure(f[MP::Observations], perVersion, "Observations needed", Grouped(perVersion) + " for A and "
                                                                   + Grouped(perVersion) + " for B");
    SetFigure(f[MP::ObservationsUnrounded], *needed, "Observations, unrounded", Fixed(*needed, 2) + " a version");
    SetFigure(f[MP::Total], total, "Observations in all", Grouped(total));
    if (r.dailyObservations) {
        const double days = std::ceil(total / *r.dailyObservations);
        SetFigure(f[MP::Days], days, "Days at " + Grouped(*r.dailyObservations) + " observations a day", Grouped(days));
    } else {
        SetFigure(f[MP::Days], {}, "Days", "no daily observations given");
    }
    SetFigure(f[MP::Deviation], r.sd, "Standard deviation", NumberToText(r.sd));
    if (r.average) {
        SetFigure(f[MP::Average], *r.average, "Version A's average", NumberToText(*r.average));
        const double relative = r.relative ? r.effect : delta / *r.average * 100;
        SetFigure(f[MP::Relative], relative, "Effect, relative", Percent(relative));
    } else {
        SetFigure(f[MP::Average], {}, "Version A's average", "not given");
        SetFigure(f[MP::Relative], {}, "Effect, relative", "no average given");
    }
    SetFigure(f[MP::Absolute], delta, "Effect, absolute", NumberToText(delta));
    SetFigure(f[MP::Alpha], r.alpha, "Significance level", Percent(r.alpha * 100));
    SetFigure(f[MP::Power], r.power, "Power", Percent(r.power * 100));
    SetFigure(f[MP::TwoSided], r.twoSided, "Two-sided test", r.twoSided ? "yes" : "no, one-sided");
    return f;
}

std::span<const FigureKind> CovariatePlanFigureKinds() { return kCovariatePlanKinds; }

FigureList<CovariatePlanFigure> CovariatePlanFigures(const MeansPlanRequest& r)
{
    FigureList<CovariatePlanFigure> f(kCovariatePlanKinds);
    const double correlation = r.correlation.value_or(0);
    SetFigure(f[CovariatePlanFigure::Correlation], correlation, "Correlation with before the test",
              NumberToText(correlation));
    SetFigure(f[CovariatePlanFigure::ResidualDeviation], r.ResidualSd(),
              "Standard deviation left once before the test is taken out",
              StatisticText(r.ResidualSd()));
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
    SetFigure(f[S::ChiSquare], ratio->chiSquare, "Chi-square", StatisticText(ratio->chiSquare));
    SetFigure(f[S::PValue], ratio->pValue, "p value", PValueText(ratio->pValue));
    SetFigure(f[S::Mismatch], ratio->mismatch, "Sample ratio mismatch",
        ratio->mismatch ? "yes (the split is far from the intended one, which usually means the test was set up "
                          "or counted wrongly)"
                        : "none (the split is as close to the intended one as chance allows)");
    return f;
}

}  // namespace ambrelay

#include "engine/plan_figures.h"

#include <cmath>

#include "engine/figure_text.h"
#include "engine/sample_ratio.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

enum PlanFigure {
    kObservations, kObservationsUnrounded, kTotal, kDays, kBaseline, kVariant, kRelative, kAbsolute, kAlpha, kPower,
    kTwoSided, kSplit, kPlanFigures
};

enum SplitFigure { kChiSquare, kSplitP, kMismatch, kSplitFigures };

void Set(Figure& f, FigureValue value, std::string label, std::string words)
{
    f.value = std::move(value);
    f.label = std::move(label);
    f.words = std::move(words);
}

std::string Percent(double percent) { return PercentText(percent) + "%"; }

}  // namespace

const std::vector<FigureKind>& PlanFigureKinds()
{
    static const std::vector<FigureKind> kinds = {
        {"observations_per_version", "", Unit::Count},
        {"observations_per_version_unrounded", "", Unit::Count},
        {"observations_total", "", Unit::Count},
        {"days", "", Unit::Days},
        {"baseline_percent", "", Unit::Percent},
        {"variant_percent", "", Unit::Percent},
        {"mde_relative_percent", "", Unit::Percent},
        {"mde_absolute_points", "", Unit::Points},
        {"significance_level", "", Unit::Probability},
        {"power", "", Unit::Probability},
        {"two_sided", "", Unit::YesNo},
        {"split_percent", "", Unit::Percent},
    };
    return kinds;
}

PlanAnswer AnswerPlan(const PlanRequest& request)
{
    PlanInputs in = request.settings;
    const bool relative = in.kind == EffectKind::Relative;
    double variant = 0;
    VersionPair unrounded;
    if (request.effect) {
        in.effect = *request.effect / 100;
        const PlanOutcome outcome = PlanTest(in);
        if (!outcome.plan) {
            return {{}, outcome.problem, outcome.culprit};
        }
        variant = outcome.plan->variant;
        unrounded = {outcome.plan->perVersionA, outcome.plan->perVersionB};
    } else {
        const DetectableOutcome outcome = SmallestDetectableEffect(in, request.observationsPerVersion.value_or(0));
        if (!outcome.detectable) {
            return {{}, outcome.problem, outcome.culprit};
        }
        variant = outcome.detectable->variant;
        const double total = 2 * *request.observationsPerVersion;
        const double countA = total * (in.sharePercent / 100);
        unrounded = {countA, total - countA};
    }
    const VersionPair rounded{std::ceil(unrounded.first), std::ceil(unrounded.second)};
    const double total = rounded.first + rounded.second;
    // An effect the user gave is echoed as given, not as it comes back from the ratios.
    const double relativePercent = request.effect && relative ? *request.effect : (variant / in.baseline - 1) * 100;
    const double absolutePoints = request.effect && !relative ? *request.effect : (variant - in.baseline) * 100;

    PlanAnswer answer{BlankFigures(PlanFigureKinds()), {}, std::nullopt};
    std::vector<Figure>& f = answer.figures;
    const auto both = [](const VersionPair& pair, auto write) {
        return write(pair.first) + " for A and " + write(pair.second) + " for B";
    };
    Set(f[kObservations], rounded, request.effect ? "Observations needed" : "Observations",
        both(rounded, Grouped));
    Set(f[kObservationsUnrounded], unrounded, "Observations, unrounded",
        both(unrounded, [](double x) { return Fixed(x, 2); }));
    Set(f[kTotal], total, "Observations in all", Grouped(total));
    if (in.dailyObservations) {
        const double days = std::ceil(total / *in.dailyObservations);
        Set(f[kDays], days, "Days at " + Grouped(*in.dailyObservations) + " observations a day", Grouped(days));
    } else {
        Set(f[kDays], {}, "Days", "no daily observations given");
    }
    Set(f[kBaseline], in.baseline * 100, "Version A's response ratio (baseline)", Percent(in.baseline * 100));
    Set(f[kVariant], variant * 100, request.effect ? "Version B's response ratio to detect"
                                                   : "Version B's smallest detectable response ratio",
        Percent(variant * 100));
    Set(f[kRelative], relativePercent, "Effect, relative", Percent(relativePercent));
    Set(f[kAbsolute], absolutePoints, "Effect, absolute", PercentText(absolutePoints) + " points");
    Set(f[kAlpha], in.alpha, "Significance level", Percent(in.alpha * 100));
    Set(f[kPower], in.power, "Power", Percent(in.power * 100));
    Set(f[kTwoSided], in.twoSided, "Two-sided test", in.twoSided ? "yes" : "no, one-sided");
    Set(f[kSplit], in.sharePercent, "Version A's share of the observations", Percent(in.sharePercent));
    return answer;
}

const std::vector<FigureKind>& SplitFigureKinds()
{
    static const std::vector<FigureKind> kinds = {
        {"chi_square", "", Unit::Statistic},
        {"p_value", "", Unit::PValue},
        {"mismatch", "", Unit::YesNo},
    };
    return kinds;
}

SplitAnswer AnswerSplit(double observations1, double observations2, double sharePercent)
{
    const std::optional<SampleRatio> ratio = CheckSampleRatio(observations1, observations2, sharePercent);
    if (!ratio) {
        return {{}, "The observations must be zero or more and not both zero, and the intended share must lie "
                    "between 0% and 100%, both excluded."};
    }
    SplitAnswer answer{BlankFigures(SplitFigureKinds()), {}};
    std::vector<Figure>& f = answer.figures;
    Set(f[kChiSquare], ratio->chiSquare, "Chi-square", NumberToText(RoundDecimal(ratio->chiSquare, 2)));
    Set(f[kSplitP], ratio->pValue, "p value", PValueText(ratio->pValue));
    Set(f[kMismatch], ratio->mismatch, "Sample ratio mismatch",
        ratio->mismatch ? "yes (the split is far from the intended one, which usually means the test was set up "
                          "or counted wrongly)"
                        : "none (the split is as close to the intended one as chance allows)");
    return answer;
}

}  // namespace ambrelay

#include "engine/test_plan.h"

#include <cmath>

#include "engine/portable_math.h"

namespace ambrelay {
namespace {

bool Within(double x, double low, double high) { return x > low && x < high; }

// What is wrong with the inputs other than the effect, if anything.
std::optional<Problem> InputProblem(const PlanInputs& in)
{
    if (!Within(in.baseline, 0, 1)) {
        return Problem(Reason::BaselineOutOfRange, Input::Baseline);
    }
    if (!Within(in.alpha, 0, 1)) {
        return Problem(Reason::AlphaOutOfRange, Input::Alpha);
    }
    if (!Within(in.power, 0, 1)) {
        return Problem(Reason::PowerOutOfRange, Input::Power);
    }
    if (!Within(in.sharePercent, 0, 100)) {
        return Problem(Reason::ShareOutOfRange, Input::Share);
    }
    if (in.dailyObservations && !(*in.dailyObservations > 0 && std::isfinite(*in.dailyObservations))) {
        return Problem(Reason::DailyNotPositive, Input::Daily);
    }
    return std::nullopt;
}

struct Quantiles {
    double alpha;  // the significance level's z
    double beta;   // the power's z
};

Quantiles QuantilesOf(const PlanInputs& in)
{
    return {math::NormalQuantile(1 - in.alpha / (in.twoSided ? 2 : 1)), math::NormalQuantile(in.power)};
}

// Observations in all, unrounded, for ratios p1 (version A) and p2.
double TotalNeeded(const PlanInputs& in, const Quantiles& z, double p1, double p2)
{
    const double s = in.sharePercent / 100;
    const double pooled = s * p1 + (1 - s) * p2;
    const double underNull = pooled * (1 - pooled) * (1 / s + 1 / (1 - s));
    const double underEffect = p1 * (1 - p1) / s + p2 * (1 - p2) / (1 - s);
    const double root = z.alpha * std::sqrt(underNull) + z.beta * std::sqrt(underEffect);
    return root * root / ((p1 - p2) * (p1 - p2));
}

}  // namespace

double ObservationsPerVersion(double p1, double p2, const PlanInputs& settings)
{
    PlanInputs even = settings;
    even.sharePercent = 50;
    // The default settings' quantiles once: every finished calculation asks.
    static const Quantiles kDefault = QuantilesOf(PlanInputs{});
    const bool usual = even.alpha == PlanInputs{}.alpha && even.power == PlanInputs{}.power && even.twoSided;
    return TotalNeeded(even, usual ? kDefault : QuantilesOf(even), p1, p2) / 2;
}

PlanOutcome PlanTest(const PlanInputs& in)
{
    if (const auto problem = InputProblem(in)) {
        return *problem;
    }
    const double variant = in.kind == EffectKind::Relative ? in.baseline * (1 + in.effect) : in.baseline + in.effect;
    if (!Within(variant, 0, 1)) {
        return Problem(Reason::VariantOutOfRange, Input::Effect);
    }
    if (variant == in.baseline) {
        return Problem(Reason::ZeroEffect, Input::Effect);
    }
    const double total = TotalNeeded(in, QuantilesOf(in), in.baseline, variant);
    if (!std::isfinite(total)) {
        return Problem(Reason::TooManyObservations, Input::Effect);
    }
    Plan plan;
    plan.variant = variant;
    // The share as a fraction first, as the total was computed with it, so an
    // even split gives both versions the very same unrounded count.
    plan.perVersionA = total * (in.sharePercent / 100);
    plan.perVersionB = total - plan.perVersionA;
    plan.neededA = std::ceil(plan.perVersionA);
    plan.neededB = std::ceil(plan.perVersionB);
    plan.total = plan.neededA + plan.neededB;
    if (in.dailyObservations) {
        plan.days = std::ceil(plan.total / *in.dailyObservations);
    }
    return plan;
}

DetectableOutcome SmallestDetectableEffect(const PlanInputs& in, double perVersion)
{
    if (const auto problem = InputProblem(in)) {
        return *problem;
    }
    if (!(perVersion > 0 && std::isfinite(perVersion))) {
        return Problem(Reason::ObservationsNotPositive, Input::Observations);
    }
    // Fewer observations are needed the further version B's ratio lies from
    // the baseline; halve the interval until the need meets what there is.
    const double available = 2 * perVersion;
    const Quantiles z = QuantilesOf(in);
    double near = in.baseline;
    double far = 1 - 1e-12;
    if (TotalNeeded(in, z, in.baseline, far) > available) {
        return Problem(Reason::TooFewObservations, Input::Observations);
    }
    for (int i = 0; i < 200 && far - near > 1e-15; ++i) {
        const double middle = (near + far) / 2;
        (TotalNeeded(in, z, in.baseline, middle) > available ? near : far) = middle;
    }
    Detectable d;
    d.variant = far;
    d.absolutePoints = (far - in.baseline) * 100;
    d.relativePercent = (far / in.baseline - 1) * 100;
    return d;
}

double PowerOfTest(double p1, double p2, double perVersion, double alpha, bool twoSided)
{
    if (!Within(p1, 0, 1) || !Within(p2, 0, 1) || !(perVersion > 0) || !Within(alpha, 0, 1)) {
        return std::nan("");
    }
    const double zAlpha = math::NormalQuantile(1 - alpha / (twoSided ? 2 : 1));
    const double pooled = (p1 + p2) / 2;
    const double shift = std::sqrt(perVersion) * std::fabs(p1 - p2) - zAlpha * std::sqrt(2 * pooled * (1 - pooled));
    return math::NormalCdf(shift / std::sqrt(p1 * (1 - p1) + p2 * (1 - p2)));
}

}  // namespace ambrelay

#include "engine/looking_early.h"

#include <algorithm>
#include <cmath>

#include "engine/portable_math.h"

namespace ambrelay {

AlwaysValidOutcome AlwaysValidTest(const Counts& c, double planned, double alpha)
{
    const double n = c.views1 + c.views2;
    if (!(c.views1 > 0 && c.views2 > 0)) {
        return Reason::NoObservationsOfBoth;
    }
    if (!(planned > 0 && std::isfinite(planned))) {
        return Problem(Reason::NoPlannedObservations, Input::Planned);
    }
    const double pa = c.responses1 / c.views1;
    const double pb = c.responses2 / c.views2;
    const double spread = pa * (1 - pa) / c.views1 + pb * (1 - pb) / c.views2;
    if (!(spread > 0) || !std::isfinite(spread)) {
        return Reason::NoSpread;
    }
    const AlwaysValidOutcome test = AlwaysValidTest(pb - pa, spread, n, planned, alpha);
    if (!test) {
        return test;
    }
    // In percentage points.
    return AlwaysValid{test->pValue, {test->differencePoints.low * 100, test->differencePoints.high * 100}};
}

AlwaysValidOutcome AlwaysValidTest(double delta, double spread, double n, double planned, double alpha)
{
    if (!(planned > 0 && std::isfinite(planned))) {
        return Problem(Reason::NoPlannedObservations, Input::Planned);
    }
    if (!(spread > 0) || !std::isfinite(spread)) {
        return Reason::NoSpread;
    }
    const double z = delta / std::sqrt(spread);
    const double logAlpha = math::Log(alpha);
    const double rho2 = (-2 * logAlpha + math::Log(1 - 2 * logAlpha)) / planned;
    const double grown = 1 + n * rho2;
    AlwaysValid test;
    test.pValue = std::min(1.0, std::sqrt(grown) * math::Exp(-rho2 * n * z * z / (2 * grown)));
    const double half =
        std::sqrt(n * spread) * std::sqrt(2 * grown * (0.5 * math::Log(grown) - logAlpha) / (n * n * rho2));
    test.differencePoints = {delta - half, delta + half};
    if (!std::isfinite(test.pValue) || !std::isfinite(half)) {
        return Reason::BeyondDoubles;
    }
    return test;
}

NonInferiorityOutcome TestNonInferiority(const Counts& c, const Margin& margin, double alpha)
{
    if (const auto problem = MarginProblem(margin)) {
        return *problem;
    }
    const double pa = c.responses1 / c.views1;
    const double pb = c.responses2 / c.views2;
    double estimate = 0, error = 0;
    if (margin.kind == MarginKind::Points) {
        estimate = pb - pa + margin.size / 100;
        error = std::sqrt(pa * (1 - pa) / c.views1 + pb * (1 - pb) / c.views2);
    } else {
        if (!(c.responses1 > 0 && c.responses2 > 0)) {
            return Problem(Reason::RelativeMarginNeedsResponses, Input::Margin);
        }
        estimate = math::Log(pb / pa) - math::Log1p(-margin.size / 100);
        error = std::sqrt(1 / c.responses2 - 1 / c.views2 + 1 / c.responses1 - 1 / c.views1);
    }
    return TestNonInferiority(estimate, error, alpha);
}

NonInferiorityOutcome TestNonInferiority(double estimate, double error, double alpha)
{
    if (!(error > 0) || !std::isfinite(error) || !std::isfinite(estimate)) {
        return Reason::NoMarginSpread;
    }
    NonInferiority test;
    test.z = estimate / error;
    test.pValue = math::Erfc(test.z / std::sqrt(2.0)) / 2;
    // The lower bound of the two-sided (1 - 2 alpha) interval clears the
    // margin exactly when z passes the one-sided quantile.
    test.notWorse = test.z > math::NormalQuantile(1 - alpha);
    return test;
}

std::optional<Problem> MarginProblem(const Margin& margin)
{
    const bool within = margin.size > 0 && std::isfinite(margin.size)
                        && (margin.kind == MarginKind::Points || margin.size < 100);
    if (within) {
        return std::nullopt;
    }
    return Problem(margin.kind == MarginKind::Points ? Reason::PointsMarginOutOfRange
                                                     : Reason::RelativeMarginOutOfRange,
                   Input::Margin);
}

}  // namespace ambrelay

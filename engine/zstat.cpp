#include "engine/zstat.h"

#include <cmath>
#include <initializer_list>

#include "numbers/number_text.h"

namespace ambrelay {
namespace {

bool AllFinite(std::initializer_list<double> values)
{
    for (const double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

ZStatOutcome Fail(ComparisonResult partial, ZStatStep step, Reason reason)
{
    return {std::move(partial), ZStatFailure{step, reason}};
}

// A zero standard error has a plain cause when the pooled ratio is 0 or 1;
// anything else is a count beyond what doubles can carry.
Reason ZeroErrorReason(double pooledRatio)
{
    if (pooledRatio == 0.0) {
        return Reason::NoResponses;
    }
    if (pooledRatio == 1.0) {
        return Reason::AllResponded;
    }
    return Reason::OutOfRange;
}

}  // namespace

ZStatOutcome ComputeZStat(double views1, double responses1, double views2, double responses2)
{
    ComparisonResult r;
    // The input checks let negative counts through; a verdict on them would
    // describe a test that cannot exist, so the calculation refuses them.
    if (views1 < 0.0 || responses1 < 0.0 || views2 < 0.0 || responses2 < 0.0) {
        return Fail(r, ZStatStep::Views, Reason::NegativeCount);
    }
    if (!AllFinite({views1, responses1, views2, responses2})) {
        return Fail(r, ZStatStep::Views, Reason::OutOfRange);
    }
    r.Views1 = views1;
    r.Views2 = views2;

    // Steps 2 and 3, version 1's ratio and then version 2's.
    const struct {
        double views, responses;
        double ComparisonResult::*ratio;
        ZStatStep step;
        Reason noViews;
    } versions[] = {{views1, responses1, &ComparisonResult::Ratio1, ZStatStep::Ratio1, Reason::NoViews1},
                    {views2, responses2, &ComparisonResult::Ratio2, ZStatStep::Ratio2, Reason::NoViews2}};
    for (const auto& v : versions) {
        if (v.views == 0.0) {
            return Fail(r, v.step, v.noViews);
        }
        const double ratio = v.responses / v.views;
        if (!AllFinite({ratio})) {
            return Fail(r, v.step, Reason::OutOfRange);
        }
        r.*v.ratio = ratio;
    }

    const double allResponses = responses1 + responses2;
    const double allViews = views2 + views1;
    const double pooled = allResponses / allViews;
    if (!AllFinite({allResponses, allViews, pooled})) {
        return Fail(r, ZStatStep::PooledRatio, Reason::OutOfRange);
    }
    r.PooledRatio = pooled;

    // Grouped as the test defines it: p(1 - p) times the sum of reciprocals.
    const double spread = r.PooledRatio * (1 - r.PooledRatio);
    const double reciprocals = (1 / r.Views1) + (1 / r.Views2);
    const double variance = spread * reciprocals;
    const double standardError = std::sqrt(variance);
    if (!AllFinite({spread, reciprocals, variance, standardError})) {
        return Fail(r, ZStatStep::StandardError, Reason::OutOfRange);
    }

    if (standardError == 0.0) {
        return Fail(r, ZStatStep::ZValue, ZeroErrorReason(r.PooledRatio));
    }
    const double z = (r.Ratio1 - r.Ratio2) / standardError;
    if (!AllFinite({z})) {
        return Fail(r, ZStatStep::ZValue, Reason::OutOfRange);
    }
    r.StandardError = standardError;
    r.Z = z;

    // Rounding comes before the sign test, so a z that rounds to 0 names no
    // winner whichever version is ahead.
    r.ZStat = RoundDecimal(z, 2);
    if (r.ZStat < 0) {
        r.ZStat = -r.ZStat;
        r.winner = Version::B;
    } else {
        r.winner = Version::A;
    }
    if (r.ZStat == 0) {
        r.ZStat = 0.0;  // a z just below zero rounds to -0; show it as 0
        r.winner = std::nullopt;
    }
    return {r, std::nullopt};
}

void StoreCompletedSteps(const ZStatOutcome& outcome, ComparisonResult& variables)
{
    const ComparisonResult& r = outcome.result;
    const int completed = outcome.failure ? static_cast<int>(outcome.failure->step) - 1 : 7;
    if (completed >= 1) {
        variables.Views1 = r.Views1;
        variables.Views2 = r.Views2;
    }
    if (completed >= 2) {
        variables.Ratio1 = r.Ratio1;
    }
    if (completed >= 3) {
        variables.Ratio2 = r.Ratio2;
    }
    if (completed >= 4) {
        variables.PooledRatio = r.PooledRatio;
    }
    if (completed >= 7) {
        variables.StandardError = r.StandardError;
        variables.Z = r.Z;
        variables.ZStat = r.ZStat;
        variables.winner = r.winner;
    }
}

}  // namespace ambrelay

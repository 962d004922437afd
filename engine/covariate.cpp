#include "engine/covariate.h"

#include <cmath>

namespace ambrelay {

Outcome<CovariateSummary> SummaryOf(const CovariateMoments& m)
{
    const double denominator = m.Mean(1), covariateDenominator = m.Mean(3);
    if (denominator == 0 || covariateDenominator == 0) {
        return Reason::NoDenominator;
    }
    CovariateSummary s;
    s.n = m.Count();
    s.mean = m.Mean(0) / denominator;
    s.covariateMean = m.Mean(2) / covariateDenominator;
    if (s.n > 1) {
        // Each user's contribution to a ratio, (y - R d) / mean(d); for an average, y - mean(y).
        const double r = s.mean, rx = s.covariateMean, free = s.n - 1;
        s.variance = (m.Sum(0, 0) - 2 * r * m.Sum(0, 1) + r * r * m.Sum(1, 1)) / (free * denominator * denominator);
        s.covariateVariance = (m.Sum(2, 2) - 2 * rx * m.Sum(2, 3) + rx * rx * m.Sum(3, 3))
                              / (free * covariateDenominator * covariateDenominator);
        s.covariance = (m.Sum(0, 2) - rx * m.Sum(0, 3) - r * m.Sum(1, 2) + r * rx * m.Sum(1, 3))
                       / (free * denominator * covariateDenominator);
    }
    return s;
}

CovariateFit FitCovariate(const CovariateSummary& everyone)
{
    CovariateFit fit;
    fit.covariateMean = everyone.covariateMean;
    if (everyone.covariateVariance > 0 && std::isfinite(everyone.covariance / everyone.covariateVariance)) {
        fit.theta = everyone.covariance / everyone.covariateVariance;
    } else {
        fit.constant = true;
    }
    return fit;
}

namespace {

// V = s²_Y + θ² s²_X − 2θ s_XY, never below 0 for rounding's sake.
double AdjustedVariance(const CovariateSummary& v, double theta)
{
    return std::fmax(v.variance + theta * theta * v.covariateVariance - 2 * theta * v.covariance, 0.0);
}

}  // namespace

MeanSummary AdjustedSummary(const CovariateSummary& v, const CovariateFit& fit)
{
    return {v.n, v.mean - fit.theta * (v.covariateMean - fit.covariateMean), std::sqrt(AdjustedVariance(v, fit.theta))};
}

double VarianceReduction(const CovariateSummary& v, const CovariateFit& fit)
{
    return v.variance > 0 ? 1 - AdjustedVariance(v, fit.theta) / v.variance : 0.0;
}

Outcome<MeansComparison> CompareAdjustedMeans(const CovariateSummary& a, const CovariateSummary& b,
                                              const CovariateFit& fit, Better better, bool ratios,
                                              double splitPercentA, double intervalLevel)
{
    const MeanSummary adjustedA = AdjustedSummary(a, fit), adjustedB = AdjustedSummary(b, fit);
    Outcome<MeansComparison> compared =
        CompareMeans(adjustedA, adjustedB, better, ratios, splitPercentA, intervalLevel);
    if (!compared) {
        return compared;
    }
    MeansComparison& c = *compared;
    const bool aLeads = c.leader == Version::A;
    const CovariateSummary& other = aLeads ? b : a;
    const double d = aLeads ? -c.difference : c.difference;  // the leader's adjusted average minus the other's
    const double theta = fit.theta, z = IntervalZ(intervalLevel);
    c.liftIntervalPercent = Reason::NoDifference;
    if (c.identical) {
        c.liftPercent = 0.0;
        return compared;
    }
    if (other.mean == 0) {
        c.liftPercent = Reason::OtherNeverResponded;
        return compared;
    }
    const double o = other.mean, no = other.n;
    c.liftPercent = d / o * 100;
    if (std::fabs(o) <= z * std::sqrt(other.variance / no)) {
        c.liftIntervalPercent = Reason::OtherMeanNearZero;
        return compared;
    }
    const double va = AdjustedVariance(a, theta) / a.n, vb = AdjustedVariance(b, theta) / b.n;
    const double variance = (va + vb) / (o * o) + 2 * d * (other.variance - theta * other.covariance) / (no * o * o * o)
                            + d * d * other.variance / (no * o * o * o * o);
    const double spread = z * std::sqrt(std::fmax(variance, 0.0));
    c.liftIntervalPercent = Interval{(d / o - spread) * 100, (d / o + spread) * 100};
    return compared;
}

}  // namespace ambrelay

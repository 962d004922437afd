#pragma once
// What each user did before the test, taken out of what they did during it
// (CUPED): the part of a metric Y that a covariate X measured before the
// test predicts is subtracted, so the comparison keeps its meaning and loses
// noise. θ = Cov(Y, X) / Var(X) over every version's users together; each
// version's adjusted mean Ȳ − θ (X̄ − X̄ of all) stays on the metric's scale,
// with the variance s²_Y + θ² s²_X − 2θ s_XY of its own users.

#include <span>

#include "engine/co_moments.h"
#include "engine/means.h"

namespace ambrelay {

// The four columns of a user's row, in CoMoments' order: the metric (or a
// ratio metric's numerator), its denominator (1 for an average), the
// covariate (or its numerator), the covariate's denominator (1 likewise).
using CovariateMoments = CoMoments<4>;

// A metric and its covariate over one version's users (or everyone's), each
// a mean, or a ratio of means whose users' contributions are linearised as
// the delta method does: (y − R d) / mean(d).
struct CovariateSummary {
    double n = 0;
    double mean = 0;           // the average, or the ratio
    double covariateMean = 0;  // likewise
    double variance = 0;       // s²_Y, n − 1 in the divisor
    double covariateVariance = 0;
    double covariance = 0;     // s_XY
};

// NoDenominator when a denominator's mean is 0.
Outcome<CovariateSummary> SummaryOf(const CovariateMoments& moments);

struct CovariateFit {
    double theta = 0;
    double covariateMean = 0;  // of every user
    bool constant = false;     // the covariate does not vary: θ is 0, and the plain figures stand
};

// θ from everyone's summary.
CovariateFit FitCovariate(const CovariateSummary& everyone);

// The version's average after the adjustment, with the standard deviation
// whose square over n is its variance.
MeanSummary AdjustedSummary(const CovariateSummary& version, const CovariateFit& fit);

// The share of the metric's variance the adjustment takes away: 1 − V / s²_Y.
double VarianceReduction(const CovariateSummary& version, const CovariateFit& fit);

// Welch's test (a z test for ratio metrics) on the adjusted averages and
// variances, as CompareMeans makes it; the lift is the adjusted difference
// over the other version's plain average, its interval the delta method's
// with the covariance of that difference with the plain average, which does
// not move when the covariate is shifted by a constant, and which is
// CompareMeans' own lift when θ is 0.
Outcome<MeansComparison> CompareAdjustedMeans(const CovariateSummary& a, const CovariateSummary& b,
                                              const CovariateFit& fit, Better better = Better::Higher,
                                              bool ratios = false, double splitPercentA = 50,
                                              double intervalLevel = 0.95);

}  // namespace ambrelay

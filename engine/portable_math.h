#pragma once
// The elementary and special functions the statistics need, computed from
// + - * / and the square root alone. Those are exact IEEE operations, so every
// build on every system gets the very same bits, where the C libraries' exp,
// log, lgamma and erfc differ from one system to another in their last
// digits, and the command line prints its figures unrounded. Each is good to
// a few units in the last place unless its comment says otherwise.

namespace ambrelay::math {

double Exp(double x);
// The natural logarithm: minus infinity at 0, NaN below.
double Log(double x);
// log(1 + x), precise for x near 0.
double Log1p(double x);
// exp(x) - 1, precise for x near 0.
double Expm1(double x);
// The logarithm of the gamma function, for x > 0. Its absolute error grows
// with the size of the result (about 1e-9 at x = 1e6).
double LogGamma(double x);
// ln B(a, b) = ln Gamma(a) + ln Gamma(b) - ln Gamma(a + b), for a, b > 0,
// without the cancellation of three large logarithms when a is large.
double LogBeta(double a, double b);
// The complementary error function, 1 - erf(x).
double Erfc(double x);

// P(Z <= z) for the standard normal.
double NormalCdf(double z);
// The z with P(Z <= z) = probability.
double NormalQuantile(double probability);
// P(X > x) for a chi-square variable with one degree of freedom.
double ChiSquaredOneUpperTail(double x);
// P(X > x) for a chi-square variable with `df` degrees of freedom (above 0):
// the regularised upper incomplete gamma function Q(df / 2, x / 2).
double ChiSquaredUpperTail(double x, double df);

// The binomial probability of k in n trials with chance p, where q = 1 - p is
// given apart for precision; k and n may have fractions (the gamma function
// takes the factorials' place). Loader's saddle-point form keeps full
// precision for counts in the billions.
double BinomialDensity(double k, double n, double p, double q);
// The density at x of Beta(a, b), for a, b >= 1; good to about 1e-10 of
// itself where the shapes reach a billion.
double BetaDensity(double x, double a, double b);
// The continued fraction of the regularised incomplete beta function I_x(a,
// b), with y = 1 - x given apart (modified Lentz): I_x(a, b) is
// x^a y^b / (a B(a, b)) times it, and it converges fast for
// x < (a + 1) / (a + b + 2).
double BetaContinuedFraction(double x, double y, double a, double b);
// P(X > x) for X ~ Beta(a, b), for a, b >= 1; good to about 1e-8 of itself
// where the shapes reach a billion, far finer than the chance to beat needs.
double BetaUpperTail(double x, double a, double b);

}  // namespace ambrelay::math

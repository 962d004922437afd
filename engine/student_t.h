#pragma once
// Student's t distribution, central and noncentral, from the engine's own
// elementary functions, so that every system prints the same digits.

namespace ambrelay::math {

// I_x(a, b), the regularized incomplete beta function, with y = 1 - x given
// apart so that neither loses digits near 1.
double IncompleteBeta(double a, double b, double x, double y);

// P(T > t) for T with `df` degrees of freedom (any df > 0, fractions too);
// good to about 1e-9 of itself up to ten million degrees of freedom.
double StudentTUpperTail(double t, double df);

// The t with P(T > t) = probability, for probability in (0, 1).
double StudentTUpperQuantile(double probability, double df);

// P(T > t) for the noncentral t with `df` degrees of freedom and
// noncentrality `ncp`, by the series of Lenth's algorithm AS 243.
double NoncentralTUpperTail(double t, double df, double ncp);

}  // namespace ambrelay::math

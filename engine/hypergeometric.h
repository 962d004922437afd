#pragma once
// The hypergeometric law of a 2 x 2 table with fixed margins: the count a in
// its first cell when n1 items are drawn from n1 + n2, of which k are marked.
// Fisher's exact test and the chance to beat are both tails of it.

namespace ambrelay {

struct Margins {
    double n1, n2, k;
    double Lowest() const;
    double Highest() const;
    double Mode() const;
    // P(a + 1) / P(a), and its inverse for the step down.
    double Up(double a) const { return (k - a) * (n1 - a) / ((a + 1) * (n2 - k + a + 1)); }
    double Down(double a) const { return a * (n2 - k + a) / ((k - a + 1) * (n1 - a + 1)); }
};

// P(a), as Loader's split into three binomial probabilities, which keeps
// nearly full precision where the differences of huge log-factorials would
// lose it.
double TableProbability(const Margins& m, double a);

// The sum of P(x) / P(a) for x from `from` outward, away from the mode
// (upward or downward), where `weight` is P(from) / P(a). The terms are
// log-concave, so they stop counting once the rest is provably below 1e-17
// of the sum.
double TailFrom(const Margins& m, double from, double weight, bool upward);

// P(H <= x), summed on the side of x that holds the smaller tail, so only
// the terms that count are visited: about the square root of the counts.
double LowerTail(const Margins& m, double x);

}  // namespace ambrelay

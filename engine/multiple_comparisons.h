#pragma once
// A family of comparisons judged honestly: each version against the
// control, the p values adjusted for how many there are, as R's p.adjust
// adjusts them, and the intervals widened where the correction asks it.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace ambrelay {

// The most versions one test compares: a control and nineteen others.
inline constexpr std::size_t kMostVersions = 20;

enum class Adjustment {
    Holm,               // the family-wise error, step down: never less strict than needed, never wrong
    Hochberg,           // the family-wise error, step up, for independent or positively related tests
    BenjaminiHochberg,  // the share of false winners among the winners (false discovery rate)
    Bonferroni,         // each p times the number of comparisons, with intervals to match
    None,
};

// The p values adjusted for a family of p.size() comparisons, in their order.
std::vector<double> AdjustPValues(std::span<const double> p, Adjustment adjustment);

// Each comparison's interval's two-sided level: 95%, or 1 - 0.05/m under
// Bonferroni for m comparisons.
double IntervalLevel(Adjustment adjustment, std::size_t comparisons);

// "holm", "hochberg", "BH", "bonferroni", "none": R's names, which the
// options take (case aside, "bh" and "fdr" for Benjamini-Hochberg too);
// false for any other name.
bool AdjustmentNamed(std::string_view name, Adjustment& adjustment);
const char* AdjustmentName(Adjustment adjustment);

}  // namespace ambrelay

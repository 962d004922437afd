#include "engine/multiple_comparisons.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <string>

namespace ambrelay {

std::vector<double> AdjustPValues(std::span<const double> p, Adjustment adjustment)
{
    const std::size_t m = p.size();
    std::vector<double> adjusted(p.begin(), p.end());
    if (m == 0 || adjustment == Adjustment::None) {
        return adjusted;
    }
    const double count = static_cast<double>(m);
    if (adjustment == Adjustment::Bonferroni) {
        for (double& x : adjusted) {
            x = std::min(1.0, x * count);
        }
        return adjusted;
    }
    // The places of the p values from the smallest up; ties keep their order.
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
    if (adjustment == Adjustment::Holm) {
        // The i-th smallest (from 0) times m - i, capped at 1, never below the one before.
        double running = 0;
        for (std::size_t i = 0; i < m; ++i) {
            running = std::max(running, std::min(1.0, p[order[i]] * (count - static_cast<double>(i))));
            adjusted[order[i]] = running;
        }
        return adjusted;
    }
    // Hochberg and Benjamini-Hochberg step up: from the largest down, never above the one after.
    double running = 1;
    for (std::size_t i = m; i-- > 0;) {
        const double rank = static_cast<double>(i);
        const double scaled = adjustment == Adjustment::Hochberg ? p[order[i]] * (count - rank)
                                                                 : p[order[i]] * count / (rank + 1);
        running = std::min(running, std::min(1.0, scaled));
        adjusted[order[i]] = running;
    }
    return adjusted;
}

double IntervalLevel(Adjustment adjustment, std::size_t comparisons)
{
    return adjustment == Adjustment::Bonferroni && comparisons > 1 ? 1 - 0.05 / static_cast<double>(comparisons)
                                                                  : 0.95;
}

bool AdjustmentNamed(std::string_view name, Adjustment& adjustment)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const struct {
        const char* name;
        Adjustment adjustment;
    } known[] = {{"holm", Adjustment::Holm},      {"hochberg", Adjustment::Hochberg},
                 {"bh", Adjustment::BenjaminiHochberg}, {"fdr", Adjustment::BenjaminiHochberg},
                 {"bonferroni", Adjustment::Bonferroni}, {"none", Adjustment::None}};
    for (const auto& k : known) {
        if (lower == k.name) {
            adjustment = k.adjustment;
            return true;
        }
    }
    return false;
}

const char* AdjustmentName(Adjustment adjustment)
{
    switch (adjustment) {
    case Adjustment::Holm:
        return "holm";
    case Adjustment::Hochberg:
        return "hochberg";
    case Adjustment::BenjaminiHochberg:
        return "BH";
    case Adjustment::Bonferroni:
        return "bonferroni";
    case Adjustment::None:
        break;
    }
    return "none";
}

}  // namespace ambrelay

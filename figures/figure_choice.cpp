#include "figures/figure_choice.h"

#include <algorithm>

namespace ambrelay {

std::vector<std::string> FigureNames(std::string_view list)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string_view name = list.substr(start, comma - start);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
            name.remove_prefix(1);
        }
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
            name.remove_suffix(1);
        }
        names.emplace_back(name);
        if (comma == list.size()) {
            return names;
        }
        start = comma + 1;
    }
}

Outcome<std::vector<FigureKind>> ChooseFigures(std::span<const FigureKind> kinds,
                                               const std::vector<std::string>& names,
                                               const std::vector<std::string>& inputs, const Origin& from)
{
    const auto unknown = [&](const std::string& name) {
        Problem problem = ProblemAt(Reason::UnknownFigure, from, name);
        for (const FigureKind& kind : kinds) {
            problem.names.emplace_back(kind.key);
        }
        return problem;
    };
    std::vector<FigureKind> chosen;
    for (const std::string& name : names) {
        const auto named = std::find_if(kinds.begin(), kinds.end(), [&](const FigureKind& kind) {
            const std::string interval = kind.intervalKey;
            return name == kind.key
                   || (!interval.empty()
                       && (name == interval || name == interval + "_low" || name == interval + "_high"));
        });
        if (named != kinds.end()) {
            const bool again = std::any_of(chosen.begin(), chosen.end(),
                                           [&](const FigureKind& kind) { return kind.id == named->id; });
            if (!again) {
                chosen.push_back(*named);
            }
        } else if (std::find(inputs.begin(), inputs.end(), name) == inputs.end()) {
            return unknown(name);
        }
    }
    if (std::all_of(names.begin(), names.end(), [](const std::string& name) { return name.empty(); })) {
        return unknown("");
    }
    return chosen;
}

JudgementChoice JudgementChoiceOf(std::span<const FigureKind> chosen)
{
    JudgementChoice choice;
    for (const FigureKind& kind : chosen) {
        choice.set(static_cast<std::size_t>(kind.id));
    }
    return choice;
}

}  // namespace ambrelay

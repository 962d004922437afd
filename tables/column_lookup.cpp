#include "tables/column_lookup.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace ambrelay::tables {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

}  // namespace

Outcome<std::size_t> FindColumn(const std::vector<std::string>& names, const std::string& wanted, bool noHeader)
{
    const std::string name = Trimmed(wanted);
    const auto miss = [&](Reason reason) {
        Problem problem(reason, NameKind::Column, name, name);
        problem.names = names;
        problem.count = names.size();
        return problem;
    };
    const bool position = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isdigit(c);
    });
    if (position) {
        const std::size_t n = name.size() > 6 ? 0 : std::stoul(name);
        if (n < 1 || n > names.size()) {
            return miss(Reason::NoSuchPosition);
        }
        return n - 1;
    }
    if (noHeader) {
        return miss(Reason::PositionsOnly);
    }
    const auto it = std::find_if(names.begin(), names.end(),
                                 [&](const std::string& h) { return Lower(Trimmed(h)) == Lower(name); });
    if (it == names.end()) {
        return miss(Reason::NoSuchColumn);
    }
    return static_cast<std::size_t>(it - names.begin());
}

}  // namespace ambrelay::tables

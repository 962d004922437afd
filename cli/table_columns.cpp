#include "cli/table_columns.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "cli/csv.h"
#include "cli/messages.h"

namespace ambrelay::cli {
namespace {

constexpr const char* kCountNames[4] = {"views1", "responses1", "views2", "responses2"};
constexpr const char* kSummaryNames[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};

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

std::optional<CountColumns> FindColumns(const std::vector<std::string>& names, const TableOptions& options,
                                   std::string& problem)
{
    const bool means = options.kind == TableKind::Means;
    const std::size_t count = means ? 6 : 4;
    std::vector<std::string> wanted;
    if (!options.columns.empty()) {
        wanted = csv::SplitRecord(options.columns, ',');
        if (wanted.size() != count) {
            problem = says::ColumnsNamed(means, wanted.size());
            return std::nullopt;
        }
    } else if (options.noHeader) {
        for (std::size_t i = 1; i <= count; ++i) {
            wanted.push_back(std::to_string(i));
        }
    } else if (means) {
        wanted.assign(std::begin(kSummaryNames), std::end(kSummaryNames));
    } else {
        wanted.assign(std::begin(kCountNames), std::end(kCountNames));
    }
    CountColumns found{};
    found.count = count;
    for (std::size_t i = 0; i < count; ++i) {
        const auto at = FindColumn(names, wanted[i], options.noHeader, !options.columns.empty(), problem);
        if (!at) {
            return std::nullopt;
        }
        found.at[i] = *at;
    }
    return found;
}

std::optional<std::size_t> FindColumn(const std::vector<std::string>& names, const std::string& wanted,
                                      bool noHeader, bool namedByUser, std::string& problem)
{
    const std::string name = Trimmed(wanted);
    const bool position = !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isdigit(c);
    });
    if (position) {
        const std::size_t n = name.size() > 6 ? 0 : std::stoul(name);
        if (n < 1 || n > names.size()) {
            problem = says::NoColumnAt(name, names.size());
            return std::nullopt;
        }
        return n - 1;
    }
    if (noHeader) {
        problem = says::PositionsWithoutHeader(name);
        return std::nullopt;
    }
    const auto it = std::find_if(names.begin(), names.end(),
                                 [&](const std::string& h) { return Lower(Trimmed(h)) == Lower(name); });
    if (it == names.end()) {
        problem = says::NoColumnNamed(name, names, namedByUser);
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - names.begin());
}

std::vector<std::string> DistinctNames(const std::vector<std::string>& names)
{
    std::set<std::string> seen;
    std::vector<std::string> distinct;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string name = names[i];
        if (!seen.insert(name).second) {
            name += "_" + std::to_string(i + 1);
            seen.insert(name);
        }
        distinct.push_back(name);
    }
    return distinct;
}

std::string ExtraName(std::size_t i) { return "column" + std::to_string(i + 1); }

}  // namespace ambrelay::cli

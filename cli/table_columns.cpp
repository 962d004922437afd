#include "cli/table_columns.h"

#include <set>

#include "cli/messages.h"
#include "figures/table_words.h"
#include "tables/column_lookup.h"
#include "tables/csv.h"

namespace ambrelay::cli {
namespace {

constexpr const char* kCountNames[4] = {"views1", "responses1", "views2", "responses2"};
constexpr const char* kSummaryNames[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};

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
    tables::ColumnProblem miss;
    const std::optional<std::size_t> at = tables::FindColumn(names, wanted, noHeader, miss);
    if (!at) {
        problem = miss.kind == tables::ColumnMiss::PositionsOnly ? says::PositionsWithoutHeader(miss.wanted)
                                                                 : ColumnProblemText(miss);
        if (miss.kind == tables::ColumnMiss::NoSuchName && !namedByUser) {
            problem += ". Name the four count columns with --columns, e.g. --columns "
                       "\"Views A,Clicks A,Views B,Clicks B\", or by position: --columns 2,3,4,5";
        }
    }
    return at;
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

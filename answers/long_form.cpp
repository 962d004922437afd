#include "answers/long_form.h"

#include "checks/given_values.h"

namespace ambrelay {

void GroupedTests::Add(VersionRow row)
{
    const auto [at, added] = places_.emplace(row.test, tests_.size());
    if (added) {
        tests_.emplace_back();
    }
    tests_[at->second].push_back(std::move(row));
}

namespace {

// The first problem of the rows, or of a version left without a label.
std::optional<Problem> RowsProblem(const std::vector<VersionRow>& rows)
{
    for (const VersionRow& row : rows) {
        std::optional<Problem> problem = row.problem;
        if (!problem && row.version.find_first_not_of(" \t") == std::string::npos) {
            problem = Problem(Reason::NoVersionLabel);
        }
        for (const Outcome<double>& cell : row.cells) {
            if (!problem && !cell) {
                problem = cell.Failure();
            }
        }
        if (problem) {
            problem->line = row.line;
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace

Outcome<RatesVersionsAnswer> JudgeRowsOfTest(const std::vector<VersionRow>& rows, const JudgeOptions& options,
                                             const VersionsOptions& family)
{
    if (auto problem = RowsProblem(rows)) {
        return *problem;
    }
    RatesVersions versions;
    for (const VersionRow& row : rows) {
        // Each version's counts checked as a test's are: responses within views.
        const Outcome<Counts> counts = CheckCounts(row.cells[0], row.cells[1], row.cells[0], row.cells[1]);
        if (!counts) {
            Problem problem = counts.Failure();
            problem.line = row.line;
            return problem;
        }
        versions.labels.push_back(row.version);
        versions.counts.push_back({counts->views1, counts->responses1});
    }
    return JudgeVersions(versions, options, family);
}

Outcome<MeansVersionsAnswer> CompareRowsOfTest(const std::vector<VersionRow>& rows, const MeansOptions& options,
                                               const VersionsOptions& family)
{
    if (auto problem = RowsProblem(rows)) {
        return *problem;
    }
    MeansVersions versions;
    for (const VersionRow& row : rows) {
        versions.labels.push_back(row.version);
        versions.summaries.push_back({*row.cells[0], *row.cells[1], *row.cells[2]});
    }
    return CompareVersions(versions, options, family);
}

}  // namespace ambrelay

#include "answers/table_answers.h"

#include "answers/counts_answer.h"

#include <algorithm>

#include "tables/column_lookup.h"
#include "tables/csv.h"

namespace ambrelay {

Outcome<CountColumns> FindCountColumns(const std::vector<std::string>& names, TableKind kind,
                                       const std::string& asked, bool noHeader)
{
    CountColumns found;
    found.count = kind == TableKind::Means ? kSummaryNames.size() : kCountNames.size();
    std::vector<std::string> wanted;
    if (!asked.empty()) {
        wanted = csv::SplitRecord(asked, ',');
        if (wanted.size() != found.count) {
            Problem problem(Reason::ColumnsNamed, NameKind::Option, "--columns", asked);
            problem.count = wanted.size();
            problem.expected = found.count;
            return problem;
        }
    } else if (noHeader) {
        for (std::size_t i = 1; i <= found.count; ++i) {
            wanted.push_back(std::to_string(i));
        }
    } else if (kind == TableKind::Means) {
        wanted.assign(kSummaryNames.begin(), kSummaryNames.end());
    } else {
        wanted.assign(kCountNames.begin(), kCountNames.end());
    }
    for (std::size_t i = 0; i < found.count; ++i) {
        const Outcome<std::size_t> at = tables::FindColumn(names, wanted[i], noHeader);
        if (!at) {
            Problem problem = at.Failure();
            if (problem.reason == Reason::NoSuchColumn && asked.empty()) {
                problem.reason = Reason::CountColumnsNotFound;  // the usual names: say how to name others
                problem.expected = found.count;
            }
            return problem;
        }
        found.at[i] = *at;
    }
    return found;
}

Outcome<std::optional<VersionColumns>> FindVersionColumns(const std::vector<std::string>& names, TableKind kind,
                                                          const std::string& asked, const std::string& version,
                                                          const std::string& test, bool noHeader)
{
    const auto found = [&](const std::string& name) { return static_cast<bool>(tables::FindColumn(names, name, noHeader)); };
    const bool means = kind == TableKind::Means;
    const std::size_t count = means ? kVersionSummaryNames.size() : kVersionCountNames.size();
    const std::vector<std::string> wanted = asked.empty() ? std::vector<std::string>()
                                                          : csv::SplitRecord(asked, ',');
    // A table a test a row names four counts (or six summaries) and no version column.
    std::string versionName = version;
    for (const char* usual : kVersionColumnNames) {
        if (versionName.empty() && found(usual)) {
            versionName = usual;
        }
    }
    std::vector<std::string> cells(wanted);
    if (wanted.empty()) {
        for (std::size_t i = 0; i < count; ++i) {
            cells.push_back(means ? kVersionSummaryNames[i] : kVersionCountNames[i]);
        }
    }
    const bool asLong = !version.empty()
                        || (!versionName.empty() && (wanted.empty() ? std::all_of(cells.begin(), cells.end(), found)
                                                                    : wanted.size() == count));
    if (!asLong) {
        return std::optional<VersionColumns>();
    }
    VersionColumns columns;
    const Outcome<std::size_t> at = tables::FindColumn(names, versionName, noHeader);
    if (!at) {
        return at.Failure();
    }
    columns.version = *at;
    if (!test.empty() || found(kTestColumnName)) {
        const Outcome<std::size_t> testAt = tables::FindColumn(names, test.empty() ? kTestColumnName : test, noHeader);
        if (!testAt) {
            return testAt.Failure();
        }
        columns.test = *testAt;
    }
    if (cells.size() != count) {
        Problem problem(Reason::ColumnsNamed, NameKind::Option, "--columns", asked);
        problem.count = cells.size();
        problem.expected = count;
        return problem;
    }
    for (const std::string& cell : cells) {
        const Outcome<std::size_t> cellAt = tables::FindColumn(names, cell, noHeader);
        if (!cellAt) {
            return cellAt.Failure();
        }
        columns.cells.push_back(*cellAt);
    }
    return std::optional<VersionColumns>(columns);
}

namespace {

Outcome<double> Cell(const tables::TableRow& row, const CountColumns& c, std::size_t i,
                     const std::vector<std::string>& names, bool decimalComma)
{
    const std::size_t at = c.at[i];
    return tables::ReadCell(row.fields[at], decimalComma, names[at]);
}

// A row's problem keeps the row's line, wherever it was found.
template <typename T>
Outcome<T> AtLine(Outcome<T> outcome, long line)
{
    if (outcome) {
        return outcome;
    }
    Problem problem = outcome.Failure();
    problem.line = line;
    return problem;
}

}  // namespace

Outcome<Judgement> JudgeRow(const tables::TableRow& row, const CountColumns& c, const std::vector<std::string>& names,
                            bool decimalComma, const JudgeOptions& options)
{
    if (row.problem) {
        return *row.problem;
    }
    const auto cell = [&](std::size_t i) { return Cell(row, c, i, names, decimalComma); };
    // Amended in place and returned as it is: a judgement is large, and a table makes one a row.
    Outcome<Judgement> judged = JudgeGiven(cell(0), cell(1), cell(2), cell(3), options);
    if (Problem* problem = judged.FailureToAmend()) {
        problem->line = row.line;
    }
    return judged;
}

Outcome<MeansAnswer> CompareRow(const tables::TableRow& row, const CountColumns& c,
                                const std::vector<std::string>& names, bool decimalComma, const MeansOptions& options)
{
    if (row.problem) {
        return *row.problem;
    }
    const auto cell = [&](std::size_t i) { return Cell(row, c, i, names, decimalComma); };
    const Outcome<double> six[6] = {cell(0), cell(1), cell(2), cell(3), cell(4), cell(5)};
    const Outcome<MeansRequest> request = SummariesGiven(six, options);
    if (!request) {
        return AtLine<MeansAnswer>(request.Failure(), row.line);
    }
    return AtLine(CompareSummaries(*request), row.line);
}

}  // namespace ambrelay

#pragma once
// Tests in long form, as a database's GROUP BY gives them: a row a version,
// each row naming its test (or the whole table being one test) and its
// version, with its counts or its summary. Rows are grouped into tests as
// they come; a test whose rows are not together is one test all the same.
// The command line's tables and Python's frames group and answer them here.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "answers/versions_answer.h"

namespace ambrelay {

// One version's row: its test, its label, and its two counts (observations,
// responses) or three summaries (observations, average, standard
// deviation), each read already, or the row's own problem.
struct VersionRow {
    std::string test;
    std::string version;
    std::vector<Outcome<double>> cells;
    std::optional<Problem> problem;  // why the row cannot be read; its test then has no answer
    long line = 0;                   // its line in a file; 0 for a frame's row
    std::size_t place = 0;           // its place among the rows, for what goes out in their order
};

// The rows of each test, the tests in the order their first rows come.
class GroupedTests {
public:
    void Add(VersionRow row);
    std::size_t Size() const { return tests_.size(); }
    const std::vector<VersionRow>& Rows(std::size_t test) const { return tests_[test]; }
    // A test's rows moved out, for what answers the tests a few at a time.
    std::vector<VersionRow> Take(std::size_t test) { return std::move(tests_[test]); }

private:
    std::map<std::string, std::size_t> places_;
    std::vector<std::vector<VersionRow>> tests_;
};

// A test of rates or of averages answered from its rows: the first row's
// problem (its line kept), a version without a label or named twice, or the
// family's own problem.
Outcome<RatesVersionsAnswer> JudgeRowsOfTest(const std::vector<VersionRow>& rows, const JudgeOptions& options,
                                             const VersionsOptions& family);
Outcome<MeansVersionsAnswer> CompareRowsOfTest(const std::vector<VersionRow>& rows, const MeansOptions& options,
                                               const VersionsOptions& family);

}  // namespace ambrelay

#pragma once
// A file of one row per user: the version's label in one column and the
// user's value in another (or a numerator and a denominator), read as it
// streams past through the one table reader, so it takes every encoding and
// dialect a table of tests takes. Every door that reads such a file reads
// it here.

#include <atomic>
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "engine/observations.h"
#include "engine/outcome.h"
#include "tables/table_reader.h"
#include "tables/values_tally.h"

namespace ambrelay::tables {

struct ValuesLayout {
    std::string group, value;            // columns by header name or 1-based position
    std::string numerator, denominator;  // a ratio metric's columns, instead of value
    // What each user did before the test: a column, or a ratio's two; none without.
    std::string covariate, covariateNumerator, covariateDenominator;
    std::string control;                 // the label of version A; else the first label in the file
    CapRequest caps;
    Dialect dialect;                     // the file's encoding, delimiter and decimal mark, where given

    bool Ratio() const { return !numerator.empty(); }
    bool CovariateRatio() const { return !covariateNumerator.empty(); }
    bool Covariate() const { return !covariate.empty() || CovariateRatio(); }
};

// The header's names as the table reader decodes them: a file's problem
// when there is none.
Outcome<std::vector<std::string>> ReadHeader(std::istream& in, const Dialect& dialect);

// Reads the whole stream: what the rows held, with the rows that could not
// be counted (by line, the first few) and why they hold no two versions
// where they do not; or why the file cannot be read as values at all (it is
// empty, lacks a column, or lacks the control asked for). `stop`, when given
// and set, ends the reading with ReadingStopped.
Outcome<ValuesRead> ReadValues(std::istream& in, const ValuesLayout& layout,
                               const std::atomic<bool>* stop = nullptr);

}  // namespace ambrelay::tables

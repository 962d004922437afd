#pragma once
// The options more than one command takes: how a table or a file of values
// is read, and what judge and means add to a comparison (a planned total, a
// margin, the intended split). Each is registered and read in one place, so
// it means the same wherever it appears.

#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "answers/versions_answer.h"
#include "engine/looking_early.h"
#include "engine/outcome.h"
#include "tables/table_reader.h"

namespace CLI {
class App;
}

namespace ambrelay::cli {

struct TableFlags {
    std::string path, delimiter, columns, encoding, versionColumn, testColumn;
    bool decimalComma = false, decimalPoint = false, noHeader = false;
    unsigned jobs = 0;

    // --csv (named by `fileOption`, with the columns it holds), the dialect
    // and the columns.
    void Register(CLI::App& command, const std::string& defaultColumns, const std::string& columnsHelp);
    // The dialect options alone, for a file of values.
    void RegisterDialect(CLI::App& command);
    // Whether an option that only a --csv table takes was given.
    bool AnyForTable() const;
    // Whether --columns, --no-header or --jobs was given, which a file of values does not take.
    bool AnyForTableOnly() const
    {
        return !columns.empty() || noHeader || jobs > 0 || !versionColumn.empty() || !testColumn.empty();
    }
    tables::Dialect Dialect() const;
};

struct Streams;
struct TableRequest;

// A --csv table answered row by row, as `request` asks (its kind, JSON, and
// what every row is judged with), read as the flags say.
int AnswerTableFile(const TableFlags& flags, TableRequest request, Streams& streams);

struct AnswerFlags {
    std::string planned, margin, marginPoints, split, adjust = "holm", control;
    bool averages = false;  // the margin in units is --margin-units, in the metric's own units

    // `control`: whether --control is registered here (a values file's has its own).
    void Register(CLI::App& command, bool averages, bool control = true);
    // The options as read, or the first that cannot be. Where the test has
    // two versions, `splitPercentA` is A's share; `family` keeps every share
    // given, for a test of more.
    std::optional<Problem> Read(std::optional<double>& plannedObservations, std::optional<Margin>& margin,
                                double& splitPercentA, VersionsOptions& family) const;
};

// Shares of more than two versions where the test has two: SharesForVersions.
std::optional<Problem> TwoVersionsOnly(const VersionsOptions& family);

// Runs `read` on the named file, or on standard input for "-".
int WithInput(const std::string& path, std::istream& in, std::ostream& err,
              const std::function<int(std::istream&)>& read);

}  // namespace ambrelay::cli

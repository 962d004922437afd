#include "cli/shared_options.h"

#include <CLI/CLI.hpp>

#include "checks/amounts.h"
#include "cli/command.h"
#include "cli/problems.h"
#include "cli/table_run.h"
#include "tables/input_file.h"

namespace ambrelay::cli {

void TableFlags::RegisterDialect(CLI::App& command)
{
    command.add_option("--delimiter", delimiter, "the table's delimiter: comma, semicolon or tab (default: the header's)")
        ->check(CLI::IsMember({",", ";", "\t", "tab", "comma", "semicolon"}));
    command.add_flag("--decimal-comma", decimalComma,
                     "',' is the decimal mark and '.' groups thousands (the default in semicolon-separated tables)");
    command
        .add_flag("--decimal-point", decimalPoint,
                  "'.' is the decimal mark and ',' groups thousands (the default in other tables)")
        ->excludes("--decimal-comma");
    command
        .add_option("--encoding", encoding,
                    "the file's encoding: utf-8, utf-16 or windows-1252 (default: UTF-16 by its byte order mark, "
                    "else UTF-8, else Windows-1252)")
        ->check(CLI::IsMember({"utf-8", "utf8", "utf-16", "utf16", "utf-16le", "utf-16be", "windows-1252", "cp1252",
                               "latin1"},
                              CLI::ignore_case));
}

void TableFlags::Register(CLI::App& command, const std::string& defaultColumns, const std::string& columnsHelp)
{
    command.add_option("--csv", path,
                       "a table of tests, comma-, semicolon- or tab-separated, with the columns " + defaultColumns
                           + " (or as --columns names them); - reads standard input");
    RegisterDialect(command);
    command.add_option("--columns", columns, "the columns of the table, in the order " + columnsHelp);
    command.add_flag("--no-header", noHeader, "the table has no header row: columns by position (default 1,2,3,...)");
    command.add_option("--version-column", versionColumn,
                       "a table of versions, a row a version: the column of the version's label (found as version, "
                       "variant, arm or group)");
    command.add_option("--test-column", testColumn,
                       "in a table of versions, the column naming each row's test (found as test; without one the "
                       "table is one test)");
    command.add_option("--jobs", jobs, "threads that judge a table's rows (default: one for each core)")
        ->check(CLI::Range(1u, 256u));
}

bool TableFlags::AnyForTable() const
{
    return !delimiter.empty() || decimalComma || decimalPoint || !encoding.empty() || AnyForTableOnly();
}

tables::Dialect TableFlags::Dialect() const
{
    tables::Dialect d;
    if (!delimiter.empty()) {
        d.delimiter = delimiter == "tab"         ? '\t'
                      : delimiter == "semicolon" ? ';'
                      : delimiter == "comma"     ? ','
                                                 : delimiter[0];
    }
    if (decimalComma || decimalPoint) {
        d.decimalComma = decimalComma;
    }
    if (!encoding.empty()) {
        d.encoding = tables::EncodingNamed(encoding);
    }
    d.header = !noHeader;
    return d;
}

int AnswerTableFile(const TableFlags& flags, TableRequest request, Streams& s)
{
    request.dialect = flags.Dialect();
    request.columns = flags.columns;
    request.versionColumn = flags.versionColumn;
    request.testColumn = flags.testColumn;
    if (flags.jobs > 0) {
        request.jobs = flags.jobs;
    }
    return WithInput(flags.path, s.in, s.err, [&](std::istream& in) { return AnswerTable(in, request, s.out, s.err); });
}

void AnswerFlags::Register(CLI::App& command, bool forAverages, bool withControl)
{
    averages = forAverages;
    command.add_option("--planned", planned,
                       "observations in all the test is planned to reach, for the peeking-safe p value (default 5000)");
    command.add_option("--margin", margin,
                       forAverages ? "B is not worse than A by more than this percent of A's average: 2 or 2%"
                                   : "B is not worse than A by more than this percent of A's ratio: 2 or 2%");
    const char* points = forAverages ? "--margin-units" : "--margin-points";
    command
        .add_option(points, marginPoints,
                    forAverages ? "B is not worse than A by more than this much, in the metric's units"
                                : "B is not worse than A by more than this many percentage points: 0.5")
        ->excludes("--margin");
    command.add_option("--split", split,
                       "how the observations were meant to split: A's share in percent (90), or every version's "
                       "(90/10, 50/25/25); default even");
    command
        .add_option("--adjust", adjust,
                    "for more than two versions, the correction of each p value for the versions compared: holm "
                    "(default), hochberg, BH, bonferroni or none");
    if (withControl) {
        command.add_option("--control", control,
                           "in a table of versions, the control's label (default: each test's first version)");
    }
}

std::optional<Problem> AnswerFlags::Read(std::optional<double>& plannedObservations, std::optional<Margin>& m,
                                         double& splitPercentA, VersionsOptions& family) const
{
    if (!adjust.empty()) {
        const Outcome<Adjustment> read = ReadAdjustment(adjust, Origin::Option("--adjust"));
        if (!read) {
            return read.Failure();
        }
        family.adjustment = *read;
    }
    family.control = control;
    if (!planned.empty()) {
        const Outcome<double> total = ReadPlanned(planned, Origin::Option("--planned"));
        if (!total) {
            return total.Failure();
        }
        plannedObservations = *total;
    }
    const bool relative = !margin.empty();
    if (relative || !marginPoints.empty()) {
        const Outcome<Margin> read =
            relative ? ReadMargin(margin, MarginKind::RelativePercent, Origin::Option("--margin"))
                     : ReadMargin(marginPoints, MarginKind::Points,
                                  Origin::Option(averages ? "--margin-units" : "--margin-points"));
        if (!read) {
            return read.Failure();
        }
        m = *read;
    }
    if (!split.empty()) {
        const Origin option = Origin::Option("--split");
        const Outcome<Split> read = ReadSplit(split, option);
        if (!read) {
            return read.Failure();
        }
        family.sharesPercent = read->sharesPercent;
        // A's share where there are two versions; more shares wait for a table of more.
        if (const Outcome<Split> two = SplitFor(*read, 2, option)) {
            splitPercentA = two->SharePercentA();
        }
    }
    return std::nullopt;
}

std::optional<Problem> TwoVersionsOnly(const VersionsOptions& family)
{
    if (family.sharesPercent.size() > 2) {
        Problem problem(Reason::SharesForVersions, NameKind::Option, "--split");
        problem.count = family.sharesPercent.size();
        problem.expected = 2;
        return problem;
    }
    return std::nullopt;
}

int WithInput(const std::string& path, std::istream& in, std::ostream& err,
              const std::function<int(std::istream&)>& read)
{
    if (path == "-") {
        return read(in);
    }
    Outcome<tables::InputFile> file = tables::OpenInput(path);
    if (!file) {
        return Fail(err, file.Failure());
    }
    return read(*file);
}

}  // namespace ambrelay::cli

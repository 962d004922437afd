#include "cli/messages.h"

#include "figures/reasons.h"

namespace ambrelay::cli {

int Usage(std::ostream& err, std::string_view text)
{
    err << "ambrelay-cli: " << text << "\n";
    return kUsage;
}

int NoResult(std::ostream& err, std::string_view text)
{
    err << text << "\n";
    return kNoResult;
}

std::string RowProblemLine(long line, std::string_view text)
{
    return "line " + std::to_string(line) + ": " + std::string(text) + "\n";
}

namespace says {

std::string NoSuchCommand(std::string_view command)
{
    return "there is no command '" + std::string(command)
           + "'; the commands are judge, plan and srm (see ambrelay-cli --help)";
}

std::string ParseError(std::string_view what)
{
    return std::string(what) + "\nRun 'ambrelay-cli --help' for the commands and their options.";
}

std::string CannotRead(std::string_view path, std::string_view why)
{
    return "cannot read " + std::string(path) + ": " + std::string(why);
}

std::string PlannedOption(std::string_view text)
{
    return "--planned must be a number of observations above 0, not '" + std::string(text) + "'";
}

std::string MarginOption(MarginKind kind, std::string_view text, bool averages)
{
    if (averages && kind == MarginKind::Points) {
        return "--margin-units must be a number above 0, in the metric's own units, not '" + std::string(text) + "'";
    }
    return std::string(kind == MarginKind::Points ? "--margin-points" : "--margin") + " must be " + MarginRule(kind)
           + ", not '" + std::string(text) + "'";
}

std::string NotANumberOption(std::string_view option, std::string_view text)
{
    return std::string(option) + " must be a number, not '" + std::string(text) + "'";
}

std::string CountsOrTable() { return "give either four counts or --csv, not both"; }

std::string TableOptionsWithoutTable()
{
    return "--delimiter, --decimal-comma, --decimal-point, --columns, --no-header, --encoding and --jobs read a "
           "table: give --csv FILE";
}

std::string FourCounts()
{
    return "judge needs four counts: views 1, responses 1, views 2, responses 2 (or --csv FILE)";
}

std::string SixNumbers()
{
    return "means needs six numbers: observations, average and standard deviation of version 1, then of version 2 "
           "(or --csv FILE, or --values FILE)";
}

std::string MeansNeedNumbers(std::string_view text) { return "means needs numbers, and '" + std::string(text) + "' is not one"; }

std::string PlanNeedsBaseline()
{
    return "plan needs --baseline (the control's response ratio), or --sd for a test of averages";
}

std::string MeanWithoutSd() { return "--mean plans a test of averages: give --sd, the metric's standard deviation, too"; }

std::string MeansPlanNeedsEffect()
{
    return "a plan for averages needs --mde, the difference worth detecting (in the metric's units with --absolute, "
           "else in percent of --mean); --observations and --split are for rates";
}

std::string PlanNeedsEffect() { return "plan needs either --mde or --observations"; }

std::string SplitNeedsNumbers() { return "srm needs two observation counts and a --split in percent, all numbers"; }

std::string EmptyTable(bool header)
{
    return std::string("the table is empty: it needs ")
           + (header ? "a header row naming its columns, and rows of counts" : "rows of counts");
}

std::string HeaderRow(std::string_view problem) { return "the header row: " + std::string(problem); }

std::string ColumnsNamed(bool means, std::size_t named)
{
    return (means ? "--columns names six columns, the observations, average and standard deviation of version 1, "
                    "then of version 2, separated by commas; it has "
                  : "--columns names four columns, views 1, responses 1, views 2 and responses 2, separated by "
                    "commas; it has ")
           + std::to_string(named);
}



std::string RatioNeedsBoth() { return "a ratio metric needs both --numerator and --denominator"; }

std::string PercentileOption(std::string_view option, std::string_view text)
{
    return std::string(option) + " takes a percentile above 0 and below 100, such as 99.9%, not '" + std::string(text)
           + "'";
}

std::string OneInputForMeans() { return "give the six numbers, --csv or --values, one of them"; }

std::string TableOptionsForValues()
{
    return "--columns, --no-header, --encoding and --jobs read a --csv table; a --values file names its columns "
           "with --group and --value";
}

std::string ValueOptionsWithoutValues()
{
    return "--group, --value, --numerator, --denominator, --control, --cap, --cap-lower and --ignore-zeros read a "
           "file of observations: give --values FILE";
}



std::string PositionsWithoutHeader(std::string_view name)
{
    return "without a header, --columns names the columns by position (1, 2, ...), not '" + std::string(name) + "'";
}



std::string OtherDecimalMark(std::string_view text, std::string_view column, bool decimalComma)
{
    const std::string start = "'" + std::string(text) + "' in " + std::string(column) + " is not a number where ";
    return decimalComma ? start
                              + "',' is the decimal mark and '.' groups thousands; if '.' is the decimal mark in this "
                                "file, give --decimal-point."
                        : start
                              + "'.' is the decimal mark and ',' groups thousands; if ',' is the decimal mark in this "
                                "file, give --decimal-comma.";
}

std::string UnclosedQuote() { return "A quoted field is never closed."; }

std::string NotUtf8AsBefore()
{
    return "The row is not UTF-8 text, as the lines before it are; give --encoding windows-1252 if the file is in "
           "that encoding.";
}

std::string Utf8AfterWindows1252()
{
    return "The row reads as UTF-8 text where the lines before it are Windows-1252; give --encoding utf-8 if the "
           "file is in UTF-8.";
}

}  // namespace says
}  // namespace ambrelay::cli

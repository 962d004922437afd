#pragma once
// Everything the command line says of its own when something is wrong, in
// one place: the usage errors, the table's problems and a row's. What the
// counts or a plan lack comes from the figures layer's reasons; what an
// input check finds, from the checks.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/looking_early.h"

namespace ambrelay::cli {

enum ExitStatus { kResult = 0, kNoResult = 1, kUsage = 2 };

// "ambrelay-cli: TEXT" as a line on the error stream; returns kUsage.
int Usage(std::ostream& err, std::string_view text);

// Why the counts have no result, as a line on its own; returns kNoResult.
int NoResult(std::ostream& err, std::string_view text);

// "line 12: TEXT", the line for standard error of a row without a result.
std::string RowProblemLine(long line, std::string_view text);

namespace says {

std::string NoSuchCommand(std::string_view command);
std::string ParseError(std::string_view what);
std::string CannotRead(std::string_view path, std::string_view why);
std::string PlannedOption(std::string_view text);
std::string MarginOption(MarginKind kind, std::string_view text, bool averages = false);
std::string NotANumberOption(std::string_view option, std::string_view text);
std::string CountsOrTable();
std::string TableOptionsWithoutTable();
std::string FourCounts();
std::string SixNumbers();
std::string MeansNeedNumbers(std::string_view text);
std::string PlanNeedsEffect();
std::string PlanNeedsBaseline();
std::string MeanWithoutSd();
std::string MeansPlanNeedsEffect();
std::string SplitNeedsNumbers();

std::string EmptyTable(bool header);
std::string HeaderRow(std::string_view problem);
std::string ColumnsNamed(bool means, std::size_t named);
std::string PositionsWithoutHeader(std::string_view name);

std::string OtherDecimalMark(std::string_view text, std::string_view column, bool decimalComma);
std::string UnclosedQuote();
std::string RatioNeedsBoth();
std::string PercentileOption(std::string_view option, std::string_view text);
std::string OneInputForMeans();
std::string TableOptionsForValues();
std::string ValueOptionsWithoutValues();
std::string NotUtf8AsBefore();
std::string Utf8AfterWindows1252();

}  // namespace says
}  // namespace ambrelay::cli

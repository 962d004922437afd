#include "figures/problem_words.h"

#include <algorithm>
#include <cctype>

#include "figures/figure_text.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// "'a', 'b' and 'c'"
std::string QuotedList(const std::vector<std::string>& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + Quoted(names[i]);
    }
    return list;
}

// What holds the versions a problem speaks of: a file's rows (their label
// column named), a frame's from Python, or one test of a table's.
std::string Holder(const Problem& p)
{
    return p.kind == NameKind::Column ? "the file" : p.kind == NameKind::Argument ? "the frame" : "the test";
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The one of `names` that differs from `wanted` only in case, if any.
const std::string* SameButCase(const std::string& wanted, const std::vector<std::string>& names)
{
    const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
        return n != wanted && Lower(n) == Lower(wanted);
    });
    return it == names.end() ? nullptr : &*it;
}

// The input as a person writes it back: "--cap 0.99", "cap=0.99".
std::string Given(const Problem& p)
{
    return p.kind == NameKind::Argument ? p.name + "=" + p.text : p.name + " " + p.text;
}

// What a box's numeric check says: the first message reads "Input" without
// the "in" that the others have.
std::string BoxMessage(Input box)
{
    switch (box) {
    case Input::Views2:
        return "Input in 'Version 2 Views' must be numeric.";
    case Input::Responses1:
        return "Input in 'Ver 1 Responses' must be numeric.";
    case Input::Responses2:
        return "Input in 'Ver 2 Responses' must be numeric.";
    default:
        return "Input 'Version 1 Views' must be numeric.";
    }
}

std::string ColumnWords(const Problem& p)
{
    switch (p.reason) {
    case Reason::NoSuchPosition:
        return "there is no column " + p.text + ": the table has " + std::to_string(p.count) + " columns";
    case Reason::PositionsOnly:
        return "without a header, columns are named by position (1, 2, ...), not " + Quoted(p.text);
    default:
        break;
    }
    std::string list;
    for (const std::string& n : p.names) {
        list += (list.empty() ? "" : ", ") + n;
    }
    // A script's frame has columns but no header row.
    std::string text = (p.kind == NameKind::Argument ? "the frame has no column named " : "the header row has no column named ")
                       + Quoted(p.text) + "; its columns are: " + list;
    if (p.reason == Reason::CountColumnsNotFound) {
        text += p.expected == 6 ? ". Name the six summary columns with --columns, e.g. --columns \"Users A,Average "
                                  "A,SD A,Users B,Average B,SD B\", or by position: --columns 2,3,4,5,6,7"
                                : ". Name the four count columns with --columns, e.g. --columns \"Views A,Clicks "
                                  "A,Views B,Clicks B\", or by position: --columns 2,3,4,5";
    }
    return text;
}

// A value given for an option or an argument, in its own words.
std::string GivenValueWords(const Problem& p)
{
    const std::string& n = p.name;
    const bool units = n.find("units") != std::string::npos;
    switch (p.reason) {
    case Reason::NoNumber:
        return n + " needs a value";
    case Reason::NotANumber:
        return n + " must be a number, not " + Quoted(p.text);
    case Reason::PlannedNotPositive:
        return n + " must be a number of observations above 0, not " + Quoted(p.text);
    case Reason::RelativeMarginOutOfRange:
    case Reason::PointsMarginOutOfRange:
        if (units) {
            return n + " must be a number above 0, in the metric's own units, not " + Quoted(p.text);
        }
        return n + " must be "
               + MarginRule(p.reason == Reason::PointsMarginOutOfRange ? MarginKind::Points
                                                                       : MarginKind::RelativePercent)
               + ", not " + Quoted(p.text);
    case Reason::PercentileOutOfRange:
        return n + " takes a percentile above 0 and below 100, such as 99.9%, not " + Quoted(p.text);
    case Reason::PercentOrFraction: {
        if (p.text.find('/') != std::string::npos) {
            return Given(p) + " adds up to 1: give the shares in percent, adding up to 100, such as 50/50";
        }
        const std::string percent = NumberToText(ShownValue(ReadNumber(p.text) * 100)) + "%";
        return Given(p) + " could be " + p.text + "% or " + percent + "; "
               + (p.kind == NameKind::Argument ? "give the one you mean as a text with its % sign, such as '"
                                                     + percent + "'"
                                               : "write the one you mean with its % sign");
    }
    case Reason::FractionNotPercent:
        return n + " takes a fraction such as " + NumberToText(ShownValue(ReadNumber(p.text) / 100))
               + ", or a percentage with its % sign such as " + p.text + "%, not " + Quoted(p.text);
    case Reason::ShareOutOfRange:
        return n + " takes A's share in percent, above 0 and below 100 (or every version's, such as 90/10), not "
               + Quoted(p.text);
    case Reason::SharesNotHundred:
        return n + " takes every version's share in percent, adding up to 100, not " + Quoted(p.text);
    case Reason::SharesForVersions:
        return n + " gives " + (p.count == 1 ? std::string("one share") : std::to_string(p.count) + " shares")
               + ", and the test has " + std::to_string(p.expected) + " versions";
    case Reason::UnknownAdjustment:
        return n + " takes holm, hochberg, BH, bonferroni or none, not " + Quoted(p.text);
    case Reason::CorrelationOutOfRange:
        return n + " is a correlation above -1 and below 1, such as 0.7, not " + Quoted(p.text);
    default:
        return ReasonText(p.reason);
    }
}

}  // namespace

std::string ReasonText(Reason reason)
{
    switch (reason) {
    case Reason::NegativeCount:
        return "Counts cannot be negative. Please enter zero or more observations and "
               "responses for both versions.";
    case Reason::NoViews1:
        return "Version 1 has no observations, so its response ratio cannot be computed. "
               "Please enter more than 0 observations for version 1.";
    case Reason::NoViews2:
        return "Version 2 has no observations, so its response ratio cannot be computed. "
               "Please enter more than 0 observations for version 2.";
    case Reason::NoResponses:
        return "Neither version has any responses, so there is nothing to compare. "
               "Please enter the responses of at least one version.";
    case Reason::AllResponded:
        return "Every observation of both versions drew a response, so there is nothing "
               "to compare. Please check the counts of responses.";
    case Reason::OutOfRange:
        return "These counts are too large or too small to compute a result. Please enter "
               "counts of a sensible size.";
    case Reason::NotWholeCounts:
        return "Fisher's exact test needs whole counts, and these have fractions.";
    case Reason::TooLargeForTable:
        return "Fisher's exact test is not run beyond 4,294,967,295 observations in all.";
    case Reason::NoTable:
        return "Fisher's exact test needs counts of zero or more, with no more responses than observations.";
    case Reason::TooLargeForChance:
        return "not computed beyond a billion observations a version";
    case Reason::NoDifference:
        return "none: there is no difference";
    case Reason::OtherNeverResponded:
        return "no lift: the version behind never responded";
    case Reason::NoSplit:
        return "The observations must be zero or more and not both zero, and the intended share must lie "
               "between 0% and 100%, both excluded.";
    case Reason::NoObservationsOfBoth:
        return "There is no peeking-safe figure without observations of both versions.";
    case Reason::NoPlannedObservations:
        return "There is no peeking-safe figure without a planned number of observations above 0.";
    case Reason::NoSpread:
        return "There is no peeking-safe figure while a version has no responses or only responses: "
               "its ratio shows no spread to measure the difference against.";
    case Reason::BeyondDoubles:
        return "not computed: the counts are beyond what the arithmetic can carry";
    case Reason::RelativeMarginOutOfRange:
        return "The margin must be " + MarginRule(MarginKind::RelativePercent) + ".";
    case Reason::PointsMarginOutOfRange:
        return "The margin must be " + MarginRule(MarginKind::Points) + ".";
    case Reason::RelativeMarginNeedsResponses:
        return "A relative margin needs responses to both versions; give the margin in points.";
    case Reason::NoMarginSpread:
        return "There is no test against the margin while a version has no responses or only responses.";
    case Reason::BaselineOutOfRange:
        return "The baseline ratio must lie between 0% and 100%, both excluded.";
    case Reason::AlphaOutOfRange:
        return "The significance level must lie between 0% and 100%, both excluded.";
    case Reason::PowerOutOfRange:
        return "The power must lie between 0% and 100%, both excluded.";
    case Reason::ShareOutOfRange:
        return "Version A's share of the observations must lie between 0% and 100%, both excluded.";
    case Reason::DailyNotPositive:
        return "The observations per day must be more than 0.";
    case Reason::VariantOutOfRange:
        return "The effect puts version B's ratio outside 0% to 100%; choose a smaller effect.";
    case Reason::ZeroEffect:
        return "An effect of 0 cannot be detected; choose an effect other than 0.";
    case Reason::TooManyObservations:
        return "These inputs need more observations than can be counted.";
    case Reason::ObservationsNotPositive:
        return "The observations per version must be more than 0.";
    case Reason::TooFewObservations:
        return "So few observations cannot detect even the largest possible effect.";
    case Reason::FewerThanTwoObservations:
        return "Each version needs at least two observations for an average to have a spread.";
    case Reason::NegativeSpread:
        return "A standard deviation cannot be below 0.";
    case Reason::NoVariation:
        return "Every observation of both versions is the same value, so there is no spread to test against.";
    case Reason::OtherMeanNearZero:
        return "The average behind is too close to 0 for a relative lift to have a 95% interval.";
    case Reason::RelativeEffectNeedsAverage:
        return "A relative effect is a share of the control's average: give the average too, or the effect in the "
               "metric's own units.";
    case Reason::RelativeMarginNeedsPositiveMeans:
        return "A relative margin needs both averages above 0; give the margin in the metric's own units instead.";
    case Reason::NoDenominator:
        return "The denominators of the ratio are all 0, so the ratio has no value.";
    case Reason::NoNumber:
        return "Enter a number.";
    case Reason::NotANumber:
        return "Not a number.";
    case Reason::PlannedNotPositive:
        return "The planned observations must be a number above 0; until then the default "
               + Grouped(kDefaultPlannedObservations) + " counts.";
    case Reason::BlankBox:
        return "You must fill in all four values to obtain a result.";
    case Reason::ResponsesAboveViews:
        return "The number of responses cannot be greater than the number of observations";
    case Reason::BoxNotNumeric:
        return "Input in 'Version 1 Views' must be numeric.";
    case Reason::PercentOrFraction:
        return "The number could be a percent or a fraction; write it with its % sign.";
    case Reason::FractionNotPercent:
        return "The number is read as a fraction, such as 0.1; write a percentage with its % sign, such as 10%.";
    case Reason::PercentileOutOfRange:
        return "A percentile lies above 0 and below 100.";
    case Reason::SharesNotHundred:
        return "The versions' shares must add up to 100.";
    case Reason::SharesForVersions:
        return "The split names another number of versions than the test has.";
    case Reason::UnknownAdjustment:
        return "The correction is holm, hochberg, BH, bonferroni or none.";
    case Reason::CorrelationOutOfRange:
        return "A correlation lies above -1 and below 1.";
    case Reason::UnreadableFile:
        return "The file cannot be read.";
    case Reason::EmptyTable:
        return "the table is empty: it needs a header row naming its columns, and rows of counts";
    case Reason::EmptyValuesFile:
        return "the file is empty: it needs a header row naming its columns, and a row of values for each user";
    case Reason::HeaderNotUtf8:
        return "the header row is not UTF-8 text; give --encoding windows-1252 if the file is in that encoding.";
    case Reason::UnclosedQuote:
        return "A quoted field is never closed.";
    case Reason::FieldCount:
        return "The row has another number of fields than the header.";
    case Reason::NotUtf8AsBefore:
        return "The row is not UTF-8 text, as the lines before it are; give --encoding windows-1252 if the file is in "
               "that encoding.";
    case Reason::Utf8AfterWindows1252:
        return "The row reads as UTF-8 text where the lines before it are Windows-1252; give --encoding utf-8 if the "
               "file is in UTF-8.";
    case Reason::OtherDecimalMark:
        return "The number uses the other decimal mark.";
    case Reason::NoSuchColumn:
    case Reason::CountColumnsNotFound:
        return "There is no such column.";
    case Reason::NoSuchPosition:
        return "There is no column at that position.";
    case Reason::PositionsOnly:
        return "Without a header, columns are named by position (1, 2, ...).";
    case Reason::ColumnsNamed:
        return "--columns names another number of columns than the table needs.";
    case Reason::NoVersionLabel:
        return "no version label";
    case Reason::SameVersionTwice:
        return "a version is named twice in one test";
    case Reason::TooManyVersions:
        return "a test compares at most 20 versions";
    case Reason::VersionWithoutAnswer:
        return "a version has no comparison with the control";
    case Reason::NoSuchVersion:
        return "the file has no rows of the control asked for";
    case Reason::OneVersionOnly:
        return "the file has only one version; a comparison takes two";
    case Reason::NoValueRows:
        return "the file has no rows of values";
    case Reason::ControlAndOtherNeeded:
        return "the file needs rows of the control and of one other version";
    case Reason::ReadingStopped:
        return "the reading was stopped";
    case Reason::RowsChangedBetweenPasses:
        return "the rows changed between the passes over them; persist() the frame first";
    case Reason::UnknownCommand:
        return "there is no such command (see ambrelay-cli --help)";
    case Reason::CommandLineRead:
        return "Run 'ambrelay-cli --help' for the commands and their options.";
    case Reason::CountsOrTable:
        return "give either four counts or --csv, not both";
    case Reason::TableOptionsWithoutTable:
        return "--delimiter, --decimal-comma, --decimal-point, --columns, --no-header, --encoding, --jobs, "
               "--version-column, --test-column and --control read a table: give --csv FILE";
    case Reason::FourCounts:
        return "judge needs four counts: views 1, responses 1, views 2, responses 2 (or --csv FILE)";
    case Reason::SixNumbers:
        return "means needs six numbers: observations, average and standard deviation of version 1, then of version "
               "2 (or --csv FILE, or --values FILE)";
    case Reason::MeansNeedNumbers:
        return "means needs numbers";
    case Reason::OneInputForMeans:
        return "give the six numbers, --csv or --values, one of them";
    case Reason::TableOptionsForValues:
        return "--columns, --no-header, --jobs, --version-column and --test-column read a --csv table; a --values file "
               "names its columns with --group and --value";
    case Reason::ValueOptionsWithoutValues:
        return "--group, --value, --numerator, --denominator, --covariate, --control, --cap, --cap-lower and "
               "--ignore-zeros read a file of observations (and --control a table of versions): give --values FILE";
    case Reason::RatioNeedsBoth:
        return "a ratio metric needs both --numerator and --denominator";
    case Reason::CovariateRatioNeedsBoth:
        return "a ratio covariate needs both --covariate-numerator and --covariate-denominator";
    case Reason::CovariateCapWithoutCovariate:
        return "--cap-covariate caps the covariate: give --covariate (or --covariate-numerator and "
               "--covariate-denominator) too";
    case Reason::PlanNeedsBaseline:
        return "plan needs --baseline (the control's response ratio), or --sd for a test of averages";
    case Reason::PlanNeedsEffect:
        return "plan needs either --mde or --observations";
    case Reason::MeanWithoutSd:
        return "--mean and --correlation plan a test of averages: give --sd, the metric's standard deviation, too";
    case Reason::MeansPlanNeedsEffect:
        return "a plan for averages needs --mde, the difference worth detecting (in the metric's units with "
               "--absolute, else in percent of --mean); --observations and --split are for rates";
    case Reason::UnknownFigure:
        return "a figure was named that the output does not have";
    case Reason::SplitNeedsNumbers:
        return "srm needs two observation counts and a --split in percent, all numbers";
    case Reason::Count:
        break;
    }
    return {};
}


std::string MarginRule(MarginKind kind)
{
    return kind == MarginKind::Points ? "a number of points above 0" : "a percentage above 0 and below 100";
}

std::string ProblemText(const Problem& p)
{
    switch (p.reason) {
    case Reason::BoxNotNumeric:
        return BoxMessage(p.input.value_or(Input::Views1));
    case Reason::NoNumber:
        if (p.kind == NameKind::Column) {
            return "column " + p.name + " is empty";
        }
        if (p.kind == NameKind::Argument) {
            return p.name + " is missing";
        }
        break;
    case Reason::NotANumber:
        if (p.kind == NameKind::Column) {
            return Quoted(p.text) + " in column " + p.name + " is not a number";
        }
        if (p.kind == NameKind::Argument) {
            return Quoted(p.text) + " in " + p.name + " is not a number";
        }
        break;
    case Reason::OtherDecimalMark: {
        const std::string start = Quoted(p.text) + " in " + p.name + " is not a number where ";
        return p.count ? start + "',' is the decimal mark and '.' groups thousands; if '.' is the decimal mark in this "
                                 "file, give --decimal-point."
                       : start + "'.' is the decimal mark and ',' groups thousands; if ',' is the decimal mark in this "
                                 "file, give --decimal-comma.";
    }
    case Reason::UnreadableFile:
        return "cannot read " + p.name + (p.text.empty() ? "" : ": " + p.text);
    case Reason::EmptyTable:
        return p.expected ? ReasonText(p.reason) : "the table is empty: it needs rows of counts";
    case Reason::FieldCount:
        return "The row has " + std::to_string(p.count) + (p.count == 1 ? " field" : " fields")
               + " where the header has " + std::to_string(p.expected) + ".";
    case Reason::NoSuchColumn:
    case Reason::NoSuchPosition:
    case Reason::PositionsOnly:
    case Reason::CountColumnsNotFound:
        return ColumnWords(p);
    case Reason::ColumnsNamed: {
        const char* columns = p.expected == 6 ? "six columns, the observations, average and standard deviation of "
                                                "version 1, then of version 2"
                              : p.expected == 4 ? "four columns, views 1, responses 1, views 2 and responses 2"
                              : p.expected == 3 ? "three columns in a table of versions, each version's observations, "
                                                  "average and standard deviation"
                                                : "two columns in a table of versions, each version's views and "
                                                  "responses";
        return "--columns names " + std::string(columns) + ", separated by commas; it has " + std::to_string(p.count);
    }
    case Reason::NoVersionLabel:
        return "no version label in column " + p.name;
    case Reason::SameVersionTwice:
        return "the version " + Quoted(p.text) + " is named twice in one test";
    case Reason::TooManyVersions:
        return p.text.empty() ? "the test has " + std::to_string(p.count) + " versions; a test compares at most "
                                    + std::to_string(p.expected)
                              : "a version beyond the " + std::to_string(p.expected) + " a test compares, "
                                    + Quoted(p.text);
    case Reason::VersionWithoutAnswer:
        if (p.because == Reason::NoViews1) {
            return "the control " + Quoted(p.text) + " has no observations, so its response ratio cannot be computed";
        }
        if (p.because == Reason::NoViews2) {
            return "the version " + Quoted(p.name) + " has no observations, so its response ratio cannot be computed";
        }
        return Quoted(p.name) + " against the control " + Quoted(p.text) + ": "
               + ReasonText(p.because.value_or(Reason::OutOfRange));
    case Reason::NoSuchVersion: {
        std::string text = "no version named " + Quoted(p.text) + (p.name.empty() ? "" : " in column " + p.name)
                           + "; " + Holder(p) + " has " + (p.names.empty() ? "none" : QuotedList(p.names));
        if (const std::string* close = SameButCase(p.text, p.names)) {
            text += " (did you mean " + Quoted(*close) + "?)";
        }
        return text;
    }
    case Reason::OneVersionOnly:
        // A file's versions are its labels; a table's test has its own.
        return Holder(p) + " has only one version, " + QuotedList(p.names) + "; a comparison takes two";
    case Reason::ControlAndOtherNeeded:
        return Holder(p) + " needs rows of the control " + Quoted(p.text) + " and of one other version";
    case Reason::NoValueRows:
        return Holder(p) + " has no rows of values";
    case Reason::RowsChangedBetweenPasses:
        return "the frame gave " + Grouped(static_cast<double>(p.expected)) + " rows in the first pass over it and "
               + Grouped(static_cast<double>(p.count))
               + " in a later one, so its percentiles cannot be trusted; persist() it first, so that every pass "
                 "reads the same rows";
    case Reason::UnknownCommand: {
        std::vector<std::string> commands = p.names;
        std::string list;
        for (std::size_t i = 0; i < commands.size(); ++i) {
            list += (i == 0 ? "" : i + 1 == commands.size() ? " and " : ", ") + commands[i];
        }
        return "there is no command " + Quoted(p.text) + "; the commands are " + list + " (see ambrelay-cli --help)";
    }
    case Reason::CommandLineRead:
        return p.text + "\n" + ReasonText(p.reason);
    case Reason::MeansNeedNumbers:
        return "means needs numbers, and " + Quoted(p.text) + " is not one";
    case Reason::UnknownFigure: {
        const std::string list = p.names.empty() ? std::string() : "; the figures are " + QuotedList(p.names);
        if (p.text.empty()) {
            return p.name + " names no figure" + list;
        }
        std::string text = Quoted(p.text) + " in " + p.name + " is not a figure" + list;
        if (const std::string* close = SameButCase(p.text, p.names)) {
            text += " (did you mean " + Quoted(*close) + "?)";
        }
        return text;
    }
    default:
        break;
    }
    if (p.kind == NameKind::Option || p.kind == NameKind::Argument) {
        return GivenValueWords(p);
    }
    return ReasonText(p.reason);
}

std::string ProblemSentence(const Problem& p)
{
    std::string text = ProblemText(p);
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (text.back() != '.' && text.back() != '?') {
            text += '.';
        }
    }
    return text;
}

std::string InsufficientDataText() { return "Insufficient data. Please fill in all four input boxes."; }

std::string RowProblemText(const Problem& p) { return "line " + std::to_string(p.line) + ": " + ProblemText(p); }

std::string RowsLeftOutText(std::size_t count, const Problem& first)
{
    const std::string where = RowProblemText(first);
    return count == 1 ? "One row was left out, " + where
                      : std::to_string(count) + " rows were left out; the first, " + where;
}

}  // namespace ambrelay

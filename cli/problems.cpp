#include "cli/problems.h"

#include "figures/figure_text.h"
#include "figures/problem_words.h"
#include "tables/values_reading.h"

namespace ambrelay::cli {

int ExitStatusOf(const Problem& p)
{
    switch (p.reason) {
    // The input's own: the counts, summaries and values have no result.
    case Reason::NegativeCount:
    case Reason::NoViews1:
    case Reason::NoViews2:
    case Reason::NoResponses:
    case Reason::AllResponded:
    case Reason::OutOfRange:
    case Reason::FewerThanTwoObservations:
    case Reason::NegativeSpread:
    case Reason::NoVariation:
    case Reason::NoDenominator:
    case Reason::BeyondDoubles:
    case Reason::BlankBox:
    case Reason::ResponsesAboveViews:
    case Reason::BoxNotNumeric:
    case Reason::UnclosedQuote:
    case Reason::FieldCount:
    case Reason::NotUtf8AsBefore:
    case Reason::Utf8AfterWindows1252:
    case Reason::OtherDecimalMark:
    case Reason::NoVersionLabel:
    case Reason::TooManyVersions:
    case Reason::VersionWithoutAnswer:
    case Reason::SameVersionTwice:
        return kNoResult;
    // A count or summary given as a column's cell or an argument is the
    // input's; given to an option, the command line's.
    case Reason::NoNumber:
    case Reason::NotANumber:
        return p.kind == NameKind::Option ? kUsage : kNoResult;
    default:
        return kUsage;
    }
}

int Fail(std::ostream& err, const Problem& problem)
{
    const int status = ExitStatusOf(problem);
    err << (status == kUsage ? "ambrelay-cli: " : "") << ProblemText(problem) << "\n";
    return status;
}

void RowProblems::Add(const Problem& problem, std::string& text)
{
    if (count_++ < tables::kRowProblemsNamed) {
        text += RowProblemText(problem) + "\n";
    }
}

std::string RowProblems::Rest(const char* what) const
{
    if (count_ <= tables::kRowProblemsNamed) {
        return {};
    }
    const double more = static_cast<double>(count_ - tables::kRowProblemsNamed);
    return "and " + Grouped(more) + " more " + (more == 1 ? "row " : "rows ") + what + "\n";
}

}  // namespace ambrelay::cli

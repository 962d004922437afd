#include "checks/given_values.h"

#include <cmath>

#include "numbers/number_text.h"

namespace ambrelay {
namespace {

bool Blank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

Problem ProblemAt(Reason reason, const Origin& from, std::string text)
{
    if (from.input) {
        // A count given as the window's box gives it is worded as the window words it.
        return reason == Reason::NoNumber ? Problem(Reason::BlankBox) : Problem(Reason::BoxNotNumeric, from.input);
    }
    return Problem(reason, from.kind, from.name, std::move(text));
}

Outcome<double> ReadGiven(std::string_view text, const Origin& from)
{
    if (from.input ? text.empty() : Blank(text)) {
        return ProblemAt(Reason::NoNumber, from);
    }
    if (const auto number = ReadWholeNumber(text)) {
        return *number;
    }
    return ProblemAt(Reason::NotANumber, from, std::string(text));
}

Outcome<double> GivenNumber(double x, const Origin& from)
{
    if (std::isnan(x)) {
        return ProblemAt(Reason::NoNumber, from);
    }
    if (std::isinf(x)) {
        return ProblemAt(Reason::NotANumber, from, x > 0 ? "inf" : "-inf");
    }
    return x;
}

Outcome<Counts> CheckCounts(const Outcome<double>& views1, const Outcome<double>& responses1,
                            const Outcome<double>& views2, const Outcome<double>& responses2)
{
    const Outcome<double>* order[4] = {&views1, &views2, &responses1, &responses2};
    const auto missing = [](const Problem& p) { return p.reason == Reason::NoNumber || p.reason == Reason::BlankBox; };
    for (const bool firstMissing : {true, false}) {
        for (const Outcome<double>* count : order) {
            if (!*count && missing(count->Failure()) == firstMissing) {
                return count->Failure();
            }
        }
    }
    const Counts counts{*views1, *responses1, *views2, *responses2};
    if (counts.responses1 > counts.views1 || counts.responses2 > counts.views2) {
        return Problem(Reason::ResponsesAboveViews);
    }
    return counts;
}

}  // namespace ambrelay

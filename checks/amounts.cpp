#include "checks/amounts.h"

#include <charconv>
#include <cmath>
#include <numeric>
#include <string>

#include "numbers/number_text.h"

namespace ambrelay {
namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text without a trailing % sign, and whether it had one.
std::string_view WithoutPercentSign(std::string_view text, bool& had)
{
    had = text.ends_with('%');
    return had ? text.substr(0, text.size() - 1) : text;
}

}  // namespace

Outcome<double> ReadPoints(std::string_view text, const Origin& from)
{
    bool sign = false;
    return ReadGiven(WithoutPercentSign(Trimmed(text), sign), from);
}

Outcome<double> ReadPercent(std::string_view text, Amount bare, const Origin& from)
{
    const std::string_view given = Trimmed(text);
    bool percentSign = false;
    const Outcome<double> number = ReadGiven(WithoutPercentSign(given, percentSign), from);
    if (!number) {
        Problem problem = number.Failure();
        problem.text = std::string(given);
        return problem;
    }
    if (percentSign) {
        return *number;
    }
    const double x = *number;
    if (bare == Amount::PercentShown) {
        return x;
    }
    if (bare == Amount::Percent) {
        if (x > 0 && x <= 1) {
            return ProblemAt(Reason::PercentOrFraction, from, std::string(given));
        }
        return x;
    }
    if (x > 1 && x <= 100) {
        return ProblemAt(Reason::FractionNotPercent, from, std::string(given));
    }
    return x * 100;
}

Outcome<double> GivenPercent(double x, Amount bare, const Origin& from)
{
    const Outcome<double> given = GivenNumber(x, from);
    if (!given) {
        return given;
    }
    char text[32];
    return ReadPercent(std::string_view(text, std::to_chars(text, text + sizeof text, x).ptr), bare, from);
}

Outcome<double> ReadPercentile(std::string_view text, const Origin& from)
{
    const Outcome<double> percent = ReadPercent(text, Amount::Percent, from);
    if (percent && !(*percent > 0 && *percent < 100)) {
        return ProblemAt(Reason::PercentileOutOfRange, from, std::string(Trimmed(text)));
    }
    return percent;
}

Outcome<Margin> ReadMargin(std::string_view text, MarginKind kind, const Origin& from, Amount bare)
{
    const Outcome<double> size =
        kind == MarginKind::RelativePercent ? ReadPercent(text, bare, from) : ReadGiven(text, from);
    const Reason outOfRange =
        kind == MarginKind::Points ? Reason::PointsMarginOutOfRange : Reason::RelativeMarginOutOfRange;
    if (!size) {
        Problem problem = size.Failure();
        if (problem.reason == Reason::NotANumber || problem.reason == Reason::NoNumber) {
            problem.reason = outOfRange;  // the margin's rule says what it must be
        }
        problem.input = Input::Margin;
        return problem;
    }
    const Margin margin{*size, kind};
    if (auto problem = MarginProblem(margin)) {
        // Said as the number it is, the percent sign aside: "not '100'".
        bool sign = false;
        const std::string_view shown =
            kind == MarginKind::RelativePercent ? WithoutPercentSign(Trimmed(text), sign) : Trimmed(text);
        Problem at = ProblemAt(problem->reason, from, std::string(shown));
        at.input = Input::Margin;
        return at;
    }
    return margin;
}

Outcome<double> ReadPlanned(std::string_view text, const Origin& from)
{
    const Outcome<double> planned = ReadGiven(text, from);
    if (!planned || !(*planned > 0)) {
        Problem problem = ProblemAt(Reason::PlannedNotPositive, from, std::string(Trimmed(text)));
        problem.input = Input::Planned;
        return problem;
    }
    return planned;
}

Outcome<Adjustment> ReadAdjustment(std::string_view text, const Origin& from)
{
    Adjustment adjustment = Adjustment::Holm;
    if (!AdjustmentNamed(Trimmed(text), adjustment)) {
        return ProblemAt(Reason::UnknownAdjustment, from, std::string(text));
    }
    return adjustment;
}

Outcome<Split> ReadSplit(std::string_view text, const Origin& from, Amount bare)
{
    const std::string given(Trimmed(text));
    // Several shares say by their sum whether they are percents; one alone is read as a percent.
    const bool several = given.find('/') != std::string::npos;
    Split split;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = given.find('/', start);
        const std::string_view part = Trimmed(
            std::string_view(given).substr(start, end == std::string::npos ? std::string::npos : end - start));
        const Outcome<double> share = several ? ReadPoints(part, from) : ReadPercent(part, bare, from);
        if (!share) {
            Problem problem = share.Failure();
            problem.text = given;
            return problem;
        }
        if (!(*share > 0 && *share < 100)) {
            Problem problem = ProblemAt(Reason::ShareOutOfRange, from, given);
            problem.input = Input::Share;
            return problem;
        }
        split.sharesPercent.push_back(*share);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    if (several) {
        const double sum = std::accumulate(split.sharesPercent.begin(), split.sharesPercent.end(), 0.0);
        if (std::fabs(sum - 100) > 1e-9) {
            return ProblemAt(std::fabs(sum - 1) <= 1e-9 ? Reason::PercentOrFraction : Reason::SharesNotHundred, from,
                             given);
        }
    }
    return split;
}

Outcome<Split> SplitFor(const Split& split, std::size_t versions, const Origin& from)
{
    if (split.sharesPercent.size() == versions) {
        return split;
    }
    if (split.sharesPercent.size() == 1 && versions == 2) {
        return Split{{split.sharesPercent[0], 100 - split.sharesPercent[0]}};
    }
    Problem problem = ProblemAt(Reason::SharesForVersions, from);
    problem.count = split.sharesPercent.size();
    problem.expected = versions;
    return problem;
}

}  // namespace ambrelay

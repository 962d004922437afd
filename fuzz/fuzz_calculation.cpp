// Four texts, as typed into the four boxes, separated by newlines: views 1,
// responses 1, views 2, responses 2. Runs the checks, the reader, the
// engine and the display texts, and asserts what must hold for any text.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "checks/input_checks.h"
#include "figures/figure_text.h"
#include "engine/judge.h"
#include "engine/test_plan.h"
#include "engine/result_display.h"
#include "figures/problem_words.h"
#include "figures/window_view.h"
#include "figures/result_report.h"
#include "numbers/number_text.h"

using namespace ambrelay;

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail)
{
    std::fprintf(stderr, "invariant broken: %s [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

void Require(bool holds, const char* what, std::string_view detail = {})
{
    if (!holds) {
        Fail(what, detail);
    }
}

// The C library's strtod as an independent reader of what IsNumeric accepts:
// blanks and grouping commas removed, then parsed in the "C" locale.
double ReferenceRead(std::string_view text)
{
    std::string cleaned;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != ',') {
            cleaned.push_back(c);
        }
    }
    return std::strtod(cleaned.c_str(), nullptr);
}

double ReferenceRound(double x, int decimals)
{
    std::string buffer(400 + static_cast<std::size_t>(decimals), '\0');
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, x);
    return std::strtod(buffer.c_str(), nullptr);
}

int SignificantDigits(const std::string& text)
{
    const std::string mantissa = text.substr(0, text.find('E'));
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string::npos) {
        return 0;
    }
    int count = 0;
    for (auto i = first; i <= mantissa.find_last_of("123456789"); ++i) {
        count += mantissa[i] != '.' ? 1 : 0;
    }
    return count;
}

void CheckText(double x)
{
    const std::string text = NumberToText(x);
    Require(!text.empty(), "a finite number has a text", text);
    Require(text.find_first_of("nN") == std::string::npos && text.find("inf") == std::string::npos,
            "no nan or inf in a text", text);
    Require(SignificantDigits(text) <= 15, "at most 15 significant digits", text);
    Require(IsNumeric(text), "a written number is a number", text);
    char reference[64];
    std::snprintf(reference, sizeof reference, "%.14e", x);
    const double expected = std::fabs(x) > 1.79769313486231e308 ? std::copysign(1.79769313486231e308, x)
                                                                : std::strtod(reference, nullptr);
    Require(ReadNumber(text) == expected || (expected == 0 && ReadNumber(text) == 0), "a written number reads back",
            text);
}

void CheckRounding(double x)
{
    for (const int decimals : {2, 5, 6}) {
        const double rounded = RoundDecimal(x, decimals);
        Require(rounded == ReferenceRound(x, decimals) || (rounded == 0 && ReferenceRound(x, decimals) == 0),
                "rounding gives the nearest double of the rounded decimal");
    }
}

void CheckReading(const std::string& text)
{
    const double value = ReadNumber(text);
    Require(std::isfinite(value), "the reader never yields NaN or infinity", text);
    if (IsNumeric(text)) {
        const double reference = ReferenceRead(text);
        // strtod keeps subnormals where the reader may flush a value below the
        // smallest double to zero; both are within half the smallest step.
        Require(value == reference || (std::fabs(value) < 1e-307 && std::fabs(reference) < 1e-307),
                "a number reads as the number it shows", text);
        CheckText(value);
        CheckRounding(value);
    }
}

void CheckFinishedResult(const ComparisonResult& r, const ResultView& texts, const std::string& detail)
{
    for (const double field : {r.Views1, r.Views2, r.Ratio1, r.Ratio2, r.PooledRatio, r.ZStat, r.Probability,
                               r.Likelihood}) {
        Require(std::isfinite(field), "every field is finite", detail);
    }
    const double l = r.Likelihood;
    Require(l >= 50 && l <= 99.998 + 1e-9, "likelihood within [50, 99.998]", detail);
    Require(r.Probability >= 0.00002 - 1e-12 && r.Probability <= 0.5, "p value within [0.00002, 0.5]", detail);
    const VerdictBand expected = l == 50 ? VerdictBand::Identical
                                 : l < 70 ? VerdictBand::TooClose
                                 : l < 80 ? VerdictBand::SlightlyBetter
                                 : l < 90 ? VerdictBand::CouldBeWinner
                                 : l < 95 ? VerdictBand::AlmostCertain
                                          : VerdictBand::ClearWinner;
    Require(r.Band == expected, "the band matches the likelihood", detail);
    if (l < 70) {
        Require(!r.winner, "no winner below 70", detail);
    } else {
        Require(r.winner == (r.Ratio1 > r.Ratio2 ? Version::A : Version::B), "the winner has the higher ratio", detail);
        Require(texts.verdict.rfind("Variation " + WinnerText(r.winner) + " ", 0) == 0, "the sentence names the winner",
                detail);
        Require(texts.verdict.find(NumberToText(l) + "%") != std::string::npos, "the sentence shows the likelihood",
                detail);
    }
    for (const std::string* text : {&texts.pValue, &texts.ratio1, &texts.ratio2, &texts.zStat}) {
        Require(IsNumeric(*text), "every shown value is a number", *text);
    }
    // Two decimals fit in 15 significant digits up to 1e13: the z shown is exact.
    Require(r.ZStat >= 1e12 || ReadNumber(texts.zStat) == r.ZStat, "the z statistic shows exactly", texts.zStat);
    CheckText(r.ZStat);
    const std::optional<Version> marker = MarkerForShownRatios(texts.ratio1, texts.ratio2);
    if (r.winner == Version::A) {
        Require(marker != Version::B, "the marker never contradicts the winner", detail);
    }
    if (r.winner == Version::B) {
        Require(marker != Version::A, "the marker never contradicts the winner", detail);
    }
    Require(texts.bar == r.winner && (!r.winner || texts.star),
            "the winner has the bar and the marker", detail);
}

bool Probability(double p) { return p >= 0 && p <= 1; }

// A figure written to some decimals reads back within half a unit of the last one.
void CheckFigureText(double x, int decimals, const std::string& detail)
{
    const std::string text = Fixed(x, decimals);
    Require(IsNumeric(text), "a figure's text is a number", text);
    Require(std::fabs(ReadNumber(text) - x) <= 0.5 * std::pow(10.0, -decimals) + 1e-15 * std::fabs(x),
            "a figure's text reads back", detail + " " + text);
}

void CheckInsights(const Insights& in, const std::string& detail)
{
    Require(Probability(in.oneSidedP) && Probability(in.twoSidedP) && (!in.chanceToBeat || Probability(*in.chanceToBeat)),
            "probabilities lie within 0 and 1", detail);
    if (in.exact) {
        Require(Probability(in.exact->twoSided) && Probability(in.exact->oneSided),
                "exact p values lie within 0 and 1", detail);
    } else {
        Require(!ProblemText(in.exact.Failure()).empty(), "a missing exact test says why", detail);
    }
    if (in.sampleRatio) {
        Require(Probability(in.sampleRatio->pValue) && in.sampleRatio->chiSquare >= 0, "the split check is a test",
                detail);
    }
    Require(in.intervalLowPoints <= in.differencePoints && in.differencePoints <= in.intervalHighPoints,
            "the interval holds the difference", detail);
    const int decimals = IntervalDecimals(in.intervalLowPoints, in.intervalHighPoints);
    for (const double x : {in.differencePoints, in.intervalLowPoints, in.intervalHighPoints}) {
        CheckFigureText(x, decimals, detail);
    }
    if (in.liftIntervalPercent) {
        const Interval& lift = *in.liftIntervalPercent;
        Require(lift.low <= *in.liftPercent * (1 + 1e-9) + 1e-9 && *in.liftPercent <= lift.high * (1 + 1e-9) + 1e-9,
                "the lift interval holds the lift", detail);
    }
}

// The planner on the observed ratios: a plan with whole, finite counts, or a reason.
void CheckPlan(double ratio1, double ratio2, const std::string& detail)
{
    PlanInputs in;
    in.baseline = ratio1;
    in.effect = ratio2 - ratio1;
    in.kind = EffectKind::Absolute;
    const PlanOutcome plan = PlanTest(in);
    if (!plan) {
        Require(!ProblemText(plan.Failure()).empty(), "an impossible plan says why", detail);
        return;
    }
    Require(std::isfinite(plan->total) && plan->neededA >= plan->perVersionA
                && plan->neededA == std::floor(plan->neededA),
            "a plan is whole observations", detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> texts;
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos) {
            break;
        }
        texts.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    texts.emplace_back(input.substr(std::min(start, input.size())));
    texts.resize(4);
    for (const std::string& text : texts) {
        CheckReading(text);
    }

    const CountTexts inputs{texts[0], texts[1], texts[2], texts[3]};
    if (const auto failure = RunInputChecks(inputs)) {
        Require(failure->check != InputCheck::Numerics || failure->problem.input.has_value(),
                "a failed numeric check names its box");
        return 0;
    }
    const Counts counts = ReadCounts(inputs);
    const double views1 = counts.views1;
    const double responses1 = counts.responses1;
    const double views2 = counts.views2;
    const double responses2 = counts.responses2;
    const Judgement outcome = Judge(counts);
    const std::string detail = texts[0] + " | " + texts[1] + " | " + texts[2] + " | " + texts[3];
    if (!outcome.Finished()) {
        const bool negative = views1 < 0 || responses1 < 0 || views2 < 0 || responses2 < 0;
        Require(negative == (outcome.result.Failure().reason == Reason::NegativeCount),
                "negative counts, and only they, fail as negative", detail);
        return 0;
    }
    Require(views1 > 0 && views2 > 0 && responses1 >= 0 && responses2 >= 0, "a verdict needs real counts", detail);
    CheckFinishedResult(outcome.calculation, ViewOf(outcome.calculation), detail);
    CheckText(outcome.calculation.Likelihood);
    const std::string words = ResultReport(outcome);
    Require(words.find("nan") == std::string::npos && words.find("inf") == std::string::npos,
            "the report shows plain numbers, or says why a figure has none", detail);
    const Insights& insights = outcome.Figures();
    // Counts at the edge of what doubles carry may leave a figure infinite;
    // the report above says so, and the relations below need finite figures.
    if (std::isfinite(insights.differencePoints) && std::isfinite(insights.intervalLowPoints)
        && std::isfinite(insights.intervalHighPoints)) {
        CheckInsights(insights, detail);
    }
    CheckPlan(outcome.calculation.Ratio1, outcome.calculation.Ratio2, detail);
    return 0;
}

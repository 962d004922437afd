#include "engine/figures.h"

#include <algorithm>

#include "engine/figure_text.h"
#include "engine/looking_early.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

enum JudgementFigure {
    kRatio1, kRatio2, kPValue, kZ, kLikelihood, kWinner, kVerdict, kLeader, kRatio1Percent, kRatio2Percent,
    kDifference, kPOneSided, kPTwoSided, kFisherTwoSided, kFisherOneSided, kLift, kChance, kObservationsNeeded,
    kSplitChiSquare, kSplitP, kAlwaysValidP, kAlwaysValidDifference, kPlanned, kNotWorse, kNotWorseP,
    kJudgementFigures
};

std::string Percent(double ratio) { return PercentText(ratio * 100) + "%"; }

// "10.0% (8.3% to 12.0%)", "3.0 points (0.2 to 5.8 points)": the estimate and
// its interval to the same digits; a unit in words is said once a number.
std::string WithInterval(double estimate, const Interval& i, const std::string& unit)
{
    const int d = IntervalDecimals(i.low, i.high);
    const std::string low = unit.front() == ' ' ? "" : unit;
    return Fixed(estimate, d) + unit + " (" + Fixed(i.low, d) + low + " to " + Fixed(i.high, d) + unit + ")";
}

std::string DifferenceSentence(const Insights& in)
{
    const int decimals = IntervalDecimals(in.intervalLowPoints, in.intervalHighPoints);
    const std::string difference = Fixed(in.differencePoints, decimals);
    const std::string interval = " (95% confidence interval " + Fixed(in.intervalLowPoints, decimals) + " to "
                                 + Fixed(in.intervalHighPoints, decimals) + " points)";
    const std::string leader = VersionName(in.leader);
    const std::string other = VersionName(in.Other());
    if (in.identical) {
        return "A and B responded equally often: " + Percent(in.leaderRatio) + " each" + interval + ".";
    }
    if (in.liftPercent) {
        const int liftDecimals =
            in.liftIntervalPercent ? IntervalDecimals(in.liftIntervalPercent->low, in.liftIntervalPercent->high) : 1;
        return leader + " responded " + Fixed(*in.liftPercent, liftDecimals) + "% more often than " + other + ": "
               + Percent(in.leaderRatio) + " against " + Percent(in.otherRatio) + ", a difference of " + difference
               + " points" + interval + ".";
    }
    return leader + " responded " + Percent(in.leaderRatio) + " of the time and " + other
           + " never, a difference of " + difference + " points" + interval + ".";
}

void WordJudgement(std::vector<Figure>& f, const Judgement& j)
{
    const Insights& in = *j.insights;
    const ResultView& shown = j.view;
    const std::string leader = VersionName(in.leader);
    const std::string other = VersionName(in.Other());
    const auto word = [&](int i, std::string label, std::string words) {
        f[i].label = std::move(label);
        f[i].words = std::move(words);
    };
    const auto say = [&](int i, std::string sentence, Sentence place) {
        f[i].sentence = std::move(sentence);
        f[i].place = place;
    };
    word(kRatio1, "Ratio A", shown.ratio1);
    word(kRatio2, "Ratio B", shown.ratio2);
    word(kPValue, "p value", shown.pValue);
    word(kZ, "Z statistic", shown.zStat);
    word(kLikelihood, "Likelihood", NumberToText(j.calculation.Likelihood) + "%");
    word(kWinner, "Winner", WinnerText(j.calculation.winner));
    word(kVerdict, "Verdict", shown.verdict);
    word(kLeader, "Higher response ratio", in.identical ? "neither: A and B are equal" : leader);
    word(kRatio1Percent, "Response ratio of A (95% Wilson interval)",
         WithInterval(j.calculation.Ratio1 * 100, in.ratio1IntervalPercent, "%"));
    word(kRatio2Percent, "Response ratio of B (95% Wilson interval)",
         WithInterval(j.calculation.Ratio2 * 100, in.ratio2IntervalPercent, "%"));
    word(kDifference, "Difference, " + leader + " minus " + other + " (95% interval)",
         WithInterval(in.differencePoints, {in.intervalLowPoints, in.intervalHighPoints}, " points"));
    say(kDifference, DifferenceSentence(in), Sentence::Paragraph);
    word(kPOneSided, "p value, normal approximation, one-sided", PValueText(in.oneSidedP));
    word(kPTwoSided, "p value, normal approximation, two-sided", PValueText(in.twoSidedP));
    say(kPTwoSided,
        "The p value of the normal approximation is " + PValueText(in.oneSidedP) + " one-sided and "
            + PValueText(in.twoSidedP) + " two-sided.",
        Sentence::Paragraph);
    const std::string exact = ExactTestText(in.exact);
    word(kFisherTwoSided, "p value, Fisher's exact test, two-sided",
         in.exact.test ? PValueText(in.exact.test->twoSided) : exact);
    say(kFisherTwoSided, exact, Sentence::OwnLine);
    word(kFisherOneSided, "p value, Fisher's exact test, one-sided toward " + leader,
         in.exact.test ? PValueText(in.exact.test->oneSided) : exact);
    if (in.liftPercent && in.liftIntervalPercent) {
        const Interval& lift = *in.liftIntervalPercent;
        const int d = IntervalDecimals(lift.low, lift.high);
        word(kLift, "Lift of " + leader + " over " + other + " (95% interval)",
             WithInterval(*in.liftPercent, lift, "%"));
        say(kLift,
            "Lift of " + leader + " over " + other + ": " + Fixed(*in.liftPercent, d) + "% (95% confidence interval "
                + Fixed(lift.low, d) + "% to " + Fixed(lift.high, d) + "%).",
            Sentence::OwnLine);
    } else if (in.liftPercent) {
        word(kLift, "Lift of " + leader + " over " + other, Fixed(*in.liftPercent, 1) + "% (no interval)");
    } else {
        word(kLift, "Lift of " + leader + " over " + other, "none: " + other + " never responded");
        say(kLift, "No lift: " + other + " never responded, so there is nothing to compare against.",
            Sentence::OwnLine);
    }
    const std::string chanceLabel = "Chance that " + leader + " is really better (flat priors)";
    if (in.chanceToBeat) {
        word(kChance, chanceLabel, ChanceText(*in.chanceToBeat));
        say(kChance,
            "Chance that " + leader + "'s true response rate is the higher (flat priors): "
                + ChanceText(*in.chanceToBeat) + ".",
            Sentence::OwnLine);
    } else {
        word(kChance, chanceLabel, "not computed beyond a billion observations a version");
    }
    word(kObservationsNeeded, "Observations per version to detect it (80% power, 5% two-sided)",
         in.observationsNeeded ? Grouped(*in.observationsNeeded) : "none: there is no difference");
    say(kObservationsNeeded,
        in.observationsNeeded ? "To detect a difference this size with 80% power at the 5% level, a test needs about "
                                    + Grouped(*in.observationsNeeded) + " observations per version."
                              : "With no difference between the versions, there is no difference for a larger "
                                "test to detect.",
        Sentence::Paragraph);
    if (in.sampleRatio) {
        word(kSplitChiSquare, "Chi-square of the split against an even one",
             NumberToText(RoundDecimal(in.sampleRatio->chiSquare, 2)));
        word(kSplitP, "p value of the split against an even one", PValueText(in.sampleRatio->pValue));
    } else {
        word(kSplitChiSquare, "Chi-square of the split against an even one", "not computed");
        word(kSplitP, "p value of the split against an even one", "not computed");
    }
}

// The peeking-safe answer and "not worse than", in words.
void WordLookingEarly(std::vector<Figure>& f, const Insights& in)
{
    const std::string planned = Grouped(in.plannedObservations) + " observations";
    const std::string plannedWords = in.plannedByUser ? planned : planned + ", the default";
    f[kPlanned].label = "Planned observations in all, for the peeking-safe test";
    f[kPlanned].words = in.plannedByUser ? Grouped(in.plannedObservations)
                                         : Grouped(in.plannedObservations) + " (the default; give your own)";
    f[kAlwaysValidP].label = "p value, peeking-safe (valid however often you look)";
    f[kAlwaysValidDifference].label = "Difference, " + VersionName(in.leader) + " minus " + VersionName(in.Other())
                                      + ", peeking-safe (95% interval)";
    if (const auto& test = in.alwaysValid.test) {
        const bool stop = test->pValue < kLookingAlpha;
        f[kAlwaysValidP].words = PValueText(test->pValue);
        f[kAlwaysValidDifference].words =
            WithInterval(in.differencePoints, *f[kAlwaysValidDifference].interval, " points");
        f[kAlwaysValidP].sentence =
            "If you have looked before: the peeking-safe p value is " + PValueText(test->pValue) + " (planned "
            + plannedWords + "): "
            + (stop ? "safe to stop, the difference holds however often you looked." : "keep the test running.")
            + (in.plannedByUser ? "" : " A planned total of observations makes this answer sharper.");
    } else {
        f[kAlwaysValidP].words = in.alwaysValid.gap;
        f[kAlwaysValidDifference].words = "none";
        f[kAlwaysValidP].sentence = "If you have looked before: " + in.alwaysValid.gap;
    }
    f[kAlwaysValidP].place = Sentence::OwnLine;
    if (!in.margin) {
        f[kNotWorse].label = "B not worse than A by more than a margin";
        f[kNotWorse].words = "no margin given";
        f[kNotWorseP].label = "p value, B not worse than A";
        f[kNotWorseP].words = "no margin given";
        return;
    }
    const std::string margin = MarginText(*in.margin);
    f[kNotWorse].label = "B not worse than A by more than " + margin;
    f[kNotWorseP].label = "p value, B not worse than A by more than " + margin + " (one-sided)";
    f[kNotWorse].place = Sentence::OwnLine;
    if (const auto& test = in.nonInferiority.test) {
        f[kNotWorse].words = test->notWorse ? "yes" : "not shown";
        f[kNotWorseP].words = PValueText(test->pValue);
        f[kNotWorse].sentence =
            test->notWorse ? "B is not worse than A by more than " + margin + " (one-sided " + PEquals(test->pValue)
                                 + ")."
                           : "Not shown that B is not worse than A by more than " + margin + ": B may be worse by "
                                 + margin + " or more (one-sided " + PEquals(test->pValue) + ").";
    } else {
        f[kNotWorse].words = in.nonInferiority.gap;
        f[kNotWorseP].words = "none";
        f[kNotWorse].sentence = "B not worse than A by more than " + margin + "? " + in.nonInferiority.gap;
    }
}

template <typename T>
FigureValue ValueOf(const std::optional<T>& x)
{
    return x ? FigureValue(*x) : FigureValue();
}

}  // namespace

std::optional<double> Figure::Number() const
{
    const double* x = std::get_if<double>(&value);
    return x ? std::optional<double>(*x) : std::nullopt;
}

std::vector<Figure> BlankFigures(const std::vector<FigureKind>& kinds)
{
    std::vector<Figure> figures(kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        figures[i].kind = &kinds[i];
    }
    return figures;
}

const std::vector<FigureKind>& JudgementFigureKinds()
{
    static const std::vector<FigureKind> kinds = {
        {"ratio1", "", Unit::Ratio},
        {"ratio2", "", Unit::Ratio},
        {"p_value", "", Unit::PValue},
        {"z", "", Unit::Statistic},
        {"likelihood", "", Unit::Percent},
        {"winner", "", Unit::Text},
        {"verdict", "", Unit::Text},
        {"leader", "", Unit::Text},
        {"ratio1_percent", "ratio1_ci_percent", Unit::Percent},
        {"ratio2_percent", "ratio2_ci_percent", Unit::Percent},
        {"difference_points", "difference_ci_points", Unit::Points},
        {"p_one_sided", "", Unit::PValue},
        {"p_two_sided", "", Unit::PValue},
        {"fisher_p_two_sided", "", Unit::PValue},
        {"fisher_p_one_sided", "", Unit::PValue},
        {"lift_percent", "lift_ci_percent", Unit::Percent},
        {"chance_to_beat", "", Unit::Probability},
        {"observations_needed", "", Unit::Count},
        {"srm_chi_square", "", Unit::Statistic},
        {"srm_p_value", "", Unit::PValue},
        {"always_valid_p", "", Unit::PValue},
        {"always_valid_difference_points", "always_valid_ci_points", Unit::Points},
        {"planned_observations", "", Unit::Count},
        {"non_inferior", "", Unit::YesNo},
        {"non_inferiority_p", "", Unit::PValue},
    };
    return kinds;
}

std::vector<Figure> JudgementFigures(const Judgement& j, Wording wording)
{
    if (!j.Finished() || !j.insights) {
        return {};
    }
    std::vector<Figure> f = BlankFigures(JudgementFigureKinds());
    const Insights& in = *j.insights;
    const ResultView& shown = j.view;
    const Calculation& c = j.calculation;
    // The window's own figures as the user reads them there.
    f[kRatio1].value = ReadNumber(shown.ratio1);
    f[kRatio2].value = ReadNumber(shown.ratio2);
    f[kPValue].value = ReadNumber(shown.pValue);
    f[kZ].value = ReadNumber(shown.zStat);
    f[kLikelihood].value = ReadNumber(NumberToText(c.Likelihood));
    f[kWinner].value = WinnerText(c.winner);
    f[kVerdict].value = shown.verdict;
    f[kLeader].value = VersionName(in.leader);
    f[kRatio1Percent].value = c.Ratio1 * 100;
    f[kRatio1Percent].interval = in.ratio1IntervalPercent;
    f[kRatio2Percent].value = c.Ratio2 * 100;
    f[kRatio2Percent].interval = in.ratio2IntervalPercent;
    f[kDifference].value = in.differencePoints;
    f[kDifference].interval = Interval{in.intervalLowPoints, in.intervalHighPoints};
    f[kPOneSided].value = in.oneSidedP;
    f[kPTwoSided].value = in.twoSidedP;
    if (in.exact.test) {
        f[kFisherTwoSided].value = in.exact.test->twoSided;
        f[kFisherOneSided].value = in.exact.test->oneSided;
    }
    f[kLift].value = ValueOf(in.liftPercent);
    f[kLift].interval = in.liftIntervalPercent;
    f[kChance].value = ValueOf(in.chanceToBeat);
    f[kObservationsNeeded].value = ValueOf(in.observationsNeeded);
    if (in.sampleRatio) {
        f[kSplitChiSquare].value = in.sampleRatio->chiSquare;
        f[kSplitP].value = in.sampleRatio->pValue;
    }
    f[kPlanned].value = in.plannedObservations;
    if (const auto& test = in.alwaysValid.test) {
        f[kAlwaysValidP].value = test->pValue;
        // Leader minus the other, as the difference above.
        const Interval d = test->differencePoints;
        const bool bLeads = in.leader == Version::B;
        f[kAlwaysValidDifference].value = in.differencePoints;
        f[kAlwaysValidDifference].interval = bLeads ? d : Interval{-d.high, -d.low};
    }
    if (const auto& test = in.nonInferiority.test; test && in.margin) {
        f[kNotWorse].value = test->notWorse;
        f[kNotWorseP].value = test->pValue;
    }
    if (wording == Wording::ForPeople) {
        WordJudgement(f, j);
        WordLookingEarly(f, in);
    }
    return f;
}

const Figure* FindFigure(const std::vector<Figure>& figures, std::string_view key)
{
    const auto it = std::find_if(figures.begin(), figures.end(), [&](const Figure& f) { return f.kind->key == key; });
    return it == figures.end() ? nullptr : &*it;
}

std::string SummaryText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings, bool withWarnings)
{
    std::string paragraph;
    std::string lines;
    for (const Figure& f : figures) {
        if (f.place == Sentence::Paragraph) {
            paragraph += (paragraph.empty() ? "" : " ") + f.sentence;
        }
    }
    if (withWarnings) {
        for (const Warning& w : warnings) {
            lines += "\n" + w.message;
        }
    }
    // The small-sample warning already says what Fisher's exact test gives.
    const bool exactSaid = withWarnings && std::any_of(warnings.begin(), warnings.end(), [](const Warning& w) {
                               return w.code == WarningCode::SmallSample;
                           });
    for (const Figure& f : figures) {
        if (f.place == Sentence::OwnLine && !(exactSaid && f.kind == &JudgementFigureKinds()[kFisherTwoSided])) {
            lines += "\n" + f.sentence;
        }
    }
    return paragraph + lines;
}

std::string FiguresText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings)
{
    std::string text;
    for (const Warning& w : warnings) {
        text += "Warning: " + w.message + "\n";
    }
    text += warnings.empty() ? "" : "\n";
    for (const Figure& f : figures) {
        text += f.label + ": " + f.words + "\n";
    }
    const std::string summary = SummaryText(figures, warnings, false);
    return summary.empty() ? text : text + "\n" + summary + "\n";
}

}  // namespace ambrelay

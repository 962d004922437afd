#include "figures/figures.h"

#include <algorithm>
#include <cmath>

#include "engine/result_display.h"
#include "figures/figure_text.h"
#include "figures/problem_words.h"
#include "figures/verdict_words.h"
#include "figures/window_view.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

using J = JudgementFigure;

constexpr FigureKind kJudgementKinds[] = {
    // The window's own figures, rounded as it shows them: named so that no
    // script takes the window's one-sided p, read from a table, for an
    // analyst's p value.
    Kind(J::Ratio1, "window_ratio1", "", Unit::Ratio),
    Kind(J::Ratio2, "window_ratio2", "", Unit::Ratio),
    Kind(J::PValue, "window_p_value", "", Unit::PValue),
    Kind(J::Z, "window_z", "", Unit::Statistic),
    Kind(J::Likelihood, "window_likelihood", "", Unit::Percent),
    Kind(J::Winner, "winner", "", Unit::Text),
    Kind(J::Verdict, "verdict", "", Unit::Text),
    Kind(J::Leader, "leader", "", Unit::Text),
    Kind(J::Ratio1Percent, "ratio1_percent", "ratio1_ci_percent", Unit::Percent),
    Kind(J::Ratio2Percent, "ratio2_percent", "ratio2_ci_percent", Unit::Percent),
    Kind(J::Difference, "difference_points", "difference_ci_points", Unit::Points),
    Kind(J::ZSigned, "z_signed", "", Unit::Statistic),
    Kind(J::POneSided, "p_one_sided", "", Unit::PValue),
    Kind(J::PTwoSided, "p_two_sided", "", Unit::PValue),
    Kind(J::FisherTwoSided, "fisher_p_two_sided", "", Unit::PValue),
    Kind(J::FisherOneSided, "fisher_p_one_sided", "", Unit::PValue),
    Kind(J::Lift, "lift_percent", "lift_ci_percent", Unit::Percent),
    Kind(J::Chance, "chance_to_beat", "", Unit::Probability),
    Kind(J::ObservationsNeeded, "observations_needed", "", Unit::Count),
    Kind(J::SplitChiSquare, "srm_chi_square", "", Unit::Statistic),
    Kind(J::SplitP, "srm_p_value", "", Unit::PValue),
    Kind(J::AlwaysValidP, "always_valid_p", "", Unit::PValue),
    Kind(J::AlwaysValidDifference, "always_valid_difference_points", "always_valid_ci_points", Unit::Points),
    Kind(J::Planned, "planned_observations", "", Unit::Count),
    Kind(J::NotWorse, "non_inferior", "", Unit::YesNo),
    Kind(J::NotWorseP, "non_inferiority_p", "", Unit::PValue),
};
static_assert(EveryKindInOrder<JudgementFigure>(kJudgementKinds), "one kind for every judgement figure, in order");

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
    if (in.liftPercent.Failure().reason == Reason::OtherNeverResponded) {
        return leader + " responded " + Percent(in.leaderRatio) + " of the time and " + other
               + " never, a difference of " + difference + " points" + interval + ".";
    }
    return leader + " responded more often than " + other + ": " + Percent(in.leaderRatio) + " against "
           + Percent(in.otherRatio) + ", a difference of " + difference + " points" + interval + ".";
}

// Fisher's exact test in a sentence: its p value, or why there is none.
std::string ExactTestSentence(const ExactTestOutcome& exact)
{
    return exact ? "Fisher's exact test gives " + PEquals(exact->twoSided) + " two-sided." : ProblemText(exact.Failure());
}

class Wordings {
public:
    Wordings(FigureList<JudgementFigure>& figures) : f_(figures) {}
    void Word(J id, std::string label, std::string words)
    {
        f_[id].label = std::move(label);
        f_[id].words = std::move(words);
    }
    void Say(J id, std::string sentence, Sentence place)
    {
        f_[id].sentence = std::move(sentence);
        f_[id].place = place;
    }

private:
    FigureList<JudgementFigure>& f_;
};

void WordJudgement(FigureList<JudgementFigure>& f, const Judgement& j)
{
    const Insights& in = j.Figures();
    const ResultView shown = ViewOf(j.calculation);
    const std::string leader = VersionName(in.leader);
    const std::string other = VersionName(in.Other());
    Wordings w(f);
    w.Word(J::Ratio1, "Ratio A", shown.ratio1);
    w.Word(J::Ratio2, "Ratio B", shown.ratio2);
    w.Word(J::PValue, "p value", shown.pValue);
    w.Word(J::Z, "Z statistic", shown.zStat);
    w.Word(J::Likelihood, "Likelihood", NumberToText(j.calculation.Likelihood) + "%");
    w.Word(J::Winner, "Winner", WinnerText(j.calculation.winner));
    w.Word(J::Verdict, "Verdict", shown.verdict);
    w.Word(J::Leader, "Higher response ratio", in.identical ? "neither: A and B are equal" : leader);
    w.Word(J::Ratio1Percent, "Response ratio of A (95% Wilson interval)",
           WithInterval(j.calculation.Ratio1 * 100, in.ratio1IntervalPercent, "%"));
    w.Word(J::Ratio2Percent, "Response ratio of B (95% Wilson interval)",
           WithInterval(j.calculation.Ratio2 * 100, in.ratio2IntervalPercent, "%"));
    w.Word(J::Difference, "Difference, " + leader + " minus " + other + " (95% interval)",
           WithInterval(in.differencePoints, {in.intervalLowPoints, in.intervalHighPoints}, " points"));
    w.Say(J::Difference, DifferenceSentence(in), Sentence::Paragraph);
    w.Word(J::ZSigned, "Z statistic, unrounded, B against A", StatisticText(-j.calculation.Z));
    w.Word(J::POneSided, "p value, normal approximation, one-sided", PValueText(in.oneSidedP));
    w.Word(J::PTwoSided, "p value, normal approximation, two-sided", PValueText(in.twoSidedP));
    w.Say(J::PTwoSided,
          "The p value of the normal approximation is " + PValueText(in.oneSidedP) + " one-sided and "
              + PValueText(in.twoSidedP) + " two-sided.",
          Sentence::Paragraph);
    const std::string exact = ExactTestSentence(in.exact);
    w.Word(J::FisherTwoSided, "p value, Fisher's exact test, two-sided",
           in.exact ? PValueText(in.exact->twoSided) : exact);
    w.Say(J::FisherTwoSided, exact, Sentence::OwnLine);
    w.Word(J::FisherOneSided, "p value, Fisher's exact test, one-sided toward " + leader,
           in.exact ? PValueText(in.exact->oneSided) : exact);
    if (in.liftPercent && in.liftIntervalPercent) {
        const Interval& lift = *in.liftIntervalPercent;
        const int d = IntervalDecimals(lift.low, lift.high);
        w.Word(J::Lift, "Lift of " + leader + " over " + other + " (95% interval)",
               WithInterval(*in.liftPercent, lift, "%"));
        w.Say(J::Lift,
              "Lift of " + leader + " over " + other + ": " + Fixed(*in.liftPercent, d)
                  + "% (95% confidence interval " + Fixed(lift.low, d) + "% to " + Fixed(lift.high, d) + "%).",
              Sentence::OwnLine);
    } else if (in.liftPercent) {
        w.Word(J::Lift, "Lift of " + leader + " over " + other, Fixed(*in.liftPercent, 1) + "% (no interval)");
    } else if (in.liftPercent.Failure().reason != Reason::OtherNeverResponded) {
        w.Word(J::Lift, "Lift of " + leader + " over " + other, ProblemText(in.liftPercent.Failure()));
    } else {
        w.Word(J::Lift, "Lift of " + leader + " over " + other, "none: " + other + " never responded");
        w.Say(J::Lift, "No lift: " + other + " never responded, so there is nothing to compare against.",
              Sentence::OwnLine);
    }
    const std::string chanceLabel = "Chance that " + leader + " is really better (flat priors)";
    if (in.chanceToBeat) {
        w.Word(J::Chance, chanceLabel, ChanceText(*in.chanceToBeat));
        w.Say(J::Chance,
              "Chance that " + leader + "'s true response rate is the higher (flat priors): "
                  + ChanceText(*in.chanceToBeat) + ".",
              Sentence::OwnLine);
    } else {
        w.Word(J::Chance, chanceLabel, ProblemText(in.chanceToBeat.Failure()));
    }
    w.Word(J::ObservationsNeeded, "Observations per version to detect it (80% power, 5% two-sided)",
           in.observationsNeeded ? Grouped(*in.observationsNeeded) : ProblemText(in.observationsNeeded.Failure()));
    w.Say(J::ObservationsNeeded,
          in.observationsNeeded
              ? "To detect a difference this size with 80% power at the 5% level, a test needs about "
                    + Grouped(*in.observationsNeeded) + " observations per version."
              : in.identical ? "With no difference between the versions, there is no difference for a larger "
                               "test to detect."
                             : ProblemText(in.observationsNeeded.Failure()),
          Sentence::Paragraph);
    const std::string splitLabel = " of the split against " + SplitName(in.splitPercentA);
    w.Word(J::SplitChiSquare, "Chi-square" + splitLabel,
           in.sampleRatio ? StatisticText(in.sampleRatio->chiSquare) : "not computed");
    w.Word(J::SplitP, "p value" + splitLabel, in.sampleRatio ? PValueText(in.sampleRatio->pValue) : "not computed");
}

// The peeking-safe answer and "not worse than", in words.
void WordLookingEarly(FigureList<JudgementFigure>& f, const Insights& in)
{
    const std::string planned = Grouped(in.plannedObservations) + " observations";
    const std::string plannedWords = in.plannedByUser ? planned : planned + ", the default";
    f[J::Planned].label = "Planned observations in all, for the peeking-safe test";
    f[J::Planned].words = in.plannedByUser ? Grouped(in.plannedObservations)
                                           : Grouped(in.plannedObservations) + " (the default; give your own)";
    f[J::AlwaysValidP].label = "p value, peeking-safe (valid however often you look)";
    f[J::AlwaysValidDifference].label = "Difference, " + VersionName(in.leader) + " minus "
                                        + VersionName(in.Other()) + ", peeking-safe (95% interval)";
    if (const auto& test = in.alwaysValid) {
        const bool stop = test->pValue < kLookingAlpha;
        f[J::AlwaysValidP].words = PValueText(test->pValue);
        f[J::AlwaysValidDifference].words =
            WithInterval(in.differencePoints, *f[J::AlwaysValidDifference].interval, " points");
        f[J::AlwaysValidP].sentence =
            "If you have looked before: the peeking-safe p value is " + PValueText(test->pValue) + " (planned "
            + plannedWords + "): "
            + (stop ? "safe to stop, the difference holds however often you looked." : "keep the test running.")
            + (in.plannedByUser ? "" : " A planned total of observations makes this answer sharper.");
    } else {
        f[J::AlwaysValidP].words = ProblemText(test.Failure());
        f[J::AlwaysValidDifference].words = "none";
        f[J::AlwaysValidP].sentence = "If you have looked before: " + ProblemText(test.Failure());
    }
    f[J::AlwaysValidP].place = Sentence::OwnLine;
    if (!in.margin || !in.nonInferiority) {
        f[J::NotWorse].label = "B not worse than A by more than a margin";
        f[J::NotWorse].words = "no margin given";
        f[J::NotWorseP].label = "p value, B not worse than A";
        f[J::NotWorseP].words = "no margin given";
        return;
    }
    const std::string margin = MarginText(*in.margin);
    f[J::NotWorse].label = "B not worse than A by more than " + margin;
    f[J::NotWorseP].label = "p value, B not worse than A by more than " + margin + " (one-sided)";
    f[J::NotWorse].place = Sentence::OwnLine;
    if (const auto& test = *in.nonInferiority) {
        f[J::NotWorse].words = test->notWorse ? "yes" : "not shown";
        f[J::NotWorseP].words = PValueText(test->pValue);
        f[J::NotWorse].sentence =
            test->notWorse ? "B is not worse than A by more than " + margin + " (one-sided " + PEquals(test->pValue)
                                 + ")."
                           : "Not shown that B is not worse than A by more than " + margin + ": B may be worse by "
                                 + margin + " or more (one-sided " + PEquals(test->pValue) + ").";
    } else {
        f[J::NotWorse].words = ProblemText(test.Failure());
        f[J::NotWorseP].words = "none";
        f[J::NotWorse].sentence = "B not worse than A by more than " + margin + "? " + ProblemText(test.Failure());
    }
}

template <typename T>
FigureValue ValueOf(const Outcome<T>& x)
{
    return x ? FigureValue(*x) : FigureValue();
}

bool Finite(const Figure& f)
{
    const double* x = std::get_if<double>(&f.value);
    return (!x || std::isfinite(*x)) && (!f.interval || (std::isfinite(f.interval->low) && std::isfinite(f.interval->high)));
}

}  // namespace

void SetFigure(Figure& f, FigureValue value, std::string label, std::string words)
{
    f.value = std::move(value);
    f.label = std::move(label);
    f.words = std::move(words);
}

std::optional<double> Figure::Number() const
{
    const double* x = std::get_if<double>(&value);
    return x ? std::optional<double>(*x) : std::nullopt;
}

std::span<const FigureKind> JudgementFigureKinds() { return kJudgementKinds; }

JudgementChoice EveryJudgementFigure() { return JudgementChoice().set(); }

InsightParts PartsFor(const JudgementChoice& chosen)
{
    const auto any = [&](std::initializer_list<J> ids) {
        return std::any_of(ids.begin(), ids.end(), [&](J id) { return chosen.test(static_cast<std::size_t>(id)); });
    };
    InsightParts parts;
    parts.ratioIntervals = any({J::Ratio1Percent, J::Ratio2Percent});
    parts.lift = any({J::Lift});
    parts.normalP = any({J::POneSided, J::PTwoSided});
    parts.exact = any({J::FisherTwoSided, J::FisherOneSided});
    parts.chance = any({J::Chance});
    parts.needed = any({J::ObservationsNeeded});
    parts.alwaysValid = any({J::AlwaysValidP, J::AlwaysValidDifference});
    parts.nonInferiority = any({J::NotWorse, J::NotWorseP});
    return parts;
}

FigureList<JudgementFigure> JudgementFigures(const Judgement& j, Wording wording)
{
    FigureList<JudgementFigure> f;
    return FillJudgementFigures(j, wording, f) ? f : FigureList<JudgementFigure>();
}

bool FillJudgementFigures(const Judgement& j, Wording wording, FigureList<JudgementFigure>& f,
                          const JudgementChoice& chosen)
{
    if (!j.Finished()) {
        return false;
    }
    if (f.Empty()) {
        f = FigureList<JudgementFigure>(kJudgementKinds);
    }
    // What the last judgement left goes; the texts keep their storage.
    for (J id = J::Ratio1; id != J::Count; id = static_cast<J>(static_cast<int>(id) + 1)) {
        Figure& figure = f[id];
        figure.value = std::monostate();
        figure.interval.reset();
        figure.label.clear();
        figure.words.clear();
        figure.sentence.clear();
        figure.place = Sentence::None;
    }
    const Insights& in = j.Figures();
    const ComparisonResult& c = j.calculation;
    // The window's own figures as the user reads them there: rounded as the
    // window rounds them, to the digits it writes (when they are written).
    const auto wanted = [&](J id) { return wording == Wording::ForPeople || chosen.test(static_cast<std::size_t>(id)); };
    if (wanted(J::Ratio1)) {
        f[J::Ratio1].value = RoundDecimalShown(c.Ratio1, kShownRatioDecimals);
    }
    if (wanted(J::Ratio2)) {
        f[J::Ratio2].value = RoundDecimalShown(c.Ratio2, kShownRatioDecimals);
    }
    if (wanted(J::PValue)) {
        f[J::PValue].value = RoundDecimalShown(c.Probability, kShownPValueDecimals);
    }
    if (wanted(J::Z)) {
        f[J::Z].value = ShownValue(c.ZStat);
    }
    if (wanted(J::Likelihood)) {
        f[J::Likelihood].value = ShownValue(c.Likelihood);
    }
    f[J::Winner].value = WinnerText(c.winner);
    if (wanted(J::Verdict)) {
        f[J::Verdict].value = VerdictSentence(c);
    }
    f[J::Leader].value = VersionName(in.leader);
    f[J::Ratio1Percent].value = c.Ratio1 * 100;
    f[J::Ratio1Percent].interval = in.ratio1IntervalPercent;
    f[J::Ratio2Percent].value = c.Ratio2 * 100;
    f[J::Ratio2Percent].interval = in.ratio2IntervalPercent;
    f[J::Difference].value = in.differencePoints;
    f[J::Difference].interval = Interval{in.intervalLowPoints, in.intervalHighPoints};
    // B against A, as the averages' t: positive when B responded more often.
    f[J::ZSigned].value = -c.Z;
    f[J::POneSided].value = in.oneSidedP;
    f[J::PTwoSided].value = in.twoSidedP;
    if (in.exact) {
        f[J::FisherTwoSided].value = in.exact->twoSided;
        f[J::FisherOneSided].value = in.exact->oneSided;
    }
    f[J::Lift].value = ValueOf(in.liftPercent);
    f[J::Lift].interval = in.liftIntervalPercent;
    f[J::Chance].value = ValueOf(in.chanceToBeat);
    f[J::ObservationsNeeded].value = ValueOf(in.observationsNeeded);
    if (in.sampleRatio) {
        f[J::SplitChiSquare].value = in.sampleRatio->chiSquare;
        f[J::SplitP].value = in.sampleRatio->pValue;
    }
    f[J::Planned].value = in.plannedObservations;
    if (const auto& test = in.alwaysValid) {
        f[J::AlwaysValidP].value = test->pValue;
        // Leader minus the other, as the difference above.
        const Interval d = test->differencePoints;
        const bool bLeads = in.leader == Version::B;
        f[J::AlwaysValidDifference].value = in.differencePoints;
        f[J::AlwaysValidDifference].interval = bLeads ? d : Interval{-d.high, -d.low};
    }
    if (in.nonInferiority && *in.nonInferiority) {
        f[J::NotWorse].value = (*in.nonInferiority)->notWorse;
        f[J::NotWorseP].value = (*in.nonInferiority)->pValue;
    }
    if (wording == Wording::ForPeople) {
        WordJudgement(f, j);
        WordLookingEarly(f, in);
    }
    // Counts at the edge of what doubles carry can leave a figure infinite:
    // it has no value then, rather than a number nobody can use.
    for (J id = J::Ratio1; id != J::Count; id = static_cast<J>(static_cast<int>(id) + 1)) {
        Figure& figure = f[id];
        if (!Finite(figure)) {
            figure.value = std::monostate();
            figure.interval.reset();
            figure.words = wording == Wording::ForPeople ? ReasonText(Reason::BeyondDoubles) : std::string();
            figure.place = Sentence::None;
        }
    }
    return true;
}

std::string WarningCodeName(WarningCode code)
{
    switch (code) {
    case WarningCode::SmallSample:
        return "small_sample";
    case WarningCode::SampleRatioMismatch:
        return "sample_ratio_mismatch";
    case WarningCode::SkewedSmallSample:
        return "skewed_small_sample";
    case WarningCode::CapOnZero:
        return "cap_on_zero";
    case WarningCode::CovariateImbalance:
        return "covariate_imbalance";
    case WarningCode::ConstantCovariate:
        return "constant_covariate";
    }
    return {};
}

std::string SplitName(double splitPercentA)
{
    if (splitPercentA == 50) {
        return "an even one";
    }
    return "the intended " + NumberToText(splitPercentA) + "/" + NumberToText(ShownValue(100 - splitPercentA))
           + " one";
}

std::string SampleRatioWarning(double observations1, double observations2, const SampleRatio& split,
                               double splitPercentA)
{
    const std::string intended =
        splitPercentA == 50 ? "an even split, if both versions were meant to be shown equally often"
                            : "the intended split of " + NumberToText(splitPercentA) + "% to "
                                  + NumberToText(ShownValue(100 - splitPercentA)) + "%";
    return "Sample ratio mismatch: " + NumberToText(observations1) + " against " + NumberToText(observations2)
           + " observations is far from " + intended + " (chi-square " + StatisticText(split.chiSquare) + ", "
           + PEquals(split.pValue)
           + "). This usually means the test was set up or counted wrongly, so its verdict should not be trusted.";
}

std::vector<Warning> JudgementWarnings(const Judgement& j)
{
    std::vector<Warning> warnings;
    if (!j.Finished()) {
        return warnings;
    }
    const Insights& in = j.Figures();
    const Counts& c = j.counts;
    for (const WarningCode code : in.warnings) {
        if (code == WarningCode::SmallSample) {
            warnings.push_back({code, "Small sample: the smallest expected count of the table is "
                                          + StatisticText(in.smallestExpectedCell)
                                          + ", below 5, so the normal approximation behind the verdict is "
                                            "unreliable. "
                                          + ExactTestSentence(in.exact)});
        } else if (in.sampleRatio) {
            warnings.push_back({code, SampleRatioWarning(c.views1, c.views2, *in.sampleRatio, in.splitPercentA)});
        }
    }
    return warnings;
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
    const FigureKind* exact = &kJudgementKinds[static_cast<int>(J::FisherTwoSided)];
    for (const Figure& f : figures) {
        if (f.place == Sentence::OwnLine && !(exactSaid && f.kind == exact)) {
            lines += "\n" + f.sentence;
        }
    }
    return paragraph + lines;
}

std::string WarningsText(const std::vector<Warning>& warnings)
{
    std::string text;
    for (const Warning& w : warnings) {
        text += "Warning: " + w.message + "\n";
    }
    return text;
}

std::string FiguresText(const std::vector<Figure>& figures, const std::vector<Warning>& warnings)
{
    std::string text = WarningsText(warnings);
    text += warnings.empty() ? "" : "\n";
    for (const Figure& f : figures) {
        text += f.label + ": " + f.words + "\n";
    }
    const std::string summary = SummaryText(figures, warnings, false);
    return summary.empty() ? text : text + "\n" + summary + "\n";
}

}  // namespace ambrelay

#include "figures/means_figures.h"

#include <cmath>
#include <tuple>

#include "figures/covariate_figures.h"
#include "figures/figure_text.h"
#include "figures/problem_words.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

using M = MeansFigure;
using V = ValuesFigure;

constexpr FigureKind kValuesKinds[] = {
    Kind(V::Label1, "label1", "", Unit::Text),
    Kind(V::Label2, "label2", "", Unit::Text),
    Kind(V::Skewness1, "skewness1", "", Unit::Statistic),
    Kind(V::Skewness2, "skewness2", "", Unit::Statistic),
    Kind(V::Blanks, "blank_values", "", Unit::Count),
    Kind(V::CapUpper, "cap_upper", "", Unit::Statistic),
    Kind(V::CappedUpper, "capped_upper", "", Unit::Count),
    Kind(V::CapLower, "cap_lower", "", Unit::Statistic),
    Kind(V::CappedLower, "capped_lower", "", Unit::Count),
    Kind(V::RowsLeftOut, "rows_left_out", "", Unit::Count),
};
static_assert(EveryKindInOrder<ValuesFigure>(kValuesKinds), "one kind for every figure of a values file, in order");

constexpr FigureKind kMeansKinds[] = {
    Kind(M::Answer, "answer", "", Unit::Text),
    Kind(M::Leader, "leader", "", Unit::Text),
    Kind(M::Better, "better", "", Unit::Text),
    Kind(M::Observations1, "observations1", "", Unit::Count),
    Kind(M::Average1, "average1", "average1_ci", Unit::Statistic),
    Kind(M::Deviation1, "standard_deviation1", "", Unit::Statistic),
    Kind(M::Observations2, "observations2", "", Unit::Count),
    Kind(M::Average2, "average2", "average2_ci", Unit::Statistic),
    Kind(M::Deviation2, "standard_deviation2", "", Unit::Statistic),
    Kind(M::Difference, "difference", "difference_ci", Unit::Statistic),
    Kind(M::Lift, "lift_percent", "lift_ci_percent", Unit::Percent),
    Kind(M::PTwoSided, "p_two_sided", "", Unit::PValue),
    Kind(M::POneSided, "p_one_sided", "", Unit::PValue),
    Kind(M::T, "t", "", Unit::Statistic),
    Kind(M::DegreesOfFreedom, "df", "", Unit::Statistic),
    Kind(M::Chance, "chance_to_beat", "", Unit::Probability),
    Kind(M::ObservationsNeeded, "observations_needed", "", Unit::Count),
    Kind(M::SplitChiSquare, "srm_chi_square", "", Unit::Statistic),
    Kind(M::SplitP, "srm_p_value", "", Unit::PValue),
    Kind(M::AlwaysValidP, "always_valid_p", "", Unit::PValue),
    Kind(M::AlwaysValidDifference, "always_valid_difference", "always_valid_ci", Unit::Statistic),
    Kind(M::Planned, "planned_observations", "", Unit::Count),
    Kind(M::NotWorse, "non_inferior", "", Unit::YesNo),
    Kind(M::NotWorseP, "non_inferiority_p", "", Unit::PValue),
};
static_assert(EveryKindInOrder<MeansFigure>(kMeansKinds), "one kind for every figure of averages, in order");

std::string Signed(double x, int decimals) { return (x > 0 ? "+" : "") + Fixed(x, decimals); }

// "B's average is higher: 55.90 against 52.30, 6.9% more (95% interval 0.1%
// to 13.7%); p = 0.041, a difference this large would be rare if the versions
// were equal."
std::string AnswerSentence(const MeansComparison& c, const MeansRequest& r, int decimals)
{
    if (c.identical) {
        return "The averages are the same: " + Fixed(r.a.mean, decimals) + " each; " + PEquals(c.pTwoSided) + ".";
    }
    const bool bLeads = c.leader == Version::B;
    const MeanSummary& lead = bLeads ? r.b : r.a;
    const MeanSummary& other = bLeads ? r.a : r.b;
    const bool higher = lead.mean > other.mean;
    std::string s = std::string(bLeads ? "B" : "A") + "'s average is " + (higher ? "higher" : "lower") + ": "
                    + Fixed(lead.mean, decimals) + " against " + Fixed(other.mean, decimals)
                    + (r.covariate ? " once what users did before the test is taken out" : "");
    if (c.liftPercent) {
        const double lift = *c.liftPercent;
        const int d = c.liftIntervalPercent
                          ? IntervalDecimals(c.liftIntervalPercent->low, c.liftIntervalPercent->high)
                          : 1;
        s += ", " + Fixed(std::fabs(lift), d) + "% " + (lift >= 0 ? "more" : "less");
        if (c.liftIntervalPercent) {
            s += " (95% interval " + Fixed(c.liftIntervalPercent->low, d) + "% to "
                 + Fixed(c.liftIntervalPercent->high, d) + "%)";
        }
    }
    s += "; " + PEquals(c.pTwoSided) + ", "
         + (c.pTwoSided < 0.05 ? "a difference this large would be rare if the versions were equal."
                               : "a difference this large could well be chance.");
    return s;
}

// A margin as the user gave it: "2%", or "1.5" in the metric's units.
std::string MeansMarginText(const Margin& m)
{
    return NumberToText(m.size) + (m.kind == MarginKind::RelativePercent ? "%" : "");
}

// The peeking-safe test of B minus A, and "not worse than" when a margin is given.
template <typename Say>
void WordLookingEarly(FigureList<MeansFigure>& f, const MeansAnswer& answer, int decimals, Say say)
{
    const MeansComparison& c = answer.comparison;
    const MeansOptions& o = answer.request.options;
    const double planned = o.plannedObservations.value_or(kDefaultPlannedObservations);
    SetFigure(f[M::Planned], planned, "Planned observations in all, for the peeking-safe test",
        say(o.plannedObservations ? Grouped(planned) : Grouped(planned) + " (the default; give your own)"));
    f[M::AlwaysValidP].label = "p value, peeking-safe (valid however often you look)";
    f[M::AlwaysValidDifference].label = "Difference, B - A, peeking-safe (95% interval)";
    const AlwaysValidOutcome& test = answer.alwaysValid;
    if (test) {
        const Interval& i = test->differencePoints;
        f[M::AlwaysValidP].value = test->pValue;
        f[M::AlwaysValidP].words = say(PValueText(test->pValue));
        f[M::AlwaysValidDifference].value = c.difference;
        f[M::AlwaysValidDifference].interval = i;
        f[M::AlwaysValidDifference].words = say(Fixed(c.difference, decimals) + " (" + Fixed(i.low, decimals)
                                                + " to " + Fixed(i.high, decimals) + ")");
    } else {
        f[M::AlwaysValidP].words = f[M::AlwaysValidDifference].words = say(ProblemText(test.Failure()));
    }
    if (!o.margin || !answer.nonInferiority) {
        f[M::NotWorse].label = "B not worse than A by more than a margin";
        f[M::NotWorseP].label = "p value, B not worse than A";
        f[M::NotWorse].words = f[M::NotWorseP].words = say("no margin given");
        return;
    }
    const std::string margin = MeansMarginText(*o.margin);
    f[M::NotWorse].label = "B not worse than A by more than " + margin;
    f[M::NotWorseP].label = "p value, B not worse than A by more than " + margin + " (one-sided)";
    const NonInferiorityOutcome& notWorse = *answer.nonInferiority;
    if (notWorse) {
        f[M::NotWorse].value = notWorse->notWorse;
        f[M::NotWorse].words = say(notWorse->notWorse ? "yes" : "not shown");
        f[M::NotWorseP].value = notWorse->pValue;
        f[M::NotWorseP].words = say(PValueText(notWorse->pValue));
    } else {
        f[M::NotWorse].words = f[M::NotWorseP].words = say(ProblemText(notWorse.Failure()));
    }
}

}  // namespace

std::span<const FigureKind> MeansFigureKinds() { return kMeansKinds; }

const char* BetterName(Better better) { return better == Better::Higher ? "higher" : "lower"; }

FigureList<MeansFigure> MeansFigures(const MeansAnswer& answer, Wording wording)
{
    const MeansRequest& r = answer.request;
    const MeansOptions& o = r.options;
    const MeansComparison& c = answer.comparison;
    const bool words = wording == Wording::ForPeople;
    const Interval& d = c.differenceInterval;
    // The averages to the digits their difference can claim, and at least two.
    const int decimals = std::max(2, IntervalDecimals(d.low, d.high));
    const auto say = [words](std::string text) { return words ? std::move(text) : std::string(); };
    FigureList<MeansFigure> f(kMeansKinds);
    // The answer is printed wherever the figures go, as a judgement's verdict is.
    const std::string sentence = AnswerSentence(c, r, decimals);
    SetFigure(f[M::Answer], sentence, "Answer", say(sentence));
    const std::string leader = c.leader == Version::A ? "A" : "B";
    SetFigure(f[M::Leader], leader, "Ahead", say(c.identical ? "neither" : leader));
    SetFigure(f[M::Better], std::string(BetterName(o.better)), "Better is",
        say(o.better == Better::Higher ? "higher" : "lower"));
    // With a covariate, the averages and the test are those adjusted for what users did before it.
    const std::string adjusted = answer.covariate ? ", adjusted for before the test" : "";
    const auto version = [&](const MeanSummary& s, const Interval& i, M observations, M average, M deviation,
                             const std::string& name) {
        SetFigure(f[observations], s.n, "Observations of " + name, say(Grouped(s.n)));
        SetFigure(f[average], s.mean, "Average of " + name + adjusted + " (95% interval)",
            say(Fixed(s.mean, decimals) + " (" + Fixed(i.low, decimals) + " to " + Fixed(i.high, decimals) + ")"));
        f[average].interval = i;
        SetFigure(f[deviation], s.sd, "Standard deviation of " + name + adjusted, say(Fixed(s.sd, decimals)));
    };
    version(r.a, c.intervalA, M::Observations1, M::Average1, M::Deviation1, "A");
    version(r.b, c.intervalB, M::Observations2, M::Average2, M::Deviation2, "B");
    SetFigure(f[M::Difference], c.difference, "Difference, B - A" + adjusted + " (95% interval)",
        say(Signed(c.difference, decimals) + " (" + Fixed(d.low, decimals) + " to " + Fixed(d.high, decimals) + ")"));
    f[M::Difference].interval = d;
    f[M::Lift].label = "Lift of the leader (95% interval)";
    if (c.liftPercent) {
        f[M::Lift].value = *c.liftPercent;
        if (c.liftIntervalPercent) {
            const Interval& i = *c.liftIntervalPercent;
            const int ld = IntervalDecimals(i.low, i.high);
            f[M::Lift].interval = i;
            f[M::Lift].words = say(Fixed(*c.liftPercent, ld) + "% (" + Fixed(i.low, ld) + "% to " + Fixed(i.high, ld) + "%)");
        } else {
            f[M::Lift].words = say(PercentText(*c.liftPercent) + "%; " + ProblemText(c.liftIntervalPercent.Failure()));
        }
    } else {
        f[M::Lift].words = say(ProblemText(c.liftPercent.Failure()));
    }
    SetFigure(f[M::PTwoSided], c.pTwoSided,
        o.ratios ? "p value, two-sided (z test, delta method)" : "p value, two-sided (Welch's t test)",
        say(PValueText(c.pTwoSided)));
    SetFigure(f[M::POneSided], c.pOneSided, "p value, one-sided toward the leader", say(PValueText(c.pOneSided)));
    SetFigure(f[M::T], c.t, o.ratios ? "z" : "t", say(StatisticText(c.t)));
    if (o.ratios) {
        SetFigure(f[M::DegreesOfFreedom], {}, "Degrees of freedom", say("none: a ratio is judged by a z test"));
    } else {
        SetFigure(f[M::DegreesOfFreedom], c.degreesOfFreedom, "Degrees of freedom", say(StatisticText(c.degreesOfFreedom)));
    }
    SetFigure(f[M::Chance], c.chanceBetter, "Chance the leader's true average is the better",
        say(ChanceText(c.chanceBetter)));
    f[M::ObservationsNeeded].label = "Observations per version to detect this difference (80% power, 5% level)";
    if (c.observationsNeeded) {
        const double n = std::ceil(*c.observationsNeeded);
        f[M::ObservationsNeeded].value = n;
        f[M::ObservationsNeeded].words = say(Grouped(n));
    } else {
        f[M::ObservationsNeeded].words = say(ProblemText(c.observationsNeeded.Failure()));
    }
    const std::string against = o.splitPercentA == 50 ? "" : " (against " + SplitName(o.splitPercentA) + ")";
    f[M::SplitChiSquare].label = "Split check, chi-square" + against;
    f[M::SplitP].label = "Split check, p value" + against;
    if (c.sampleRatio) {
        f[M::SplitChiSquare].value = c.sampleRatio->chiSquare;
        f[M::SplitChiSquare].words = say(StatisticText(c.sampleRatio->chiSquare));
        f[M::SplitP].value = c.sampleRatio->pValue;
        f[M::SplitP].words = say(PValueText(c.sampleRatio->pValue));
    } else {
        f[M::SplitChiSquare].words = f[M::SplitP].words = say(ProblemText(c.sampleRatio.Failure()));
    }
    WordLookingEarly(f, answer, decimals, say);
    if (!words) {
        for (M id = M::Answer; id != M::Count; id = static_cast<M>(static_cast<int>(id) + 1)) {
            f[id].label.clear();
        }
    }
    return f;
}

std::vector<Warning> MeansWarnings(const MeansAnswer& answer)
{
    const MeansRequest& r = answer.request;
    std::vector<Warning> warnings;
    for (const WarningCode code : answer.warnings) {
        if (code == WarningCode::SampleRatioMismatch && answer.comparison.sampleRatio) {
            warnings.push_back({code, SampleRatioWarning(r.a.n, r.b.n, *answer.comparison.sampleRatio,
                                                         r.options.splitPercentA)});
        }
    }
    for (Warning& w : CovariateWarnings(answer)) {
        warnings.push_back(std::move(w));
    }
    return warnings;
}

std::span<const FigureKind> ValuesFigureKinds() { return kValuesKinds; }

double ObservationsForSkewness(double skewness) { return 355 * skewness * skewness; }

FigureList<ValuesFigure> ValuesFigures(const ValuesAnswer& answer, std::size_t comparison, Wording wording)
{
    const tables::ValuesRead& read = answer.read;
    const std::size_t b = answer.versions ? answer.versions->comparisons[comparison].version : 1;
    const CapRequest& caps = answer.request.layout.caps;
    const bool words = wording == Wording::ForPeople;
    const auto say = [&](std::string text) { return words ? std::move(text) : std::string(); };
    FigureList<ValuesFigure> f(kValuesKinds);
    const ValuesCollector::Result& r = read.result;
    const std::string& labelA = read.labels[0];
    const std::string labelB = b < read.labels.size() ? read.labels[b] : std::string();
    const double skewA = r.skewness.empty() ? 0 : r.skewness[0];
    const double skewB = b < r.skewness.size() ? r.skewness[b] : 0;
    SetFigure(f[V::Label1], labelA, "Version A is", say(labelA));
    SetFigure(f[V::Label2], labelB, "Version B is", say(labelB));
    SetFigure(f[V::Skewness1], skewA, "Skewness of A's values", say(StatisticText(skewA)));
    SetFigure(f[V::Skewness2], skewB, "Skewness of B's values", say(StatisticText(skewB)));
    SetFigure(f[V::Blanks], read.blanks, "Blank values, counted as 0", say(Grouped(read.blanks)));
    const auto cap = [&](V value, V changed, const std::optional<double>& at, double count,
                         const std::optional<double>& percent, const char* side) {
        const std::string name = std::string(side) + " cap";
        if (at) {
            SetFigure(f[value], *at, "Cap, " + std::string(side) + " (" + PercentText(*percent) + "th percentile)",
                say(NumberToText(*at)));
            SetFigure(f[changed], count, "Values changed by the " + name, say(Grouped(count)));
        } else {
            SetFigure(f[value], {}, "Cap, " + std::string(side), say(percent ? "not applied" : "none asked for"));
            SetFigure(f[changed], {}, "Values changed by the " + name, say("none"));
        }
    };
    cap(V::CapUpper, V::CappedUpper, r.caps.upper, r.caps.changedUpper, caps.upperPercent, "upper");
    cap(V::CapLower, V::CappedLower, r.caps.lower, r.caps.changedLower, caps.lowerPercent, "lower");
    const double leftOut = static_cast<double>(read.rowsLeftOut);
    SetFigure(f[V::RowsLeftOut], leftOut, "Rows left out", say(Grouped(leftOut)));
    if (!words) {
        for (V id = V::Label1; id != V::Count; id = static_cast<V>(static_cast<int>(id) + 1)) {
            f[id].label.clear();
        }
    }
    return f;
}

std::vector<Warning> ValuesWarnings(const ValuesAnswer& answer, std::size_t comparison)
{
    if (!answer.versions) {
        return {};
    }
    const VersionComparison<MeansAnswer>& pair = answer.versions->comparisons[comparison];
    const MeansRequest& request = pair.answer.request;
    const ValuesCollector::Result& r = answer.read.result;
    // Two versions' split is their comparison's; more versions' is the test's.
    const bool two = answer.versions->Versions() == 2;
    // A covariate's warnings are each comparison's own.
    std::vector<Warning> warnings = two ? MeansWarnings(pair.answer) : CovariateWarnings(pair.answer);
    if (r.caps.upperOnZero) {
        warnings.push_back({WarningCode::CapOnZero,
                            "The " + PercentText(answer.request.layout.caps.upperPercent.value_or(0))
                                + "th percentile of the values is 0, because most values are 0, so the upper cap "
                                  "was not applied. Add --ignore-zeros to take the percentile over the values "
                                  "other than 0."});
    }
    // Two versions are A and B; more go by their labels.
    const std::string& control = answer.versions->labels[0];
    const std::string& version = answer.versions->labels[pair.version];
    for (const auto& [name, n, skewness] :
         {std::tuple{two ? std::string("A") : "'" + control + "'", request.a.n, r.skewness[0]},
          std::tuple{two ? std::string("B") : "'" + version + "'", request.b.n, r.skewness[pair.version]}}) {
        const double needed = ObservationsForSkewness(skewness);
        if (n < needed) {
            warnings.push_back({WarningCode::SkewedSmallSample,
                                std::string("Small sample for so skewed a metric: version ") + name + " has "
                                    + Grouped(n) + " observations, and values this skewed (skewness "
                                    + StatisticText(skewness) + ") need about " + Grouped(std::ceil(needed))
                                    + " before the normal approximation behind the p value holds."});
        }
    }
    return warnings;
}

}  // namespace ambrelay

#include "figures/versions_figures.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "figures/covariate_figures.h"
#include "figures/figure_text.h"
#include "figures/problem_words.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

using F = VersionFigure;
using J = JudgementFigure;

// The window's own figures, which judge two versions only.
constexpr J kTwoVersionsOnly[] = {J::Ratio1, J::Ratio2, J::PValue, J::Z, J::Likelihood, J::Winner, J::Verdict};

constexpr FigureKind kVersionKinds[] = {
    Kind(F::Control, "control", "", Unit::Text),
    Kind(F::Versions, "versions", "", Unit::Count),
    Kind(F::Adjustment, "adjustment", "", Unit::Text),
    Kind(F::PAdjusted, "p_adjusted", "", Unit::PValue),
    Kind(F::BeatsControl, "beats_control", "", Unit::YesNo),
    Kind(F::ChanceToBeBest, "chance_to_be_best", "", Unit::Probability),
    Kind(F::ControlChanceToBeBest, "control_chance_to_be_best", "", Unit::Probability),
    Kind(F::IntervalLevel, "interval_level_percent", "", Unit::Percent),
    Kind(F::SplitChiSquare, "split_chi_square", "", Unit::Statistic),
    Kind(F::SplitP, "split_p_value", "", Unit::PValue),
};
static_assert(EveryKindInOrder<VersionFigure>(kVersionKinds), "one kind for every figure of versions, in order");

template <typename Answer>
FigureList<VersionFigure> Figures(const VersionsAnswer<Answer>& a, std::size_t i, Wording wording)
{
    const bool words = wording == Wording::ForPeople;
    const auto say = [words](std::string text) { return words ? std::move(text) : std::string(); };
    const VersionComparison<Answer>& c = a.comparisons[i];
    const std::string& version = a.labels[c.version];
    const std::string& control = a.labels[a.control];
    FigureList<VersionFigure> f(kVersionKinds);
    SetFigure(f[F::Control], control, "Compared with the control", say(control));
    SetFigure(f[F::Versions], static_cast<double>(a.Versions()), "Versions in the test",
              say(Grouped(static_cast<double>(a.Versions()))));
    SetFigure(f[F::Adjustment], std::string(AdjustmentName(a.adjustment)), "Correction for the versions compared",
              say(AdjustmentWords(a.adjustment)));
    SetFigure(f[F::PAdjusted], c.pAdjusted, "p value of " + version + " against " + control + ", adjusted",
              say(PValueText(c.pAdjusted)));
    SetFigure(f[F::BeatsControl], c.beatsControl, version + " beats the control (adjusted p below 0.05)",
              say(c.beatsControl ? "yes" : "not shown"));
    const std::string chance = "Chance that " + version + " is the best (flat priors)";
    const std::string controlChance = "Chance that " + control + ", the control, is the best";
    if (a.chanceToBeBest) {
        const std::vector<double>& best = *a.chanceToBeBest;
        SetFigure(f[F::ChanceToBeBest], best[c.version], chance, say(ChanceText(best[c.version])));
        SetFigure(f[F::ControlChanceToBeBest], best[a.control], controlChance, say(ChanceText(best[a.control])));
    } else {
        SetFigure(f[F::ChanceToBeBest], {}, chance, say(ProblemText(a.chanceToBeBest.Failure())));
        SetFigure(f[F::ControlChanceToBeBest], {}, controlChance, say(ProblemText(a.chanceToBeBest.Failure())));
    }
    SetFigure(f[F::IntervalLevel], a.intervalLevel * 100, "Level of the intervals",
              say(PercentText(a.intervalLevel * 100) + "%"
                  + (a.intervalLevel == 0.95 ? "" : ", widened for the versions compared")));
    const std::string splitLabel = " of the split of all " + Grouped(static_cast<double>(a.Versions())) + " versions";
    if (a.split) {
        SetFigure(f[F::SplitChiSquare], a.split->chiSquare, "Chi-square" + splitLabel,
                  say(StatisticText(a.split->chiSquare)));
        SetFigure(f[F::SplitP], a.split->pValue, "p value" + splitLabel, say(PValueText(a.split->pValue)));
    } else {
        SetFigure(f[F::SplitChiSquare], {}, "Chi-square" + splitLabel, say(ProblemText(a.split.Failure())));
        SetFigure(f[F::SplitP], {}, "p value" + splitLabel, say(ProblemText(a.split.Failure())));
    }
    if (!words) {
        for (F id = F::Control; id != F::Count; id = static_cast<F>(static_cast<int>(id) + 1)) {
            f[id].label.clear();
        }
    }
    return f;
}

template <typename Answer>
std::vector<Warning> Warnings(const VersionsAnswer<Answer>& a, std::span<const double> observations)
{
    std::vector<Warning> warnings;
    if (a.split && a.split->mismatch) {
        std::string counts, shares;
        for (std::size_t v = 0; v < a.Versions(); ++v) {
            counts += (v == 0 ? "" : ", ") + a.labels[v] + " " + Grouped(observations[v]);
            shares += (v == 0 ? "" : "/") + NumberToText(ShownValue(a.sharesPercent[v]));
        }
        warnings.push_back({WarningCode::SampleRatioMismatch,
                            "Sample ratio mismatch: " + counts + " observations are far from the intended split of "
                                + shares + " (chi-square " + StatisticText(a.split->chiSquare) + ", "
                                + PEquals(a.split->pValue)
                                + "). This usually means the test was set up or counted wrongly, so its verdicts "
                                  "should not be trusted."});
    }
    return warnings;
}

// "with 3 versions compared, p = 0.0214 after Holm's correction"
template <typename Answer>
std::string FamilyClause(const VersionsAnswer<Answer>& a, std::size_t i)
{
    return "with " + Grouped(static_cast<double>(a.Versions())) + " versions compared, " + PEquals(a.comparisons[i].pAdjusted)
           + " after " + AdjustmentWords(a.adjustment) + (a.comparisons[i].beatsControl ? ": it beats the control." : ".");
}

}  // namespace

std::span<const FigureKind> VersionFigureKinds() { return kVersionKinds; }

FigureList<VersionFigure> VersionFigures(const RatesVersionsAnswer& a, std::size_t i, Wording wording)
{
    return Figures(a, i, wording);
}

FigureList<VersionFigure> VersionFigures(const MeansVersionsAnswer& a, std::size_t i, Wording wording)
{
    return Figures(a, i, wording);
}

FigureList<JudgementFigure> ComparisonFigures(const RatesVersionsAnswer& a, std::size_t i, Wording wording)
{
    FigureList<JudgementFigure> f = JudgementFigures(a.comparisons[i].answer, wording);
    if (a.Versions() > 2) {
        for (const J id : kTwoVersionsOnly) {
            f[id].value = std::monostate();
            f[id].words = wording == Wording::ForPeople ? "for two versions only" : "";
        }
        const Insights& in = a.comparisons[i].answer.Figures();
        const std::string& leader = a.labels[in.leader == Version::B ? a.comparisons[i].version : a.control];
        f[J::Leader].value = leader;
        f[J::Leader].words = wording == Wording::ForPeople ? (in.identical ? "neither" : leader) : "";
    }
    return f;
}

FigureList<MeansFigure> ComparisonFigures(const MeansVersionsAnswer& a, std::size_t i, Wording wording)
{
    const VersionComparison<MeansAnswer>& c = a.comparisons[i];
    FigureList<MeansFigure> f = MeansFigures(c.answer, wording);
    if (a.Versions() > 2) {
        const std::string sentence = VersionsSentence(a, i);
        f[MeansFigure::Answer].value = sentence;
        f[MeansFigure::Answer].words = wording == Wording::ForPeople ? sentence : "";
        const std::string& leader = a.labels[c.answer.comparison.leader == Version::B ? c.version : a.control];
        f[MeansFigure::Leader].value = leader;
        f[MeansFigure::Leader].words =
            wording == Wording::ForPeople ? (c.answer.comparison.identical ? "neither" : leader) : "";
    }
    return f;
}

std::vector<Warning> VersionsWarnings(const RatesVersionsAnswer& a)
{
    std::vector<double> observations;
    for (const VersionComparison<Judgement>& c : a.comparisons) {
        observations.resize(a.Versions());
        observations[a.control] = c.answer.counts.views1;
        observations[c.version] = c.answer.counts.views2;
    }
    return Warnings(a, observations);
}

std::vector<Warning> VersionsWarnings(const MeansVersionsAnswer& a)
{
    std::vector<double> observations(a.Versions());
    for (const VersionComparison<MeansAnswer>& c : a.comparisons) {
        observations[a.control] = c.answer.request.a.n;
        observations[c.version] = c.answer.request.b.n;
    }
    return Warnings(a, observations);
}

std::string VersionsSentence(const RatesVersionsAnswer& a, std::size_t i)
{
    const VersionComparison<Judgement>& c = a.comparisons[i];
    const Insights& in = c.answer.Figures();
    const std::string& version = a.labels[c.version];
    const std::string& control = a.labels[a.control];
    std::string start;
    if (in.identical) {
        start = version + " responded as often as " + control;
    } else if (in.liftPercent) {
        const bool ahead = in.leader == Version::B;
        start = (ahead ? version : control) + " responded " + Fixed(*in.liftPercent, 1) + "% more often than "
                + (ahead ? control : version);
    } else {
        start = (in.leader == Version::B ? version : control) + " responded more often than "
                + (in.leader == Version::B ? control : version);
    }
    return start + "; " + FamilyClause(a, i);
}

std::string VersionsSentence(const MeansVersionsAnswer& a, std::size_t i)
{
    const VersionComparison<MeansAnswer>& c = a.comparisons[i];
    const MeansComparison& m = c.answer.comparison;
    const std::string& version = a.labels[c.version];
    const std::string& control = a.labels[a.control];
    std::string start;
    if (m.identical) {
        start = version + "'s average is the same as " + control + "'s";
    } else {
        const bool higher = m.difference > 0;
        start = version + "'s average is " + (higher ? "higher" : "lower") + " than " + control + "'s";
        // Against the control's plain average, as the lift of an adjusted comparison is.
        const double base = c.answer.covariate ? c.answer.covariate->given.a.mean : c.answer.request.a.mean;
        if (m.liftPercent && base != 0) {
            start += ", " + Fixed(std::fabs(m.difference / base * 100), 1) + "% " + (higher ? "more" : "less");
        }
    }
    return start + "; " + FamilyClause(a, i);
}

namespace {

// A comparison's own figures as a person reads them: of more than two
// versions, without the window's figures that have none.
std::vector<Figure> ForPeople(const RatesVersionsAnswer& a, std::size_t c)
{
    const FigureList<JudgementFigure> list = ComparisonFigures(a, c);
    std::vector<Figure> figures;
    for (const Figure& f : list.All()) {
        const bool twoOnly = std::any_of(std::begin(kTwoVersionsOnly), std::end(kTwoVersionsOnly),
                                         [&](J id) { return f.kind == list[id].kind; });
        if (a.Versions() == 2 || !twoOnly) {
            figures.push_back(f);
        }
    }
    return figures;
}

std::vector<Figure> ForPeople(const MeansVersionsAnswer& a, std::size_t c) { return ComparisonFigures(a, c).All(); }

template <typename Answer>
std::vector<ReportSection> SectionsOf(const VersionsAnswer<Answer>& answer)
{
    std::vector<ReportSection> sections;
    for (std::size_t c = 0; c < answer.comparisons.size(); ++c) {
        ReportSection section{ComparisonHeading(answer, c), VersionFigures(answer, c).All(), {}};
        const std::vector<Figure> own = ForPeople(answer, c);
        section.figures.insert(section.figures.end(), own.begin(), own.end());
        sections.push_back(std::move(section));
    }
    return sections;
}

}  // namespace

std::vector<ReportSection> VersionsSections(const RatesVersionsAnswer& answer)
{
    return SectionsOf(answer);
}

std::vector<ReportSection> VersionsSections(const MeansVersionsAnswer& answer)
{
    return SectionsOf(answer);
}

std::vector<ReportSection> ValuesVersionsSections(const ValuesAnswer& answer)
{
    std::vector<ReportSection> sections = SectionsOf(*answer.versions);
    for (std::size_t c = 0; c < sections.size(); ++c) {
        std::vector<Figure> all = ValuesFigures(answer, c).All();
        all.insert(all.end(), sections[c].figures.begin(), sections[c].figures.end());
        if (answer.request.layout.Covariate()) {
            const std::vector<Figure> covariate = CovariateFigures(answer, c).All();
            all.insert(all.end(), covariate.begin(), covariate.end());
        }
        sections[c].figures = std::move(all);
        sections[c].warnings = ValuesWarnings(answer, c);
    }
    return sections;
}

std::string ValuesVersionsText(const ValuesAnswer& answer)
{
    return FormatSections(VersionsWarnings(*answer.versions), ValuesVersionsSections(answer)).plain;
}

std::string AdjustmentWords(Adjustment adjustment)
{
    switch (adjustment) {
    case Adjustment::Holm:
        return "Holm's correction";
    case Adjustment::Hochberg:
        return "Hochberg's correction";
    case Adjustment::BenjaminiHochberg:
        return "Benjamini and Hochberg's correction of the false discovery rate";
    case Adjustment::Bonferroni:
        return "Bonferroni's correction";
    case Adjustment::None:
        break;
    }
    return "no correction";
}

}  // namespace ambrelay

#include "figures/covariate_figures.h"

#include <algorithm>

#include "figures/figure_text.h"
#include "figures/problem_words.h"
#include "numbers/number_text.h"

namespace ambrelay {
namespace {

using C = CovariateFigure;

constexpr FigureKind kCovariateKinds[] = {
    Kind(C::Theta, "covariate_theta", "", Unit::Statistic),
    Kind(C::Reduction1, "variance_reduction1_percent", "", Unit::Percent),
    Kind(C::Reduction2, "variance_reduction2_percent", "", Unit::Percent),
    Kind(C::CovariateAverage1, "covariate_average1", "", Unit::Statistic),
    Kind(C::CovariateAverage2, "covariate_average2", "", Unit::Statistic),
    Kind(C::CovariateP, "covariate_p_two_sided", "", Unit::PValue),
    Kind(C::Average1, "unadjusted_average1", "", Unit::Statistic),
    Kind(C::Average2, "unadjusted_average2", "", Unit::Statistic),
    Kind(C::Difference, "unadjusted_difference", "unadjusted_difference_ci", Unit::Statistic),
    Kind(C::Lift, "unadjusted_lift_percent", "unadjusted_lift_ci_percent", Unit::Percent),
    Kind(C::PTwoSided, "unadjusted_p_two_sided", "", Unit::PValue),
    Kind(C::Blanks, "blank_covariates", "", Unit::Count),
    Kind(C::Cap, "cap_covariate", "", Unit::Statistic),
    Kind(C::Capped, "capped_covariate", "", Unit::Count),
};
static_assert(EveryKindInOrder<CovariateFigure>(kCovariateKinds), "one kind for every figure of a covariate, in order");

}  // namespace

std::span<const FigureKind> CovariateFigureKinds() { return kCovariateKinds; }

FigureList<CovariateFigure> CovariateFigures(const ValuesAnswer& answer, std::size_t comparison, Wording wording)
{
    const bool words = wording == Wording::ForPeople;
    const auto say = [words](std::string text) { return words ? std::move(text) : std::string(); };
    FigureList<CovariateFigure> f(kCovariateKinds);
    const MeansAnswer* pair =
        answer.versions && comparison < answer.versions->comparisons.size() ? &answer.versions->comparisons[comparison].answer
                                                                            : nullptr;
    const CovariateAnswer* cov = pair && pair->covariate ? &*pair->covariate : nullptr;
    if (cov) {
        const CovariateRequest& g = cov->given;
        const MeansComparison& u = cov->unadjusted;
        const Interval& d = u.differenceInterval;
        const int decimals = std::max(2, IntervalDecimals(d.low, d.high));
        SetFigure(f[C::Theta], g.fit.theta, "Theta: the metric's change with the covariate, over every user",
                  say(g.fit.constant ? "0 (the covariate does not vary)" : StatisticText(g.fit.theta)));
        SetFigure(f[C::Reduction1], cov->reductionA * 100, "Variance of A taken away by the covariate",
                  say(PercentText(cov->reductionA * 100) + "%"));
        SetFigure(f[C::Reduction2], cov->reductionB * 100, "Variance of B taken away by the covariate",
                  say(PercentText(cov->reductionB * 100) + "%"));
        SetFigure(f[C::CovariateAverage1], g.a.covariateMean, "Before the test, average of A",
                  say(Fixed(g.a.covariateMean, decimals)));
        SetFigure(f[C::CovariateAverage2], g.b.covariateMean, "Before the test, average of B",
                  say(Fixed(g.b.covariateMean, decimals)));
        f[C::CovariateP].label = "Before the test, p value of B against A";
        if (cov->balance) {
            f[C::CovariateP].value = cov->balance->pTwoSided;
            f[C::CovariateP].words = say(PValueText(cov->balance->pTwoSided));
        } else {
            f[C::CovariateP].words = say(ProblemText(cov->balance.Failure()));
        }
        SetFigure(f[C::Average1], g.a.mean, "Unadjusted average of A", say(Fixed(g.a.mean, decimals)));
        SetFigure(f[C::Average2], g.b.mean, "Unadjusted average of B", say(Fixed(g.b.mean, decimals)));
        SetFigure(f[C::Difference], u.difference, "Unadjusted difference, B - A (95% interval)",
                  say(Fixed(u.difference, decimals) + " (" + Fixed(d.low, decimals) + " to " + Fixed(d.high, decimals)
                      + ")"));
        f[C::Difference].interval = d;
        f[C::Lift].label = "Unadjusted lift of its leader (95% interval)";
        if (u.liftPercent && u.liftIntervalPercent) {
            const Interval& i = *u.liftIntervalPercent;
            const int ld = IntervalDecimals(i.low, i.high);
            f[C::Lift].value = *u.liftPercent;
            f[C::Lift].interval = i;
            f[C::Lift].words = say(Fixed(*u.liftPercent, ld) + "% (" + Fixed(i.low, ld) + "% to " + Fixed(i.high, ld) + "%)");
        } else if (u.liftPercent) {
            f[C::Lift].value = *u.liftPercent;
            f[C::Lift].words = say(PercentText(*u.liftPercent) + "%; " + ProblemText(u.liftIntervalPercent.Failure()));
        } else {
            f[C::Lift].words = say(ProblemText(u.liftPercent.Failure()));
        }
        SetFigure(f[C::PTwoSided], u.pTwoSided, "Unadjusted p value, two-sided", say(PValueText(u.pTwoSided)));
    }
    const tables::ValuesRead& read = answer.read;
    SetFigure(f[C::Blanks], read.covariateBlanks, "Blank covariates, counted as 0", say(Grouped(read.covariateBlanks)));
    const CapsApplied& caps = read.result.covariateCaps;
    const std::optional<double>& percent = answer.request.layout.caps.covariateUpperPercent;
    if (caps.upper && percent) {
        SetFigure(f[C::Cap], *caps.upper, "Covariate's cap (" + PercentText(*percent) + "th percentile)",
                  say(NumberToText(*caps.upper)));
        SetFigure(f[C::Capped], caps.changedUpper, "Covariates capped", say(Grouped(caps.changedUpper)));
    } else {
        const std::string why = !percent ? "not asked for" : "not applied: the percentile is 0";
        SetFigure(f[C::Cap], {}, "Covariate's cap", say(why));
        SetFigure(f[C::Capped], {}, "Covariates capped", say(why));
    }
    if (!words) {
        for (C id = C::Theta; id != C::Count; id = static_cast<C>(static_cast<int>(id) + 1)) {
            f[id].label.clear();
        }
    }
    return f;
}

std::vector<Warning> CovariateWarnings(const MeansAnswer& answer)
{
    std::vector<Warning> warnings;
    if (!answer.covariate) {
        return warnings;
    }
    const CovariateAnswer& c = *answer.covariate;
    for (const WarningCode code : answer.warnings) {
        if (code == WarningCode::CovariateImbalance && c.balance) {
            const int decimals = std::max(2, IntervalDecimals(c.balance->differenceInterval.low,
                                                              c.balance->differenceInterval.high));
            warnings.push_back({code, "The versions differed before the test started; the assignment may be broken. "
                                      "Before the test, A averaged "
                                          + Fixed(c.given.a.covariateMean, decimals) + " and B "
                                          + Fixed(c.given.b.covariateMean, decimals) + " ("
                                          + PEquals(c.balance->pTwoSided) + ")."});
        } else if (code == WarningCode::ConstantCovariate) {
            warnings.push_back({code, "The covariate is the same for every user, so it takes nothing away: the "
                                      "figures are the plain ones."});
        }
    }
    return warnings;
}

}  // namespace ambrelay

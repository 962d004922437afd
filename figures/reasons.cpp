#include "figures/reasons.h"

#include "figures/figure_text.h"
#include "numbers/number_text.h"

namespace ambrelay {

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
    }
    return {};
}


std::string MarginRule(MarginKind kind)
{
    return kind == MarginKind::Points ? "a number of points above 0" : "a percentage above 0 and below 100";
}

Outcome<double> ReadPlanned(std::string_view text)
{
    if (!IsNumeric(text) || !(ReadNumber(text) > 0)) {
        return Problem(Reason::PlannedNotPositive, Input::Planned);
    }
    return ReadNumber(text);
}

Outcome<Margin> ReadMargin(std::string_view text, MarginKind kind)
{
    if (kind == MarginKind::RelativePercent && !text.empty() && text.back() == '%') {
        text.remove_suffix(1);
    }
    const Margin margin{ReadNumber(text), kind};
    if (!IsNumeric(text)) {
        return Problem(kind == MarginKind::Points ? Reason::PointsMarginOutOfRange : Reason::RelativeMarginOutOfRange,
                       Input::Margin);
    }
    if (const auto problem = MarginProblem(margin)) {
        return *problem;
    }
    return margin;
}

}  // namespace ambrelay

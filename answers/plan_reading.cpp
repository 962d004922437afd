#include "answers/plan_reading.h"

#include <cmath>

#include "checks/amounts.h"
#include "engine/multiple_comparisons.h"

namespace ambrelay {
namespace {

// The number of versions a plan is for: a whole number from 2 to the most a test compares.
Outcome<std::size_t> Versions(const std::string& text, const Origin& at)
{
    const Outcome<double> read = ReadGiven(text, at);
    if (!read) {
        return read.Failure();
    }
    if (!(*read >= 2 && *read <= static_cast<double>(kMostVersions) && *read == static_cast<double>(static_cast<std::size_t>(*read)))) {
        Problem problem = ProblemAt(Reason::TooManyVersions, at, text);
        problem.count = 0;
        problem.expected = kMostVersions;
        return problem;
    }
    return static_cast<std::size_t>(*read);
}

class Reader {
public:
    Reader(NameKind kind, std::string_view prefix) : kind_(kind), prefix_(prefix) {}

    Origin At(const char* name) const { return {kind_, std::string(prefix_) + name, std::nullopt}; }

    // A fraction, or a percentage with its sign: as a fraction.
    bool Fraction(const std::string& text, const char* name, double& into)
    {
        return Take(ReadPercent(text, Amount::Fraction, At(name)), into, 100);
    }
    // A percent, with its sign or without.
    bool Percent(const std::string& text, const char* name, double& into)
    {
        return Take(ReadPercent(text, Amount::Percent, At(name)), into, 1);
    }
    // A number in the metric's units, or a count.
    bool Plain(const std::string& text, const char* name, double& into)
    {
        return Take(ReadGiven(text, At(name)), into, 1);
    }
    // Percentage points; a % sign says the same.
    bool Points(const std::string& text, const char* name, double& into)
    {
        return Take(ReadPoints(text, At(name)), into, 1);
    }
    bool Optional(const std::string& text, const char* name, std::optional<double>& into)
    {
        double x = 0;
        if (text.empty()) {
            return true;
        }
        if (!Plain(text, name, x)) {
            return false;
        }
        into = x;
        return true;
    }

    const Problem& Failure() const { return *problem_; }

private:
    bool Take(const Outcome<double>& read, double& into, double divisor)
    {
        if (!read) {
            problem_ = read.Failure();
            return false;
        }
        into = *read / divisor;
        return true;
    }

    NameKind kind_;
    std::string_view prefix_;
    std::optional<Problem> problem_;
};

}  // namespace

Outcome<PlanRequest> ReadRatesPlan(const PlanTexts& t, NameKind kind, std::string_view prefix)
{
    Reader read(kind, prefix);
    PlanRequest request;
    PlanInputs& in = request.settings;
    in.twoSided = !t.oneSided;
    in.kind = t.absolute ? EffectKind::Absolute : EffectKind::Relative;
    double given = 0;
    if (!read.Fraction(t.baseline, "baseline", in.baseline) || !read.Fraction(t.alpha, "alpha", in.alpha)
        || !read.Fraction(t.power, "power", in.power) || !read.Optional(t.daily, "daily", in.dailyObservations)) {
        return read.Failure();
    }
    const Outcome<Split> split = ReadSplit(t.split, read.At("split"));
    if (!split) {
        return split.Failure();
    }
    const Outcome<Split> two = SplitFor(*split, 2, read.At("split"));
    if (!two) {
        return two.Failure();
    }
    in.sharePercent = two->SharePercentA();
    const Outcome<std::size_t> versions = Versions(t.versions, read.At("versions"));
    if (!versions) {
        return versions.Failure();
    }
    request.versions = *versions;
    if (request.versions > 2 && in.sharePercent != 50) {
        // More versions are planned alike: one share cannot say how they split.
        Problem problem = ProblemAt(Reason::SharesForVersions, read.At("split"), t.split);
        problem.count = 1;
        problem.expected = request.versions;
        return problem;
    }
    if (t.mde.empty()) {
        if (!read.Plain(t.observations, "observations", given)) {
            return read.Failure();
        }
        request.observationsPerVersion = given;
        return request;
    }
    if (!(t.absolute ? read.Points(t.mde, "mde", given) : read.Percent(t.mde, "mde", given))) {
        return read.Failure();
    }
    request.effect = given;
    return request;
}

Outcome<MeansPlanRequest> ReadMeansPlan(const PlanTexts& t, NameKind kind, std::string_view prefix)
{
    Reader read(kind, prefix);
    MeansPlanRequest request;
    request.relative = !t.absolute;
    request.twoSided = !t.oneSided;
    if (!read.Plain(t.sd, "sd", request.sd)
        || !(t.absolute ? read.Plain(t.mde, "mde", request.effect) : read.Percent(t.mde, "mde", request.effect))
        || !read.Fraction(t.alpha, "alpha", request.alpha) || !read.Fraction(t.power, "power", request.power)
        || !read.Optional(t.mean, "mean", request.average) || !read.Optional(t.daily, "daily", request.dailyObservations)) {
        return read.Failure();
    }
    const Outcome<std::size_t> versions = Versions(t.versions, read.At("versions"));
    if (!versions) {
        return versions.Failure();
    }
    request.versions = *versions;
    if (!read.Optional(t.correlation, "correlation", request.correlation)) {
        return read.Failure();
    }
    if (request.correlation && !(*request.correlation > -1 && *request.correlation < 1)) {
        return ProblemAt(Reason::CorrelationOutOfRange, read.At("correlation"), t.correlation);
    }
    return request;
}

double MeansPlanRequest::ResidualSd() const
{
    return correlation ? sd * std::sqrt(1 - *correlation * *correlation) : sd;
}

}  // namespace ambrelay

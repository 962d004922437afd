#include "cli/plan_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "cli/judge_output.h"
#include "figures/plan_figures.h"
#include "figures/reasons.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

// A number option, read as the window reads a box; a trailing "%" divides by 100.
std::optional<double> Number(std::string text, bool percentSign = false)
{
    bool percent = false;
    if (percentSign && !text.empty() && text.back() == '%') {
        text.pop_back();
        percent = true;
    }
    if (!IsNumeric(text)) {
        return std::nullopt;
    }
    return ReadNumber(text) / (percent ? 100 : 1);
}

// An option's number into `into`; false, with the usage error said, when
// it is none.
bool ReadOption(const std::string& text, const char* name, double& into, bool percentSign, std::ostream& err)
{
    const std::optional<double> value = Number(text, percentSign);
    if (value) {
        into = *value;
    } else {
        Usage(err, says::NotANumberOption(name, text));
    }
    return value.has_value();
}

// A person reads each figure on a line, rounded; a program reads JSON, unrounded.
void WriteFigures(std::span<const FigureKind> kinds, const std::vector<Figure>& figures, bool json,
                  std::ostream& out)
{
    if (json) {
        Json o;
        PutFigures(o, kinds, figures, NamesOf(kinds));
        out << o.dump(2) << "\n";
    } else {
        out << FiguresText(figures);
    }
}

}  // namespace

void PlanOptions::Register(CLI::App& plan)
{
    plan.add_option("--baseline", baseline, "the control's response ratio: 0.1, or a percentage such as 10%");
    plan.add_option("--sd", sd, "for a test of averages: the metric's standard deviation, instead of --baseline")
        ->excludes("--baseline");
    plan.add_option("--mean", mean, "for a test of averages: the control's average, for a relative --mde");
    plan.add_option("--mde", mde, "the smallest effect worth detecting: relative percent (20 means 20% more)");
    plan.add_flag("--absolute", absolute, "read --mde as percentage points instead");
    plan.add_option("--observations", observations,
                    "observations per version instead of --mde: the smallest effect they can detect");
    plan.add_option("--alpha", alpha, "significance level (default 0.05)");
    plan.add_option("--power", power, "power (default 0.8)");
    plan.add_flag("--one-sided", oneSided, "a one-sided test (default two-sided)");
    plan.add_option("--split", split, "version A's share of the observations in percent (default 50)");
    plan.add_option("--daily", daily, "observations per day, both versions together");
    plan.add_flag("--json", json, "write JSON");
}

int PlanOptions::RunMeans(std::ostream& out, std::ostream& err) const
{
    if (mde.empty() || !observations.empty() || split != "50") {
        return Usage(err, says::MeansPlanNeedsEffect());
    }
    MeansPlanRequest request;
    const auto read = [&](const std::string& text, const char* name, double& into, bool percentSign) {
        return ReadOption(text, name, into, percentSign, err);
    };
    if (!read(sd, "--sd", request.sd, false) || !read(mde, "--mde", request.effect, false)
        || !read(alpha, "--alpha", request.alpha, true) || !read(power, "--power", request.power, true)) {
        return kUsage;
    }
    double number = 0;
    if (!mean.empty()) {
        if (!read(mean, "--mean", number, false)) {
            return kUsage;
        }
        request.average = number;
    }
    if (!daily.empty()) {
        if (!read(daily, "--daily", number, false)) {
            return kUsage;
        }
        request.dailyObservations = number;
    }
    request.relative = !absolute;
    request.twoSided = !oneSided;
    const auto answer = AnswerMeansPlan(request);
    if (!answer) {
        return Usage(err, ReasonText(answer.Failure()));
    }
    WriteFigures(MeansPlanFigureKinds(), answer->All(), json, out);
    return kResult;
}

int PlanOptions::Run(std::ostream& out, std::ostream& err) const
{
    if (!sd.empty()) {
        return RunMeans(out, err);
    }
    if (baseline.empty()) {
        return Usage(err, says::PlanNeedsBaseline());
    }
    if (!mean.empty()) {
        return Usage(err, says::MeanWithoutSd());
    }
    if (mde.empty() == observations.empty()) {
        return Usage(err, says::PlanNeedsEffect());
    }
    PlanRequest request;
    PlanInputs& in = request.settings;
    const auto read = [&](const std::string& text, const char* name, double& into, bool percentSign) {
        return ReadOption(text, name, into, percentSign, err);
    };
    double given = 0;
    if (!read(baseline, "--baseline", in.baseline, true) || !read(alpha, "--alpha", in.alpha, true)
        || !read(power, "--power", in.power, true) || !read(split, "--split", in.sharePercent, false)
        || !(mde.empty() ? read(observations, "--observations", given, false) : read(mde, "--mde", given, false))) {
        return kUsage;
    }
    (mde.empty() ? request.observationsPerVersion : request.effect) = given;
    in.twoSided = !oneSided;
    in.kind = absolute ? EffectKind::Absolute : EffectKind::Relative;
    if (!daily.empty()) {
        double perDay = 0;
        if (!read(daily, "--daily", perDay, false)) {
            return kUsage;
        }
        in.dailyObservations = perDay;
    }
    const auto answer = AnswerPlan(request);
    if (!answer) {
        return Usage(err, ReasonText(answer.Failure()));
    }
    WriteFigures(PlanFigureKinds(), answer->All(), json, out);
    return kResult;
}

int RunSampleRatio(const std::vector<std::string>& observations, const std::string& split, bool json,
                   std::ostream& out, std::ostream& err)
{
    const std::optional<double> first = Number(observations.at(0));
    const std::optional<double> second = Number(observations.at(1));
    const std::optional<double> share = Number(split);
    if (!first || !second || !share) {
        return Usage(err, says::SplitNeedsNumbers());
    }
    const auto answer = AnswerSplit(*first, *second, *share);
    if (!answer) {
        return Usage(err, ReasonText(answer.Failure()));
    }
    WriteFigures(SplitFigureKinds(), answer->All(), json, out);
    return kResult;
}

}  // namespace ambrelay::cli

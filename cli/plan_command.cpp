#include "cli/plan_command.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/commands.h"
#include "engine/figure_text.h"
#include "engine/sample_ratio.h"
#include "engine/test_plan.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

using Json = nlohmann::ordered_json;

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

int Usage(std::ostream& err, const std::string& what)
{
    err << "ambrelay-cli: " << what << "\n";
    return kUsage;
}

std::string Points(double points) { return Fixed(points, 2); }

}  // namespace

void PlanOptions::Register(CLI::App& plan)
{
    plan.add_option("--baseline", baseline, "the control's response ratio: 0.1, or a percentage such as 10%")
        ->required();
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

int PlanOptions::Run(std::ostream& out, std::ostream& err) const
{
    if (mde.empty() == observations.empty()) {
        return Usage(err, "plan needs either --mde or --observations");
    }
    PlanInputs in;
    const auto read = [&](const std::string& text, const char* name, double& into, bool percentSign) {
        const std::optional<double> value = Number(text, percentSign);
        if (value) {
            into = *value;
        } else {
            err << "ambrelay-cli: " << name << " must be a number, not '" << text << "'\n";
        }
        return value.has_value();
    };
    double share = 50;
    if (!read(baseline, "--baseline", in.baseline, true) || !read(alpha, "--alpha", in.alpha, true)
        || !read(power, "--power", in.power, true) || !read(split, "--split", share, false)) {
        return kUsage;
    }
    in.sharePercent = share;
    in.twoSided = !oneSided;
    in.kind = absolute ? EffectKind::Absolute : EffectKind::Relative;
    if (!daily.empty()) {
        double perDay = 0;
        if (!read(daily, "--daily", perDay, false)) {
            return kUsage;
        }
        in.dailyObservations = perDay;
    }
    Json o;
    if (!mde.empty()) {
        double effect = 0;
        if (!read(mde, "--mde", effect, false)) {
            return kUsage;
        }
        in.effect = effect / 100;
        const PlanOutcome outcome = PlanTest(in);
        if (!outcome.plan) {
            return Usage(err, outcome.problem);
        }
        const Plan& p = *outcome.plan;
        const bool even = share == 50;
        o["observations_per_version"] = even ? Json(p.neededA) : Json{p.neededA, p.neededB};
        o["observations_per_version_unrounded"] = even ? Json(p.perVersionA) : Json{p.perVersionA, p.perVersionB};
        o["observations_total"] = p.total;
        o["days"] = p.days ? Json(*p.days) : Json(nullptr);
        o["mde_relative_percent"] = (p.variant / in.baseline - 1) * 100;
        o["mde_absolute_points"] = (p.variant - in.baseline) * 100;
        if (!json) {
            if (even) {
                out << "Observations needed per version: " << Grouped(p.neededA) << " (" << Fixed(p.perVersionA, 2)
                    << " unrounded)\n";
            } else {
                out << "Observations needed: " << Grouped(p.neededA) << " for version A, " << Grouped(p.neededB)
                    << " for version B\n";
            }
            out << "Observations needed in all: " << Grouped(p.total) << "\n";
            out << "Detects version B at " << PercentText(p.variant * 100) << "% against " << PercentText(in.baseline * 100)
                << "%: " << Points((p.variant - in.baseline) * 100) << " points, "
                << Points((p.variant / in.baseline - 1) * 100) << "% relative\n";
        }
    } else {
        double perVersion = 0;
        if (!read(observations, "--observations", perVersion, false)) {
            return kUsage;
        }
        const DetectableOutcome outcome = SmallestDetectableEffect(in, perVersion);
        if (!outcome.detectable) {
            return Usage(err, outcome.problem);
        }
        const Detectable& d = *outcome.detectable;
        o["observations_per_version"] = perVersion;
        o["observations_total"] = 2 * perVersion;
        o["days"] = in.dailyObservations ? Json(std::ceil(2 * perVersion / *in.dailyObservations)) : Json(nullptr);
        o["mde_relative_percent"] = d.relativePercent;
        o["mde_absolute_points"] = d.absolutePoints;
        if (!json) {
            out << "Smallest detectable effect: " << Points(d.relativePercent) << "% relative, "
                << Points(d.absolutePoints) << " points absolute (version B at " << PercentText(d.variant * 100)
                << "% against " << PercentText(in.baseline * 100) << "%)\n";
        }
    }
    if (json) {
        out << o.dump(2) << "\n";
    } else if (!o["days"].is_null()) {
        out << "Days at " << Grouped(*in.dailyObservations) << " observations a day: "
            << Grouped(o["days"].get<double>()) << "\n";
    }
    return kResult;
}

int RunSampleRatio(const std::vector<std::string>& observations, const std::string& split, bool json,
                   std::ostream& out, std::ostream& err)
{
    const std::optional<double> first = Number(observations.at(0));
    const std::optional<double> second = Number(observations.at(1));
    const std::optional<double> share = Number(split);
    if (!first || !second || !share) {
        return Usage(err, "srm needs two observation counts and a --split in percent, all numbers");
    }
    const std::optional<SampleRatio> ratio = CheckSampleRatio(*first, *second, *share);
    if (!ratio) {
        return Usage(err, "srm needs counts of zero or more, not both zero, and a --split between 0 and 100");
    }
    if (json) {
        out << Json{{"chi_square", ratio->chiSquare}, {"p_value", ratio->pValue}, {"mismatch", ratio->mismatch}}.dump(2)
            << "\n";
    } else {
        out << "Chi-square: " << NumberToText(ratio->chiSquare) << "\n";
        out << "p value: " << NumberToText(ratio->pValue) << "\n";
        out << (ratio->mismatch ? "Sample ratio mismatch: the split is far from the intended one, which usually "
                                  "means the test was set up or counted wrongly.\n"
                                : "No sample ratio mismatch: the split is as close to the intended one as chance "
                                  "allows.\n");
    }
    return kResult;
}

}  // namespace ambrelay::cli

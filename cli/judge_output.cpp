#include "cli/judge_output.h"

#include <charconv>

#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

std::string WinnerName(Winner winner)
{
    return winner == Winner::A ? "A" : winner == Winner::B ? "B" : "none";
}

template <typename T>
nlohmann::ordered_json OrNull(const std::optional<T>& value)
{
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

std::optional<double> FisherTwoSided(const Insights& in)
{
    return in.exact.test ? std::optional<double>(in.exact.test->twoSided) : std::nullopt;
}

std::string WarningCodes(const Insights& in)
{
    std::string codes;
    for (const Warning& w : in.warnings) {
        codes += (codes.empty() ? "" : ";") + WarningCodeName(w.code);
    }
    return codes;
}

}  // namespace

std::string ExactNumber(double x)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, x);
    return std::string(buffer, written.ptr);
}

const std::vector<std::string>& ResultColumns()
{
    static const std::vector<std::string> columns = {
        "ratio1",      "ratio2",      "p_value",            "z",              "likelihood", "winner", "verdict",
        "lift_percent", "p_two_sided", "fisher_p_two_sided", "chance_to_beat", "warnings",   "error"};
    return columns;
}

std::string JudgementText(const Judgement& j)
{
    std::string text;
    if (j.insights) {
        for (const Warning& w : j.insights->warnings) {
            text += "Warning: " + w.message + "\n";
        }
        text += j.insights->warnings.empty() ? "" : "\n";
    }
    text += "Ratio A: " + j.view.ratio1 + "\n";
    text += "Ratio B: " + j.view.ratio2 + "\n";
    text += "p value: " + j.view.pValue + "\n";
    text += "Z statistic: " + j.view.zStat + "\n";
    text += "Likelihood: " + NumberToText(j.calculation.Likelihood) + "%\n";
    text += "Verdict: " + j.view.verdict + "\n";
    if (j.insights) {
        text += "\n" + InsightsText(*j.insights, false) + "\n";
    }
    return text;
}

nlohmann::ordered_json JudgementJson(const Judgement& j)
{
    nlohmann::ordered_json o;
    o["views1"] = j.counts.views1;
    o["responses1"] = j.counts.responses1;
    o["views2"] = j.counts.views2;
    o["responses2"] = j.counts.responses2;
    const bool done = j.Finished();
    const auto shown = [&](const std::string& text) {
        return done ? nlohmann::ordered_json(ReadNumber(text)) : nlohmann::ordered_json(nullptr);
    };
    o["ratio1"] = shown(j.view.ratio1);
    o["ratio2"] = shown(j.view.ratio2);
    o["p_value"] = shown(j.view.pValue);
    o["z"] = shown(j.view.zStat);
    o["likelihood"] = shown(NumberToText(j.calculation.Likelihood));
    o["winner"] = done ? nlohmann::ordered_json(WinnerName(j.calculation.winner)) : nullptr;
    o["verdict"] = done ? nlohmann::ordered_json(j.view.verdict) : nullptr;
    const Insights* in = j.insights ? &*j.insights : nullptr;
    o["leader"] = in ? nlohmann::ordered_json(in->leader) : nullptr;
    o["lift_percent"] = in ? OrNull(in->liftPercent) : nullptr;
    o["lift_ci_percent"] = in && in->liftIntervalPercent
                               ? nlohmann::ordered_json{in->liftIntervalPercent->low, in->liftIntervalPercent->high}
                               : nlohmann::ordered_json(nullptr);
    o["difference_points"] = in ? nlohmann::ordered_json(in->differencePoints) : nullptr;
    o["difference_ci_points"] =
        in ? nlohmann::ordered_json{in->intervalLowPoints, in->intervalHighPoints} : nlohmann::ordered_json(nullptr);
    o["p_one_sided"] = in ? nlohmann::ordered_json(in->oneSidedP) : nullptr;
    o["p_two_sided"] = in ? nlohmann::ordered_json(in->twoSidedP) : nullptr;
    o["fisher_p_two_sided"] = in ? OrNull(FisherTwoSided(*in)) : nullptr;
    o["chance_to_beat"] = in ? OrNull(in->chanceToBeat) : nullptr;
    o["observations_needed"] = in ? OrNull(in->observationsNeeded) : nullptr;
    nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
    if (in) {
        for (const Warning& w : in->warnings) {
            warnings.push_back({{"code", WarningCodeName(w.code)}, {"message", w.message}});
        }
    }
    o["warnings"] = warnings;
    return o;
}

std::vector<std::string> JudgementFields(const Judgement& j)
{
    const Insights* in = j.insights ? &*j.insights : nullptr;
    const auto exact = [](const std::optional<double>& x) { return x ? ExactNumber(*x) : std::string(); };
    return {j.view.ratio1,
            j.view.ratio2,
            j.view.pValue,
            j.view.zStat,
            NumberToText(j.calculation.Likelihood),
            WinnerName(j.calculation.winner),
            j.view.verdict,
            in ? exact(in->liftPercent) : "",
            in ? ExactNumber(in->twoSidedP) : "",
            in ? exact(FisherTwoSided(*in)) : "",
            in ? exact(in->chanceToBeat) : "",
            in ? WarningCodes(*in) : ""};
}

}  // namespace ambrelay::cli

// plan: how many observations a test needs, or what a number of them can
// detect; for rates, or for averages given their standard deviation.

#include <CLI/CLI.hpp>

#include "answers/plan_reading.h"
#include "cli/command.h"
#include "cli/figures_output.h"
#include "cli/problems.h"
#include "figures/plan_figures.h"

namespace ambrelay::cli {
namespace {

class PlanCommand final : public Command {
public:
    void Register(CLI::App& plan) override
    {
        plan.add_option("--baseline", t_.baseline, "the control's response ratio: 0.1, or a percentage such as 10%");
        plan.add_option("--sd", t_.sd, "for a test of averages: the metric's standard deviation, instead of --baseline")
            ->excludes("--baseline");
        plan.add_option("--mean", t_.mean, "for a test of averages: the control's average, for a relative --mde");
        plan.add_option("--mde", t_.mde,
                        "the smallest effect worth detecting: relative, in percent (20 or 20% means 20% more)");
        plan.add_flag("--absolute", t_.absolute,
                      "read --mde as percentage points instead (or, for averages, in the metric's units)");
        plan.add_option("--observations", t_.observations,
                        "observations per version instead of --mde: the smallest effect they can detect");
        plan.add_option("--alpha", t_.alpha, "significance level: 0.05 or 5% (default 0.05)");
        plan.add_option("--power", t_.power, "power: 0.8 or 80% (default 0.8)");
        plan.add_flag("--one-sided", t_.oneSided, "a one-sided test (default two-sided)");
        plan.add_option("--split", t_.split,
                        "version A's share of the observations in percent, 25 (or every version's, 25/75); default 50");
        plan.add_option("--daily", t_.daily, "observations per day, every version together");
        plan.add_option("--versions", t_.versions,
                        "a test of this many versions, the control among them (default 2): each compared with the "
                        "control at the significance level shared among the comparisons (Bonferroni)");
        plan.add_option("--correlation", t_.correlation,
                        "for a test of averages with what users did before it taken out (CUPED): the metric's "
                        "correlation with before the test, 0.7; the plan takes the spread left");
        plan.add_flag("--json", json_, "write JSON");
        plan.footer("Examples:\n"
                    "  ambrelay-cli plan --baseline 10% --mde 20 --daily 5000\n"
                    "  ambrelay-cli plan --baseline 10% --observations 3841 --split 25 --json");
    }

    int Run(Streams& s) override
    {
        if (!t_.sd.empty()) {
            if (t_.mde.empty() || !t_.observations.empty() || t_.split != "50") {
                return Fail(s.err, Reason::MeansPlanNeedsEffect);
            }
            const Outcome<MeansPlanRequest> request = ReadMeansPlan(t_, NameKind::Option, "--");
            if (!request) {
                return Fail(s.err, request.Failure());
            }
            std::vector<KindsAndFigures> more = Family(request->alpha, request->versions);
            if (request->correlation) {
                more.push_back({CovariatePlanFigureKinds(), CovariatePlanFigures(*request).All()});
            }
            return WriteAnswer(MeansPlanFigureKinds(), AnswerMeansPlan(*request), json_, s, std::move(more));
        }
        if (t_.baseline.empty()) {
            return Fail(s.err, Reason::PlanNeedsBaseline);
        }
        if (!t_.mean.empty() || !t_.correlation.empty()) {
            return Fail(s.err, Reason::MeanWithoutSd);
        }
        if (t_.mde.empty() == t_.observations.empty()) {
            return Fail(s.err, Reason::PlanNeedsEffect);
        }
        const Outcome<PlanRequest> request = ReadRatesPlan(t_, NameKind::Option, "--");
        if (!request) {
            return Fail(s.err, request.Failure());
        }
        return WriteAnswer(PlanFigureKinds(), AnswerPlan(*request), json_, s,
                           Family(request->settings.alpha, request->versions));
    }

private:
    // More than two versions: how many, and each comparison's level.
    static std::vector<KindsAndFigures> Family(double alpha, std::size_t versions)
    {
        if (versions <= 2) {
            return {};
        }
        return {{FamilyPlanFigureKinds(), FamilyPlanFigures(alpha, versions).All()}};
    }

    PlanTexts t_;
    bool json_ = false;
};

}  // namespace

std::unique_ptr<Command> MakePlanCommand() { return std::make_unique<PlanCommand>(); }

}  // namespace ambrelay::cli

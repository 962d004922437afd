// judge: one test from its four counts, or a table of tests.

#include <CLI/CLI.hpp>

#include "answers/counts_answer.h"
#include "checks/given_values.h"
#include "cli/command.h"
#include "cli/problems.h"
#include "cli/shared_options.h"
#include "cli/table_run.h"
#include "figures/figure_choice.h"
#include "figures/figures.h"
#include "answers/table_answers.h"
#include "figures/machine_text.h"

namespace ambrelay::cli {
namespace {

class JudgeCommand final : public Command {
public:
    void Register(CLI::App& judge) override
    {
        judge.add_option("counts", counts_, "V1 R1 V2 R2: views and responses of version 1, then of version 2");
        judge.add_flag("--json", json_, "write JSON (JSON lines for a table)");
        judge.add_option("--figures", figures_,
                         "write only these figures, named as in the output (p_two_sided,lift_percent,chance_to_beat), "
                         "and work out nothing else; a figure brings its interval");
        table_.Register(judge, "views1, responses1, views2, responses2",
                        "views 1, responses 1, views 2, responses 2, by header name or 1-based position: --columns "
                        "\"Visitors A,Conversions A,Visitors B,Conversions B\"");
        answer_.Register(judge, false);
        judge.footer("Examples:\n"
                     "  ambrelay-cli judge --csv versions.csv --adjust holm    (columns test, version, views, responses)\n"
                     "  ambrelay-cli judge 1000 100 1000 130\n"
                     "  ambrelay-cli judge --csv tests.csv > verdicts.csv\n"
                     "  ambrelay-cli judge --csv tests.csv --figures p_two_sided,lift_percent > p.csv\n"
                     "  ambrelay-cli judge --csv export.csv --columns \"Visitors A,Conversions A,Visitors B,Conversions "
                     "B\"\n"
                     "  ambrelay-cli judge --csv counts.tsv --no-header --columns 2,3,4,5 --json\n"
                     "  ambrelay-cli judge 9000 450 1000 52 --split 90/10\n"
                     "A semicolon table reads ',' as the decimal mark and '.' as thousands (12.500 is 12500).");
    }

    int Run(Streams& s) override
    {
        JudgeOptions options;
        VersionsOptions family;
        if (auto problem = answer_.Read(options.plannedObservations, options.margin, options.splitPercentA, family)) {
            return Fail(s.err, *problem);
        }
        if (!table_.path.empty() && !counts_.empty()) {
            return Fail(s.err, Reason::CountsOrTable);
        }
        const std::vector<std::string> names = figures_ ? FigureNames(*figures_) : std::vector<std::string>();
        if (!table_.path.empty()) {
            TableRequest request;
            request.kind = TableKind::Rates;
            request.json = json_;
            request.judge = options;
            request.family = family;
            request.figures = names;
            return AnswerTableFile(table_, request, s);
        }
        if (table_.AnyForTable() || !family.control.empty()) {
            return Fail(s.err, Reason::TableOptionsWithoutTable);
        }
        if (counts_.size() != 4) {
            return Fail(s.err, Reason::FourCounts);
        }
        if (auto problem = TwoVersionsOnly(family)) {
            return Fail(s.err, *problem);
        }
        const Outcome<std::vector<FigureKind>> kinds =
            ChosenKinds(JudgementFigureKinds(), names, {kCountNames.begin(), kCountNames.end()});
        if (!kinds) {
            return Fail(s.err, kinds.Failure());
        }
        // JSON works out only the figures it writes; the text's sentences
        // draw on more than their own figure, so it works out every one.
        const JudgementChoice chosen = JudgementChoiceOf(*kinds);
        if (json_) {
            options.parts = PartsFor(chosen);
        }
        // The four counts are read as the window's boxes are, and named as they name them.
        const Input boxes[4] = {Input::Views1, Input::Responses1, Input::Views2, Input::Responses2};
        const auto count = [&](int i) { return ReadGiven(counts_[i], Origin::Box(boxes[i])); };
        const Outcome<Judgement> judgement = JudgeGiven(count(0), count(1), count(2), count(3), options);
        if (!judgement) {
            return Fail(s.err, judgement.Failure());
        }
        if (json_) {
            s.out << Json(*judgement, *kinds, chosen);
            return kResult;
        }
        const FigureList<JudgementFigure> all = JudgementFigures(*judgement);
        std::vector<Figure> shown;
        for (const FigureKind& kind : *kinds) {
            shown.push_back(all[static_cast<JudgementFigure>(kind.id)]);
        }
        s.out << FiguresText(shown, JudgementWarnings(*judgement));
        return kResult;
    }

private:
    // The counts as read, the figures and the warnings, indented for a terminal.
    static std::string Json(const Judgement& j, std::span<const FigureKind> kinds, const JudgementChoice& chosen)
    {
        std::string text;
        JsonWriter json(text, true);
        json.BeginObject();
        const double counts[4] = {j.counts.views1, j.counts.responses1, j.counts.views2, j.counts.responses2};
        for (std::size_t i = 0; i < 4; ++i) {
            json.Key(kCountNames[i]);
            json.Number(counts[i], Unit::Count);
        }
        FigureList<JudgementFigure> figures;
        FillJudgementFigures(j, Wording::NumbersOnly, figures, chosen);
        WriteFigures(json, kinds, figures.All(), NamesOf(kinds));
        json.Key("warnings");
        WriteWarnings(json, JudgementWarnings(j));
        json.EndObject();
        return text + "\n";
    }

    std::vector<std::string> counts_;
    std::optional<std::string> figures_;
    bool json_ = false;
    TableFlags table_;
    AnswerFlags answer_;
};

}  // namespace

std::unique_ptr<Command> MakeJudgeCommand() { return std::make_unique<JudgeCommand>(); }

}  // namespace ambrelay::cli

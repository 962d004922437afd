// srm: whether the observations split between the versions as intended.

#include <CLI/CLI.hpp>

#include "checks/amounts.h"
#include "checks/given_values.h"
#include "cli/command.h"
#include "cli/figures_output.h"
#include "cli/problems.h"
#include "figures/plan_figures.h"

namespace ambrelay::cli {
namespace {

class SrmCommand final : public Command {
public:
    void Register(CLI::App& srm) override
    {
        srm.add_option("observations", observations_, "OBS1 OBS2: observations of version 1 and of version 2")
            ->expected(2)
            ->required();
        srm.add_option("--split", split_,
                       "how the observations were meant to split: version 1's share in percent (50), or every "
                       "version's (90/10); default 50");
        srm.add_flag("--json", json_, "write JSON");
        srm.footer("Example:\n  ambrelay-cli srm 10000 10420 --split 50");
    }

    int Run(Streams& s) override
    {
        double counts[2] = {};
        for (std::size_t i = 0; i < 2; ++i) {
            const Outcome<double> read = ReadGiven(observations_.at(i), Origin::Argument("observations"));
            if (!read) {
                return Fail(s.err, Reason::SplitNeedsNumbers);
            }
            counts[i] = *read;
        }
        const Origin option = Origin::Option("--split");
        const Outcome<Split> split = ReadSplit(split_, option);
        const Outcome<Split> two = split ? SplitFor(*split, 2, option) : split;
        if (!two) {
            return Fail(s.err, two.Failure());
        }
        return WriteAnswer(SplitFigureKinds(), AnswerSplit(counts[0], counts[1], two->SharePercentA()), json_, s);
    }

private:
    std::vector<std::string> observations_;
    std::string split_ = "50";
    bool json_ = false;
};

}  // namespace

std::unique_ptr<Command> MakeSrmCommand() { return std::make_unique<SrmCommand>(); }

}  // namespace ambrelay::cli

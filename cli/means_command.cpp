#include "cli/means_command.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/judge_output.h"
#include "cli/messages.h"
#include "figures/means_figures.h"
#include "figures/reasons.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {

void MeansOptions::Register(CLI::App& means)
{
    means.add_option("numbers", numbers,
                     "N1 MEAN1 SD1 N2 MEAN2 SD2: observations, average and standard deviation of version 1, then of "
                     "version 2");
    means.add_flag("--lower-is-better", lowerIsBetter, "the lower average is the better (load time, cost, refunds)");
    means.add_flag("--json", json, "write JSON");
    means.add_option("--values", valuesPath,
                     "a file of observations, one row per user: its version's label and its value; - reads standard "
                     "input");
    means.add_option("--group", group, "the column of the version's label (default: group)");
    means.add_option("--value", value, "the column of the value (default: value); a blank value counts as 0");
    means.add_option("--numerator", numerator, "a ratio metric: the column of its numerator (revenue)")
        ->excludes("--value");
    means.add_option("--denominator", denominator, "a ratio metric: the column of its denominator (orders)");
    means.add_option("--control", control, "the label of version A (default: the first label in the file)");
    means.add_option("--cap", cap, "cap the values at this percentile of both versions pooled: 99.9%");
    means.add_option("--cap-lower", capLower, "raise the values below this percentile to it: 1%");
    means.add_flag("--ignore-zeros", ignoreZeros, "take the percentiles over the values other than 0");
    means.add_option("--planned", planned,
                     "observations in all the test is planned to reach, for the peeking-safe p value (default 5000)");
    means.add_option("--margin", margin, "B is not worse than A by more than this relative margin: 2%");
    means.add_option("--margin-units", marginUnits, "B is not worse than A by more than this much, in the metric's units")
        ->excludes("--margin");
    means.footer("Examples:\n"
                 "  ambrelay-cli means 1200 52.30 41.7 1180 55.90 44.2\n"
                 "  ambrelay-cli means 800 2.41 1.9 790 2.18 1.7 --lower-is-better --json\n"
                 "  ambrelay-cli means --values users.csv --group variant --value revenue --cap 99.9%\n"
                 "  ambrelay-cli means --values users.csv --numerator revenue --denominator orders --control old");
}

int MeansOptions::Run(std::istream&, std::ostream& out, std::ostream& err) const
{
    if (numbers.size() != 6) {
        return Usage(err, says::SixNumbers());
    }
    double read[6] = {};
    for (std::size_t i = 0; i < 6; ++i) {
        if (!IsNumeric(numbers[i])) {
            return Usage(err, says::MeansNeedNumbers(numbers[i]));
        }
        read[i] = ReadNumber(numbers[i]);
    }
    MeansRequest request{{read[0], read[1], read[2]}, {read[3], read[4], read[5]},
                         lowerIsBetter ? Better::Lower : Better::Higher, false, looking.plannedObservations,
                         looking.margin};
    const auto answer = AnswerMeans(request, json ? Wording::NumbersOnly : Wording::ForPeople);
    if (!answer) {
        return NoResult(err, ReasonText(answer.Failure().reason));
    }
    const std::vector<Warning> warnings = MeansWarnings(request);
    if (!json) {
        out << FiguresText(answer->All(), warnings);
        return kResult;
    }
    Json o;
    const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
    for (std::size_t i = 0; i < 6; ++i) {
        o[names[i]] = i % 3 == 0 && std::floor(read[i]) == read[i] && std::fabs(read[i]) <= 9007199254740992.0
                          ? Json(static_cast<long long>(read[i]))
                          : Json(read[i]);
    }
    const std::span<const FigureKind> kinds = MeansFigureKinds();
    PutFigures(o, kinds, answer->All(), NamesOf(kinds));
    o["warnings"] = WarningsJson(warnings);
    out << o.dump(2) << "\n";
    return kResult;
}

}  // namespace ambrelay::cli

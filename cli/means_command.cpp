// means: two averages compared from their summaries, from a table of them,
// or from a file of one row per user.

#include <CLI/CLI.hpp>

#include "answers/table_answers.h"
#include "answers/values_answer.h"
#include "checks/amounts.h"
#include "checks/given_values.h"
#include "cli/command.h"
#include "cli/problems.h"
#include "cli/shared_options.h"
#include "cli/table_run.h"
#include "figures/covariate_figures.h"
#include "figures/machine_text.h"
#include "figures/means_figures.h"
#include "figures/values_output.h"
#include "figures/versions_figures.h"

namespace ambrelay::cli {
namespace {

class MeansCommand final : public Command {
public:
    void Register(CLI::App& means) override
    {
        means_ = &means;
        means.add_option("numbers", numbers_,
                         "N1 MEAN1 SD1 N2 MEAN2 SD2: observations, average and standard deviation of version 1, then "
                         "of version 2");
        means.add_flag("--lower-is-better", lowerIsBetter_, "the lower average is the better (load time, cost, refunds)");
        means.add_flag("--json", json_, "write JSON");
        means.add_option("--values", valuesPath_,
                         "a file of observations, one row per user: its version's label and its value; - reads "
                         "standard input");
        means.add_option("--group", group_, "the column of the version's label (default: group)");
        means.add_option("--value", value_, "the column of the value (default: value); a blank value counts as 0");
        means.add_option("--numerator", numerator_, "a ratio metric: the column of its numerator (revenue)")
            ->excludes("--value");
        means.add_option("--denominator", denominator_, "a ratio metric: the column of its denominator (orders)");
        means.add_option("--control", control_,
                         "the control's label, version A (default: the first label in the file, or each test's first "
                         "version in a table of versions)");
        means.add_option("--cap", cap_,
                         "cap the values at this percentile of both versions pooled, in percent: 99.9 or 99.9%");
        means.add_option("--cap-lower", capLower_, "raise the values below this percentile to it, in percent: 1%");
        means.add_flag("--ignore-zeros", ignoreZeros_, "take the percentiles over the values other than 0");
        means.add_option("--covariate", covariate_,
                         "the column of what each user did before the test (CUPED): the same metric measured "
                         "before, for the same users; a blank counts as 0");
        means.add_option("--covariate-numerator", covariateNumerator_,
                         "a ratio covariate: the column of its numerator before the test")
            ->excludes("--covariate");
        means.add_option("--covariate-denominator", covariateDenominator_,
                         "a ratio covariate: the column of its denominator before the test");
        means.add_option("--cap-covariate", capCovariate_,
                         "cap the covariate at this percentile of every version's covariates pooled: 99%");
        answer_.Register(means, true, false);
        table_.Register(means, "n1, mean1, sd1, n2, mean2, sd2",
                        "observations 1, average 1, standard deviation 1, then the same of version 2, by header name "
                        "or 1-based position");
        means.footer("Examples:\n"
                     "  ambrelay-cli means 1200 52.30 41.7 1180 55.90 44.2\n"
                     "  ambrelay-cli means 800 2.41 1.9 790 2.18 1.7 --lower-is-better --json\n"
                     "  ambrelay-cli means --values users.csv --group variant --value revenue --cap 99.9%\n"
                     "  ambrelay-cli means --values users.csv --numerator revenue --denominator orders --control old\n"
                     "  ambrelay-cli means --values users.csv --value revenue --covariate pre_revenue");
    }

    int Run(Streams& s) override
    {
        MeansOptions options;
        options.better = lowerIsBetter_ ? Better::Lower : Better::Higher;
        VersionsOptions family;
        if (auto problem = answer_.Read(options.plannedObservations, options.margin, options.splitPercentA, family)) {
            return Fail(s.err, *problem);
        }
        family.control = control_;
        const bool valueOptions = !numerator_.empty() || !cap_.empty() || !capLower_.empty() || ignoreZeros_
                                  || means_->count("--group") || means_->count("--value") || !covariate_.empty()
                                  || !covariateNumerator_.empty() || !covariateDenominator_.empty()
                                  || !capCovariate_.empty();
        if (!valuesPath_.empty()) {
            if (!numbers_.empty() || !table_.path.empty()) {
                return Fail(s.err, Reason::OneInputForMeans);
            }
            if (table_.AnyForTableOnly()) {
                return Fail(s.err, Reason::TableOptionsForValues);
            }
            return RunValues(options, family, s);
        }
        if (valueOptions || (!control_.empty() && table_.path.empty())) {
            return Fail(s.err, Reason::ValueOptionsWithoutValues);
        }
        if (!table_.path.empty()) {
            if (!numbers_.empty()) {
                return Fail(s.err, Reason::CountsOrTable);
            }
            TableRequest request;
            request.kind = TableKind::Means;
            request.json = json_;
            request.means = options;
            request.family = family;
            return AnswerTableFile(table_, request, s);
        }
        if (table_.AnyForTable()) {
            return Fail(s.err, Reason::TableOptionsWithoutTable);
        }
        if (auto problem = TwoVersionsOnly(family)) {
            return Fail(s.err, *problem);
        }
        return RunSummaries(options, s);
    }

private:
    int RunSummaries(const MeansOptions& options, Streams& s) const
    {
        if (numbers_.size() != 6) {
            return Fail(s.err, Reason::SixNumbers);
        }
        Outcome<double> six[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
        for (std::size_t i = 0; i < 6; ++i) {
            six[i] = ReadGiven(numbers_[i], Origin::Argument(kSummaryNames[i]));
            if (!six[i]) {
                return Fail(s.err, Problem(Reason::MeansNeedNumbers, NameKind::None, {}, numbers_[i]));
            }
        }
        const Outcome<MeansAnswer> answer = CompareSummaries(*SummariesGiven(six, options));
        if (!answer) {
            return Fail(s.err, answer.Failure());
        }
        if (!json_) {
            s.out << FiguresText(MeansFigures(*answer).All(), MeansWarnings(*answer));
            return kResult;
        }
        std::string text;
        JsonWriter json(text, true);
        json.BeginObject();
        for (std::size_t i = 0; i < 6; ++i) {
            json.Key(kSummaryNames[i]);
            json.Number(*six[i], i % 3 == 0 ? Unit::Count : Unit::Ratio);
        }
        const std::span<const FigureKind> kinds = MeansFigureKinds();
        WriteFigures(json, kinds, MeansFigures(*answer, Wording::NumbersOnly).All(), NamesOf(kinds));
        json.Key("warnings");
        WriteWarnings(json, MeansWarnings(*answer));
        json.EndObject();
        s.out << text << "\n";
        return kResult;
    }

    int RunValues(const MeansOptions& options, const VersionsOptions& family, Streams& s) const
    {
        ValuesRequest request;
        tables::ValuesLayout& l = request.layout;
        l.group = group_;
        l.value = value_;
        l.numerator = numerator_;
        l.denominator = denominator_;
        if (l.numerator.empty() != l.denominator.empty()) {
            return Fail(s.err, Reason::RatioNeedsBoth);
        }
        l.covariate = covariate_;
        l.covariateNumerator = covariateNumerator_;
        l.covariateDenominator = covariateDenominator_;
        if (l.covariateNumerator.empty() != l.covariateDenominator.empty()) {
            return Fail(s.err, Reason::CovariateRatioNeedsBoth);
        }
        if (!capCovariate_.empty() && !l.Covariate()) {
            return Fail(s.err, Reason::CovariateCapWithoutCovariate);
        }
        l.control = control_;
        for (const auto& [text, name, into] : {std::tuple{&cap_, "--cap", &l.caps.upperPercent},
                                               std::tuple{&capLower_, "--cap-lower", &l.caps.lowerPercent},
                                               std::tuple{&capCovariate_, "--cap-covariate",
                                                          &l.caps.covariateUpperPercent}}) {
            if (!text->empty()) {
                const Outcome<double> percentile = ReadPercentile(*text, Origin::Option(name));
                if (!percentile) {
                    return Fail(s.err, percentile.Failure());
                }
                *into = *percentile;
            }
        }
        l.caps.ignoreZeros = ignoreZeros_;
        l.dialect = table_.Dialect();
        request.options = options;
        request.family = family;
        return WithInput(valuesPath_, s.in, s.err, [&](std::istream& in) { return WriteValues(in, request, s); });
    }

    int WriteValues(std::istream& in, const ValuesRequest& request, Streams& s) const
    {
        const Outcome<ValuesAnswer> answer = CompareValuesFile(in, request);
        if (!answer) {
            return Fail(s.err, answer.Failure());
        }
        RowProblems said;
        std::string lines;
        for (const Problem& problem : answer->read.firstRowsLeftOut) {
            said.Add(problem, lines);
        }
        said.AddUnnamed(answer->read.rowsLeftOut - answer->read.firstRowsLeftOut.size());
        s.err << lines << said.Rest("were left out");
        if (!answer->versions) {
            return Fail(s.err, answer->versions.Failure());
        }
        const MeansVersionsAnswer& versions = *answer->versions;
        const bool two = versions.Versions() == 2;
        if (!json_) {
            // Two versions: their one comparison, as it has always been written.
            if (two) {
                std::vector<Figure> all = ValuesFigures(*answer).All();
                const std::vector<Figure> means = MeansFigures(*answer->Pair()).All();
                all.insert(all.end(), means.begin(), means.end());
                if (request.layout.Covariate()) {
                    const std::vector<Figure> covariate = CovariateFigures(*answer).All();
                    all.insert(all.end(), covariate.begin(), covariate.end());
                }
                s.out << FiguresText(all, ValuesWarnings(*answer));
            } else {
                s.out << ValuesVersionsText(*answer);
            }
            return said.Any() ? kNoResult : kResult;
        }
        s.out << ValuesJson(*answer) << "\n";
        return said.Any() ? kNoResult : kResult;
    }

    CLI::App* means_ = nullptr;
    std::vector<std::string> numbers_;
    bool lowerIsBetter_ = false, json_ = false, ignoreZeros_ = false;
    std::string valuesPath_, group_ = "group", value_ = "value", numerator_, denominator_, control_, cap_, capLower_;
    std::string covariate_, covariateNumerator_, covariateDenominator_, capCovariate_;
    AnswerFlags answer_;
    TableFlags table_;
};

}  // namespace

std::unique_ptr<Command> MakeMeansCommand() { return std::make_unique<MeansCommand>(); }

}  // namespace ambrelay::cli

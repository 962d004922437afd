// The command line: judge, plan and srm, their options and exit statuses.

#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <tuple>

#include "checks/input_checks.h"
#include "cli/judge_output.h"
#include "cli/means_command.h"
#include "cli/plan_command.h"
#include "cli/values_file.h"
#include "figures/reasons.h"
#include "figures/figures.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

// A count such as "-5" or "-.5" is a count, never an option: a blank before
// it keeps the parser from taking it for one, and the number reader skips it.
void ShieldNegativeNumbers(std::vector<std::string>& args)
{
    for (std::string& arg : args) {
        if (arg.size() > 1 && arg[0] == '-' && (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.')) {
            arg.insert(0, 1, ' ');
        }
    }
}

int JudgeOne(const std::vector<std::string>& counts, const JudgeOptions& options, bool json, std::ostream& out,
             std::ostream& err)
{
    const CountTexts texts{counts[0], counts[1], counts[2], counts[3]};
    if (const auto failure = RunInputChecks(texts)) {
        return NoResult(err, failure->outcome.message);
    }
    const Judgement judgement = Judge(ReadCounts(texts), options);
    if (!judgement.Finished()) {
        return NoResult(err, ReasonText(judgement.result.Failure().reason));
    }
    out << (json ? JudgementJson(judgement).dump(2) + "\n"
                 : FiguresText(JudgementFigures(judgement).All(), JudgementWarnings(judgement)));
    return kResult;
}

// A file name from the command line, which is UTF-8 everywhere. Windows opens
// it by its UTF-16 name, so names outside the ANSI code page are found too;
// elsewhere a name is its bytes.
std::filesystem::path FilePath(const std::string& name)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
    return std::filesystem::path(name);
#endif
}

// Runs `read` on the named file, or on standard input for "-".
template <typename Read>
int FromFile(const std::string& path, std::istream& in, std::ostream& err, Read read)
{
    if (path == "-") {
        return read(in);
    }
    std::ifstream file(FilePath(path), std::ios::binary);
    if (!file) {
        return Usage(err, says::CannotRead(path, std::strerror(errno)));
    }
    return read(file);
}

int JudgeFile(const std::string& path, const TableOptions& options, std::istream& in, std::ostream& out,
              std::ostream& err)
{
    return FromFile(path, in, err, [&](std::istream& s) { return JudgeTable(s, options, out, err); });
}

// A percentile such as "99.9%" or "99.9", above 0 and below 100.
std::optional<double> Percentile(std::string text)
{
    if (!text.empty() && text.back() == '%') {
        text.pop_back();
    }
    if (!IsNumeric(text)) {
        return std::nullopt;
    }
    const double p = ReadNumber(text);
    return p > 0 && p < 100 ? std::optional<double>(p) : std::nullopt;
}

int CompareValuesFile(const MeansOptions& m, const TableOptions& table, std::istream& in, std::ostream& out,
                      std::ostream& err)
{
    ValuesOptions v;
    tables::ValuesLayout& l = v.layout;
    l.group = m.group;
    l.value = m.value;
    l.numerator = m.numerator;
    l.denominator = m.denominator;
    if (l.numerator.empty() != l.denominator.empty()) {
        return Usage(err, says::RatioNeedsBoth());
    }
    l.control = m.control;
    for (const auto& [text, name, into] : {std::tuple{&m.cap, "--cap", &l.caps.upperPercent},
                                           std::tuple{&m.capLower, "--cap-lower", &l.caps.lowerPercent}}) {
        if (!text->empty()) {
            *into = Percentile(*text);
            if (!*into) {
                return Usage(err, says::PercentileOption(name, *text));
            }
        }
    }
    l.caps.ignoreZeros = m.ignoreZeros;
    l.delimiter = table.delimiter;
    l.decimalComma = table.decimalComma;
    v.better = m.lowerIsBetter ? Better::Lower : Better::Higher;
    v.looking = m.looking;
    v.json = m.json;
    return FromFile(m.valuesPath, in, err, [&](std::istream& s) { return CompareValues(s, v, out, err); });
}

// --planned, --margin and --margin-points, read as the details window reads them.
// For averages, the margin in points is in the metric's own units.
bool ReadJudgeOptions(const std::string& planned, const std::string& margin, const std::string& marginPoints,
                      JudgeOptions& options, std::ostream& err, bool averages = false)
{
    if (!planned.empty()) {
        const Outcome<double> total = ReadPlanned(planned);
        if (!total) {
            Usage(err, says::PlannedOption(planned));
            return false;
        }
        options.plannedObservations = *total;
    }
    const bool relative = !margin.empty();
    const std::string& size = relative ? margin : marginPoints;
    if (size.empty()) {
        return true;
    }
    const MarginKind kind = relative ? MarginKind::RelativePercent : MarginKind::Points;
    const Outcome<Margin> read = ReadMargin(size, kind);
    if (!read) {
        std::string shown = relative && size.back() == '%' ? size.substr(0, size.size() - 1) : size;
        if (shown.rfind(' ', 0) == 0) {
            shown.erase(0, 1);  // the blank that kept a negative number from reading as an option
        }
        Usage(err, says::MarginOption(kind, shown, averages));
        return false;
    }
    options.margin = *read;
    return true;
}

// The options of a table, which judge and means share.
struct TableFlags {
    std::string csvPath, delimiter, columns, encoding;
    bool decimalComma = false, decimalPoint = false, noHeader = false;
    unsigned jobs = 0;

    void Register(CLI::App& command, const std::string& defaultColumns, const std::string& columnsHelp)
    {
        command.add_option("--csv", csvPath,
                           "a table of tests, comma-, semicolon- or tab-separated, with the columns " + defaultColumns
                               + " (or as --columns names them); - reads standard input");
        command
            .add_option("--delimiter", delimiter, "the table's delimiter: comma, semicolon or tab (default: the header's)")
            ->check(CLI::IsMember({",", ";", "\t", "tab", "comma", "semicolon"}));
        command.add_flag("--decimal-comma", decimalComma,
                         "',' is the decimal mark and '.' groups thousands (the default in semicolon-separated tables)");
        command
            .add_flag("--decimal-point", decimalPoint,
                      "'.' is the decimal mark and ',' groups thousands (the default in other tables)")
            ->excludes("--decimal-comma");
        command.add_option("--columns", columns, "the columns of the table, in the order " + columnsHelp);
        command.add_flag("--no-header", noHeader, "the table has no header row: columns by position (default 1,2,3,...)");
        command.add_option("--jobs", jobs, "threads that judge a table's rows (default: one for each core)")
            ->check(CLI::Range(1u, 256u));
        command
            .add_option("--encoding", encoding,
                        "the table's encoding: utf-8, utf-16 or windows-1252 (default: UTF-16 by its byte order mark, "
                        "else UTF-8, else Windows-1252)")
            ->check(CLI::IsMember({"utf-8", "utf8", "utf-16", "utf16", "utf-16le", "utf-16be", "windows-1252",
                                   "cp1252", "latin1"},
                                  CLI::ignore_case));
    }

    // Whether an option that only a table takes was given.
    bool AnyForTable() const
    {
        return !delimiter.empty() || decimalComma || decimalPoint || !columns.empty() || noHeader || !encoding.empty()
               || jobs > 0;
    }

    TableOptions Options(TableKind kind, bool json) const
    {
        TableOptions options;
        options.kind = kind;
        options.json = json;
        if (!delimiter.empty()) {
            options.delimiter = delimiter == "tab"         ? '\t'
                                : delimiter == "semicolon" ? ';'
                                : delimiter == "comma"     ? ','
                                                           : delimiter[0];
        }
        if (decimalComma || decimalPoint) {
            options.decimalComma = decimalComma;
        }
        options.columns = columns;
        options.noHeader = noHeader;
        if (jobs > 0) {
            options.jobs = jobs;
        }
        if (!encoding.empty()) {
            options.encoding = EncodingNamed(encoding);
        }
        return options;
    }
};

}  // namespace

int RunCli(std::vector<std::string> args, std::istream& in, std::ostream& out, std::ostream& err)
{
    ShieldNegativeNumbers(args);
    if (!args.empty() && args[0] != "judge" && args[0] != "means" && args[0] != "plan" && args[0] != "srm"
        && args[0].rfind('-', 0) != 0) {
        return Usage(err, says::NoSuchCommand(args[0]));
    }
    CLI::App app{"Judges A/B tests: which version drew the higher response rate, and how sure that is.",
                 "ambrelay-cli"};
    app.set_version_flag("--version", std::string("ambrelay-cli ") + AMBRELAY_VERSION);
    app.footer("Examples:\n"
               "  ambrelay-cli judge 1000 100 1000 130\n"
               "  ambrelay-cli judge --csv export.csv --columns \"Visitors A,Conversions A,Visitors B,Conversions B\"\n"
               "  ambrelay-cli means 1200 52.30 41.7 1180 55.90 44.2\n"
               "  ambrelay-cli plan --baseline 10% --mde 20\n"
               "  ambrelay-cli srm 10000 10420\n"
               "ambrelay-cli COMMAND --help tells more; man ambrelay-cli has the JSON keys.");
    app.require_subcommand(1);

    CLI::App* judge = app.add_subcommand("judge", "Judge one test from its four counts, or a CSV table of tests.");
    std::vector<std::string> counts;
    bool judgeJson = false;
    judge->add_option("counts", counts, "V1 R1 V2 R2: views and responses of version 1, then of version 2");
    judge->add_flag("--json", judgeJson, "write JSON (JSON lines for a table)");
    TableFlags judgeTable;
    judgeTable.Register(*judge, "views1, responses1, views2, responses2",
                        "views 1, responses 1, views 2, responses 2, by header name or 1-based position: --columns "
                        "\"Visitors A,Conversions A,Visitors B,Conversions B\"");
    std::string planned, margin, marginPoints;
    judge->add_option("--planned", planned,
                      "observations in all the test is planned to reach, for the peeking-safe p value (default 5000)");
    judge->add_option("--margin", margin, "B is not worse than A by more than this relative margin: 2%");
    judge->add_option("--margin-points", marginPoints,
                      "B is not worse than A by more than this many percentage points: 0.5")
        ->excludes("--margin");
    judge->footer("Examples:\n"
                  "  ambrelay-cli judge 1000 100 1000 130\n"
                  "  ambrelay-cli judge --csv tests.csv > verdicts.csv\n"
                  "  ambrelay-cli judge --csv export.csv --columns \"Visitors A,Conversions A,Visitors B,Conversions B\"\n"
                  "  ambrelay-cli judge --csv counts.tsv --no-header --columns 2,3,4,5 --json\n"
                  "A semicolon table reads ',' as the decimal mark and '.' as thousands (12.500 is 12500).");

    CLI::App* means = app.add_subcommand("means", "Compare two averages: revenue per visitor, order value, time.");
    MeansOptions meansOptions;
    meansOptions.Register(*means);
    TableFlags meansTable;
    meansTable.Register(*means, "n1, mean1, sd1, n2, mean2, sd2",
                        "observations 1, average 1, standard deviation 1, then the same of version 2, by header name "
                        "or 1-based position");

    CLI::App* plan = app.add_subcommand("plan", "How many observations a test needs, or what it can detect.");
    PlanOptions planOptions;
    planOptions.Register(*plan);
    plan->footer("Examples:\n"
                 "  ambrelay-cli plan --baseline 10% --mde 20 --daily 5000\n"
                 "  ambrelay-cli plan --baseline 10% --observations 3841 --split 25 --json");

    CLI::App* srm = app.add_subcommand("srm", "Check whether the observations split as intended.");
    std::vector<std::string> observations;
    std::string srmSplit = "50";
    bool srmJson = false;
    srm->add_option("observations", observations, "OBS1 OBS2: observations of version 1 and of version 2")
        ->expected(2)
        ->required();
    srm->add_option("--split", srmSplit, "version 1's intended share in percent (default 50)");
    srm->add_flag("--json", srmJson, "write JSON");
    srm->footer("Example:\n  ambrelay-cli srm 10000 10420 --split 50");

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kResult;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kResult;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << "\n";
        return kResult;
    } catch (const CLI::ParseError& e) {
        return Usage(err, says::ParseError(e.what()));
    }

    if (judge->parsed()) {
        JudgeOptions judgeOptions;
        if (!ReadJudgeOptions(planned, margin, marginPoints, judgeOptions, err)) {
            return kUsage;
        }
        if (!judgeTable.csvPath.empty() && !counts.empty()) {
            return Usage(err, says::CountsOrTable());
        }
        if (!judgeTable.csvPath.empty()) {
            TableOptions options = judgeTable.Options(TableKind::Rates, judgeJson);
            options.judge = judgeOptions;
            return JudgeFile(judgeTable.csvPath, options, in, out, err);
        }
        if (judgeTable.AnyForTable()) {
            return Usage(err, says::TableOptionsWithoutTable());
        }
        if (counts.size() != 4) {
            return Usage(err, says::FourCounts());
        }
        return JudgeOne(counts, judgeOptions, judgeJson, out, err);
    }
    if (means->parsed()) {
        JudgeOptions looking;
        if (!ReadJudgeOptions(meansOptions.planned, meansOptions.margin, meansOptions.marginUnits, looking, err, true)) {
            return kUsage;
        }
        meansOptions.looking = looking;
        const bool valueOptions = !meansOptions.numerator.empty() || !meansOptions.control.empty()
                                  || !meansOptions.cap.empty() || !meansOptions.capLower.empty()
                                  || meansOptions.ignoreZeros || means->count("--group") || means->count("--value");
        if (!meansOptions.valuesPath.empty()) {
            if (!meansOptions.numbers.empty() || !meansTable.csvPath.empty()) {
                return Usage(err, says::OneInputForMeans());
            }
            if (!meansTable.columns.empty() || meansTable.noHeader || meansTable.jobs > 0
                || !meansTable.encoding.empty()) {
                return Usage(err, says::TableOptionsForValues());
            }
            return CompareValuesFile(meansOptions, meansTable.Options(TableKind::Means, meansOptions.json), in, out,
                                     err);
        }
        if (valueOptions) {
            return Usage(err, says::ValueOptionsWithoutValues());
        }
        if (!meansTable.csvPath.empty()) {
            if (!meansOptions.numbers.empty()) {
                return Usage(err, says::CountsOrTable());
            }
            TableOptions options = meansTable.Options(TableKind::Means, meansOptions.json);
            options.better = meansOptions.lowerIsBetter ? Better::Lower : Better::Higher;
            options.judge = looking;
            return JudgeFile(meansTable.csvPath, options, in, out, err);
        }
        if (meansTable.AnyForTable()) {
            return Usage(err, says::TableOptionsWithoutTable());
        }
        return meansOptions.Run(in, out, err);
    }
    if (plan->parsed()) {
        return planOptions.Run(out, err);
    }
    return RunSampleRatio(observations, srmSplit, srmJson, out, err);
}

}  // namespace ambrelay::cli

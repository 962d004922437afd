// The command line: the table of commands, the parser built from it, and
// the one place a problem becomes an exit status.

#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

#include "cli/command.h"
#include "cli/problems.h"

namespace ambrelay::cli {
namespace {

constexpr CommandEntry kCommands[] = {
    {"judge", "Judge one test from its four counts, or a CSV table of tests.", &MakeJudgeCommand},
    {"means", "Compare two averages: revenue per visitor, order value, time.", &MakeMeansCommand},
    {"plan", "How many observations a test needs, or what it can detect.", &MakePlanCommand},
    {"srm", "Check whether the observations split as intended.", &MakeSrmCommand},
};

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

}  // namespace

std::span<const CommandEntry> Commands() { return kCommands; }

int RunCli(std::vector<std::string> args, std::istream& in, std::ostream& out, std::ostream& err)
{
    ShieldNegativeNumbers(args);
    const auto known = [](const std::string& name) {
        return std::any_of(std::begin(kCommands), std::end(kCommands),
                           [&](const CommandEntry& c) { return name == c.name; });
    };
    if (!args.empty() && !known(args[0]) && args[0].rfind('-', 0) != 0) {
        Problem unknown(Reason::UnknownCommand, NameKind::None, {}, args[0]);
        for (const CommandEntry& c : kCommands) {
            unknown.names.push_back(c.name);
        }
        return Fail(err, unknown);
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
    std::vector<std::pair<CLI::App*, std::unique_ptr<Command>>> commands;
    for (const CommandEntry& entry : kCommands) {
        CLI::App* sub = app.add_subcommand(entry.name, entry.summary);
        commands.emplace_back(sub, entry.make());
        commands.back().second->Register(*sub);
    }

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
        return Fail(err, Problem(Reason::CommandLineRead, NameKind::None, {}, e.what()));
    }
    Streams streams{in, out, err};
    for (auto& [sub, command] : commands) {
        if (sub->parsed()) {
            return command->Run(streams);
        }
    }
    return kUsage;
}

}  // namespace ambrelay::cli

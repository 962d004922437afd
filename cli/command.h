#pragma once
// What every command of ambrelay-cli is: its options, registered on its own
// part of the parser, and its run. The program holds a table of them.

#include <istream>
#include <memory>
#include <ostream>
#include <span>

namespace CLI {
class App;
}

namespace ambrelay::cli {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

class Command {
public:
    virtual ~Command() = default;
    // Its options, bound to its own members.
    virtual void Register(CLI::App& command) = 0;
    // Once the command line is parsed: the exit status.
    virtual int Run(Streams& streams) = 0;
};

struct CommandEntry {
    const char* name;
    const char* summary;
    std::unique_ptr<Command> (*make)();
};

// judge, means, plan and srm, in the order the usage lists them.
std::span<const CommandEntry> Commands();

std::unique_ptr<Command> MakeJudgeCommand();
std::unique_ptr<Command> MakeMeansCommand();
std::unique_ptr<Command> MakePlanCommand();
std::unique_ptr<Command> MakeSrmCommand();

}  // namespace ambrelay::cli

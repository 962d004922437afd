// ambrelay-cli's input paths: the first byte chooses. 'c' (or 'j' for JSON
// lines): the rest is a table for judge --csv, its delimiter found from its
// header; 's' and 't' force a semicolon or a tab, 'n' reads it without a
// header; 'm' reads it as a table of averages for means --csv. Every row
// that is not blank must come out, judged or explained. 'v' and 'V': the rest
// is a file of observations for means --values (columns group and value), 'V'
// with a ratio's columns and both caps.
// Anything else: the rest is a command line, its arguments separated by NUL
// bytes, which must end in one of the three exit statuses.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tables/csv.h"
#include "cli/values_file.h"

using namespace ambrelay;

namespace {

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

long CountRows(const std::string& text, bool skipFirst)
{
    std::istringstream in(text);
    csv::Reader reader(in);
    csv::Row row;
    long rows = 0;
    bool first = skipFirst;
    while (reader.Next(row)) {
        if (row.blank) {
            continue;
        }
        if (first) {
            first = false;
            continue;
        }
        ++rows;
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::ostringstream out, err;
    const char mode = static_cast<char>(data[0]);
    if (mode == 'v' || mode == 'V') {
        std::istringstream in(rest);
        cli::ValuesOptions options;
        options.layout.group = "group";
        options.layout.value = "value";
        if (mode == 'V') {
            options.layout.numerator = "value";
            options.layout.denominator = "count";
            options.layout.caps = {99.0, 1.0, true};
            options.json = true;
        }
        const int status = cli::CompareValues(in, options, out, err);
        Require(status >= 0 && status <= 2, "an exit status of 0, 1 or 2");
        return 0;
    }
    if (mode == 'c' || mode == 'j' || mode == 's' || mode == 't' || mode == 'n' || mode == 'm') {
        std::istringstream in(rest);
        cli::TableOptions options;
        options.kind = mode == 'm' ? cli::TableKind::Means : cli::TableKind::Rates;
        options.json = mode == 'j';
        options.noHeader = mode == 'n';
        if (mode == 's' || mode == 't') {
            options.delimiter = mode == 's' ? ';' : '\t';
        }
        const int status = cli::JudgeTable(in, options, out, err);
        Require(status >= 0 && status <= 2, "an exit status of 0, 1 or 2");
        if (status != cli::kUsage && !options.json) {
            // The header and every row that is not blank, each once: rows end
            // where lines end, whatever splits their fields.
            Require(CountRows(out.str(), true) == CountRows(rest, !options.noHeader), "every row is accounted for");
        }
        return 0;
    }
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = rest.find('\0', start);
        args.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    // --csv of a named file would read the disk; standard input is empty here.
    for (const std::string& arg : args) {
        if (arg.rfind("--csv", 0) == 0 || arg.rfind("--values", 0) == 0) {
            return 0;
        }
    }
    std::istringstream in;
    const int status = cli::RunCli(args, in, out, err);
    Require(status >= 0 && status <= 2, "an exit status of 0, 1 or 2");
    return 0;
}

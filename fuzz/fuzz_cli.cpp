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
#include "cli/problems.h"
#include "cli/table_run.h"
#include "tables/table_reader.h"

using namespace ambrelay;

namespace {

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The rows of a table as the program reads them, through the one table
// reader: a UTF-16 table is counted in its characters, not its bytes, where
// a byte 0x0a inside a character is no line end.
long CountRows(const std::string& text, const tables::Dialect& dialect)
{
    std::istringstream in(text);
    tables::TableReader reader(in, dialect);
    if (reader.Start()) {
        return -1;
    }
    tables::TableRow row;
    long rows = 0;
    while (reader.Next(row)) {
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
        std::vector<std::string> args{"means", "--values", "-"};
        if (mode == 'V') {
            args.insert(args.end(), {"--numerator", "value", "--denominator", "count", "--cap", "99%", "--cap-lower",
                                     "1%", "--ignore-zeros", "--json"});
        }
        const int status = cli::RunCli(args, in, out, err);
        Require(status >= 0 && status <= 2, "an exit status of 0, 1 or 2");
        return 0;
    }
    if (mode == 'c' || mode == 'j' || mode == 's' || mode == 't' || mode == 'n' || mode == 'm') {
        std::istringstream in(rest);
        cli::TableRequest request;
        request.kind = mode == 'm' ? TableKind::Means : TableKind::Rates;
        request.json = mode == 'j';
        request.dialect.header = mode != 'n';
        if (mode == 's' || mode == 't') {
            request.dialect.delimiter = mode == 's' ? ';' : '\t';
        }
        const int status = cli::AnswerTable(in, request, out, err);
        Require(status >= 0 && status <= 2, "an exit status of 0, 1 or 2");
        if (status != cli::kUsage && !request.json) {
            // Every row that is not blank, each once, as the reader that read
            // the input reads the output (which always has a header).
            tables::Dialect output = request.dialect;
            output.header = true;
            Require(CountRows(out.str(), output) == CountRows(rest, request.dialect), "every row is accounted for");
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

// ambrelay-cli: the judge of A/B tests from a terminal, a script or a
// spreadsheet export.

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char* argv[])
{
#ifdef _WIN32
    // Bytes as they are: CSV keeps its CRLF, and no CR is added to a LF.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return ambrelay::cli::RunCli(args, std::cin, std::cout, std::cerr);
}

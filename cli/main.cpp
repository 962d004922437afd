// ambrelay-cli: the judge of A/B tests from a terminal, a script or a
// spreadsheet export.

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// An argument as UTF-8, the encoding the commands read and write.
std::string Utf8(const wchar_t* wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    }
    return text;
}

}  // namespace

// Windows hands a narrow main its arguments in the ANSI code page, which
// turns every other character into "?": a file named in Greek or Chinese
// could not be found. The wide arguments lose nothing.
int wmain(int argc, wchar_t* argv[])
{
    // Bytes as they are: CSV keeps its CRLF, no CR is added to a LF, and
    // messages end their lines as they do everywhere else.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(Utf8(argv[i]));
    }
    // A console shows what the program writes as UTF-8, and gets its own
    // code page back afterwards.
    const UINT consolePage = GetConsoleOutputCP();
    if (consolePage != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
    const int status = ambrelay::cli::RunCli(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    if (consolePage != 0) {
        SetConsoleOutputCP(consolePage);
    }
    return status;
}
#else
int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return ambrelay::cli::RunCli(args, std::cin, std::cout, std::cerr);
}
#endif

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/belun.h"
#include "cli/files.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#endif

int main(int argc, char** argv) {
    tavon::cli::ConsoleKind kind;
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // the console gets plain line feeds, as elsewhere
    // A console shows the Czech texts when it uses code page 1250 while belun writes.
    DWORD mode;
    kind.terminal = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
    const UINT code_page = GetConsoleOutputCP();
    if (kind.terminal) SetConsoleOutputCP(1250);
#else
    kind.terminal = isatty(fileno(stdout)) != 0;
    if (kind.terminal && std::setlocale(LC_CTYPE, ""))
        kind.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code =
        tavon::cli::run(arguments, std::cout, kind, tavon::cli::program_folder(argc > 0 ? argv[0] : nullptr));
    std::cout.flush();
#if defined(_WIN32)
    if (kind.terminal) SetConsoleOutputCP(code_page);
#endif
    return code;
}

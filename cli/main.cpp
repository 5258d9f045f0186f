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
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#endif

namespace {

#if defined(_WIN32)
// The arguments as the user typed them, in UTF-8: the narrow argv holds them in the ANSI code
// page, which loses every letter outside it.
std::vector<std::string> utf8_arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) {
        const int length = static_cast<int>(wcslen(wide[i]));
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], length, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], length, text.data(), n, nullptr, nullptr);
        arguments.push_back(std::move(text));
    }
    LocalFree(wide);
    return arguments;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    tavon::cli::ConsoleKind kind;
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // the console gets plain line feeds, as elsewhere
    // A console shows the Czech texts when it uses code page 1250 while belun writes.
    DWORD mode;
    kind.terminal = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
    const UINT code_page = GetConsoleOutputCP();
    if (kind.terminal) SetConsoleOutputCP(1250);
    const std::vector<std::string> owned = utf8_arguments();
#else
    kind.terminal = isatty(fileno(stdout)) != 0;
    // The console speaks the locale's character set, to a terminal, a log or a pipe alike.
    if (std::setlocale(LC_CTYPE, "")) kind.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    const std::vector<std::string> owned(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(owned.begin(), owned.end());
    const int code =
        tavon::cli::run(arguments, std::cout, kind, tavon::cli::program_folder(argc > 0 ? argv[0] : nullptr));
    std::cout.flush();
#if defined(_WIN32)
    if (kind.terminal) SetConsoleOutputCP(code_page);
#endif
    return code;
}

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/belun.h"

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

namespace {

// The folder of the running executable, where an office puts its "data" folder.
std::string program_folder(const char* argv0) {
    namespace fs = std::filesystem;
#if defined(_WIN32)
    char path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n > 0 && n < sizeof path) return fs::path(std::string(path, n)).parent_path().string();
#else
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path().string();
#endif
    if (argv0 && std::string_view(argv0).find_first_of("/\\") != std::string_view::npos)
        return fs::path(argv0).parent_path().string();
    return {};
}

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
#else
    kind.terminal = isatty(fileno(stdout)) != 0;
    if (kind.terminal && std::setlocale(LC_CTYPE, ""))
        kind.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code =
        tavon::cli::run(arguments, std::cout, kind, program_folder(argc > 0 ? argv[0] : nullptr));
    std::cout.flush();
#if defined(_WIN32)
    if (kind.terminal) SetConsoleOutputCP(code_page);
#endif
    return code;
}

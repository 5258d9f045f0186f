#include <iostream>
#include <string_view>
#include <vector>

#include "cli/belun.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // the console gets plain line feeds, as elsewhere
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = tavon::cli::run(arguments, std::cout);
    std::cout.flush();
    return code;
}

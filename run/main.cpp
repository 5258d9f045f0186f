#include <iostream>
#include <string_view>
#include <vector>

#include "run/kontrola.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // the console gets plain line feeds, as elsewhere
#endif
    std::ios::sync_with_stdio(false);
    std::vector<std::string_view> argumenty(argv + (argc > 0 ? 1 : 0), argv + argc);
    int kod;
    {
        tavon::Kontrola kontrola(std::cout);
        kod = kontrola.spust(argumenty);
    }
    std::cout.flush();
    return kod;
}

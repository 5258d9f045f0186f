#include <iostream>
#include <string_view>
#include <vector>

#include "run/kontrola.h"

int main(int argc, char** argv) {
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

// Any bytes as the input document: the validation in all four report formats, with an output
// file and with warnings suppressed, must end normally with complete, consistent reports.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/overeni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavon::fuzz;
    priprav_adresar();
    const std::string_view vstup(reinterpret_cast<const char*>(data), size);
    const std::string jmeno = cesta("in.xml");
    zapis(jmeno, vstup);
    unsigned sw = 0;
    for (unsigned char c : vstup.substr(0, 64)) sw += c;
    over_vse(jmeno, sw, nullptr);
    return 0;
}

// How a fuzz target reports a broken property: a message on stderr, then abort, so that the fuzzer
// keeps the input as a failing one.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tavon::fuzz {

// The first 400 bytes of a text with the unprintable ones as \xNN.
inline std::string printable(std::string_view s) {
    std::string out;
    for (unsigned char c : s.substr(0, 400)) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        }
    }
    if (s.size() > 400) out += "...";
    return out;
}

[[noreturn]] inline void fail(std::string_view what, std::string_view details = {}) {
    std::fprintf(stderr, "\n*** broken property: %.*s\n%s\n", static_cast<int>(what.size()), what.data(),
                 printable(details).c_str());
    std::abort();
}

}  // namespace tavon::fuzz

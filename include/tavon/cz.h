// Czech texts are written in UTF-8 in the sources and turned into Windows-1250 bytes at
// compile time, so that no UTF-8 byte ever reaches a report, the output file or the console.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavon {

// Windows-1250 byte of one Unicode code point; only the letters the program's texts use.
consteval unsigned char cp1250(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    switch (c) {
        case 0xA0: return 0xA0;  // no-break space
        case U'Á': return 0xC1;
        case U'á': return 0xE1;
        case U'Č': return 0xC8;
        case U'č': return 0xE8;
        case U'Ď': return 0xCF;
        case U'ď': return 0xEF;
        case U'É': return 0xC9;
        case U'é': return 0xE9;
        case U'Ě': return 0xCC;
        case U'ě': return 0xEC;
        case U'Í': return 0xCD;
        case U'í': return 0xED;
        case U'Ň': return 0xD2;
        case U'ň': return 0xF2;
        case U'Ó': return 0xD3;
        case U'ó': return 0xF3;
        case U'Ř': return 0xD8;
        case U'ř': return 0xF8;
        case U'Š': return 0x8A;
        case U'š': return 0x9A;
        case U'Ť': return 0x8D;
        case U'ť': return 0x9D;
        case U'Ú': return 0xDA;
        case U'ú': return 0xFA;
        case U'Ů': return 0xD9;
        case U'ů': return 0xF9;
        case U'Ý': return 0xDD;
        case U'ý': return 0xFD;
        case U'Ž': return 0x8E;
        case U'ž': return 0x9E;
        case U'„': return 0x84;
        case U'“': return 0x93;
        case U'–': return 0x96;
        case U'…': return 0x85;
        case U'×': return 0xD7;
        default: throw "character without a Windows-1250 byte in this table";
    }
}

// A Windows-1250 text of at most Cap bytes, built at compile time from a UTF-8 literal.
template <std::size_t Cap>
struct CzText {
    char data[Cap]{};
    std::size_t len = 0;

    constexpr operator std::string_view() const { return {data, len}; }
    constexpr std::string_view view() const { return {data, len}; }
};

template <std::size_t Cap = 192, std::size_t N>
consteval CzText<Cap> cz(const char (&utf8)[N]) {
    CzText<Cap> out;
    std::size_t i = 0;
    while (i + 1 < N) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c;
        if (b < 0x80) {
            c = b;
            i += 1;
        } else if ((b & 0xE0) == 0xC0) {
            c = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            i += 3;
        } else {
            throw "unsupported UTF-8 sequence";
        }
        if (out.len >= Cap) throw "text longer than its capacity";
        out.data[out.len++] = static_cast<char>(cp1250(c));
    }
    return out;
}

}  // namespace tavon

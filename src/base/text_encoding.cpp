#include <cstdint>

#include "base/text.h"
#include "tavon/finding.h"
#include "tavon/text.h"

namespace tavon {
namespace {

// The characters of the Windows-1250 bytes 0x80 to 0xFF; "?" for the five bytes that have none.
constexpr char16_t kHigh[128] = {
    0x20AC, 0x003F, 0x201A, 0x003F, 0x201E, 0x2026, 0x2020, 0x2021, 0x003F, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x003F, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x003F, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void put_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The character that starts at `at`, and the count of its bytes; kInvalid (one byte) for a byte
// that starts no valid sequence (overlong forms and surrogates included).
char32_t next_character(std::string_view s, std::size_t at, std::size_t& length) {
    const auto b = static_cast<unsigned char>(s[at]);
    length = 1;
    if (b < 0x80) return b;
    std::size_t n;
    char32_t c;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2, c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, c = b & 0x07;
    } else {
        return kInvalid;
    }
    if (at + n > s.size()) return kInvalid;
    for (std::size_t i = 1; i < n; ++i) {
        const auto t = static_cast<unsigned char>(s[at + i]);
        if ((t & 0xC0) != 0x80) return kInvalid;
        c = (c << 6) | (t & 0x3F);
    }
    if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
        return kInvalid;
    length = n;
    return c;
}

char windows1250_of(char32_t c) {
    if (c < 0x80) return static_cast<char>(c);
    for (int i = 0; i < 128; ++i)
        if (kHigh[i] == c && c != 0x3F) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

void append_utf8(std::string& out, std::string_view windows1250) {
    for (const char ch : windows1250) {
        const auto b = static_cast<unsigned char>(ch);
        put_utf8(out, b < 0x80 ? char32_t(b) : char32_t(kHigh[b - 0x80]));
    }
}

std::string to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    append_utf8(out, text);
    return out;
}

std::string to_windows1250(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0, n; at < utf8.size(); at += n) {
        const char32_t c = next_character(utf8, at, n);
        out.push_back(c == kInvalid ? '?' : windows1250_of(c));
    }
    return out;
}

bool looks_like_utf8(std::string_view bytes) {
    bool beyond_ascii = false;
    for (std::size_t at = 0, n; at < bytes.size(); at += n) {
        if (next_character(bytes, at, n) == kInvalid) return false;
        if (n > 1) beyond_ascii = true;
    }
    return beyond_ascii;
}

std::size_t character_count(std::string_view bytes) {
    if (!looks_like_utf8(bytes)) return bytes.size();
    std::size_t count = 0;
    for (std::size_t at = 0, n; at < bytes.size(); at += n, ++count) next_character(bytes, at, n);
    return count;
}

std::string Text::utf8() const { return to_utf8(bytes_); }

std::string Finding::description_utf8() const { return to_utf8(description()); }

std::string name_as_windows1250(std::string_view bytes) {
    return looks_like_utf8(bytes) ? to_windows1250(bytes) : std::string(bytes);
}

}  // namespace tavon

#include "cli/console.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace tavon::cli {
namespace {

// The characters of the Windows-1250 bytes 0x80 to 0xFF; "?" for the five bytes that have none.
constexpr char16_t kCp1250[128] = {
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

void put_utf8(std::string& out, char16_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

Console& Console::operator<<(std::string_view text) {
    if (!kind_.utf8) {
        out_ << text;
        return *this;
    }
    std::string converted;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        put_utf8(converted, b < 0x80 ? char16_t(b) : kCp1250[b - 0x80]);
    }
    out_ << converted;
    return *this;
}

Console& Console::name(std::string_view raw) {
    out_ << raw;
    return *this;
}

void Console::progress(std::uint64_t line, std::string_view employee, std::string_view employer) {
    if (!kind_.terminal) return;
    // Rewritten at most about ten times a second: the console must not slow the run down.
    const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    if (progress_shown_ && now - last_progress_ms_ < 100) return;
    progress_shown_ = true;
    last_progress_ms_ = now;
    char b[64];
    std::snprintf(b, sizeof b, " Radek%8llu pro zamestnance", static_cast<unsigned long long>(line));
    *this << b;
    for (std::size_t i = employee.size(); i < 11; ++i) *this << ' ';
    *this << employee << " zamestnavatel";
    for (std::size_t i = employer.size(); i < 11; ++i) *this << ' ';
    *this << employer << '\r';
    out_.flush();
}

void Console::clear_progress() {
    if (kind_.terminal) out_ << std::string(77, ' ') << '\r';
}

}  // namespace tavon::cli

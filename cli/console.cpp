#include "cli/console.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "tavon/text.h"

namespace tavon::cli {
namespace {

// Whether UTF-8 bytes at `p` (of `left` bytes) are a direction mark or override (U+061C,
// U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069), and how long it is; 0 when not.
std::size_t direction_control(const unsigned char* p, std::size_t left) {
    if (left >= 2 && p[0] == 0xD8 && p[1] == 0x9C) return 2;
    if (left < 3 || p[0] != 0xE2) return 0;
    if (p[1] == 0x80 && (p[2] == 0x8E || p[2] == 0x8F || (p[2] >= 0xAA && p[2] <= 0xAE))) return 3;
    if (p[1] == 0x81 && p[2] >= 0xA6 && p[2] <= 0xA9) return 3;
    return 0;
}

// Nothing a file holds may drive the terminal: control characters (escape sequences begin with
// one) are shown as "?". In UTF-8 the C1 controls U+0080 to U+009F too, and the marks that turn
// the direction of the text, which could make a name read as another.
std::string harmless(std::string text, bool utf8) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + i;
        if (*p < 0x20 || *p == 0x7F) {
            text[i] = '?';
        } else if (utf8 && *p == 0xC2 && i + 1 < text.size() && p[1] < 0xA0) {
            text.replace(i, 2, "?");
        } else if (const std::size_t n = utf8 ? direction_control(p, text.size() - i) : 0) {
            text.replace(i, n, "?");
        }
    }
    return text;
}

}  // namespace

Console& Console::operator<<(std::string_view text) {
    if (kind_.utf8)
        out_ << to_utf8(text);
    else
        out_ << text;
    return *this;
}

Console& Console::name(std::string_view raw) {
    if (kind_.utf8)
        out_ << harmless(looks_like_utf8(raw) ? std::string(raw) : to_utf8(raw), true);
    else
        out_ << harmless(name_as_windows1250(raw), false);
    return *this;
}

Console& Console::data(std::string_view text) {
    out_ << harmless(kind_.utf8 ? to_utf8(text) : std::string(text), kind_.utf8);
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
    data(employee) << " zamestnavatel";
    for (std::size_t i = employer.size(); i < 11; ++i) *this << ' ';
    data(employer) << '\r';
    out_.flush();
}

void Console::clear_progress() {
    if (kind_.terminal) out_ << std::string(77, ' ') << '\r';
}

}  // namespace tavon::cli

// Small routines on Windows-1250 byte texts and the conversion of field values to numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavon {

// Windows-1250 bytes as UTF-8, appended to `utf8`: a text reused for many conversions allocates only
// while it grows. The five bytes Windows-1250 leaves undefined become "?".
void append_utf8(std::string& utf8, std::string_view windows1250);

// The text without its leading spaces (only byte 32; tabs stay).
inline std::string_view trim_leading_spaces(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

inline double abs_difference(double a, double b) { return b > a ? b - a : a - b; }

// Whether `closing` is "/" followed by exactly `name`.
inline bool is_closing_of(std::string_view name, std::string_view closing) {
    return closing.size() == name.size() + 1 && closing[0] == '/' && closing.substr(1) == name;
}

// Strict conversion of a field value. Type 'R' allows one decimal point, every other type none; an
// optional sign only as the first character. Digits, at most one sign and the points allowed:
// true with the value exactly as strtod reads it ("", a lone sign or point give 0). Anything else:
// false and 0.
bool parse_number_general(double& value, std::string_view text, char type);
inline bool parse_number(double& value, std::string_view text, char type) {
    // Most values are short whole numbers: exact as a double, just as strtod reads them.
    if (!text.empty() && text.size() <= 15) {
        std::uint64_t n = 0;
        std::size_t i = 0;
        for (; i < text.size(); ++i) {
            const unsigned digit = static_cast<unsigned char>(text[i]) - '0';
            if (digit > 9) break;
            n = n * 10 + digit;
        }
        if (i == text.size()) {
            value = static_cast<double>(n);
            return true;
        }
    }
    return parse_number_general(value, text, type);
}

}  // namespace tavon

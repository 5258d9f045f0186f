#include "server/text.h"

namespace tavon::server {
namespace {
constexpr char kHex[] = "0123456789abcdef";
}  // namespace

std::string json_string(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string log_safe(std::string_view bytes, std::size_t limit) {
    std::string out;
    for (const char ch : bytes.substr(0, limit)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += ch;
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    if (bytes.size() > limit) out += "...";
    return out;
}

bool has_control_character(std::string_view bytes) {
    for (const char ch : bytes)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) return true;
    return false;
}

}  // namespace tavon::server

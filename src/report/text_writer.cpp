#include "report/text_writer.h"

#include <charconv>
#include <cstring>

namespace tavon {
namespace {

bool needs_quotes(std::string_view text) {
    if (text.size() < 32) {
        for (char c : text)
            if (c == ';' || c == '"' || c == '\r' || c == '\n') return true;
        return false;
    }
    for (char c : {';', '"', '\r', '\n'})
        if (std::memchr(text.data(), c, text.size())) return true;
    return false;
}

}  // namespace

void TextWriter::flush() {
    if (used_ == 0) return;
    out_.write(buffer_.data(), used_);
    used_ = 0;
}

void TextWriter::put_long(std::string_view s) {
    if (s.empty()) return;  // an empty view may have no data pointer, which memcpy must not get
    if (buffer_.size() - used_ < s.size()) {
        flush();
        if (s.size() > buffer_.size()) {
            out_.write(s.data(), s.size());
            return;
        }
    }
    std::memcpy(buffer_.data() + used_, s.data(), s.size());
    used_ += s.size();
}

void TextWriter::write(std::string_view text) {
    bool has_line_end = false;
    if (text.size() < 32) {
        for (char c : text) has_line_end |= c == '\n';
    } else {
        has_line_end = std::memchr(text.data(), '\n', text.size()) != nullptr;
    }
    if (!has_line_end) {
        put(text);
        return;
    }
    std::size_t from = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos; nl = text.find('\n', from)) {
        put(text.substr(from, nl - from));
        put("\r\n");
        from = nl + 1;
    }
    put(text.substr(from));
}

void TextWriter::write_marked_up(std::string_view text, bool xml) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c > '>') continue;  // the common case: no byte to replace
        std::string_view replacement;
        switch (c) {
            case '&': replacement = "&amp;"; break;
            case '<': replacement = "&lt;"; break;
            case '>': replacement = "&gt;"; break;
            case '\n': replacement = "\r\n"; break;
            case '\t':
            case '\r': continue;
            default:
                // Other control characters cannot stand in an XML document, not even as references.
                if (!xml || c >= 0x20) continue;
                replacement = "?";
                break;
        }
        put(text.substr(from, i - from));
        put(replacement);
        from = i + 1;
    }
    put(text.substr(from));
}

void TextWriter::write_csv(std::string_view text) {
    if (!needs_quotes(text)) {
        put(text);
        return;
    }
    put('"');
    for (char c : text) {
        if (c == '"') put('"');
        put(c);
    }
    put('"');
}

void TextWriter::write_right(std::string_view text, int width) {
    for (int i = static_cast<int>(text.size()); i < width; ++i) put(' ');
    write(text);
}

void TextWriter::write_int(long long n) {
    char b[24];
    const auto r = std::to_chars(b, b + sizeof b, n);
    put(std::string_view(b, static_cast<std::size_t>(r.ptr - b)));
}

}  // namespace tavon

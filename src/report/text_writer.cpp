#include "report/text_writer.h"

#include <charconv>
#include <cstring>

namespace tavon {
namespace {

// The five bytes that Windows-1250 leaves undefined: no reader can show them, and an XML parser
// refuses a report that holds them.
constexpr bool is_undefined(unsigned char c) {
    return c == 0x81 || c == 0x83 || c == 0x88 || c == 0x90 || c == 0x98;
}

// What a CSV field needs: quotes (it holds ; " CR or LF), and bytes replaced.
struct CsvNeeds {
    bool quotes = false;
    bool replacing = false;
};

CsvNeeds csv_needs(std::string_view text) {
    CsvNeeds needs;
    for (char c : text) {
        needs.quotes |= c == ';' || c == '"' || c == '\r' || c == '\n';
        needs.replacing |= is_undefined(static_cast<unsigned char>(c));
    }
    return needs;
}

// A cell that a spreadsheet would take for a formula: it starts with "=", "+", "-", "@", a tab or
// a CR and is not a plain number ("-5", "+1,5" and "-0.25" stay numbers).
bool starts_formula(std::string_view text) {
    if (text.empty()) return false;
    const char first = text[0];
    if (first != '=' && first != '+' && first != '-' && first != '@' && first != '\t' && first != '\r')
        return false;
    if (first == '=' || first == '@' || first == '\t' || first == '\r') return true;
    std::size_t digits = 0, separators = 0;
    for (char c : text.substr(1)) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if ((c == '.' || c == ',') && separators == 0)
            ++separators;
        else
            return true;
    }
    return digits == 0;
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
        if (c > '>' && !is_undefined(c)) continue;  // the common case: no byte to replace
        std::string_view replacement;
        switch (c) {
            case '&': replacement = "&amp;"; break;
            case '<': replacement = "&lt;"; break;
            case '>': replacement = "&gt;"; break;
            case '\n': replacement = "\r\n"; break;
            case '\t':
            case '\r': continue;
            case 0x81:
            case 0x83:
            case 0x88:
            case 0x90:
            case 0x98: replacement = "?"; break;
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
    const bool formula = starts_formula(text);
    const CsvNeeds needs = csv_needs(text);
    const bool quoted = formula || needs.quotes;
    if (!quoted && !needs.replacing) {
        put(text);
        return;
    }
    if (quoted) put('"');
    if (formula) put('\'');  // shown as text, never run
    for (char c : text) {
        if (quoted && c == '"') put('"');
        put(is_undefined(static_cast<unsigned char>(c)) ? '?' : c);
    }
    if (quoted) put('"');
}

std::string csv_cell(std::string_view text) {
    StringOutput cell;
    TextWriter(cell).write_csv(text);  // flushed as the writer ends
    return cell.bytes;
}

void TextWriter::write_right(std::string_view text, int width) {
    for (int i = static_cast<int>(text.size()); i < width; ++i) put(' ');
    write_plain(text);
}

void TextWriter::write_plain(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (is_undefined(static_cast<unsigned char>(text[i]))) {
            write(text.substr(0, i));
            put('?');
            return write_plain(text.substr(i + 1));
        }
    write(text);
}

void TextWriter::write_int(long long n) {
    char b[24];
    const auto r = std::to_chars(b, b + sizeof b, n);
    put(std::string_view(b, static_cast<std::size_t>(r.ptr - b)));
}

}  // namespace tavon

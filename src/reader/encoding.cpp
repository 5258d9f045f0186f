#include "reader/encoding.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavon {
namespace {

// Whether any of the bytes has its top bit set, that is, the block is not plain ASCII.
bool has_high_byte(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    __m128i any = _mm_setzero_si128();
    for (; i + 64 <= n; i += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 32));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 48));
        any = _mm_or_si128(any, _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)));
    }
    if (_mm_movemask_epi8(any) != 0) return true;
#else
    std::uint64_t any = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        any |= w;
    }
    if (any & 0x8080808080808080ull) return true;
#endif
    for (; i < n; ++i)
        if (p[i] & 0x80) return true;
    return false;
}

bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDeclarationStart = "<?xml";
// The bytes an XML declaration may run over before it is given up: far more than a real one needs.
constexpr std::size_t kDeclarationLimit = 4096;

// Whether a document beginning with `text` begins with an XML declaration: 1 yes, -1 no, 0 when
// too few bytes have come to tell.
int starts_with_declaration(std::string_view text) {
    if (!text.empty() && text[0] == kByteOrderMark[0]) {
        if (text.size() < kByteOrderMark.size()) return kByteOrderMark.starts_with(text) ? 0 : -1;
        if (!text.starts_with(kByteOrderMark)) return -1;
        text.remove_prefix(kByteOrderMark.size());
    }
    const std::size_t n = std::min(text.size(), kDeclarationStart.size());
    if (text.substr(0, n) != kDeclarationStart.substr(0, n)) return -1;
    if (text.size() == n) return 0;
    return is_xml_space(text[n]) ? 1 : -1;
}

}  // namespace

std::string_view declared_encoding(std::string_view declaration) {
    const std::string_view name = "encoding";
    for (std::size_t at = declaration.find(name); at != std::string_view::npos;
         at = declaration.find(name, at + 1)) {
        // A pseudo-attribute's name follows white space.
        if (at > 0 && !is_xml_space(declaration[at - 1])) continue;
        std::size_t i = at + name.size();
        while (i < declaration.size() && is_xml_space(declaration[i])) ++i;
        if (i >= declaration.size() || declaration[i] != '=') continue;
        ++i;
        while (i < declaration.size() && is_xml_space(declaration[i])) ++i;
        if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) continue;
        const char quote = declaration[i++];
        const std::size_t end = declaration.find(quote, i);
        if (end == std::string_view::npos) return {};
        return declaration.substr(i, end - i);
    }
    return {};
}

void EncodingWatch::start_document() { *this = EncodingWatch(); }

void EncodingWatch::read_declaration(const char* bytes, std::size_t size, std::uint64_t line) {
    if (start_.empty()) start_line_ = line;
    const std::string_view block(bytes, size);
    const std::size_t close = block.find('>');
    const std::size_t wanted = close == std::string_view::npos ? size : close + 1;
    start_.append(bytes, std::min(wanted, kDeclarationLimit - start_.size()));
    const bool closed = !start_.empty() && start_.back() == '>';
    std::string_view text = start_;
    const int declaration = starts_with_declaration(text);
    if (declaration == 0 && !closed) return;  // a document of a few bytes so far
    if (declaration == 1 && !closed && start_.size() < kDeclarationLimit) return;
    start_read_ = true;
    if (declaration == 1 && closed) {
        if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
        text.remove_prefix(kDeclarationStart.size());
        if (const std::string_view encoding = tavon::declared_encoding(text); !encoding.empty())
            declared(encoding,
                     start_line_ + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n')));
    }
    start_ = std::string();
}

void EncodingWatch::scan(const char* bytes, std::size_t size, std::uint64_t line) {
    if (!start_read_) read_declaration(bytes, size, line);
    if (invalid_) return;  // decided: not UTF-8
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    // Plain ASCII leaves everything as it was (unless a sequence is waiting for its continuation).
    if (expected_ == 0 && !has_high_byte(p, size)) return;
    validate(p, p + size, line, p);
}

void EncodingWatch::validate(const unsigned char* p, const unsigned char* end, std::uint64_t line,
                             const unsigned char* start) {
    for (; p < end; ++p) {
        const unsigned char c = *p;
        if (expected_ > 0) {
            if (c < low_ || c > high_) {
                invalid_ = true;
                return;
            }
            --expected_;
            low_ = 0x80;
            high_ = 0xBF;
            continue;
        }
        if (c < 0x80) continue;
        if (c < 0xC2 ||
            c > 0xF4) {  // a continuation byte without its lead, an overlong lead, beyond U+10FFFF
            invalid_ = true;
            return;
        }
        if (!multibyte_) {
            multibyte_ = true;
            first_multibyte_line_ = line + static_cast<std::uint64_t>(std::count(start, p, '\n'));
        }
        if (c < 0xE0) {
            expected_ = 1;
        } else if (c < 0xF0) {
            expected_ = 2;
            if (c == 0xE0) low_ = 0xA0;   // no overlong form
            if (c == 0xED) high_ = 0x9F;  // no surrogate
        } else {
            expected_ = 3;
            if (c == 0xF0) low_ = 0x90;
            if (c == 0xF4) high_ = 0x8F;
        }
    }
}

void EncodingWatch::declared(std::string_view encoding, std::uint64_t line) {
    std::string lower(encoding);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower == "windows-1250") return;
    declares_other_ = true;
    // Shown as a value is shown: without the line breaks, which no token of the document keeps.
    declared_.clear();
    for (const char c : encoding)
        if (c != '\r' && c != '\n') declared_.push_back(c);
    declaration_line_ = line;
}

}  // namespace tavon

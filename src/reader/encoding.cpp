#include "reader/encoding.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

void EncodingWatch::start_document() { *this = EncodingWatch(); }

void EncodingWatch::scan(const char* bytes, std::size_t size, std::uint64_t line) {
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
    declared_.assign(encoding);
    declaration_line_ = line;
}

}  // namespace tavon

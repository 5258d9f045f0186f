#include "reader/ctecka.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavon {

void CisloRadky::nastav(std::uint64_t n) {
    n_ = n;
    std::memset(txt_, '0', sizeof txt_);
    od_ = sizeof txt_;
    do {
        txt_[--od_] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
}

int Ctecka::znak_z_dalsiho_bloku() {
    while (!vycerpano_) {
        if (f_) {
            std::size_t n = std::fread(blok_.data(), 1, kBlok, f_);
            if (n > 0) {
                pos_ = blok_.data();
                end_ = pos_ + n;
                return static_cast<unsigned char>(*pos_++);
            }
        }
        // This file is done: the input goes on in the next file of a list, or ends here.
        f_ = nullptr;
        if (zdroj_.konec_vstupu() < 0) vycerpano_ = true;
    }
    return -1;
}

namespace {

// The first byte in [p, mez) that is one of Z..., or mez. Reads whole 16-byte groups, up to
// 15 bytes past mez: the block keeps that much room after its end.
template <char... Z>
const char* najdi(const char* p, const char* mez) {
#if defined(__SSE2__)
    for (; p < mez; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i shoda = _mm_setzero_si128();
        ((shoda = _mm_or_si128(shoda, _mm_cmpeq_epi8(v, _mm_set1_epi8(Z)))), ...);
        if (const unsigned bity = static_cast<unsigned>(_mm_movemask_epi8(shoda))) {
            const char* q = p + __builtin_ctz(bity);
            return q < mez ? q : mez;
        }
    }
    return mez;
#else
    while (p < mez && ((*p != Z) && ...)) ++p;
    return p;
#endif
}

// "AA" and four digits, the form of most field names.
bool je_kod_pole(const char* j) {
    if (j[0] != 'A' || j[1] != 'A') return false;
    std::uint32_t c;
    std::memcpy(&c, j + 2, 4);
    // Every byte 0x30-0x3F, and none of them above '9'.
    return (c & 0xF0F0F0F0u) == 0x30303030u && ((c + 0x06060606u) & 0xF0F0F0F0u) == 0x30303030u;
}

// Whether the n bytes at a and b are equal; may read 16-byte groups past them within the block.
bool stejne(const char* a, const char* b, std::size_t n) {
#if defined(__SSE2__)
    for (; n >= 16; a += 16, b += 16, n -= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF) return false;
    }
    if (n == 0) return true;
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const unsigned maska = (1u << n) - 1;
    return (static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) & maska) == maska;
#else
    return std::memcmp(a, b, n) == 0;
#endif
}

}  // namespace

// Appends the ordinary bytes that follow in the current block to the token, up to its
// capacity; the byte that stops it is left for the caller's character-by-character rules.
// A NUL byte stops it too, so that the token notes it.
template <char... Z>
void Ctecka::kopiruj_bezne(Token& buf) {
    const char* p = pos_;
    const std::size_t volno = Token::kMax - buf.len;
    const char* mez = end_ - p > static_cast<std::ptrdiff_t>(volno) ? p + volno : end_;
    const char* konec = najdi<Z..., '\0'>(p, mez);
    std::memcpy(buf.data + buf.len, p, static_cast<std::size_t>(konec - p));
    buf.len += static_cast<std::size_t>(konec - p);
    pos_ = konec;
}

// Skips to the next "<" (or ">"), counting the line feeds on the way; false at the end of input.
template <char Z>
bool Ctecka::preskoc_za() {
    for (;;) {
        const char* q = najdi<Z, '\n'>(pos_, end_);
        if (q < end_) {
            pos_ = q + 1;
            if (*q == Z) return true;
            radek.dalsi();
            continue;
        }
        pos_ = end_;
        int c = znak();
        if (c < 0) return false;
        if (c == Z) return true;
        if (c == '\n') radek.dalsi();
    }
}

int Ctecka::dej_element(Token& buf) {
    if (je_OTVZAV == 'N' && !preskoc_za<'<'>()) return -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    buf.vycisti();
    for (;;) {
        kopiruj_bezne<' ', '\n', '\r', '>'>(buf);
        int c = znak();
        if (c < 0) return -1;
        if (c == ' ') break;
        if (c == '\n') {
            radek.dalsi();
            break;
        }
        if (c == '>') {
            je_ZAVZAV = 'A';
            break;
        }
        if (c == '\r') continue;
        if (buf.len == Token::kMax) {
            // Overlong: the name keeps its first 300 characters; the rest is left to be read on.
            vrat_znak();
            break;
        }
        buf.pridej(static_cast<char>(c));
    }
    // Namespace prefix, only at the start of a name or right after its first character.
    auto prefix = [&](std::size_t od) {
        return buf.len >= od + 4 && buf.data[od] == 'd' && buf.data[od + 1] == 'u' &&
               buf.data[od + 2] == 'v' && buf.data[od + 3] == ':';
    };
    if (prefix(0)) {
        std::memmove(buf.data, buf.data + 4, buf.len - 4);
        buf.len -= 4;
    } else if (prefix(1)) {
        buf.data[0] = '/';
        std::memmove(buf.data + 1, buf.data + 5, buf.len - 5);
        buf.len -= 4;
    }
    return 0;
}

int Ctecka::dej_zbytek_elementu(Token& buf, char mod) {
    if (je_ZAVZAV != 'N') return 0;
    je_OTVZAV = 'N';
    buf.vycisti();
    for (;;) {
        kopiruj_bezne<' ', '\n', '\r', '>'>(buf);
        int c = znak();
        if (c < 0) return -1;
        switch (c) {
            case '\n': radek.dalsi(); continue;
            case '\r': continue;
            case '>': je_ZAVZAV = 'A'; return buf.len > 0 ? 2 : 0;
            case ' ':
                if (mod == 'A') continue;
                break;
            default: break;
        }
        if (buf.len == Token::kMax) {
            vrat_znak();  // the token keeps its first 300 characters; reading goes on from here
            return 1;
        }
        buf.pridej(static_cast<char>(c));
    }
}

int Ctecka::preskoc_zbytek_komentare() {
    je_OTVZAV = 'N';
    char okno[3] = {0, 0, 0};
    for (;;) {
        int c = znak();
        if (c < 0) return -1;
        if (c == '\n') {
            radek.dalsi();
            continue;
        }
        if (c == '\r') continue;
        okno[0] = okno[1];
        okno[1] = okno[2];
        okno[2] = static_cast<char>(c);
        if (okno[0] == '-' && okno[1] == '-' && okno[2] == '>') return 0;
    }
}

int Ctecka::dej_obsah(Token& buf) {
    if (je_ZAVZAV == 'N' && !preskoc_za<'>'>()) return -1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    buf.vycisti();
    for (;;) {
        kopiruj_bezne<'<', '\n', '\r'>(buf);
        int c = znak();
        if (c < 0) return -1;
        if (c == '\n') {
            radek.dalsi();
            continue;
        }
        if (c == '\r') continue;
        if (c == '<') {
            je_OTVZAV = 'A';
            return 0;
        }
        if (buf.len == Token::kMax) {
            vrat_znak();  // the token keeps its first 300 characters; reading goes on from here
            return 1;
        }
        buf.pridej(static_cast<char>(c));
    }
}

bool Ctecka::dej_cele_pole(std::string_view& jmeno, std::string_view& obsah, std::string_view& konec) {
    if (je_OTVZAV != 'N') return false;
    const char* p = pos_;
    // Between two elements there is mostly just a line end: look at a few bytes before scanning.
    const char* mensi = p;
    while (mensi < end_ && mensi < p + 4 && *mensi != '<') ++mensi;
    if (mensi < end_ && *mensi != '<') mensi = najdi<'<'>(mensi, end_);
    if (mensi >= end_) return false;
    // The name: ordinary bytes up to ">". A field code, "AA" and four digits, needs no scan.
    const char* j = mensi + 1;
    const char* jk =
        end_ - j > 7 && je_kod_pole(j) && j[6] == '>' ? j + 6 : najdi<'>', ' ', '\n', '\r', '\0'>(j, end_);
    // The closing name, "/" and the name, must fit a token too.
    if (jk >= end_ || *jk != '>' || jk == j || static_cast<std::size_t>(jk - j) >= Token::kMax) return false;
    if (*j == 'z' || *j == '/' || *j == '!' || jk[-1] == '/') return false;
    const std::string_view n(j, static_cast<std::size_t>(jk - j));
    auto duv = [&](std::size_t od) {
        return n.size() >= od + 4 && n[od] == 'd' && n[od + 1] == 'u' && n[od + 2] == 'v' && n[od + 3] == ':';
    };
    if (duv(0) || duv(1)) return false;
    // The content: up to the next "<".
    const char* o = jk + 1;
    // Most contents are a few characters: look at them one by one before scanning.
    const char* ok = o;
    while (ok < end_ && ok < o + 8 && *ok != '<' && *ok != '\n' && *ok != '\r' && *ok != '\0') ++ok;
    if (ok < end_ && ok == o + 8) ok = najdi<'<', '\n', '\r', '\0'>(ok, end_);
    if (ok >= end_ || *ok != '<' || static_cast<std::size_t>(ok - o) > Token::kMax) return false;
    // The closing tag: exactly "/" and the name, then ">".
    const char* k = ok + 1;
    const std::size_t dk = n.size() + 1;
    if (static_cast<std::size_t>(end_ - k) <= dk || k[0] != '/' || k[dk] != '>') return false;
    if (!stejne(k + 1, j, n.size())) return false;

    for (const char* q = p; q < mensi; ++q)
        if (*q == '\n') radek.dalsi();
    jmeno = n;
    obsah = std::string_view(o, static_cast<std::size_t>(ok - o));
    konec = std::string_view(k, dk);
    pos_ = k + dk + 1;
    je_OTVZAV = 'N';
    je_ZAVZAV = 'A';
    return true;
}

}  // namespace tavon

// The tokenizer: walks the input bytes once, forward, and hands out tag names, the rest of a
// tag, contents and skipped comments, counting lines as it goes. It judges nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace tavon {

// A token of at most 300 characters. Texts end at their first NUL byte, as everywhere.
struct Token {
    static constexpr std::size_t kMax = 300;
    char data[kMax + 2];  // room for the "/" of an empty element's name and its closing form
    std::size_t len = 0;
    bool ma_nul = false;  // a NUL byte was stored: the text ends there

    std::string_view text() const {
        if (!ma_nul) return {data, len};
        const void* nul = std::memchr(data, '\0', len);
        return {data, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : len};
    }
    // Ends the token at its first NUL byte, as the text it stands for.
    void zkrat_na_text() {
        if (!ma_nul) return;
        len = text().size();
        ma_nul = false;
    }
    void vycisti() {
        len = 0;
        ma_nul = false;
    }
    void pridej(char c) {
        data[len++] = c;
        if (c == '\0') ma_nul = true;
    }
    void nastav(std::string_view s) {
        len = s.size() < kMax ? s.size() : kMax;
        std::memcpy(data, s.data(), len);
        ma_nul = std::memchr(data, '\0', len) != nullptr;
    }
};

// The current line number and its decimal text, kept equal without formatting per line.
class CisloRadky {
  public:
    CisloRadky() { nastav(1); }
    void nastav(std::uint64_t n);
    void dalsi() {
        ++n_;
        char* p = txt_ + sizeof txt_ - 1;
        while (*p == '9') *p-- = '0';
        if (p < txt_ + od_) {
            od_ = static_cast<int>(p - txt_);
            *p = '1';
        } else {
            ++*p;
        }
    }
    std::uint64_t cislo() const { return n_; }
    std::string_view text() const { return {txt_ + od_, sizeof txt_ - od_}; }

  private:
    std::uint64_t n_ = 1;
    char txt_[24];
    int od_ = 23;
};

class Ctecka {
  public:
    // Called when the current file is exhausted: 0 when another file now continues the
    // input (set with nastav_vstup), negative when the input has ended.
    struct Zdroj {
        virtual int konec_vstupu() = 0;
        virtual ~Zdroj() = default;
    };

    explicit Ctecka(Zdroj& zdroj) : zdroj_(zdroj), blok_(kBlok + kRezerva) {}

    void nastav_vstup(std::FILE* f) {
        f_ = f;
        pos_ = end_ = blok_.data();
    }
    bool vycerpano() const { return vycerpano_; }

    int dej_element(Token& buf);
    int dej_zbytek_elementu(Token& buf, char mod);
    int preskoc_zbytek_komentare();
    int dej_obsah(Token& buf);

    // The common field element "<name>content</name>", read whole when it lies in the current
    // block and holds nothing that the four operations above treat specially (line breaks, NUL
    // bytes, spaces in tags, the "duv:" prefix, overlong tokens, names that begin with "z", "/" or
    // "!"). Leaves the reader exactly as dej_element, dej_zbytek_elementu, dej_obsah and
    // dej_element would; the texts point into the block and stay valid until the next read.
    // False, with nothing read, when the element does not qualify.
    bool dej_cele_pole(std::string_view& jmeno, std::string_view& obsah, std::string_view& konec);

    char je_OTVZAV = 'N';
    char je_ZAVZAV = 'N';
    CisloRadky radek;

  private:
    int znak() {
        if (pos_ < end_) return static_cast<unsigned char>(*pos_++);
        return znak_z_dalsiho_bloku();
    }
    int znak_z_dalsiho_bloku();
    // Gives back the character znak() has just returned: it always stands right before pos_.
    void vrat_znak() { --pos_; }
    template <char... Z>
    void kopiruj_bezne(Token& buf);
    template <char Z>
    bool preskoc_za();

    static constexpr std::size_t kBlok = 1 << 18;
    static constexpr std::size_t kRezerva = 16;  // room after a block for 16-byte scans
    Zdroj& zdroj_;
    std::FILE* f_ = nullptr;
    std::vector<char> blok_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    bool vycerpano_ = false;
};

}  // namespace tavon

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
    char data[kMax];
    std::size_t len = 0;

    std::string_view text() const {
        const void* nul = std::memchr(data, '\0', len);
        return {data, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : len};
    }
    void nastav(std::string_view s) {
        len = s.size() < kMax ? s.size() : kMax;
        std::memcpy(data, s.data(), len);
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

    explicit Ctecka(Zdroj& zdroj) : zdroj_(zdroj), blok_(1 << 18) {}

    void nastav_vstup(std::FILE* f) {
        f_ = f;
        pos_ = end_ = blok_.data();
    }
    bool vycerpano() const { return vycerpano_; }

    int dej_element(Token& buf);
    int dej_zbytek_elementu(Token& buf, char mod);
    int preskoc_zbytek_komentare();
    int dej_obsah(Token& buf);

    char je_OTVZAV = 'N';
    char je_ZAVZAV = 'N';
    CisloRadky radek;

private:
    int znak() {
        if (pos_ < end_) return static_cast<unsigned char>(*pos_++);
        return znak_z_dalsiho_bloku();
    }
    int znak_z_dalsiho_bloku();

    Zdroj& zdroj_;
    std::FILE* f_ = nullptr;
    std::vector<char> blok_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    bool vycerpano_ = false;
};

}  // namespace tavon

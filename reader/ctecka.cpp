#include "reader/ctecka.h"

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
            std::size_t n = std::fread(blok_.data(), 1, blok_.size(), f_);
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

int Ctecka::dej_element(Token& buf) {
    if (je_OTVZAV == 'N') {
        for (;;) {
            int c = znak();
            if (c < 0) return -1;
            if (c == '<') break;
            if (c == '\n') radek.dalsi();
        }
    }
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    buf.len = 0;
    for (;;) {
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
        if (buf.len == Token::kMax) break;  // overlong: the name keeps its first 300 characters
        buf.data[buf.len++] = static_cast<char>(c);
    }
    // Namespace prefix, only at the start of a name or right after the "/" of an end tag.
    std::string_view jmeno(buf.data, buf.len);
    auto p = jmeno.find("duv:");
    if (p == 0) {
        std::memmove(buf.data, buf.data + 4, buf.len - 4);
        buf.len -= 4;
    } else if (p == 1) {
        buf.data[0] = '/';
        std::memmove(buf.data + 1, buf.data + 5, buf.len - 5);
        buf.len -= 4;
    }
    return 0;
}

int Ctecka::dej_zbytek_elementu(Token& buf, char mod) {
    if (je_ZAVZAV != 'N') return 0;
    je_OTVZAV = 'N';
    buf.len = 0;
    for (;;) {
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
        if (buf.len == Token::kMax) return 1;
        buf.data[buf.len++] = static_cast<char>(c);
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
    if (je_ZAVZAV == 'N') {
        for (;;) {
            int c = znak();
            if (c < 0) return -1;
            if (c == '>') break;
            if (c == '\n') radek.dalsi();
        }
    }
    je_OTVZAV = 'N';
    je_ZAVZAV = 'N';
    buf.len = 0;
    for (;;) {
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
        if (buf.len == Token::kMax) return 1;
        buf.data[buf.len++] = static_cast<char>(c);
    }
}

}  // namespace tavon

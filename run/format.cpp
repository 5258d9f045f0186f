#include "run/format.h"

#include <cstring>

namespace tavon {

void Fmt::pridej(std::string_view s) {
    if (dlouhy_.empty() && len_ + s.size() <= sizeof b_) {
        std::memcpy(b_ + len_, s.data(), s.size());
        len_ += s.size();
        return;
    }
    if (dlouhy_.empty()) dlouhy_.assign(b_, len_);
    dlouhy_.append(s);
}

void Fmt::pridej_zarovnane(std::string_view s, int sirka, char vypln) {
    // A zero fill goes after the sign, as printf puts it.
    if (vypln == '0' && !s.empty() && s[0] == '-') {
        pridej("-");
        s.remove_prefix(1);
        --sirka;
    }
    static constexpr char kMezery[] = "                                ";
    static constexpr char kNuly[] = "00000000000000000000000000000000";
    for (int chybi = sirka - static_cast<int>(s.size()); chybi > 0; chybi -= 32)
        pridej(std::string_view(vypln == '0' ? kNuly : kMezery,
                                static_cast<std::size_t>(chybi < 32 ? chybi : 32)));
    pridej(s);
}

void Fmt::formatuj(const char* f, const Arg* a, std::size_t n) {
    std::size_t dalsi = 0;
    char cislo[400];  // the longest double written with %f and a small precision fits
    while (*f) {
        const char* procento = std::strchr(f, '%');
        if (!procento) {
            pridej(f);
            break;
        }
        pridej(std::string_view(f, static_cast<std::size_t>(procento - f)));
        f = procento + 1;
        if (*f == '%') {
            pridej("%");
            ++f;
            continue;
        }
        char vypln = ' ';
        if (*f == '0') {
            vypln = '0';
            ++f;
        }
        int sirka = 0, presnost = 6;
        while (*f >= '0' && *f <= '9') sirka = sirka * 10 + (*f++ - '0');
        if (*f == '.') {
            presnost = 0;
            ++f;
            while (*f >= '0' && *f <= '9') presnost = presnost * 10 + (*f++ - '0');
        }
        const char konverze = *f ? *f++ : '\0';
        const Arg& arg = dalsi < n ? a[dalsi++] : a[n];
        std::to_chars_result r{cislo, {}};
        switch (konverze) {
            case 'd':
                r = std::to_chars(cislo, cislo + sizeof cislo, arg.druh == Arg::Cele ? arg.i : 0);
                break;
            case 'u':
                r = std::to_chars(cislo, cislo + sizeof cislo, arg.druh == Arg::Bezznamenkove ? arg.u : 0);
                break;
            case 'f':
                r = std::to_chars(cislo, cislo + sizeof cislo, arg.druh == Arg::Realne ? arg.d : 0.0,
                                  std::chars_format::fixed, presnost);
                break;
            default: break;
        }
        pridej_zarovnane(std::string_view(cislo, static_cast<std::size_t>(r.ptr - cislo)), sirka,
                         konverze == 'f' ? ' ' : vypln);
    }
}

}  // namespace tavon

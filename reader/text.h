// Small routines on Windows-1250 byte texts shared by the whole program. Positions are
// 1-based, as the callers count.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavon {

// Up to `delka` characters of `zdroj` from position `pozice`; the number copied.
int jsubstr(std::string& cil, std::string_view zdroj, int pozice, int delka);
std::string jsubstr(std::string_view zdroj, int pozice, int delka);

// Copies up to `pocet` characters of `zdroj` from `zpozice` into `cil` at `cpozice`, keeping
// what stands in front of it and ending the text right after the copied stretch.
int jstrtostr(std::string& cil, int cpozice, std::string_view zdroj, int zpozice, int pocet);

// Position of the first `znak`, 0 when absent.
int jinstr(std::string_view text, char znak);

// The text without its leading spaces (only byte 32; tabs stay).
inline std::string_view jezltrim(std::string_view zdroj) {
    std::size_t i = 0;
    while (i < zdroj.size() && zdroj[i] == ' ') ++i;
    return zdroj.substr(i);
}
int jezltrim(std::string& cil, std::string_view zdroj);

inline double jezdifdbl(double a, double b) { return b > a ? b - a : a - b; }

// Strict conversion of a field value: 'R' allows one decimal point, every other type none;
// an optional sign only as the first character. 0 and the value, or 1 and 0.0.
int StrToDbl_obecne(double& vysledek, std::string_view text, char typ);
inline int StrToDbl(double& vysledek, std::string_view text, char typ) {
    // Most values are short whole numbers: exact as a double, just as strtod reads them.
    if (!text.empty() && text.size() <= 15) {
        std::uint64_t n = 0;
        std::size_t i = 0;
        for (; i < text.size(); ++i) {
            const unsigned cislice = static_cast<unsigned char>(text[i]) - '0';
            if (cislice > 9) break;
            n = n * 10 + cislice;
        }
        if (i == text.size()) {
            vysledek = static_cast<double>(n);
            return 0;
        }
    }
    return StrToDbl_obecne(vysledek, text, typ);
}

// 'A' when `konec` is "/" followed by exactly `zacatek`.
char prvek_zac_kon(std::string_view zacatek, std::string_view konec);

}  // namespace tavon

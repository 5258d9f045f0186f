#include "reader/text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tavon {

int jsubstr(std::string& cil, std::string_view zdroj, int pozice, int delka) {
    cil.clear();
    if (delka <= 0 || pozice < 1 || static_cast<std::size_t>(pozice) > zdroj.size() + 1) return 0;
    cil.assign(zdroj.substr(static_cast<std::size_t>(pozice - 1), static_cast<std::size_t>(delka)));
    return static_cast<int>(cil.size());
}

std::string jsubstr(std::string_view zdroj, int pozice, int delka) {
    std::string cil;
    jsubstr(cil, zdroj, pozice, delka);
    return cil;
}

int jstrtostr(std::string& cil, int cpozice, std::string_view zdroj, int zpozice, int pocet) {
    if (cpozice < 1 || zpozice < 1 || static_cast<std::size_t>(zpozice) > zdroj.size() + 1) return 0;
    std::string_view kus =
        pocet > 0 ? zdroj.substr(static_cast<std::size_t>(zpozice - 1), static_cast<std::size_t>(pocet))
                  : std::string_view{};
    auto od = static_cast<std::size_t>(cpozice - 1);
    if (cil.size() < od) cil.resize(od, ' ');
    cil.resize(od);
    cil.append(kus);
    return static_cast<int>(kus.size());
}

int jinstr(std::string_view text, char znak) {
    auto p = text.find(znak);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int jezltrim(std::string& cil, std::string_view zdroj) {
    cil.assign(jezltrim(zdroj));
    return 0;
}

int StrToDbl_obecne(double& vysledek, std::string_view text, char typ) {
    const int povoleneTecky = typ == 'R' ? 1 : 0;
    int tecky = 0, plus = 0, minus = 0;
    // Gathered on the way for the exact fast conversion below.
    std::uint64_t mantisa = 0;
    int platnych = 0, desetinnych = 0, cislic = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++cislic;
            if (tecky) ++desetinnych;
            if (mantisa != 0 || c != '0') {
                ++platnych;
                if (platnych <= 19) mantisa = mantisa * 10 + static_cast<std::uint64_t>(c - '0');
            }
            continue;
        }
        if (c == '.')
            ++tecky;
        else if (c == '+')
            ++plus;
        else if (c == '-')
            ++minus;
        else {
            vysledek = 0.0;
            return 1;
        }
        if (tecky > povoleneTecky || plus > 1 || minus > 1 || (plus && minus) ||
            ((c == '+' || c == '-') && i != 0)) {
            vysledek = 0.0;
            return 1;
        }
    }
    if (cislic == 0) {  // "", a lone sign or point: no number, as strtod reads it
        vysledek = 0.0;
        return 0;
    }
    // Up to 15 significant digits and 22 decimals: mantissa and power of ten are exact doubles,
    // so one correctly rounded division gives exactly what strtod gives.
    static constexpr double kMocniny[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (platnych <= 15 && desetinnych <= 22) {
        double d = static_cast<double>(mantisa);
        if (desetinnych) d /= kMocniny[desetinnych];
        vysledek = minus ? -d : d;
        return 0;
    }
    std::string kopie(text);
    vysledek = std::strtod(kopie.c_str(), nullptr);
    return 0;
}

char prvek_zac_kon(std::string_view zacatek, std::string_view konec) {
    return konec.size() == zacatek.size() + 1 && konec[0] == '/' && konec.substr(1) == zacatek ? 'A' : 'N';
}

}  // namespace tavon

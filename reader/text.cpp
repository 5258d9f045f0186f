#include "reader/text.h"

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
    std::string_view kus = pocet > 0 ? zdroj.substr(static_cast<std::size_t>(zpozice - 1),
                                                    static_cast<std::size_t>(pocet))
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

std::string_view jezltrim(std::string_view zdroj) {
    auto p = zdroj.find_first_not_of(' ');
    return p == std::string_view::npos ? std::string_view{} : zdroj.substr(p);
}

int jezltrim(std::string& cil, std::string_view zdroj) {
    cil.assign(jezltrim(zdroj));
    return 0;
}

int StrToDbl(double& vysledek, std::string_view text, char typ) {
    const int povoleneTecky = typ == 'R' ? 1 : 0;
    int tecky = 0, plus = 0, minus = 0;
    bool jenCislice = true;  // no sign, no point: the fast exact path below applies
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool znamenko = c == '+' || c == '-';
        if (c == '.')
            ++tecky;
        else if (c == '+')
            ++plus;
        else if (c == '-')
            ++minus;
        else if (c < '0' || c > '9') {
            vysledek = 0.0;
            return 1;
        }
        if (tecky > povoleneTecky || plus > 1 || minus > 1 || (plus && minus) || (znamenko && i != 0)) {
            vysledek = 0.0;
            return 1;
        }
        if (c < '0' || c > '9') jenCislice = false;
    }
    // Whole numbers of up to 15 digits are exact in a double: the same value strtod gives.
    if (jenCislice && text.size() <= 15) {
        long long n = 0;
        for (char c : text) n = n * 10 + (c - '0');
        vysledek = static_cast<double>(n);
        return 0;
    }
    char kopie[512];
    if (text.size() >= sizeof kopie) {
        std::string dlouhy(text);
        vysledek = std::strtod(dlouhy.c_str(), nullptr);
        return 0;
    }
    std::memcpy(kopie, text.data(), text.size());
    kopie[text.size()] = '\0';
    vysledek = std::strtod(kopie, nullptr);
    return 0;
}

char prvek_zac_kon(std::string_view zacatek, std::string_view konec) {
    return konec.size() == zacatek.size() + 1 && konec[0] == '/' && konec.substr(1) == zacatek ? 'A' : 'N';
}

}  // namespace tavon

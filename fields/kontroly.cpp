// The generic check of every field against its row of the attribute table, and the row
// actions that hand a field on to its special check or code list.
#include <cstdio>

#include "reader/text.h"
#include "run/cz.h"
#include "run/kontrola.h"

namespace tavon {
namespace {

constexpr auto kDelka = cz<8>("délka ");

bool je_ciselny(const RadekTab& r) { return r.valFromE >= 1 && r.valFromE <= 999; }

}  // namespace

// Steps shared by the three tables; true when the row actions are to follow. `radek` gets
// the field's row (-1 for an unknown name) and `cislo` its value as a number.
template <char druh, std::size_t R>
bool Kontrola::k_pole(const std::array<RadekTab, R>& tab, Zaznam<R>& z, std::string_view elem,
                      std::string_view obsah, int& radek, double& cislo) {
    char b[64];
    radek = najdi_radek(tab, elem);
    if (radek < 0) {
        std::snprintf(b, sizeof b, "%zu", obsah.size());
        chyba(s_cislo_radky(), "ES301", elem, obsah, b);
        return false;
    }
    const int i = radek;
    const RadekTab& r = tab[i];
    z.Esw[i] = ' ';
    z.Lin[i] = ctecka.radek.cislo();
    ++z.Pre[i];

    ++z.porDat;
    if (z.porDat != i) {
        // Past the last row the expected field is the table's end marker.
        std::size_t ocekavany = std::min<std::size_t>(static_cast<std::size_t>(z.porDat), R - 1);
        chyba(s_cislo_radky(), "ES305", elem, obsah, tab[ocekavany].elem);
    }

    cislo = 123.0;
    if constexpr (druh != 'P') {
        if (je_ciselny(r) && StrToDbl(cislo, obsah, r.typ) != 0) {
            z.Esw[i] = 'E';
            chyba(s_cislo_radky(), r.err, elem, obsah, "?");
            return false;
        }
        z.Sum[i] = cislo;
        if constexpr (druh == 'N') uloz_do_skladu(i, obsah, cislo);
    }

    const auto delka = static_cast<long long>(obsah.size());
    if (delka < r.lgFrom || delka > r.lgTo) {
        z.Esw[i] = 'E';
        int n = r.lgFrom == r.lgTo ? std::snprintf(b, sizeof b, "%s%d", kDelka.data, r.lgFrom)
                                   : std::snprintf(b, sizeof b, "%s%d - %d", kDelka.data, r.lgFrom, r.lgTo);
        chyba(s_cislo_radky(), r.err, elem, obsah, {b, static_cast<std::size_t>(n)});
        return false;
    }
    if (druh == 'T' && delka == 0) {
        z.Esw[i] = 'E';
        return false;
    }

    if (druh != 'P' && je_ciselny(r)) {
        if (cislo < TValDbl[r.valFromE] || cislo > TValDbl[r.valToE]) {
            z.Esw[i] = 'E';
            chyba(s_cislo_radky(), r.err, elem, obsah, "?");
        }
    } else if (r.valFromE >= 1000) {
        // Byte-wise, unsigned, like strcmp.
        if (obsah < TValChar[r.valFromE - 1000] || obsah > TValChar[r.valToE - 1000]) {
            z.Esw[i] = 'E';
            chyba(s_cislo_radky(), r.err, elem, obsah, "?");
        }
    }
    return true;
}

int Kontrola::k_Pre(std::string_view elem, std::string_view obsah) {
    int radek;
    double cislo;
    if (k_pole<'P'>(Ptab, P, elem, obsah, radek, cislo)) akce_pre(radek, obsah);
    return radek < 0 ? 1 : 0;
}

int Kontrola::k_Tel(std::string_view elem, std::string_view obsah) {
    int radek;
    double cislo;
    if (k_pole<'T'>(Ttab, T, elem, obsah, radek, cislo)) akce_tel(radek, obsah, cislo);
    return radek < 0 ? 1 : 0;
}

int Kontrola::k_Nec(std::string_view elem, std::string_view obsah) {
    int radek;
    double cislo;
    if (k_pole<'N'>(Ntab, N, elem, obsah, radek, cislo)) akce_nec(radek, obsah);
    return radek < 0 ? 1 : 0;
}

void Kontrola::akce_pre(int radek, std::string_view obsah) {
    switch (radek) {
        case pre::ICOpredkladatele:
            chk_ICOPredkladatele(obsah);
            cis_predkladatelu(obsah);
            break;
        case pre::mail: chk_eposta(obsah); break;
        case pre::vytvoreno: chk_vytvoreno(obsah); break;
        default: break;
    }
}

void Kontrola::akce_tel(int radek, std::string_view obsah, double cislo) {
    switch (radek) {
        case tel::AA0017:
            chk_AA0017(obsah);
            newZamId.assign(obsah);
            cis_poskytovatelu(obsah);
            break;
        case tel::AA0113:
            chk_AA0113(obsah);
            newZamId.push_back('/');
            newZamId.append(obsah);
            break;
        case tel::AA0019:
            chk_ZamId(newZamId);
            cis_kodpraf(obsah);
            break;
        case tel::AA0179: cis_kodnuts(obsah, "AA0179"); break;
        case tel::AA0110: chk_AA0110(obsah); break;
        case tel::AA0116: atel_iAA0116 = cislo; break;
        case tel::AA0123: atel_iAA0123 = cislo; break;
        case tel::AA0114: atel_iAA0114 = cislo; break;
        case tel::AA0115:
            atel_iAA0115 = cislo;
            chk_AA0116(atel_iAA0116);
            break;
        case tel::AA0118: atel_iAA0118 = cislo; break;
        case tel::AA0119:
            atel_iAA0119 = cislo;
            chk_AA0123(atel_iAA0123);
            break;
        default: break;
    }
}

void Kontrola::akce_nec(int radek, std::string_view obsah) {
    switch (radek) {
        case nec::AA0223: cis_kodvzde(obsah); break;
        case nec::AA0033: cis_kodstat(obsah); break;
        case nec::AA0013: cis_kodzam(obsah); break;
        case nec::AA0130: cis_koddppv(obsah); break;
        case nec::AA0091: cis_postzam(obsah); break;
        case nec::AA0690: cis_kodnuts(obsah, "AA0690"); break;
        default: break;
    }
}

}  // namespace tavon

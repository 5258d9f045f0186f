// Rules for single fields that the attribute tables cannot express: identification-number
// check digits, dates, the e-mail address, duplicate employers and the budget figures.
#include <algorithm>

#include "fields/ico.h"
#include "reader/text.h"
#include "rules/sazby.h"
#include "run/format.h"
#include "run/kontrola.h"

namespace tavon {
namespace {

constexpr std::string_view kNic = "   ";

bool mesic_30_dni(std::string_view mesic) {
    return mesic == "04" || mesic == "06" || mesic == "09" || mesic == "11";
}

// The day-of-month tests shared by both date forms; true when the day fits the month.
bool den_odpovida_mesici(std::string_view mesic, std::string_view den) {
    if (!(mesic >= "01" && den >= "01" && den <= "31" && mesic <= "12")) return false;
    if (mesic == "02" && den > "28") return false;  // no leap-year rule
    if (mesic_30_dni(mesic) && den > "30") return false;
    return true;
}

bool cislice(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int chk_ICO(std::string_view ico) {
    if (ico.size() != 8) return 2;
    // Any non-digit makes the number invalid, whatever its weighted sum would give.
    if (!std::all_of(ico.begin(), ico.end(), cislice)) return 1;
    int s = 0;
    for (int i = 0; i < 7; ++i) s += (8 - i) * (ico[i] - '0');
    int kontrolni = 11 - s % 11;
    if (kontrolni > 9) kontrolni -= 10;
    return kontrolni == ico[7] - '0' ? 0 : 1;
}

int Kontrola::chk_ICOPredkladatele(std::string_view ico) {
    if (chk_ICO(ico) == 0) return 0;
    P.Esw[pre::ICOpredkladatele] = 'E';
    chyba(s_cislo_radky(), "EL031", "ICOpredkladatele", ico, kNic);
    return 1;
}

int Kontrola::chk_AA0017(std::string_view ico) {
    if (chk_ICO(ico) == 0) return 0;
    T.Esw[tel::AA0017] = 'E';
    chyba(s_cislo_radky(), "EL031", "AA0017", ico, kNic);
    return 1;
}

int Kontrola::chk_AA0113(std::string_view kod) {
    if (kod.empty()) return 0;
    telicokod.push_back('/');
    telicokod.append(kod);
    chyba(s_cislo_radky(), "WL054", "AA0113", kod, kNic);
    return 1;
}

int Kontrola::chk_AA0110(std::string_view datum) {
    if (datum.size() < 8) return 0;
    if (den_odpovida_mesici(datum.substr(4, 2), datum.substr(6, 2))) return 0;
    chyba(s_cislo_radky(), "EL050", "AA0110", datum, kNic);
    return 1;
}

int Kontrola::chk_vytvoreno(std::string_view cas) {
    if (cas.size() < 19) return 0;
    auto dva = [&](std::size_t od) { return cas.substr(od, 2); };
    const std::string_view rok = cas.substr(0, 4), mesic = dva(5), den = dva(8), hodina = dva(11),
                           minuta = dva(14), sekunda = dva(17);
    bool dobre = (rok == "2006" || rok == "2007") && den_odpovida_mesici(mesic, den) && hodina >= "00" &&
                 hodina <= "23" && minuta >= "00" && minuta <= "59" && sekunda >= "00" && sekunda <= "59" &&
                 cislice(mesic[1]) && cislice(den[1]) && cislice(hodina[1]) && cislice(minuta[1]) &&
                 cislice(sekunda[1]) && cas[4] == '-' && cas[7] == '-' && cas[13] == ':' && cas[16] == ':' &&
                 cas[10] == 'T';
    if (dobre) return 0;
    chyba(s_cislo_radky(), "ESVYT", "vytvoreno", cas, kNic);
    return 1;
}

int Kontrola::chk_eposta(std::string_view adresa) {
    const auto tecka = adresa.find('.');
    const auto zavinac = adresa.find('@');
    const auto npos = std::string_view::npos;
    bool chybna = tecka == npos || zavinac == npos;
    if (!chybna) {
        const auto posledni = adresa.size() - 1;
        chybna = tecka == 0 || tecka == posledni || zavinac == 0 || zavinac == posledni ||
                 zavinac > adresa.rfind('.');
    }
    if (!chybna) chybna = adresa.find(' ') != npos;
    if (!chybna) return 0;
    chyba(s_cislo_radky(), "ESEMA", "mail", adresa, kNic);
    return 1;
}

int Kontrola::chk_ZamId(std::string_view id) {
    for (int i = 0; i <= nTabZamId && i < static_cast<int>(TabZamId.size()); ++i) {
        if (TabZamId[i] == id) {
            chyba(s_cislo_radky(), "EL074", id.size() == 8 ? "AA0017 " : "AA0017/AA0113", id, kNic);
            return 1;
        }
    }
    const int n = ++nTabZamId;
    if (n == static_cast<int>(TabZamId.size())) {
        chyba(s_cislo_radky(), "WL901", "zamestnavatel", id, kNic);
        return 1;
    }
    if (n > static_cast<int>(TabZamId.size())) {
        nTabZamId = static_cast<int>(TabZamId.size());  // stays full; the counter need not grow
        return 1;
    }
    TabZamId[n].assign(id);
    return 0;
}

int Kontrola::chk_AA0116(double x) {
    const double A = atel_iAA0114, B = atel_iAA0115;
    if ((x < 0.11 * A || x > 9 * A) && jezdifdbl(x, A) > 100 && jezdifdbl(x, B) > 100) {
        double lo = std::min(0.11 * A, A - 100);
        if (lo < 0) lo = 0;
        double hi = std::max(9 * A, A + 100);
        chyba(s_cislo_radky(), "EL064", "AA0116", Fmt("%12.0f", x), Fmt("%12.0f - %12.0f", lo, hi));
        return 1;
    }
    if ((x < 0.8 * A || x > 1.2 * A) && jezdifdbl(x, A) > 10 && jezdifdbl(x, B) > 10) {
        double lo = std::min(0.8 * A, A - 10);
        if (lo < 0) lo = 0;
        double hi = std::max(1.2 * A, A + 10);
        chyba(TextRadku(T.Lin[tel::AA0116]), "WL063", "AA0116", Fmt("%12.0f", x),
              Fmt("%12.0f - %12.0f", lo, hi));
        return 1;
    }
    return 0;
}

int Kontrola::chk_AA0123(double x) {
    const double D = atel_iAA0118 - atel_iAA0119;
    const TextRadku radek(T.Lin[tel::AA0123]);
    if (x < 0.22 * D || x > 18 * D) {
        chyba(radek, "EL062", "AA0123", Fmt("%12.0f", x), Fmt("%12.0f - %12.0f", 0.22 * D + 0.49, 18 * D));
        return 1;
    }
    if (x < 1.6 * D || x > 2.4 * D) {
        chyba(radek, "WL061", "AA0123", Fmt("%12.0f", x), Fmt("%12.0f - %12.0f", 1.6 * D + 0.49, 2.4 * D));
        return 1;
    }
    return 0;
}

int Kontrola::chk_AA0118(double x) {
    const double L = 6 * atel_iAA0114 * sazba_nejnizsi();
    if (x < L && sklad.maxAktiAnec() >= 10) {
        chyba(TextRadku(T.Lin[tel::AA0118]), "EL058", "AA0118", Fmt("%10.0f", x), Fmt(">  %10.2f", L));
        return 1;
    }
    return 0;
}

}  // namespace tavon

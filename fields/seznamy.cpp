// Lookups of field values in the compiled-in code lists and registers, with their reports.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "fields/ciselniky.h"
#include "run/format.h"
#include "run/kontrola.h"

namespace tavon {
namespace {

constexpr std::string_view kNic = "   ";

// An identification number as the register compares it: the text's decimal value, cut toward
// zero and wrapped into 32 bits.
std::uint32_t ico_cislo(std::string_view text) {
    char b[64];
    std::size_t n = std::min(text.size(), sizeof b - 1);
    std::memcpy(b, text.data(), n);
    b[n] = '\0';
    double d = std::strtod(b, nullptr);
    if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(d));
}

}  // namespace

int Kontrola::cis_predkladatelu(std::string_view ico) {
    l_predkladatel = ico_cislo(ico);
    if (P.Esw[pre::ICOpredkladatele] == 'E') return 1;
    if (TcisPred_obsahuje(l_predkladatel)) return 0;
    chyba(s_cislo_radky(), "ER212", "ICOpredkladatele", Fmt("%08u", l_predkladatel), kNic);
    return 1;
}

int Kontrola::cis_poskytovatelu(std::string_view ico) {
    l_poskytovatel = ico_cislo(ico);
    if (P.Esw[pre::rok] == 'E') return 1;
    const TextRadku radek(T.Lin[tel::AA0017]);
    if (auto predkladatel = TcisPosPre_predkladatel(l_poskytovatel)) {
        if (*predkladatel != l_predkladatel)
            chyba(radek, "WR202", "ICOpredkladatele", Fmt("%08u", l_predkladatel),
                  Fmt("%08u", *predkladatel));
        return 0;
    }
    chyba(radek, "WR204", "AA0017", Fmt("%08u", l_poskytovatel), kNic);
    return 1;
}

int Kontrola::cis_kodzam(std::string_view kod) {
    if (!TcisKzam_obsahuje(kod)) {
        chyba(s_cislo_radky(), "EL046", "AA0013", kod, kNic);
        return 1;
    }
    if (kod.size() >= 5 && kod[4] == '0') {
        chyba(s_cislo_radky(), "WL039", "AA0013", kod, kNic);
        return 1;
    }
    return 0;
}

int Kontrola::cis_kodstat(std::string_view kod) {
    if (kod.size() > 2) {
        sklad.sw_anec_AA0033 = 1;
        sklad.lin_anec_AA0033.assign(s_cislo_radky());
        sklad.val_anec_AA0033.assign(kod);
    }
    int pozice = TcisStat_najdi(kod);
    if (pozice < 6) return 0;  // one of the home-state codes
    if (pozice < TcisStat_pocet) {
        chyba(s_cislo_radky(), "WL033", "AA0033", kod, "?");
        return 0;
    }
    chyba(s_cislo_radky(), "EL047", "AA0033", kod, kNic);
    return 1;
}

int Kontrola::cis_kodpraf(std::string_view kod) {
    if (TcisPraf_obsahuje(kod)) return 0;
    chyba(s_cislo_radky(), "EL055", "AA0019", kod, kNic);
    return 1;
}

int Kontrola::cis_postzam(std::string_view kod) {
    if (TcisPosZ_obsahuje(kod)) return 0;
    chyba(s_cislo_radky(), "EL068", "AA0091", kod, kNic);
    return 1;
}

int Kontrola::cis_koddppv(std::string_view kod) {
    if (TcisDppv_obsahuje(kod)) return 0;
    chyba(s_cislo_radky(), "EL004", "AA0130", kod, kNic);
    return 1;
}

int Kontrola::cis_kodnuts(std::string_view kod, std::string_view pole) {
    if (TcisNuts_obsahuje(kod)) return 0;
    chyba(s_cislo_radky(), "EL056", pole, kod, kNic);
    return 1;
}

int Kontrola::cis_kodvzde(std::string_view kod) {
    if (TcisVzde_obsahuje(kod)) return 0;
    chyba(s_cislo_radky(), "EL048", "AA0223", kod, kNic);
    return 1;
}

}  // namespace tavon

// The store step of the employee field check: what the employer rules will need of a field.
#include <cmath>
#include <limits>

#include "fields/ciselniky.h"
#include "run/kontrola.h"

namespace tavon {
namespace {

// A number cut toward zero to 32 bits; values beyond that range, which their field's own
// checks reject, become the lowest integer rather than undefined behaviour.
std::int32_t cele(double d) {
    if (!(d > -2147483649.0 && d < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(d);
}

char prvni_znak(std::string_view s) { return s.empty() ? '\0' : s[0]; }

}  // namespace

void Kontrola::uloz_do_skladu(int radek, std::string_view obsah, double cislo) {
    if (sklad.anec.empty()) return;
    const int k = sklad.maxAktiAnec();
    SlotNec& s = sklad.anec[static_cast<std::size_t>(k)];
    switch (radek) {
        case nec::AA0126:
            s.iAA0126.assign(obsah);
            s.lin = ctecka.radek.cislo();
            s.ind = k;
            break;
        case nec::AA0231: s.iAA0231 = cele(cislo); break;
        case nec::AA0211: s.iAA0211 = prvni_znak(obsah); break;
        case nec::AA0223: s.iAA0223 = prvni_znak(obsah); break;
        case nec::AA0033:
            s.iAA0033 = TcisStat_najdi(obsah);
            if (s.iAA0033 >= TcisStat_pocet) sklad.nezname_staty.emplace_back(k, obsah);
            break;
        case nec::AA0013: sklad.necsav_AA0013.assign(obsah); break;
        case nec::AA0130:
            s.iAA0130 = prvni_znak(obsah);
            if (s.iAA0130 >= '2' && s.iAA0130 <= '6') sklad.sw_anec_AA0130 = 1;
            break;
        case nec::AA0131: s.iAA0131 = cislo; break;
        case nec::AA0225: s.iAA0225 = cislo; break;
        case nec::AA0216: s.iAA0216 = cislo; break;
        case nec::AA0132: s.iAA0132 = cislo; break;
        case nec::AA0136: s.iAA0136 = cislo; break;
        case nec::AA0144: s.iAA0144 = cislo; break;
        case nec::AA0166: s.iAA0166 = cislo; break;
        case nec::AA0167: s.iAA0167 = cislo; break;
        case nec::AA0168: s.iAA0168 = cislo; break;
        case nec::AA0137: s.iAA0137 = cele(cislo); break;
        case nec::AA0218: s.iAA0218 = cele(cislo); break;
        default: break;
    }
}

}  // namespace tavon

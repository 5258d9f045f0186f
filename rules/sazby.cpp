#include "rules/sazby.h"

#include "tavon_data/tabSazeb.inc"

namespace tavon {

const std::array<double, tabSazeb_pocet> tabSazeb = gen::tabSazeb_hodnoty;

int sazba_index(double s, double c, double g) {
    const double index = 192 * (s - 1) + 12 * (c - 1) + g - 1;
    // Negative and NaN go to the first entry, so the cast below is always defined.
    if (!(index >= 0)) return 0;
    if (index >= tabSazeb_pocet) return tabSazeb_pocet - 1;
    return static_cast<int>(index);
}

double sazba(double s, double c, double g) { return tabSazeb[sazba_index(s, c, g)]; }

RozpetiSazeb sazba_rozpeti(double s, double c) { return {sazba(s, c, 1), sazba(s, c, tabSazeb_stupnu)}; }

double sazba_nejvyssi(double s, double c) { return sazba(s, c, tabSazeb_stupnu); }

RozpetiSazeb sazby_meze() { return {sazba(1, 1, 1), sazba(4, tabSazeb_trid, tabSazeb_stupnu)}; }

double sazba_nejnizsi() { return sazba(1, 1, 1); }

}  // namespace tavon

// Monthly salary tariffs by tariff scale (AA0129), salary class (AA0127) and salary grade (AA0128),
// compiled in from rules/data.
#pragma once

#include <array>

namespace tavon {

inline constexpr int tabSazeb_stupnic = 5;
inline constexpr int tabSazeb_trid = 16;
inline constexpr int tabSazeb_stupnu = 12;
inline constexpr int tabSazeb_pocet = tabSazeb_stupnic * tabSazeb_trid * tabSazeb_stupnu;  // 960

// Whole crowns, scale-major, then class, then grade. Scale 4 holds the same values as scale 3.
extern const std::array<double, tabSazeb_pocet> tabSazeb;

struct RozpetiSazeb {
    double dolni;
    double horni;
};

// 192 * (s - 1) + 12 * (c - 1) + g - 1, computed in double precision from the field values and
// truncated toward zero. Callers pass checked values; anything else is kept inside the table.
int sazba_index(double s, double c, double g);

// T(s, c, g): the tariff of scale s, class c and grade g.
double sazba(double s, double c, double g);
// T(s, c, 1) .. T(s, c, 12): the tariffs a class allows when no grade is given.
RozpetiSazeb sazba_rozpeti(double s, double c);
// T(s, c, 12): the top tariff of a class.
double sazba_nejvyssi(double s, double c);
// T(1, 1, 1) .. T(4, 16, 12) = 5120 .. 33250, for a record without scale or class. The upper bound
// is the last tariff of scale 4, not the highest of the table (scale 5 goes higher).
RozpetiSazeb sazby_meze();
// T(1, 1, 1) = 5120: the lowest monthly tariff there is.
double sazba_nejnizsi();

}  // namespace tavon

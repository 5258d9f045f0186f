#include "data/tariffs.h"

namespace tavon {

int TariffTable::index(double s, double c, double g) {
    const double index = 192 * (s - 1) + 12 * (c - 1) + g - 1;
    // Negative and NaN go to the first entry, so the cast below is always defined.
    if (!(index >= 0)) return 0;
    if (index >= kSize) return kSize - 1;
    return static_cast<int>(index);
}

}  // namespace tavon

#include "fields/tabulky.h"

namespace tavon {
namespace {

// Field codes are "AA" and four digits: index the rows of each table by those digits.
template <std::size_t N>
constexpr std::array<std::int8_t, 10000> index_kodu(const std::array<RadekTab, N>& tab) {
    std::array<std::int8_t, 10000> idx{};
    idx.fill(-1);
    for (std::size_t i = 0; i + 1 < N; ++i) {
        std::string_view e = tab[i].elem;
        if (e.size() == 6 && e[0] == 'A' && e[1] == 'A') {
            int k = (e[2] - '0') * 1000 + (e[3] - '0') * 100 + (e[4] - '0') * 10 + (e[5] - '0');
            if (idx[k] < 0) idx[k] = static_cast<std::int8_t>(i);
        }
    }
    return idx;
}

constexpr auto kIdxP = index_kodu(Ptab);
constexpr auto kIdxT = index_kodu(Ttab);
constexpr auto kIdxN = index_kodu(Ntab);

bool je_cislice(char c) { return c >= '0' && c <= '9'; }

template <std::size_t R>
int hledej(const std::array<RadekTab, R>& tab, const std::array<std::int8_t, 10000>& idx,
           std::string_view jmeno) {
    if (jmeno.size() == 6 && jmeno[0] == 'A' && jmeno[1] == 'A' && je_cislice(jmeno[2]) &&
        je_cislice(jmeno[3]) && je_cislice(jmeno[4]) && je_cislice(jmeno[5]))
        return idx[(jmeno[2] - '0') * 1000 + (jmeno[3] - '0') * 100 + (jmeno[4] - '0') * 10 +
                   (jmeno[5] - '0')];
    for (std::size_t i = 0; i + 1 < R; ++i)
        if (tab[i].elem == jmeno) return static_cast<int>(i);
    return -1;
}

}  // namespace

int najdi_radek(const std::array<RadekTab, 9>& tab, std::string_view jmeno) {
    return hledej(tab, kIdxP, jmeno);
}
int najdi_radek(const std::array<RadekTab, 12>& tab, std::string_view jmeno) {
    return hledej(tab, kIdxT, jmeno);
}
int najdi_radek(const std::array<RadekTab, 59>& tab, std::string_view jmeno) {
    return hledej(tab, kIdxN, jmeno);
}

}  // namespace tavon

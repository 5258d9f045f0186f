#include "fields/tabulky.h"

#include <cstring>

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
int najdi_radek_nec(std::string_view jmeno) {
    // The common case: "AA" and four digits, the digits checked four bytes at a time.
    if (jmeno.size() == 6 && jmeno[0] == 'A' && jmeno[1] == 'A') {
        std::uint32_t c;
        std::memcpy(&c, jmeno.data() + 2, 4);
        // Every byte 0x30-0x3F, and none of them above '9'.
        if ((c & 0xF0F0F0F0u) == 0x30303030u && ((c + 0x06060606u) & 0xF0F0F0F0u) == 0x30303030u) {
            const auto* b = reinterpret_cast<const unsigned char*>(jmeno.data() + 2);
            return kIdxN[(b[0] - '0') * 1000 + (b[1] - '0') * 100 + (b[2] - '0') * 10 + (b[3] - '0')];
        }
    }
    return hledej(Ntab, kIdxN, jmeno);
}

}  // namespace tavon

#include "fields/ciselniky.h"

#include <algorithm>
#include <functional>

#include "tavon_data/TcisDppv.inc"
#include "tavon_data/TcisKzam.inc"
#include "tavon_data/TcisNuts.inc"
#include "tavon_data/TcisPosPre.inc"
#include "tavon_data/TcisPosZ.inc"
#include "tavon_data/TcisPraf.inc"
#include "tavon_data/TcisPred.inc"
#include "tavon_data/TcisStat.inc"
#include "tavon_data/TcisVzde.inc"
#include "tavon_data/zdroj.inc"

namespace tavon {
namespace {

// Binary search needs keys strictly ascending in the order of operator<, which the generator's
// byte-wise sort must agree with.
template <typename Pole>
constexpr bool vzestupne(const Pole& klice) {
    return std::adjacent_find(klice.begin(), klice.end(), std::greater_equal<>{}) == klice.end();
}

static_assert(vzestupne(gen::TcisStat_klice) && vzestupne(gen::TcisKzam_klice) &&
              vzestupne(gen::TcisPraf_klice) && vzestupne(gen::TcisPosZ_klice) &&
              vzestupne(gen::TcisDppv_klice) && vzestupne(gen::TcisNuts_klice) &&
              vzestupne(gen::TcisVzde_klice) && vzestupne(gen::TcisPred_klice) &&
              vzestupne(gen::TcisPosPre_klice));

// The fixed lists are part of the file format; a data file of another length is a mistake.
static_assert(gen::TcisStat_poradi.size() == TcisStat_pocet, "fields/data/staty.txt: 718 entries");
static_assert(gen::TcisPraf_poradi.size() == TcisPraf_pocet, "fields/data/pravni_formy.txt: 39 entries");
static_assert(gen::TcisPosZ_poradi.size() == TcisPosZ_pocet, "fields/data/postaveni.txt: 8 entries");
static_assert(gen::TcisDppv_poradi.size() == TcisDppv_pocet, "fields/data/dppv.txt: 4 entries");
static_assert(gen::TcisNuts_poradi.size() == TcisNuts_pocet, "fields/data/nuts.txt: 91 entries");
static_assert(gen::TcisVzde_poradi.size() == TcisVzde_pocet, "fields/data/vzdelani.txt: 14 entries");

// Index of `hledany` among the sorted unique `klice`, or -1.
template <typename Pole, typename Klic>
int index_klice(const Pole& klice, const Klic& hledany) {
    const auto it = std::lower_bound(klice.begin(), klice.end(), hledany);
    return (it != klice.end() && *it == hledany) ? static_cast<int>(it - klice.begin()) : -1;
}

template <typename Pole, typename Klic>
bool obsahuje(const Pole& klice, const Klic& hledany) {
    return index_klice(klice, hledany) >= 0;
}

}  // namespace

int TcisStat_najdi(std::string_view kod) {
    const int i = index_klice(gen::TcisStat_klice, kod);
    return i < 0 ? TcisStat_pocet : gen::TcisStat_pozice[i];
}

std::string_view TcisStat_kod(int pozice) {
    if (pozice < 0 || pozice >= TcisStat_pocet) return {};
    return gen::TcisStat_poradi[pozice];
}

bool TcisKzam_obsahuje(std::string_view kod) { return obsahuje(gen::TcisKzam_klice, kod); }
bool TcisPraf_obsahuje(std::string_view kod) { return obsahuje(gen::TcisPraf_klice, kod); }
bool TcisPosZ_obsahuje(std::string_view kod) { return obsahuje(gen::TcisPosZ_klice, kod); }
bool TcisDppv_obsahuje(std::string_view kod) { return obsahuje(gen::TcisDppv_klice, kod); }
bool TcisNuts_obsahuje(std::string_view kod) { return obsahuje(gen::TcisNuts_klice, kod); }
bool TcisVzde_obsahuje(std::string_view kod) { return obsahuje(gen::TcisVzde_klice, kod); }

bool TcisPred_obsahuje(std::uint32_t ico) { return obsahuje(gen::TcisPred_klice, ico); }

std::optional<std::uint32_t> TcisPosPre_predkladatel(std::uint32_t ico) {
    const int i = index_klice(gen::TcisPosPre_klice, ico);
    if (i < 0) return std::nullopt;
    return gen::TcisPosPre_predkladatele[i];
}

std::span<const std::string_view> TcisStat_seznam() { return gen::TcisStat_poradi; }
std::span<const std::string_view> TcisKzam_seznam() { return gen::TcisKzam_poradi; }
std::span<const std::string_view> TcisPraf_seznam() { return gen::TcisPraf_poradi; }
std::span<const std::string_view> TcisPosZ_seznam() { return gen::TcisPosZ_poradi; }
std::span<const std::string_view> TcisDppv_seznam() { return gen::TcisDppv_poradi; }
std::span<const std::string_view> TcisNuts_seznam() { return gen::TcisNuts_poradi; }
std::span<const std::string_view> TcisVzde_seznam() { return gen::TcisVzde_poradi; }
std::span<const std::uint32_t> TcisPred_seznam() { return gen::TcisPred_poradi; }
std::span<const std::uint32_t> TcisPosPre_seznam() { return gen::TcisPosPre_poradi; }
std::span<const std::uint32_t> TcisPrePos_seznam() { return gen::TcisPrePos_poradi; }

bool ciselniky_vzorova_data() { return gen::vzorova_data; }

}  // namespace tavon

#include "fields/ciselniky.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavon {
namespace {

// What the lookups must equal: a scan from the first entry that stops at the first equal one.
template <typename T>
std::size_t prvni_shoda(std::span<const T> seznam, const T& hledany) {
    for (std::size_t i = 0; i < seznam.size(); ++i) {
        if (seznam[i] == hledany) return i;
    }
    return seznam.size();
}

// Every entry and texts next to it: shorter, longer, last byte changed, lower case, empty.
std::vector<std::string> texty_ke_zkousce(std::span<const std::string_view> seznam) {
    std::vector<std::string> texty{"", " ", "0", "Z", "\xC8"};
    for (std::string_view polozka : seznam) {
        std::string text(polozka);
        texty.push_back(text);
        texty.push_back(text + "0");
        texty.push_back(text + " ");
        texty.push_back(text.substr(0, text.size() - 1));
        texty.push_back(text.substr(0, text.size() - 1) + static_cast<char>(text.back() + 1));
        for (char& znak : text) znak = static_cast<char>(std::tolower(static_cast<unsigned char>(znak)));
        texty.push_back(text);
    }
    return texty;
}

std::vector<std::uint32_t> cisla_ke_zkousce(std::span<const std::uint32_t> seznam) {
    std::vector<std::uint32_t> cisla{0, 1, std::numeric_limits<std::uint32_t>::max()};
    for (std::uint32_t ico : seznam) {
        cisla.insert(cisla.end(), {ico - 1, ico, ico + 1});
    }
    return cisla;
}

using Obsahuje = bool (*)(std::string_view);

void over_jako_pruchod(std::span<const std::string_view> seznam, Obsahuje obsahuje) {
    for (const std::string& text : texty_ke_zkousce(seznam)) {
        EXPECT_EQ(obsahuje(text), prvni_shoda(seznam, std::string_view(text)) < seznam.size()) << text;
    }
}

TEST(Ciselniky, PoctyPolozek) {
    EXPECT_EQ(TcisStat_seznam().size(), 718u);
    EXPECT_EQ(TcisPraf_seznam().size(), 39u);
    EXPECT_EQ(TcisPosZ_seznam().size(), 8u);
    EXPECT_EQ(TcisDppv_seznam().size(), 4u);
    EXPECT_EQ(TcisNuts_seznam().size(), 91u);
    EXPECT_EQ(TcisVzde_seznam().size(), 14u);
    EXPECT_EQ(TcisPosPre_seznam().size(), TcisPrePos_seznam().size());
}

TEST(Ciselniky, StatyPoradi) {
    const char* domaci[] = {"CZ", "CZE", "203", "SK", "SVK", "703"};
    for (int i = 0; i < TcisStat_domaci; ++i) EXPECT_EQ(TcisStat_najdi(domaci[i]), i);
    EXPECT_EQ(TcisStat_najdi("004"), 6);
    EXPECT_EQ(TcisStat_najdi("999"), 240);
    EXPECT_EQ(TcisStat_najdi("ABW"), 241);
    EXPECT_EQ(TcisStat_najdi("CH"), TcisStat_najdi("HUN") + 1);
    EXPECT_EQ(TcisStat_najdi("IDN"), TcisStat_najdi("CHN") + 2);
    // The last 12 slots repeat WSM..ZWE; the first copy is the one found.
    EXPECT_EQ(TcisStat_kod(706), "WSM");
    EXPECT_EQ(TcisStat_kod(717), "ZWE");
    EXPECT_EQ(TcisStat_najdi("WSM"), 694);
    EXPECT_EQ(TcisStat_najdi("ZWE"), 705);
    EXPECT_EQ(TcisStat_kod(0), "CZ");
    EXPECT_EQ(TcisStat_kod(TcisStat_pocet), "");
    EXPECT_EQ(TcisStat_kod(-1), "");
}

TEST(Ciselniky, StatyCeleTextyPoBajtech) {
    for (const char* kod : {"XX", "", "cz", "C", "CZ ", " CZ", "CZEC", "2030", "03"}) {
        EXPECT_EQ(TcisStat_najdi(kod), TcisStat_pocet) << kod;
    }
    EXPECT_EQ(TcisStat_najdi(std::string_view("CZ\0", 3)), TcisStat_pocet);
}

TEST(Ciselniky, PevneSeznamy) {
    EXPECT_EQ(TcisPraf_seznam().front(), "301");
    EXPECT_EQ(TcisPraf_seznam()[37], "921");
    EXPECT_EQ(TcisPraf_seznam()[38], "921");
    EXPECT_FALSE(TcisPraf_obsahuje("922"));
    EXPECT_TRUE(TcisNuts_obsahuje("CZ010A"));
    EXPECT_TRUE(TcisNuts_obsahuje("CZ0806"));
    EXPECT_FALSE(TcisNuts_obsahuje("CZ0100"));
    EXPECT_FALSE(TcisNuts_obsahuje("CZ010G"));
    EXPECT_FALSE(TcisNuts_obsahuje("CZ020D"));
    EXPECT_EQ(TcisNuts_seznam().front(), "CZ0101");
    EXPECT_EQ(TcisNuts_seznam().back(), "CZ0806");
    EXPECT_TRUE(TcisPosZ_obsahuje("1320"));
    EXPECT_FALSE(TcisPosZ_obsahuje("1314"));
    EXPECT_TRUE(TcisDppv_obsahuje("7"));
    EXPECT_FALSE(TcisDppv_obsahuje("4"));
    EXPECT_TRUE(TcisVzde_obsahuje("V"));
    EXPECT_FALSE(TcisVzde_obsahuje("F"));
}

TEST(Ciselniky, KodyZamestnani) {
    EXPECT_TRUE(TcisKzam_obsahuje("01010"));
    EXPECT_TRUE(TcisKzam_obsahuje("01011"));
    EXPECT_TRUE(TcisKzam_obsahuje("93399"));
    EXPECT_FALSE(TcisKzam_obsahuje("01018"));
    EXPECT_FALSE(TcisKzam_obsahuje("1010"));
    if (ciselniky_vzorova_data()) {
        EXPECT_EQ(TcisKzam_seznam().size(), 5u);
    }
}

TEST(Ciselniky, VzorovyRegistr) {
    if (!ciselniky_vzorova_data()) GTEST_SKIP() << "registers taken from TAVON_DATA_DIR";
    EXPECT_EQ(TcisPred_seznam().size(), 3u);
    EXPECT_EQ(TcisPosPre_seznam().size(), 5u);
    for (std::uint32_t ico : {10000003u, 10000011u, 10000020u}) EXPECT_TRUE(TcisPred_obsahuje(ico));
    EXPECT_FALSE(TcisPred_obsahuje(40000001u));
    EXPECT_EQ(TcisPosPre_predkladatel(20000006u), 10000003u);
    EXPECT_EQ(TcisPosPre_predkladatel(20000031u), 10000020u);
    EXPECT_EQ(TcisPosPre_predkladatel(30000009u), 40000001u);
    EXPECT_EQ(TcisPosPre_predkladatel(10000003u), std::nullopt);
}

TEST(Ciselniky, RychleHledaniJakoPruchodOdZacatku) {
    const auto staty = TcisStat_seznam();
    for (const std::string& text : texty_ke_zkousce(staty)) {
        EXPECT_EQ(TcisStat_najdi(text), static_cast<int>(prvni_shoda(staty, std::string_view(text)))) << text;
    }
    over_jako_pruchod(TcisKzam_seznam(), TcisKzam_obsahuje);
    over_jako_pruchod(TcisPraf_seznam(), TcisPraf_obsahuje);
    over_jako_pruchod(TcisPosZ_seznam(), TcisPosZ_obsahuje);
    over_jako_pruchod(TcisDppv_seznam(), TcisDppv_obsahuje);
    over_jako_pruchod(TcisNuts_seznam(), TcisNuts_obsahuje);
    over_jako_pruchod(TcisVzde_seznam(), TcisVzde_obsahuje);

    const auto predkladatele = TcisPred_seznam();
    for (std::uint32_t ico : cisla_ke_zkousce(predkladatele)) {
        EXPECT_EQ(TcisPred_obsahuje(ico), prvni_shoda(predkladatele, ico) < predkladatele.size()) << ico;
    }
    const auto poskytovatele = TcisPosPre_seznam();
    for (std::uint32_t ico : cisla_ke_zkousce(poskytovatele)) {
        const std::size_t i = prvni_shoda(poskytovatele, ico);
        const auto ocekavany =
            i < poskytovatele.size() ? std::optional(TcisPrePos_seznam()[i]) : std::nullopt;
        EXPECT_EQ(TcisPosPre_predkladatel(ico), ocekavany) << ico;
    }
}

}  // namespace
}  // namespace tavon

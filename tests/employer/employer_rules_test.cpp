// The rules at the end of an employer: identifier order, single records and persons with several
// records, the employer's totals and the rules over all of its employees.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/records.h"

namespace tavon::test {
namespace {

using V = std::vector<std::string>;

constexpr std::string_view Z = "20000006";
constexpr std::string_view NIC = "   ";

// One employer with the records `zaznamy`; its totals fit as many records of the example.
Doklad firma(const std::vector<Pole>& zaznamy, std::optional<Pole> tel = std::nullopt) {
    Doklad d;
    d.zamestnavatel(tel ? *tel : zamestnavatel(static_cast<long long>(zaznamy.size())));
    for (const Pole& p : zaznamy) d.zamestnanec(p);
    d.konec_zamestnavatele();
    return d;
}

Pole nec(std::string_view id,
         std::initializer_list<std::pair<std::string_view, std::string_view>> zmeny = {}) {
    return s(zamestnanec(id), zmeny);
}

// The line list of a person: the identifier lines of the given records, joined by ",".
std::string seznam(const Doklad& d, std::initializer_list<std::size_t> zaznamy) {
    std::string r;
    for (std::size_t i : zaznamy) r += (r.empty() ? "" : ",") + d.r(i, "AA0126");
    return r;
}

TEST(PoradiZamestnancu, PodleIdentifikatoruPoBajtech) {
    // Each record alone breaks the health-insurance limit; the rows follow the identifier order:
    // a prefix first, digits before letters, bytes above 127 last.
    const char* ids[] = {"1A", "123", "19", "12", "\xC8\x31"};
    std::vector<Pole> zaznamy;
    for (const char* id : ids) zaznamy.push_back(nec(id, {{"AA0167", "7000"}}));
    Doklad d = firma(zaznamy);
    auto wl025 = [&](std::size_t i) {
        return R(d.r(i, "AA0126"), "WL025", Z, ids[i], "AA0167", "      7000", "<=     6496.00");
    };
    EXPECT_EQ(radky(d, {"WL025"}), (V{wl025(3), wl025(1), wl025(2), wl025(0), wl025(4)}));
}

TEST(PoradiZamestnancu, UsekyStejnehoIdentifikatoru) {
    // Person 5 on lines 10, 40 and 70 between persons 3 and 4; person 6 alone at the end.
    Doklad d(true);
    d.zamestnavatel(zamestnavatel(6), true);
    d.na_radek(10).zamestnanec(nec("5"), true);
    d.na_radek(25).zamestnanec(nec("3", {{"AA0167", "7000"}}), true);
    d.na_radek(40).zamestnanec(nec("5", {{"AA0231", "1971"}}), true);
    d.na_radek(55).zamestnanec(nec("4", {{"AA0167", "7000"}}), true);
    d.na_radek(70).zamestnanec(nec("5", {{"AA0231", "1972"}}), true);
    d.na_radek(85).zamestnanec(nec("6", {{"AA0167", "7000"}}), true);
    d.konec_zamestnavatele();
    EXPECT_EQ(radky(d, {"WL025", "EL003", "EL052", "EL065", "WL049", "WL007"}),
              (V{R("25", "WL025", Z, "3", "AA0167", "      7000", "<=     6496.00"),
                 R("55", "WL025", Z, "4", "AA0167", "      7000", "<=     6496.00"),
                 R("10,40,70", "EL052", Z, "5", "AA0130", "3.0000", "<= 1"),
                 R("10,40,70", "EL065", Z, "5", "AA0130", "1,1 ", "Pouze 1 x"),
                 R("10,40,70", "WL049", Z, "5", "AA0131", "    120.00", "max. 79.99"),
                 R("10,40,70", "WL007", Z, "5", "AA0132", "      2700", " <= 1872"),
                 R("10,40,70", "EL003", Z, "5", "AA0231", "1970", "1971"),
                 R("85", "WL025", Z, "6", "AA0167", "      7000", "<=     6496.00")}));
}

TEST(PoradiZamestnancu, JenPrvnichSestZaznamuOsoby) {
    // Eight records of one person on lines 10 to 80; the seventh and eighth differ in birth year
    // and both have a tax-free amount, which nothing may notice.
    Doklad d(true);
    d.zamestnavatel(s(zamestnavatel(8), {{"AA0115", "8"}}), true);
    for (int i = 1; i <= 8; ++i) {
        d.na_radek(10 * i);
        d.zamestnanec(i <= 6 ? nec("7") : nec("7", {{"AA0231", "1980"}, {"AA0166", "5000"}}), true);
    }
    d.konec_zamestnavatele();
    const std::string_view radky_osoby = "10,20,30,40,50,60, ...... ";
    EXPECT_EQ(radky(d, {"EL052", "EL065", "WL049", "WL007", "WL018", "EL003", "EL021"}),
              (V{R(radky_osoby, "EL052", Z, "7", "AA0130", "6.0000", "<= 1"),
                 R(radky_osoby, "EL065", Z, "7", "AA0130", "1,1 ", "Pouze 1 x"),
                 R(radky_osoby, "WL049", Z, "7", "AA0131", "    240.00", "max. 79.99"),
                 R(radky_osoby, "WL007", Z, "7", "AA0132", "      2700", " <= 1872"),
                 R(radky_osoby, "WL007", Z, "7", "AA0132", "      3600", " <= 1872"),
                 R(radky_osoby, "WL007", Z, "7", "AA0132", "      4500", " <= 1872"),
                 R(radky_osoby, "WL007", Z, "7", "AA0132", "      5400", " <= 1872"),
                 // Eight in the register on the last day, the person's first six counted once.
                 R("2", "EL021", Z, NIC, "AA0115", "         8", "         3")}));
}

TEST(PoradiZamestnancu, SeznamRadkuOsoby) {
    // The tail marks a seventh record; six records are listed whole.
    auto el065 = [](int pocet) {
        Doklad d(true);
        d.zamestnavatel(zamestnavatel(pocet), true);
        for (int i = 1; i <= pocet; ++i) d.na_radek(10 * i).zamestnanec(nec("7"), true);
        d.konec_zamestnavatele();
        return radky(d, {"EL065"});
    };
    EXPECT_EQ(el065(2), (V{R("10,20", "EL065", Z, "7", "AA0130", "1,1 ", "Pouze 1 x")}));
    EXPECT_EQ(el065(6), (V{R("10,20,30,40,50,60", "EL065", Z, "7", "AA0130", "1,1 ", "Pouze 1 x")}));
    EXPECT_EQ(el065(7), (V{R("10,20,30,40,50,60, ...... ", "EL065", Z, "7", "AA0130", "1,1 ", "Pouze 1 x")}));
}

TEST(JednotlivyZaznam, OdvodyProtiPlatu) {
    auto odvody = [](std::initializer_list<std::pair<std::string_view, std::string_view>> zmeny) {
        Doklad d = firma({nec("1001", zmeny)});
        return std::pair{radky(d, {"WL025", "WL026"}), d.r(0, "AA0126")};
    };
    auto rad = [](const std::string& radek, std::string_view kod, std::string_view prvek,
                  std::string_view hodnota,
                  std::string_view ocekavano) { return R(radek, kod, Z, "1001", prvek, hodnota, ocekavano); };

    auto [d1, r1] = odvody({{"AA0144", "0"}, {"AA0167", "500"}, {"AA0218", "30"}});
    EXPECT_EQ(d1, (V{rad(r1, "WL025", "AA0167", "       500", "0"),
                     rad(r1, "WL026", "AA0168", "      8120", "0")}));
    EXPECT_EQ(odvody({{"AA0144", "0"}, {"AA0167", "500"}, {"AA0218", "0"}}).first, V{});
    EXPECT_EQ(odvody({{"AA0144", "0"}, {"AA0167", "500"}, {"AA0136", "0"}, {"AA0137", "2"}}).first, V{});

    // At most a tenth of the salary.
    EXPECT_EQ(odvody({{"AA0167", "6496"}}).first, V{});
    auto [d2, r2] = odvody({{"AA0167", "6497"}});
    EXPECT_EQ(d2, (V{rad(r2, "WL025", "AA0167", "      6497", "<=     6496.00")}));

    // Above 24864, at least 3 % of the excess: 0.03 x 5136 = 154.08.
    auto [d3, r3] = odvody({{"AA0144", "30000"}, {"AA0167", "100"}, {"AA0168", "3000"}});
    EXPECT_EQ(d3, (V{rad(r3, "WL025", "AA0167", "       100", ">         154")}));
    auto [d3b, r3b] = odvody({{"AA0144", "24865"}, {"AA0167", "0"}, {"AA0168", "3000"}});
    EXPECT_EQ(d3b, (V{rad(r3b, "WL025", "AA0167", "         0", ">           0")}));

    // Below 24864 no negative contribution; 24864 itself is in neither rule.
    auto [d4, r4] = odvody({{"AA0144", "24863"}, {"AA0167", "-1"}, {"AA0168", "3000"}});
    EXPECT_EQ(d4, (V{rad(r4, "WL025", "AA0167", "        -1", " 0 ")}));
    EXPECT_EQ(odvody({{"AA0144", "24864"}, {"AA0167", "-1"}, {"AA0168", "3000"}}).first, V{});

    // Social insurance: nothing without a salary, else 5 % to 20 % of it (3248 to 12992).
    auto [d5, r5] = odvody({{"AA0144", "0"}, {"AA0167", "0"}, {"AA0168", "1"}});
    EXPECT_EQ(d5, (V{rad(r5, "WL026", "AA0168", "         1", "0")}));
    EXPECT_EQ(odvody({{"AA0144", "0"}, {"AA0167", "0"}, {"AA0168", "0"}}).first, V{});
    EXPECT_EQ(odvody({{"AA0168", "12992"}}).first, V{});
    EXPECT_EQ(odvody({{"AA0168", "3248"}}).first, V{});
    auto [d6, r6] = odvody({{"AA0168", "12993"}});
    EXPECT_EQ(d6, (V{rad(r6, "WL026", "AA0168", "     12993", "   3248.00 -   12992.00")}));
    auto [d6b, r6b] = odvody({{"AA0168", "3247"}});
    EXPECT_EQ(d6b, (V{rad(r6b, "WL026", "AA0168", "      3247", "   3248.00 -   12992.00")}));
}

TEST(OpakovanyZamestnanec, OsobniUdajeSeShoduji) {
    auto el003 = [](std::vector<Pole> zaznamy) {
        Doklad d = firma(zaznamy);
        return std::pair{radky(d, {"EL003"}), d};
    };
    {
        auto [v, d] = el003({nec("8"), nec("8", {{"AA0033", "SK"}})});
        EXPECT_EQ(v, (V{R(seznam(d, {0, 1}), "EL003", Z, "8", "AA0033", "CZ", "SK")}));
    }
    {
        auto [v, d] = el003({nec("8"), nec("8", {{"AA0033", "CZE"}})});
        EXPECT_EQ(v, (V{R(seznam(d, {0, 1}), "EL003", Z, "8", "AA0033", "CZ", "CZE")}));
    }
    {
        // The first record that differs, and only that one.
        auto [v, d] = el003({nec("8"), nec("8", {{"AA0033", "SK"}}), nec("8", {{"AA0033", "DE"}})});
        EXPECT_EQ(v, (V{R(seznam(d, {0, 1, 2}), "EL003", Z, "8", "AA0033", "CZ", "SK")}));
        auto [w, e] = el003({nec("8"), nec("8"), nec("8", {{"AA0033", "DE"}})});
        EXPECT_EQ(w, (V{R(seznam(e, {0, 1, 2}), "EL003", Z, "8", "AA0033", "CZ", "DE")}));
    }
    {
        // Gender, education and birth year; the years of employment may differ.
        auto [v, d] = el003(
            {nec("8"),
             nec("8",
                 {{"AA0211", "2"}, {"AA0223", "M"}, {"AA0231", "1971"}, {"AA0216", "6"}, {"AA0225", "11"}})});
        const std::string r = seznam(d, {0, 1});
        EXPECT_EQ(v, (V{R(r, "EL003", Z, "8", "AA0211", "1", "2"), R(r, "EL003", Z, "8", "AA0223", "K", "M"),
                        R(r, "EL003", Z, "8", "AA0231", "1970", "1971")}));
    }
    EXPECT_EQ(el003({nec("8"), nec("8", {{"AA0216", "6"}, {"AA0225", "11"}})}).first, V{});
}

TEST(OpakovanyZamestnanec, DruhyPracovnihoPomeru) {
    auto kombinace = [](std::vector<Pole> zaznamy) {
        Doklad d = firma(zaznamy);
        return std::pair{radky(d, {"EL052", "EL065"}), seznam(d, {0, 1})};
    };
    {
        auto [v, r] =
            kombinace({nec("8", {{"AA0136", "0.6"}}), nec("8", {{"AA0130", "7"}, {"AA0136", "0.6"}})});
        EXPECT_EQ(v, (V{R(r, "EL052", Z, "8", "AA0130", "1.2000", "<= 1"),
                        R(r, "EL065", Z, "8", "AA0130", "1,7 ", "Pouze 1 x")}));
    }
    {
        auto [v, r] = kombinace(
            {nec("8", {{"AA0130", "7"}, {"AA0136", "0.5"}}), nec("8", {{"AA0130", "7"}, {"AA0136", "0.5"}})});
        EXPECT_EQ(v, (V{R(r, "EL065", Z, "8", "AA0130", "7,7 ", "Pouze 1 x")}));
    }
    {
        auto [v, r] = kombinace({nec("8", {{"AA0136", "0.5"}}), nec("8", {{"AA0136", "0.5"}})});
        EXPECT_EQ(v, (V{R(r, "EL065", Z, "8", "AA0130", "1,1 ", "Pouze 1 x")}));
    }
    {
        // Only records in the register on the last day are counted for the combination.
        auto [v, r] = kombinace(
            {nec("8", {{"AA0136", "0.6"}, {"AA0137", "2"}}), nec("8", {{"AA0130", "7"}, {"AA0136", "0.6"}})});
        EXPECT_EQ(v, (V{R(r, "EL052", Z, "8", "AA0130", "1.2000", "<= 1")}));
    }
    auto prvni = [](std::vector<Pole> zaznamy) { return radky(firma(zaznamy), {"EL052", "EL065"}); };
    EXPECT_EQ(prvni({nec("8", {{"AA0136", "0.6"}}), nec("8", {{"AA0130", "3"}, {"AA0136", "0.6"}})}), V{});
    // The last record of the employer has a faulty AA0136: the rule is off.
    EXPECT_EQ(prvni({nec("8", {{"AA0136", "0.6"}}), nec("8", {{"AA0130", "7"}, {"AA0136", "0.6"}}),
                     nec("9", {{"AA0136", "1.5"}})}),
              V{});
}

TEST(OpakovanyZamestnanec, FondAOdpracovaneHodiny) {
    auto pravidlo = [](std::vector<Pole> zaznamy, std::string_view kod) {
        Doklad d = firma(zaznamy);
        return std::pair{radky(d, {kod}), seznam(d, {0, 1})};
    };
    {
        auto [v, r] = pravidlo({nec("8"), nec("8")}, "WL049");
        EXPECT_EQ(v, (V{R(r, "WL049", Z, "8", "AA0131", "     80.00", "max. 79.99")}));
        EXPECT_EQ(pravidlo({nec("8"), nec("8", {{"AA0131", "39.99"}})}, "WL049").first, V{});
        EXPECT_EQ(pravidlo({nec("8"), nec("8", {{"AA0137", "2"}})}, "WL049").first, V{});
    }
    {
        // Reported at every record from the one that passes 1872 hours on.
        Doklad d = firma(
            {nec("8", {{"AA0132", "1000"}}), nec("8", {{"AA0132", "1000"}}), nec("8", {{"AA0132", "100"}})});
        const std::string r = seznam(d, {0, 1, 2});
        EXPECT_EQ(radky(d, {"WL007"}), (V{R(r, "WL007", Z, "8", "AA0132", "      2000", " <= 1872"),
                                          R(r, "WL007", Z, "8", "AA0132", "      2100", " <= 1872")}));
        EXPECT_EQ(pravidlo({nec("8", {{"AA0132", "936"}}), nec("8", {{"AA0132", "936"}})}, "WL007").first,
                  V{});
        auto [v, r2] = pravidlo({nec("8", {{"AA0132", "936"}}), nec("8", {{"AA0132", "937"}})}, "WL007");
        EXPECT_EQ(v, (V{R(r2, "WL007", Z, "8", "AA0132", "      1873", " <= 1872")}));
        // Off when the employer's last record has faulty hours.
        EXPECT_EQ(pravidlo({nec("8", {{"AA0132", "1000"}}), nec("8", {{"AA0132", "1000"}}),
                            nec("9", {{"AA0132", "10000"}})},
                           "WL007")
                      .first,
                  V{});
    }
}

TEST(OpakovanyZamestnanec, VEvidenciPosledniDenJednou) {
    auto el021 = [](std::vector<Pole> zaznamy, std::string_view stav) {
        Doklad d =
            firma(zaznamy, s(zamestnavatel(static_cast<long long>(zaznamy.size())), {{"AA0115", stav}}));
        return std::pair{radky(d, {"EL021"}), d.r_tel(0, "AA0115")};
    };
    EXPECT_EQ(el021({nec("8"), nec("8")}, "1").first, V{});
    auto [v, r] = el021({nec("8"), nec("8")}, "2");
    EXPECT_EQ(v, (V{R(r, "EL021", Z, NIC, "AA0115", "         2", "         1")}));
    EXPECT_EQ(el021({nec("8"), nec("8", {{"AA0137", "2"}}), nec("8")}, "1").first, V{});
    EXPECT_EQ(el021({nec("8"), nec("9")}, "2").first, V{});
}

TEST(OpakovanyZamestnanec, NezdanitelnaCastkaJednou) {
    auto wl018 = [](std::vector<Pole> zaznamy) {
        Doklad d = firma(zaznamy);
        std::string r;
        for (std::size_t i = 0; i < zaznamy.size(); ++i) r += (i ? "," : "") + d.r(i, "AA0126");
        return std::pair{radky(d, {"WL018"}), r};
    };
    {
        auto [v, r] = wl018({nec("8", {{"AA0166", "5000"}}), nec("8", {{"AA0166", "6000"}})});
        EXPECT_EQ(v, (V{R(r, "WL018", Z, "8", "AA0166", "      5000,      6000", "Pouze 1 x")}));
    }
    EXPECT_EQ(wl018({nec("8", {{"AA0166", "5000"}}), nec("8")}).first, V{});
    {
        auto [v, r] = wl018({nec("8", {{"AA0166", "5000"}}), nec("8"), nec("8", {{"AA0166", "7000"}})});
        EXPECT_EQ(v, (V{R(r, "WL018", Z, "8", "AA0166", "      5000,      7000", "Pouze 1 x")}));
    }
}

TEST(OpakovanyZamestnanec, OdvodyOsobyCelkem) {
    // Two records of one person with the same values; the rules look at the sums.
    auto odvody = [](std::initializer_list<std::pair<std::string_view, std::string_view>> zmeny) {
        Doklad d = firma({nec("8", zmeny), nec("8", zmeny)});
        return std::pair{radky(d, {"WL025", "WL026"}), seznam(d, {0, 1})};
    };
    auto rad = [](const std::string& r, std::string_view kod, std::string_view prvek,
                  std::string_view hodnota,
                  std::string_view ocekavano) { return R(r, kod, Z, "8", prvek, hodnota, ocekavano); };
    {
        auto [v, r] = odvody({{"AA0144", "0"}, {"AA0167", "200"}, {"AA0168", "0"}});
        EXPECT_EQ(v, (V{rad(r, "WL025", "AA0167", "    400.00", "      0.00")}));
    }
    {
        auto [v, r] = odvody({{"AA0144", "0"}, {"AA0167", "200"}, {"AA0168", "100"}});
        EXPECT_EQ(v, (V{rad(r, "WL025", "AA0167", "    400.00", "      0.00"),
                        rad(r, "WL026", "AA0168", "    200.00", "      0.00")}));
    }
    {
        auto [v, r] = odvody({{"AA0144", "30000"}, {"AA0167", "4000"}, {"AA0168", "3000"}});
        EXPECT_EQ(v, (V{rad(r, "WL025", "AA0167", "   8000.00", "<=     6000.00")}));
    }
    {
        // 0.03 x (60000 - 24864) = 1054.08; each record alone would be 154.08.
        auto [v, r] = odvody({{"AA0144", "30000"}, {"AA0167", "100"}, {"AA0168", "3000"}});
        EXPECT_EQ(v, (V{rad(r, "WL025", "AA0167", "    200.00", ">     1054.08")}));
    }
    {
        auto [v, r] = odvody({{"AA0144", "10000"}, {"AA0167", "-1"}, {"AA0168", "1000"}});
        EXPECT_EQ(v, (V{rad(r, "WL025", "AA0167", "     -2.00", " 0 ")}));
    }
    {
        auto [v, r] = odvody({{"AA0144", "30000"}, {"AA0167", "2000"}, {"AA0168", "7000"}});
        EXPECT_EQ(v, (V{rad(r, "WL026", "AA0168", "  14000.00", "   3000.00 -   12000.00")}));
    }
    EXPECT_EQ(odvody({{"AA0144", "30000"}, {"AA0167", "2000"}, {"AA0168", "6000"}}).first, V{});
}

TEST(SouctyZamestnavatele, PrepoctenyStavNaCtyriDesetinnaMista) {
    // 25 records of 0.1 add up to a little more than 2.5, which prints as 2.5000.
    auto el020 = [](std::string_view posledni) {
        std::vector<Pole> zaznamy;
        for (int i = 0; i < 24; ++i) zaznamy.push_back(nec(std::to_string(100 + i), {{"AA0136", "0.1"}}));
        zaznamy.push_back(nec("200", {{"AA0136", posledni}}));
        Doklad d = firma(zaznamy, s(zamestnavatel(25), {{"AA0114", "2.5"}}));
        return std::pair{radky(d, {"EL020"}), d.r_tel(0, "AA0114")};
    };
    EXPECT_EQ(el020("0.1").first, V{});
    auto [v, r] = el020("0.1001");
    EXPECT_EQ(v, (V{R(r, "EL020", Z, NIC, "AA0114", "    2.5000", "    2.5001")}));
}

TEST(SouctyZamestnavatele, StavyAPlatyProtiZamestnancum) {
    const std::vector<std::string_view> kody = {"EL020", "EL021", "EL022", "WL023"};
    auto soucty = [&](std::initializer_list<std::pair<std::string_view, std::string_view>> zmeny) {
        Doklad d = firma({nec("1001"), nec("1002")}, s(zamestnavatel(2), zmeny));
        return std::pair{radky(d, kody), d};
    };
    EXPECT_EQ(soucty({}).first, V{});
    {
        auto [v, d] = soucty({{"AA0115", "3"}});
        EXPECT_EQ(v, (V{R(d.r_tel(0, "AA0115"), "EL021", Z, NIC, "AA0115", "         3", "         2")}));
    }
    {
        auto [v, d] = soucty({{"AA0118", "129921"}});
        EXPECT_EQ(v, (V{R(d.r_tel(0, "AA0118"), "EL022", Z, NIC, "AA0118", "    129921", "    129920")}));
    }
    {
        auto [v, d] = soucty({{"AA0118", "1000"}, {"AA0119", "1500"}});
        EXPECT_EQ(v, (V{R(d.r_tel(0, "AA0118"), "EL022", Z, NIC, "AA0118", "      1000", "    129920"),
                        R(d.r_tel(0, "AA0119"), "WL023", Z, NIC, "AA0119", "      1500", "<=       1000")}));
    }
    // Faulty employer fields switch off the totals that use them.
    EXPECT_EQ(soucty({{"AA0118", "1299x0"}, {"AA0119", "1500"}}).first, V{});
    EXPECT_EQ(soucty({{"AA0114", "0"}, {"AA0115", "1234567"}}).first, V{});
    {
        auto [v, d] = soucty({{"AA0118", "1000"}, {"AA0119", "15x0"}});
        EXPECT_EQ(v, (V{R(d.r_tel(0, "AA0118"), "EL022", Z, NIC, "AA0118", "      1000", "    129920")}));
    }
}

// `pocet` records of the example with distinct identifiers, the last one replaced by `posledni`.
std::vector<Pole> zaznamy(int pocet,
                          std::initializer_list<std::pair<std::string_view, std::string_view>> posledni = {},
                          std::initializer_list<std::pair<std::string_view, std::string_view>> vsechny = {}) {
    std::vector<Pole> z;
    for (int i = 0; i < pocet; ++i)
        z.push_back(s(nec(std::to_string(1000 + i), vsechny), i + 1 == pocet ? posledni : vsechny));
    return z;
}

TEST(CelyZamestnavatel, VsichniVEvidenciAVHlavnimPomeru) {
    auto wl = [](std::vector<Pole> z) { return radky(firma(z), {"WL042", "WL043"}); };
    const std::string wl042 = R(NIC, "WL042", Z, NIC, NIC, NIC, NIC);
    const std::string wl043 = R(NIC, "WL043", Z, NIC, NIC, NIC, NIC);
    EXPECT_EQ(wl(zaznamy(50)), V{});
    EXPECT_EQ(wl(zaznamy(51)), (V{wl042, wl043}));
    EXPECT_EQ(wl(zaznamy(51, {{"AA0137", "2"}})), V{wl043});
    EXPECT_EQ(wl(zaznamy(51, {{"AA0130", "7"}})), V{wl042});
}

TEST(CelyZamestnavatel, VzdelaniVsech) {
    auto el08 = [](std::vector<Pole> z) { return radky(firma(z), {"EL081", "EL082"}); };
    const std::string el081a = R(NIC, "EL081", Z, NIC, "AA0223", "A", NIC);
    const std::string el082 = R(NIC, "EL082", Z, NIC, "AA0223", NIC, NIC);
    EXPECT_EQ(el08(zaznamy(50, {{"AA0223", "A"}}, {{"AA0223", "A"}})), (V{el081a, el082}));
    EXPECT_EQ(el08(zaznamy(49, {{"AA0223", "A"}}, {{"AA0223", "A"}})), V{});
    EXPECT_EQ(el08(zaznamy(50)), (V{R(NIC, "EL081", Z, NIC, "AA0223", "K", NIC)}));
    // More than half (25 of 50) below "C", compared as signed bytes.
    auto pul = [](int pod_c, std::string_view kod) {
        std::vector<Pole> z = zaznamy(50);
        for (int i = 0; i < pod_c; ++i)
            z[static_cast<std::size_t>(i)] = s(z[static_cast<std::size_t>(i)], {{"AA0223", kod}});
        return z;
    };
    EXPECT_EQ(el08(pul(26, "B")), V{el082});
    EXPECT_EQ(el08(pul(25, "A")), V{});
    EXPECT_EQ(el08(pul(26, "\xC8")), V{el082});
}

TEST(CelyZamestnavatel, DlouhyKodStatu) {
    // Reported once, for the last record with a three-character code, per employer.
    Doklad d;
    d.zamestnavatel(zamestnavatel(3))
        .zamestnanec(nec("1", {{"AA0033", "CZE"}}))
        .zamestnanec(nec("2", {{"AA0033", "SVK"}}))
        .zamestnanec(nec("3"))
        .konec_zamestnavatele()
        .zamestnavatel(s(zamestnavatel(1), {{"AA0017", "20000014"}}))
        .zamestnanec(nec("1"))
        .konec_zamestnavatele();
    EXPECT_EQ(radky(d, {"WL053"}), (V{R(d.r(1, "AA0033"), "WL053", Z, NIC, "AA0033", "SVK", "delka 2")}));
}

TEST(CelyZamestnavatel, VyplacenePlatyProtiPoctu) {
    // 6 x 100 x 5120 = 3072000, checked from the eleventh record on.
    auto el058 = [](int pocet) {
        Doklad d = firma(zaznamy(pocet), s(zamestnavatel(pocet), {{"AA0114", "100"}}));
        return std::pair{radky(d, {"EL058"}), d.r_tel(0, "AA0118")};
    };
    EXPECT_EQ(el058(10).first, V{});
    auto [v, r] = el058(11);
    EXPECT_EQ(v, (V{R(r, "EL058", Z, NIC, "AA0118", "    714560", ">  3072000.00")}));
}

TEST(CelyZamestnavatel, BezZamestnancu) {
    {
        Doklad d;
        d.zamestnavatel().konec_zamestnavatele();
        EXPECT_EQ(radky(d), (V{R(d.r_tel(0, "AA0114"), "EL020", Z, NIC, "AA0114", "    1.0000", "    0.0000"),
                               R(d.r_tel(0, "AA0115"), "EL021", Z, NIC, "AA0115", "         1", "         0"),
                               R(d.r_tel(0, "AA0118"), "EL022", Z, NIC, "AA0118", "     64960", "         0"),
                               R(d.konec_tel(0), "ES309", Z, NIC, NIC, NIC, NIC)}));
    }
    {
        Doklad d;
        d.zamestnavatel(bez(zamestnavatel(), "AA0119")).konec_zamestnavatele();
        EXPECT_EQ(radky(d, {"ES303", "ES304"}),
                  (V{R(d.konec_tel(0), "ES303", Z, NIC, "AA0119", NIC, "AA0119")}));
    }
    {
        Doklad d;
        d.zamestnavatel(dvakrat(zamestnavatel(), "AA0119", "0")).konec_zamestnavatele();
        EXPECT_EQ(radky(d, {"ES303", "ES304"}), (V{R(d.konec_tel(0), "ES304", Z, NIC, "AA0119", NIC, "2")}));
    }
}

}  // namespace
}  // namespace tavon::test

namespace tavon::test {
namespace {

TEST(PoradiZamestnancu, ZaznamyBezIdentifikatoruJsouRuzneOsoby) {
    // Two records without an identifier: each is checked as a single record, shown as "-", and they
    // are not taken for one person with several records.
    Doklad d(true);
    d.zamestnavatel(zamestnavatel(3), true);
    d.zamestnanec(s(bez(zamestnanec(), "AA0126"), {{"AA0167", "7000"}}), true);
    d.zamestnanec(s(bez(zamestnanec(), "AA0126"), {{"AA0167", "7000"}}), true);
    d.zamestnanec(zamestnanec("1001"), true);
    d.konec_zamestnavatele();
    EXPECT_EQ(radky(d, {"WL025", "EL052", "EL065", "WL049", "WL007"}),
              (V{R(" ", "WL025", Z, "-", "AA0167", "      7000", "<=     6496.00"),
                 R(" ", "WL025", Z, "-", "AA0167", "      7000", "<=     6496.00")}));
}

}  // namespace
}  // namespace tavon::test

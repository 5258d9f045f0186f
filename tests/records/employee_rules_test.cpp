// The rules across the fields of one employee record, run on whole documents: each rule on both
// sides of its limit, with the report row it must write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/records.h"

namespace tavon::test {
namespace {

using V = std::vector<std::string>;

constexpr std::string_view Z = "20000006";  // the employer column
constexpr std::string_view ID = "1001";     // the employee column
constexpr std::string_view NIC = "   ";

// A document with one employer (totals of one employee) and the employee `p`.
Doklad jeden(const Pole& p) {
    Doklad d;
    d.zamestnavatel().zamestnanec(p).konec_zamestnavatele();
    return d;
}

// A row about the employee of `jeden`, on the line of the field `radek_pole`.
std::string N(const Doklad& d, const std::string& radek_pole, std::string_view kod, std::string_view prvek,
              std::string_view hodnota, std::string_view ocekavano) {
    return R(d.r(0, radek_pole), kod, Z, ID, prvek, hodnota, ocekavano);
}

Pole zmena(std::initializer_list<std::pair<std::string_view, std::string_view>> zmeny) {
    return s(zamestnanec(), zmeny);
}

// Occupation codes: 01011 is of group 0, 93399 of another group.
constexpr std::string_view kSkupina0 = "01011";
constexpr std::string_view kJina = "93399";

TEST(PravidlaZamestnance, PlatnyZaznamBezNalezu) {
    EXPECT_EQ(radky(jeden(zamestnanec())), V{});
    EXPECT_EQ(radky(jeden(zmena({{"AA0013", kJina}}))), V{});
}

TEST(PravidlaZamestnance, ChybejiciAOpakovanePole) {
    {
        Doklad d = jeden(bez(zamestnanec(), "AA0211"));
        EXPECT_EQ(radky(d, {"ES303"}), (V{R(d.konec(0), "ES303", Z, ID, "AA0211", NIC, "AA0211")}));
    }
    {
        // Reported at the record's end twice: once with one blank, once with three.
        Doklad d = jeden(dvakrat(zamestnanec(), "AA0131", "40"));
        EXPECT_EQ(radky(d, {"ES304", "ES303"}), (V{R(d.konec(0), "ES304", Z, ID, "AA0131", " ", "2"),
                                                   R(d.konec(0), "ES304", Z, ID, "AA0131", NIC, "2")}));
    }
    {
        // A missing field counts as 0; its line was never met.
        Doklad d = jeden(bez(zamestnanec(), "AA0138"));
        EXPECT_EQ(radky(d, {"EL051", "WL011"}),
                  (V{R(" ", "EL051", Z, ID, "AA0138", "         0", "      7660")}));
    }
}

TEST(PravidlaZamestnance, TydenniFondPodleSkupinyZamestnani) {
    auto el005 = [](std::string_view kod, std::string_view fond) {
        return radky(jeden(zmena({{"AA0013", kod}, {"AA0131", fond}})), {"EL005"});
    };
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(el005(kSkupina0, "42.5"), V{});
    EXPECT_EQ(el005(kSkupina0, "40.5"), V{});
    EXPECT_EQ(el005(kSkupina0, "43"), (V{N(d, "AA0131", "EL005", "AA0131", "     43.00", "max. 42,5")}));
    EXPECT_EQ(el005(kJina, "40"), V{});
    EXPECT_EQ(el005(kJina, "40.01"), (V{N(d, "AA0131", "EL005", "AA0131", "     40.01", "max. 40")}));
    EXPECT_EQ(el005("21110", "40.5"), (V{N(d, "AA0131", "EL005", "AA0131", "     40.50", "max. 40")}));
    // The first byte compared as a signed character: a letter is another group, a byte above 127
    // belongs to neither.
    EXPECT_EQ(el005("A1111", "40.01"), (V{N(d, "AA0131", "EL005", "AA0131", "     40.01", "max. 40")}));
    EXPECT_EQ(el005(std::string("\xC8") + "1111", "80"), V{});
}

TEST(PravidlaZamestnance, DnyEvidenceProtiLetumZamestnani) {
    auto el006 = [](std::string_view dny, std::string_view a216, std::string_view a225) {
        return radky(jeden(zmena({{"AA0218", dny}, {"AA0216", a216}, {"AA0225", a225}})), {"EL006"});
    };
    Doklad d = jeden(zamestnanec());
    const std::string radek = d.r(0, "AA0225");
    // 181 days: trunc(100 * (181/365 - 0.0005)) / 100 = 0.49 years.
    EXPECT_EQ(el006("181", "0", "0"),
              (V{R(radek, "EL006", Z, ID, "AA0225 + AA0216", "      0.00", "      0.49")}));
    EXPECT_EQ(el006("181", "0.49", "0"), V{});
    EXPECT_EQ(el006("181", "0.48", "0"),
              (V{R(radek, "EL006", Z, ID, "AA0225 + AA0216", "      0.48", "      0.49")}));
    EXPECT_EQ(el006("181", "0.2", "0.29"), V{});
    // A whole year counts as 1, not 0.99.
    EXPECT_EQ(el006("365", "0.99", "0"),
              (V{R(radek, "EL006", Z, ID, "AA0225 + AA0216", "      0.99", "      1.00")}));
    EXPECT_EQ(el006("365", "1", "0"), V{});
}

TEST(PravidlaZamestnance, OdpracovaneHodinyAPrescasy) {
    Doklad d = jeden(zamestnanec());
    auto wl007 = [](std::string_view hodiny) { return radky(jeden(zmena({{"AA0132", hodiny}})), {"WL007"}); };
    EXPECT_EQ(wl007("1248"), V{});
    EXPECT_EQ(wl007("1249"), (V{N(d, "AA0132", "WL007", "AA0132", "      1249", " <= 1248")}));
    // Above the limit, though written without decimals (rounded half to even).
    EXPECT_EQ(wl007("1248.5"), (V{N(d, "AA0132", "WL007", "AA0132", "      1248", " <= 1248")}));

    // Overtime: at most a sixth of the hours worked (900 / 6 = 150).
    auto wl008 = [](std::string_view prescas) {
        return radky(jeden(zmena({{"AA0133", prescas}})), {"WL008"});
    };
    EXPECT_EQ(wl008("150"), V{});
    EXPECT_EQ(wl008("150.01"), (V{N(d, "AA0133", "WL008", "AA0133", "    150.01", "    150.00")}));
}

TEST(PravidlaZamestnance, HodinyProtiPrepoctenemuStavu) {
    // P = hours - overtime + 181 * 8 * 20 days * 1 / 181 = hours + 140; bounds 748.8 and 1248.
    Doklad d = jeden(zamestnanec());
    const std::string prvek = "AA0132; AA0133; AA0218; AA0219; AA0136;";
    auto wl009 = [](std::string_view hodiny, std::string_view a136 = "1") {
        return radky(jeden(zmena({{"AA0132", hodiny}, {"AA0136", a136}})), {"WL009"});
    };
    EXPECT_EQ(
        wl009("608"),
        (V{N(d, "AA0136", "WL009", prvek, "    608.00 ;      20.00 ;  181 ;   20 ;     1.0000 ;", NIC)}));
    EXPECT_EQ(wl009("609"), V{});
    EXPECT_EQ(wl009("1108"), V{});
    EXPECT_EQ(
        wl009("1109"),
        (V{N(d, "AA0136", "WL009", prvek, "   1109.00 ;      20.00 ;  181 ;   20 ;     1.0000 ;", NIC)}));
    // Half the headcount: P = hours + 60, bounds 374.4 and 624.
    EXPECT_EQ(wl009("500", "0.5"), V{});
    EXPECT_EQ(
        wl009("565", "0.5"),
        (V{N(d, "AA0136", "WL009", prvek, "    565.00 ;      20.00 ;  181 ;   20 ;     0.5000 ;", NIC)}));
    EXPECT_EQ(wl009("100", "0"), V{});
}

TEST(PravidlaZamestnance, DovolenaProtiNahradam) {
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(radky(jeden(zmena({{"AA0135", "120"}})), {"EL010"}), V{});
    EXPECT_EQ(radky(jeden(zmena({{"AA0135", "120.01"}})), {"EL010"}),
              (V{N(d, "AA0135", "EL010", "AA0135", "    120.01", "    120.00")}));

    // Holiday compensation against all compensations.
    EXPECT_EQ(radky(jeden(zmena({{"AA0159", "4000"}})), {"WL016"}), V{});
    EXPECT_EQ(radky(jeden(zmena({{"AA0159", "4001"}})), {"WL016"}),
              (V{N(d, "AA0159", "WL016", "AA0159", "      4001", "      4000")}));

    // Holiday taken without compensation.
    EXPECT_EQ(radky(jeden(zmena({{"AA0159", "0"}})), {"WL029"}),
              (V{N(d, "AA0159", "WL029", "AA0135 ; AA0159 ;", "     80.00 ;       0.00 ;", " ")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0159", "0"}, {"AA0135", "0"}})), {"WL029"}), V{});
}

TEST(PravidlaZamestnance, TarifPodleTabulky) {
    Doklad d = jeden(zamestnanec());
    auto tarif = [](std::string_view stupnice, std::string_view trida, std::string_view stupen,
                    std::string_view plat, std::string_view a137 = "1", std::string_view a136 = "1") {
        return radky(jeden(zmena({{"AA0129", stupnice},
                                  {"AA0127", trida},
                                  {"AA0128", stupen},
                                  {"AA0138", plat},
                                  {"AA0137", a137},
                                  {"AA0136", a136}})),
                     {"EL051", "WL011"});
    };
    auto el051 = [&](std::string_view kod, std::string_view plat, std::string_view ocekavano) {
        return V{N(d, "AA0138", kod, "AA0138", plat, ocekavano)};
    };
    EXPECT_EQ(tarif("1", "5", "3", "7660"), V{});
    EXPECT_EQ(tarif("1", "5", "3", "7661"), el051("EL051", "      7661", "      7660"));
    // Not in the register on the last day: a warning, and only for a counted employee.
    EXPECT_EQ(tarif("1", "5", "3", "7661", "2"), el051("WL011", "      7661", "      7660"));
    EXPECT_EQ(tarif("1", "5", "3", "7661", "2", "0"), V{});

    // Corners of the table; scale 4 is scale 3.
    EXPECT_EQ(tarif("1", "1", "1", "5120"), V{});
    EXPECT_EQ(tarif("1", "1", "1", "5121"), el051("EL051", "      5121", "      5120"));
    EXPECT_EQ(tarif("1", "1", "12", "7830"), V{});
    EXPECT_EQ(tarif("1", "1", "12", "7829"), el051("EL051", "      7829", "      7830"));
    EXPECT_EQ(tarif("5", "16", "12", "37240"), V{});
    EXPECT_EQ(tarif("5", "16", "12", "37239"), el051("EL051", "     37239", "     37240"));
    EXPECT_EQ(tarif("3", "10", "5", "16530"), V{});
    EXPECT_EQ(tarif("4", "10", "5", "16530"), V{});
    EXPECT_EQ(tarif("4", "10", "5", "16531"), el051("EL051", "     16531", "     16530"));

    // Without a grade: anywhere from grade 1 to grade 12 of the class.
    const std::string_view rozpeti = "      5120  -       7830";
    EXPECT_EQ(tarif("1", "1", "0", "6000"), V{});
    EXPECT_EQ(tarif("1", "1", "0", "5120"), V{});
    EXPECT_EQ(tarif("1", "1", "0", "7830"), V{});
    EXPECT_EQ(tarif("1", "1", "0", "5119"), el051("EL051", "      5119", rozpeti));
    EXPECT_EQ(tarif("1", "1", "0", "8000"), el051("EL051", "      8000", rozpeti));
    EXPECT_EQ(tarif("1", "1", "0", "8000", "2"), el051("WL011", "      8000", rozpeti));
}

TEST(PravidlaZamestnance, TarifBezStupniceNeboTridy) {
    // A missing scale or class: the whole table from 5120 to 33250 (scale 4's top, not scale 5's).
    auto tarif = [](std::string_view chybi, std::string_view plat, std::string_view a137 = "1") {
        return radky(jeden(bez(zmena({{"AA0138", plat}, {"AA0137", a137}}), chybi)), {"EL051", "WL011"});
    };
    // (AA0138 stands one line higher without the field before it.)
    Doklad d = jeden(bez(zamestnanec(), "AA0129"));
    const std::string_view meze = "      5120 -      33250";
    EXPECT_EQ(tarif("AA0129", "36000"), (V{N(d, "AA0138", "EL051", "AA0138", "     36000", meze)}));
    EXPECT_EQ(tarif("AA0129", "33250"), V{});
    EXPECT_EQ(tarif("AA0129", "5120"), V{});
    EXPECT_EQ(tarif("AA0129", "36000", "2"), V{});
    Doklad bez127 = jeden(bez(zamestnanec(), "AA0127"));
    EXPECT_EQ(tarif("AA0127", "5119"), (V{N(bez127, "AA0138", "EL051", "AA0138", "      5119", meze)}));
    EXPECT_EQ(tarif("AA0127", "33251"), (V{N(bez127, "AA0138", "EL051", "AA0138", "     33251", meze)}));
}

TEST(PravidlaZamestnance, OsobniPriplatek) {
    Doklad d = jeden(zamestnanec());
    auto wl012 = [](std::string_view trida, std::string_view plat, std::string_view priplatek,
                    std::string_view dny = "181") {
        return radky(jeden(zmena({{"AA0127", trida},
                                  {"AA0128", "3"},
                                  {"AA0138", plat},
                                  {"AA0139", priplatek},
                                  {"AA0218", dny}})),
                     {"WL012"});
    };
    // Below class 10 half the top tariff of the class, from class 10 on all of it.
    EXPECT_EQ(wl012("1", "5540", "3915"), V{});
    EXPECT_EQ(wl012("1", "5540", "4000"), (V{N(d, "AA0139", "WL012", "AA0139", "      4000", "      3915")}));
    EXPECT_EQ(wl012("1", "5540", "4000", "0"), V{});
    EXPECT_EQ(wl012("9", "10620", "8000"),
              (V{N(d, "AA0139", "WL012", "AA0139", "      8000", "      7515")}));
    EXPECT_EQ(wl012("10", "11510", "8000"), V{});
    EXPECT_EQ(wl012("10", "11510", "16310"), V{});
    EXPECT_EQ(wl012("10", "11510", "16311"),
              (V{N(d, "AA0139", "WL012", "AA0139", "     16311", "     16310")}));
}

TEST(PravidlaZamestnance, PriplatkyJenUZapoctenych) {
    auto priplatky = [](std::string_view vedeni, std::string_view zvlastni, std::string_view hodnostni,
                        std::string_view a136 = "1", std::string_view a218 = "181") {
        return radky(jeden(zmena({{"AA0140", vedeni},
                                  {"AA0141", vedeni},
                                  {"AA0142", zvlastni},
                                  {"AA0143", hodnostni},
                                  {"AA0136", a136},
                                  {"AA0218", a218}})),
                     {"WL013", "WL014", "WL024"});
    };
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(priplatky("13000", "10000", "4600"), V{});
    EXPECT_EQ(priplatky("13001", "10001", "4601"),
              (V{N(d, "AA0140", "WL013", "AA0140", "     13001", "<= 13000"),
                 N(d, "AA0141", "WL013", "AA0141", "     13001", "<= 13000"),
                 N(d, "AA0142", "WL014", "AA0142", "     10001", "<= 10000"),
                 N(d, "AA0143", "WL024", "AA0143", "      4601", "<= 4600")}));
    // Counted only with both the recalculated headcount and the days above 0.
    EXPECT_EQ(priplatky("13001", "10001", "4601", "1", "0"), V{});
    EXPECT_EQ(priplatky("13001", "10001", "4601", "0", "181"), V{});
}

TEST(PravidlaZamestnance, SouctyPlatuAPriplatku) {
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(radky(jeden(zmena({{"AA0144", "64961"}})), {"EL015"}),
              (V{R(d.konec(0), "EL015", Z, ID, "AA0144", "     64961", "     64960")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0158", "4001"}})), {"EL015"}),
              (V{R(d.konec(0), "EL015", Z, ID, "AA0144", "     64960", "     64961")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0145", "45961"}, {"AA0146", "11999"}})), {"EL015"}), V{});

    EXPECT_EQ(radky(jeden(zmena({{"AA0239", "1"}})), {"EL027"}),
              (V{N(d, "AA0150", "EL027", "AA0150", "      3000", "      3001")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0151", "2000"}, {"AA0240", "1000"}})), {"EL027"}), V{});

    EXPECT_EQ(radky(jeden(zmena({{"AA0237", "100"}})), {"EL028"}),
              (V{N(d, "AA0161", "EL028", "AA0161", "         0", "       100")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0161", "100"}, {"AA0237", "60"}, {"AA0238", "40"}})), {"EL028"}), V{});
}

TEST(PravidlaZamestnance, PrumernyHodinovyPlat) {
    // (120 + 900) x hourly salary within 0.8 and 1.2 x 64960 (51968 and 77952).
    Doklad d = jeden(zamestnanec());
    const std::string_view prvek = "AA0165; AA0132; AA0134; AA0144;";
    auto wl017 = [](std::string_view plat, std::string_view a136 = "1") {
        return radky(jeden(zmena({{"AA0165", plat}, {"AA0136", a136}})), {"WL017"});
    };
    EXPECT_EQ(wl017("50.94"), (V{R(d.konec(0), "WL017", Z, ID, prvek,
                                   "      50.94 ;     900.00 ;     120.00 ;      64960 ;", NIC)}));
    EXPECT_EQ(wl017("50.95"), V{});
    EXPECT_EQ(wl017("76.42"), V{});
    EXPECT_EQ(wl017("76.43"), (V{R(d.konec(0), "WL017", Z, ID, prvek,
                                   "      76.43 ;     900.00 ;     120.00 ;      64960 ;", NIC)}));
    EXPECT_EQ(wl017("10", "0"), V{});

    // Missing hourly salary, for a counted employee with paid absence.
    auto wl067 = [](std::initializer_list<std::pair<std::string_view, std::string_view>> z) {
        return radky(jeden(s(zmena({{"AA0165", "0"}}), z)), {"WL067"});
    };
    EXPECT_EQ(wl067({}), (V{N(d, "AA0165", "WL067", "AA0165", "      0.00", " > 0")}));
    EXPECT_EQ(wl067({{"AA0134", "0"}, {"AA0135", "0"}}), V{});
    EXPECT_EQ(wl067({{"AA0136", "0"}}), V{});
}

TEST(PravidlaZamestnance, NulovePoleMimoEvidencniStav) {
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(radky(jeden(zmena({{"AA0136", "0"}})), {"EL037", "EL038"}),
              (V{N(d, "AA0132", "EL037", "AA0132", "       900", "0"),
                 N(d, "AA0133", "EL037", "AA0133", "     20.00", "0"),
                 N(d, "AA0134", "EL037", "AA0134", "    120.00", "0"),
                 N(d, "AA0135", "EL037", "AA0135", "     80.00", "0"),
                 N(d, "AA0210", "EL037", "AA0210", "         5", "0"),
                 N(d, "AA0218", "EL037", "AA0218", "       181", "0"),
                 N(d, "AA0219", "EL037", "AA0219", "        20", "0"),
                 // On the line of AA0138, not of AA0137.
                 N(d, "AA0138", "EL038", "AA0137", "         1", "2")}));
    // A faulty field (400 days is out of range) is left alone; the others are still reported.
    EXPECT_EQ(radky(jeden(zmena({{"AA0136", "0"},
                                 {"AA0137", "2"},
                                 {"AA0132", "0"},
                                 {"AA0133", "0"},
                                 {"AA0134", "0"},
                                 {"AA0135", "0"},
                                 {"AA0210", "400"},
                                 {"AA0218", "1"},
                                 {"AA0219", "0"}})),
                    {"EL037", "EL038"}),
              (V{N(d, "AA0218", "EL037", "AA0218", "         1", "0")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0136", "0"},
                                 {"AA0137", "2"},
                                 {"AA0132", "0"},
                                 {"AA0133", "0"},
                                 {"AA0134", "0"},
                                 {"AA0135", "0"},
                                 {"AA0210", "0"},
                                 {"AA0218", "0"},
                                 {"AA0219", "0"}})),
                    {"EL037", "EL038"}),
              V{});
}

TEST(PravidlaZamestnance, StatniSpravaAPosledniDen) {
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(radky(jeden(zmena({{"AA0125", "1"}})), {"WL040"}),
              (V{N(d, "AA0129", "WL040", "AA0129", "         1", "4,5")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0125", "1"}, {"AA0129", "4"}})), {"WL040"}), V{});
    EXPECT_EQ(radky(jeden(zmena({{"AA0125", "1"}, {"AA0129", "5"}})), {"WL040"}), V{});

    EXPECT_EQ(radky(jeden(zmena({{"AA0137", "2"}})), {"EL059"}),
              (V{N(d, "AA0137", "EL059", "AA0137", "         2", "1")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0137", "2"}, {"AA0136", "0.99"}})), {"EL059"}), V{});
}

TEST(PravidlaZamestnance, TydenniFondProtiPrumeru) {
    // Bounds 181 x 20 and 181 x 60 times AA0136 / AA0218, the upper cut to 42.5 (group 0) or 40.
    Doklad d = jeden(zamestnanec());
    auto wl060 = [](std::initializer_list<std::pair<std::string_view, std::string_view>> z) {
        return radky(jeden(zmena(z)), {"WL060"});
    };
    EXPECT_EQ(wl060({{"AA0131", "20"}}), V{});
    EXPECT_EQ(wl060({{"AA0131", "19.99"}}),
              (V{N(d, "AA0131", "WL060", "AA0131", "       19.99", "       20.00 -        42.50 ")}));
    EXPECT_EQ(wl060({{"AA0131", "42.5"}}), V{});
    EXPECT_EQ(wl060({{"AA0131", "40"}, {"AA0013", kJina}}), V{});
    EXPECT_EQ(wl060({{"AA0131", "40.01"}, {"AA0013", kJina}}),
              (V{N(d, "AA0131", "WL060", "AA0131", "       40.01", "       20.00 -        40.00 ")}));
    EXPECT_EQ(wl060({{"AA0131", "30"}, {"AA0136", "0.5"}}), V{});
    EXPECT_EQ(wl060({{"AA0131", "30.5"}, {"AA0136", "0.5"}}),
              (V{N(d, "AA0131", "WL060", "AA0131", "       30.50", "       10.00 -        30.00 ")}));
    EXPECT_EQ(wl060({{"AA0131", "10"}, {"AA0136", "0"}, {"AA0137", "2"}}), V{});
}

TEST(PravidlaZamestnance, PrepocetenyStavProtiDnum) {
    Doklad d = jeden(zamestnanec());
    // 1.1 x 164 / 181 = 0.996685...
    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "164"}})), {"EL066"}),
              (V{N(d, "AA0218", "EL066", "AA0136", "    1.0000", "<=    0.99669")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "165"}})), {"EL066"}), V{});

    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "180"}})), {"EL071"}),
              (V{N(d, "AA0218", "EL071", "AA0218", "       180", "       181")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "180"}, {"AA0136", "0.99"}})), {"EL071"}), V{});

    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "0"}})), {"EL073"}),
              (V{N(d, "AA0136", "EL073", "AA0136", "      1.00", "0")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "0"}, {"AA0136", "0"}, {"AA0137", "2"}})), {"EL073"}), V{});

    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "182"}})), {"EL077"}),
              (V{N(d, "AA0218", "EL077", "AA0218", "       182", "<=        181")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0219", "131"}})), {"EL078"}),
              (V{N(d, "AA0219", "EL078", "AA0219", "       131", "<=        130")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0219", "130"}})), {"EL078"}), V{});
}

TEST(PravidlaZamestnance, ZkracenaPracovniDoba) {
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(radky(jeden(zmena({{"AA0131", "29.99"}})), {"EL070"}),
              (V{N(d, "AA0131", "EL070", "AA0131", "     29.99", ">= 30")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0131", "30"}})), {"EL070"}), V{});
    EXPECT_EQ(radky(jeden(zmena({{"AA0131", "29"}, {"AA0136", "0.99"}})), {"EL070"}), V{});

    // Average equal to registered (within 1 %) and under 37.5 hours a week.
    auto wl072 = [](std::string_view fond, std::string_view dny = "181") {
        return radky(jeden(zmena({{"AA0131", fond}, {"AA0218", dny}})), {"WL072"});
    };
    EXPECT_EQ(wl072("37.49"), (V{N(d, "AA0131", "WL072", "AA0131", "     37.49", ">= 37.5")}));
    EXPECT_EQ(wl072("37.5"), V{});
    EXPECT_EQ(wl072("37", "180"), (V{N(d, "AA0131", "WL072", "AA0131", "     37.00", ">= 37.5")}));
    EXPECT_EQ(wl072("37", "179"), V{});
}

TEST(PravidlaZamestnance, AbsenceProtiNemociADovolene) {
    Doklad d = jeden(zamestnanec());
    const std::string_view prvek = "AA0135; AA0210; AA0219;";
    auto el069 = [](std::string_view kod, std::string_view dovolena, std::string_view nemoc,
                    std::string_view absence) {
        return radky(
            jeden(zmena({{"AA0013", kod}, {"AA0135", dovolena}, {"AA0210", nemoc}, {"AA0219", absence}})),
            {"EL069"});
    };
    // 850 div 85 = 850 div 80 = 10 days.
    const V radek85 = {N(d, "AA0210", "EL069", prvek, "     85.00 ;   0 ;   9 ;", NIC)};
    EXPECT_EQ(el069(kSkupina0, "85", "0", "9"), radek85);
    EXPECT_EQ(el069(kJina, "85", "0", "9"), radek85);
    EXPECT_EQ(el069(kSkupina0, "85", "0", "10"), V{});
    // 800 div 85 = 9, 800 div 80 = 10.
    EXPECT_EQ(el069(kSkupina0, "80", "5", "14"), V{});
    EXPECT_EQ(el069(kJina, "80", "5", "14"),
              (V{N(d, "AA0210", "EL069", prvek, "     80.00 ;   5 ;  14 ;", NIC)}));
    // Tenths of hours cut before the division.
    EXPECT_EQ(el069(kSkupina0, "8.5", "5", "5"),
              (V{N(d, "AA0210", "EL069", prvek, "      8.50 ;   5 ;   5 ;", NIC)}));
    EXPECT_EQ(el069(kSkupina0, "8.49", "5", "5"), V{});
}

TEST(PravidlaZamestnance, ZrusenePlatyANastupPred14Lety) {
    Doklad d = jeden(zamestnanec());
    EXPECT_EQ(radky(jeden(zmena({{"AA0160", "1"}})), {"EL075"}),
              (V{N(d, "AA0160", "EL075", "AA0160", "         1", "0")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0160", "-1"}})), {"EL075"}),
              (V{N(d, "AA0160", "EL075", "AA0160", "        -1", "0")}));

    // Born 1992: at most 2006 - 1992 - 13 = 1 year; reported on the line of AA0218.
    EXPECT_EQ(radky(jeden(zmena({{"AA0231", "1992"}, {"AA0225", "1"}, {"AA0216", "1"}})), {"EL076"}),
              (V{N(d, "AA0218", "EL076", "AA0216 + AA0225", "         2", "<=          1")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0231", "1992"}, {"AA0225", "1"}, {"AA0216", "0"}})), {"EL076"}), V{});
}

TEST(PravidlaZamestnance, OdpracovaneAAbsencniDnyProtiDnumEvidence) {
    // (900 - 20) / 8.5 = 103.5 days for group 0, / 8 = 110 for others, plus AA0219, against 181.
    Doklad d = jeden(zamestnanec());
    const std::string_view prvek = "AA0132; AA0133; AA0218; AA0219;";
    auto el080 = [](std::string_view kod, std::string_view dny) {
        return radky(jeden(zmena({{"AA0013", kod}, {"AA0219", dny}})), {"EL080"});
    };
    EXPECT_EQ(el080(kSkupina0, "77"), V{});
    EXPECT_EQ(el080(kSkupina0, "78"),
              (V{N(d, "AA0219", "EL080", prvek, "    900.00 ;      20.00 ;  181 ;  78 ;", NIC)}));
    EXPECT_EQ(el080(kJina, "71"), V{});
    EXPECT_EQ(el080(kJina, "72"),
              (V{N(d, "AA0219", "EL080", prvek, "    900.00 ;      20.00 ;  181 ;  72 ;", NIC)}));
}

// A field that failed its own check (switch 'E') is left out of every rule that names it.
TEST(PravidlaZamestnance, ChybnePoleVypinaPravidla) {
    Doklad d = jeden(zamestnanec());
    const std::vector<std::string_view> fond = {"EL005", "WL060", "EL070", "WL072"};
    EXPECT_EQ(radky(jeden(zmena({{"AA0131", "80"}})), fond),
              (V{N(d, "AA0131", "EL005", "AA0131", "     80.00", "max. 42,5"),
                 N(d, "AA0131", "WL060", "AA0131", "       80.00", "       20.00 -        42.50 ")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0131", "81"}})), fond), V{});

    const std::vector<std::string_view> dny = {"EL006", "WL009", "EL037", "WL060", "EL066", "EL071",
                                               "WL072", "EL073", "EL076", "EL077", "EL080"};
    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "365"}})), dny),
              (V{N(d, "AA0131", "WL060", "AA0131", "       40.00", "        9.92 -        29.75 "),
                 N(d, "AA0218", "EL071", "AA0218", "       365", "       181"),
                 N(d, "AA0218", "EL077", "AA0218", "       365", "<=        181")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0218", "400"}})), dny), V{});

    const std::vector<std::string_view> dovolena = {"EL010", "EL069"};
    EXPECT_EQ(radky(jeden(zmena({{"AA0135", "9999"}})), dovolena),
              (V{N(d, "AA0135", "EL010", "AA0135", "   9999.00", "    120.00"),
                 N(d, "AA0210", "EL069", "AA0135; AA0210; AA0219;", "   9999.00 ;   5 ;  20 ;", NIC)}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0135", "10000"}})), dovolena), V{});

    // A headcount of 1.5 is out of range; taken as it stands it would break the hours and the days.
    EXPECT_EQ(radky(jeden(zmena({{"AA0136", "1.5"}})), {"WL009", "WL060", "EL066", "WL072"}), V{});

    // Class 0 is out of range: no tariff check at all.
    EXPECT_EQ(radky(jeden(zmena({{"AA0127", "0"}, {"AA0138", "99999"}})), {"EL051", "WL011", "WL012"}), V{});
    EXPECT_EQ(radky(jeden(zmena({{"AA0127", "17"}, {"AA0138", "99999"}})), {"EL051", "WL011", "WL012"}), V{});

    // A summand too long for its field stops the salary total.
    EXPECT_EQ(radky(jeden(zmena({{"AA0162", "99999"}})), {"EL015"}),
              (V{R(d.konec(0), "EL015", Z, ID, "AA0144", "     64960", "    164959")}));
    EXPECT_EQ(radky(jeden(zmena({{"AA0162", "100000"}})), {"EL015"}), V{});
}

// A field missing from a record keeps the switch of its last occurrence in an earlier record.
TEST(PravidlaZamestnance, ChybejiciPoleMaPrepinacPredchozihoZaznamu) {
    const std::vector<std::string_view> fond = {"EL005", "WL060", "EL070", "WL072"};
    {
        Doklad d;
        d.zamestnavatel(zamestnavatel(2))
            .zamestnanec(zamestnanec("1001"))
            .zamestnanec(bez(zamestnanec("1002"), "AA0131"))
            .konec_zamestnavatele();
        // The value is 0; the line is that of the field in the first record.
        const std::string radek = d.r(0, "AA0131");
        EXPECT_EQ(radky(d, fond),
                  (V{R(radek, "WL060", Z, "1002", "AA0131", "        0.00", "       20.00 -        42.50 "),
                     R(radek, "EL070", Z, "1002", "AA0131", "      0.00", ">= 30"),
                     R(radek, "WL072", Z, "1002", "AA0131", "      0.00", ">= 37.5")}));
    }
    {
        Doklad d;
        d.zamestnavatel(zamestnavatel(2))
            .zamestnanec(s(zamestnanec("1001"), {{"AA0131", "81"}}))
            .zamestnanec(bez(zamestnanec("1002"), "AA0131"))
            .konec_zamestnavatele();
        EXPECT_EQ(radky(d, fond), V{});
    }
}

// The employee store, seen through the employer rules that read it.
TEST(SkladZamestnancu, PoziceKoduStatu) {
    auto el003 = [](std::string_view prvni, std::string_view druhy) {
        Doklad d;
        d.zamestnavatel(zamestnavatel(2))
            .zamestnanec(s(zamestnanec("7"), {{"AA0033", prvni}}))
            .zamestnanec(s(zamestnanec("7"), {{"AA0033", druhy}}))
            .konec_zamestnavatele();
        return std::pair{radky(d, {"EL003"}), d.r(0, "AA0126") + "," + d.r(1, "AA0126")};
    };
    // One state in two forms is two positions of the list.
    auto [cze, radky_cze] = el003("CZE", "203");
    EXPECT_EQ(cze, (V{R(radky_cze, "EL003", Z, "7", "AA0033", "CZE", "203")}));
    EXPECT_EQ(el003("SK", "SK").first, V{});
    // A code not in the list is one position (718) for all such codes, shown as read.
    auto [xx, radky_xx] = el003("CZ", "XX");
    EXPECT_EQ(xx, (V{R(radky_xx, "EL003", Z, "7", "AA0033", "CZ", "XX")}));
    EXPECT_EQ(el003("XX", "QQ").first, V{});
}

TEST(SkladZamestnancu, PriznakDruhuPracovnihoPomeru) {
    // 51 records of the main relationship (kind 1) make WL043; any other kind in one record stops it.
    auto wl043 = [](const Pole& posledni) {
        Doklad d;
        d.zamestnavatel(zamestnavatel(51));
        for (int i = 0; i < 50; ++i) d.zamestnanec(zamestnanec(std::to_string(1000 + i)));
        d.zamestnanec(posledni).konec_zamestnavatele();
        return radky(d, {"WL043"});
    };
    const V wl = {R(NIC, "WL043", Z, NIC, NIC, NIC, NIC)};
    EXPECT_EQ(wl043(zamestnanec("2000")), wl);
    EXPECT_EQ(wl043(s(zamestnanec("2000"), {{"AA0130", "7"}})), V{});
    EXPECT_EQ(wl043(s(zamestnanec("2000"), {{"AA0130", "3"}})), V{});
    // The field given twice: the record's value is the second, 1; the store saw the first. Kind 7
    // leaves the store's flag alone, kind 2 sets it.
    EXPECT_EQ(wl043(dvakrat(s(zamestnanec("2000"), {{"AA0130", "7"}}), "AA0130", "1")), wl);
    EXPECT_EQ(wl043(dvakrat(s(zamestnanec("2000"), {{"AA0130", "2"}}), "AA0130", "1")), V{});
}

TEST(SkladZamestnancu, ZaznamSNeprevoditelnymPlatem) {
    // The slot keeps the employer-start value 0 for a salary that is no number.
    auto jediny = [](const Pole& p) {
        Doklad d = jeden(p);
        return std::pair{radky(d, {"WL025", "WL026"}), d.r(0, "AA0126")};
    };
    auto [v, radek] = jediny(zmena({{"AA0144", "649x0"}}));
    EXPECT_EQ(v, (V{R(radek, "WL025", Z, ID, "AA0167", "      2923", "0"),
                    R(radek, "WL026", Z, ID, "AA0168", "      8120", "0")}));
}

TEST(SkladZamestnancu, KazdyZamestnavatelZacinaPrazdny) {
    // The second employer's records lack a salary, resp. the days in the register; nothing of the
    // first employer's records may stand in for them.
    auto dva = [](const Pole& druhy) {
        Doklad d;
        d.zamestnavatel()
            .zamestnanec(s(zamestnanec("1"), {{"AA0167", "7000"}}))
            .konec_zamestnavatele()
            .zamestnavatel(s(zamestnavatel(), {{"AA0017", "20000014"}}))
            .zamestnanec(druhy)
            .konec_zamestnavatele();
        return std::pair{radky(d, {"WL025", "WL026"}), d};
    };
    {
        auto [v, d] = dva(s(zamestnanec("1"), {{"AA0144", "649x0"}}));
        EXPECT_EQ(v, (V{R(d.r(0, "AA0126"), "WL025", Z, "1", "AA0167", "      7000", "<=     6496.00"),
                        R(d.r(1, "AA0126"), "WL025", "20000014", "1", "AA0167", "      2923", "0"),
                        R(d.r(1, "AA0126"), "WL026", "20000014", "1", "AA0168", "      8120", "0")}));
    }
    {
        auto [v, d] = dva(bez(s(zamestnanec("1"), {{"AA0167", "7000"}}), "AA0218"));
        EXPECT_EQ(v, (V{R(d.r(0, "AA0126"), "WL025", Z, "1", "AA0167", "      7000", "<=     6496.00")}));
    }
}

TEST(SkladZamestnancu, DlouheIdentifikatoryACislaRadku) {
    // Identifiers are kept whole: two eleven-character identifiers that share their first ten are
    // two persons. Line numbers beyond six digits are kept whole too.
    Doklad d(true);
    d.zamestnavatel(zamestnavatel(4), true);
    d.na_radek(1000000).zamestnanec(zamestnanec("12345678901"), true);
    d.zamestnanec(s(zamestnanec("12345678902"), {{"AA0231", "1971"}}), true);
    d.zamestnanec(s(zamestnanec("9"), {{"AA0167", "7000"}}), true);
    d.zamestnanec(s(zamestnanec("9"), {{"AA0231", "1971"}}), true);
    d.konec_zamestnavatele();
    EXPECT_EQ(radky(d, {"EL003", "WL025"}),
              (V{R("1000002,1000003", "EL003", Z, "9", "AA0231", "1970", "1971")}));
}

// Every record has its own slot, also beyond 15000 records in one employer: the last two records
// belong to one person and are compared with each other.
TEST(SkladZamestnancu, ViceNez15000Zaznamu) {
    constexpr int kPocet = 15001;
    std::string t = document_head();  // lines 1 to 10
    t += "<zamestnavatel>";
    for (const auto& [j, o] : zamestnavatel()) t += "<" + j + ">" + o + "</" + j + ">";
    t += "\r\n";  // line 11; the record i stands on line 12 + i
    Pole nec = s(zamestnanec(), {{"AA0132", "0"},
                                 {"AA0133", "0"},
                                 {"AA0134", "0"},
                                 {"AA0135", "0"},
                                 {"AA0136", "0"},
                                 {"AA0137", "2"},
                                 {"AA0210", "0"},
                                 {"AA0218", "0"},
                                 {"AA0219", "0"},
                                 {"AA0144", "0"},
                                 {"AA0145", "0"},
                                 {"AA0146", "0"},
                                 {"AA0150", "0"},
                                 {"AA0151", "0"},
                                 {"AA0158", "0"},
                                 {"AA0159", "0"},
                                 {"AA0165", "0"},
                                 {"AA0167", "0"},
                                 {"AA0168", "0"}});
    std::string zbytek;  // everything after the identifier and the birth year
    for (std::size_t i = 2; i < nec.size(); ++i)
        zbytek += "<" + nec[i].first + ">" + nec[i].second + "</" + nec[i].first + ">";
    zbytek += "</zamestnanec>\r\n";
    for (int i = 0; i < kPocet; ++i) {
        const bool posledni = i >= kPocet - 2;
        char id[8];
        std::snprintf(id, sizeof id, "%05d", posledni ? 99999 : i);
        t += "<zamestnanec><AA0126>";
        t += id;
        t += "</AA0126><AA0231>";
        t += i == kPocet - 1 ? "1971" : "1970";
        t += "</AA0231>";
        t += zbytek;
    }
    t += "</zamestnavatel>\r\n" + document_tail();

    RunResult b = run_belun({{"duv.xml", t}}, {"duv.xml", "duve.csv"});
    V el003;
    for (const std::string& radek : csv_rows(b.report)) {
        std::vector<std::string> p = pole_csv(radek);
        if (p.size() == 8 && p[1] == "EL003") el003.push_back(R(p[0], p[1], p[2], p[3], p[4], p[5], p[6]));
    }
    const std::string radky_osoby = std::to_string(12 + kPocet - 2) + "," + std::to_string(12 + kPocet - 1);
    EXPECT_EQ(el003, (V{R(radky_osoby, "EL003", Z, "99999", "AA0231", "1970", "1971")}));
}

}  // namespace
}  // namespace tavon::test

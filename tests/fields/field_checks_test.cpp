// The generic checks of every field against its row of the attribute table, run through
// whole validations of small documents (CSV report).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/documents.h"

namespace tavon {
namespace {

using namespace test;

const char* const kChybna = "Chybná hodnota nebo délka";
const char* const kES305 = "Chybne poradi prvku";
const std::string kES308 = ";ES308;;;   ;   ;   ;V souboru nebyl ani jeden zamestnavatel";

TEST(Kontroly, UnknownNameReportsContentLengthAndKeepsOrder) {
    EXPECT_EQ(radky(hlavicka("<AA0226>", "<foo>abcd</foo>\r\n<AA0226>") + test::document_tail()),
              (std::vector<std::string>{radek("4", "ES301", "", "", "foo", "abcd", "4", "Neznamý prvek"),
                                        "13" + kES308}));

    // Names of the other tables are unknown in an employer and in an employee.
    auto vse = radky(
        hlavicka() +
        nahrad(zamestnavatel(), "</AA0019>\r\n", "</AA0019>\r\n<AA0126>x</AA0126>\r\n<rok>2006</rok>\r\n") +
        test::document_tail());
    EXPECT_EQ(s_kodem(vse, "ES301"),
              (std::vector<std::string>{
                  radek("15", "ES301", "20000006", "   ", "AA0126", "x", "1", "Neznamý prvek"),
                  radek("16", "ES301", "20000006", "   ", "rok", "2006", "4", "Neznamý prvek")}));
    EXPECT_TRUE(s_kodem(vse, "ES305").empty());
    vse = radky(se_zamestnancem("<AA0017>12</AA0017>\r\n<rok>2006</rok>\r\n"));
    EXPECT_EQ(s_kodem(vse, "ES301"),
              (std::vector<std::string>{
                  radek("25", "ES301", "20000006", "A1", "AA0017", "12", "2", "Neznamý prvek"),
                  radek("26", "ES301", "20000006", "A1", "rok", "2006", "4", "Neznamý prvek")}));
}

TEST(Kontroly, OrderCounterIsNotRealigned) {
    EXPECT_EQ(
        radky(hlavicka("<AA0226>1-6</AA0226>\r\n", "") + test::document_tail()),
        (std::vector<std::string>{
            radek("4", "ES305", "", "", "ICOpredkladatele", "10000003", "AA0226", kES305),
            radek("5", "ES305", "", "", "predkladatel", "Nemocnice Dolni Lhota", "ICOpredkladatele", kES305),
            radek("6", "ES305", "", "", "autor", "Jana Novakova", "predkladatel", kES305),
            radek("7", "ES305", "", "", "mail", "novakova@nemocnice.cz", "autor", kES305),
            radek("8", "ES305", "", "", "telefon", "+420123456789", "mail", kES305),
            radek("9", "ES305", "", "", "vytvoreno", "2006-07-15T10:20:30", "telefon", kES305),
            radek("10", "ES303", "", "", "AA0226", "   ", "AA0226", "Prvkek nebyl uveden"),
            "11" + kES308,
        }));

    EXPECT_EQ(radky(hlavicka("<AA0226>", "<rok>2006</rok>\r\n<AA0226>") + test::document_tail()),
              (std::vector<std::string>{
                  radek("4", "ES305", "", "", "rok", "2006", "AA0226", kES305),
                  radek("5", "ES305", "", "", "AA0226", "1-6", "ICOpredkladatele", kES305),
                  radek("6", "ES305", "", "", "ICOpredkladatele", "10000003", "predkladatel", kES305),
                  radek("7", "ES305", "", "", "predkladatel", "Nemocnice Dolni Lhota", "autor", kES305),
                  radek("8", "ES305", "", "", "autor", "Jana Novakova", "mail", kES305),
                  radek("9", "ES305", "", "", "mail", "novakova@nemocnice.cz", "telefon", kES305),
                  radek("10", "ES305", "", "", "telefon", "+420123456789", "vytvoreno", kES305),
                  radek("11", "ES305", "", "", "vytvoreno", "2006-07-15T10:20:30", "KoNeCP", kES305),
                  radek("12", "ES304", "", "", "rok", "   ", "2", "Vícenásobný výskyt prvku      ."),
                  "13" + kES308,
              }));
}

TEST(Kontroly, FailedConversionStopsTheCheck) {
    // No check digit, no register lookup: only the conversion is reported.
    auto vse =
        radky(hlavicka() + zamestnavatel({{"AA0017", "2000000a"}, {"AA0114", "1.2.3"}, {"AA0116", "1.5"}}) +
              test::document_tail());
    EXPECT_EQ(s_kodem(vse, "ES017"), std::vector<std::string>{radek("12", "ES017", "2000000a", "   ",
                                                                    "AA0017", "2000000a", "", kChybna)});
    EXPECT_EQ(s_kodem(vse, "EL057"), std::vector<std::string>{radek("19", "EL057", "2000000a", "   ",
                                                                    "AA0114", "1.2.3", "", kChybna)});
    EXPECT_EQ(s_kodem(vse, "ES116"), std::vector<std::string>{radek("17", "ES116", "2000000a", "   ",
                                                                    "AA0116", "1.5", "", kChybna)});
    EXPECT_TRUE(s_kodem(vse, "EL031").empty());
    EXPECT_TRUE(s_kodem(vse, "WR204").empty());

    // The length of a value that is no number is not examined.
    vse = radky(se_zamestnancem("<AA0231>19a</AA0231>\r\n"));
    EXPECT_EQ(s_kodem(vse, "EL002"),
              std::vector<std::string>{radek("25", "EL002", "20000006", "A1", "AA0231", "19a", "1906-1992",
                                             "Věk zaměstnance není v intervalu 14 až 100 let")});
}

TEST(Kontroly, LengthOutsideBounds) {
    EXPECT_EQ(radky(hlavicka("1-6", "1-12") + test::document_tail()),
              (std::vector<std::string>{radek("4", "EL030", "", "", "AA0226", "1-12", cp1250("délka 3"),
                                              "Sledované období není  1-6"),
                                        "12" + kES308}));
    EXPECT_EQ(s_kodem(radky(hlavicka("Nemocnice Dolni Lhota", "") + test::document_tail()), "ESPRE"),
              std::vector<std::string>{
                  radek("6", "ESPRE", "", "", "predkladatel", "", cp1250("délka 1 - 50"), kChybna)});
    EXPECT_EQ(s_kodem(radky(se_zamestnancem("<AA0144>-10000000</AA0144>\r\n")), "ES144"),
              std::vector<std::string>{radek("25", "ES144", "20000006", "A1", "AA0144", "-10000000",
                                             cp1250("délka 1 - 8"), kChybna)});
    EXPECT_TRUE(s_kodem(radky(se_zamestnancem("<AA0144>-9999999</AA0144>\r\n")), "ES144").empty());

    // A value of the wrong length goes no further: no date check.
    const auto vse = radky(hlavicka() + zamestnavatel({{"AA0110", "2006023"}}) + test::document_tail());
    EXPECT_EQ(s_kodem(vse, "ES110"),
              std::vector<std::string>{
                  radek("16", "ES110", "20000006", "   ", "AA0110", "2006023", cp1250("délka 8"), kChybna)});
    EXPECT_TRUE(s_kodem(vse, "EL050").empty());
}

TEST(Kontroly, NumericRangesIncludeTheirBounds) {
    const struct {
        const char* pole;
        const char* hodnota;
        const char* kod;
        const char* cek;  // nullptr: accepted
    } zam[] = {
        {"AA0114", "0", "EL057", ""},
        {"AA0114", "0.0001", "EL057", nullptr},
        {"AA0114", "99999999999", "EL057", nullptr},
        {"AA0114", "100000000000", "EL057", "délka 1 - 11"},
        {"AA0116", "0", "ES116", nullptr},
        {"AA0116", "999999", "ES116", nullptr},
        {"AA0116", "-1", "ES116", ""},
        {"AA0017", "00000000", "ES017", ""},
    };
    for (const auto& p : zam) {
        const auto vyber =
            s_kodem(radky(hlavicka() + zamestnavatel({{p.pole, p.hodnota}}) + test::document_tail()), p.kod);
        if (!p.cek) {
            EXPECT_TRUE(vyber.empty()) << p.pole << " " << p.hodnota;
            continue;
        }
        ASSERT_EQ(vyber.size(), 1u) << p.pole << " " << p.hodnota;
        EXPECT_NE(vyber[0].find(std::string(";") + p.pole + ";" + p.hodnota + ";" + cp1250(p.cek) + ";"),
                  std::string::npos)
            << vyber[0];
    }

    const struct {
        const char* pole;
        const char* hodnota;
        const char* kod;
        const char* cek;
    } nec[] = {
        {"AA0131", "80", "ES131", nullptr},        {"AA0131", "81", "ES131", "0 - 42.5"},
        {"AA0131", "80.01", "ES131", "0 - 42.5"},  {"AA0131", "-0", "ES131", nullptr},
        {"AA0136", "1", "ES136", nullptr},         {"AA0136", "1.0001", "ES136", ""},
        {"AA0144", "-9999999", "ES144", nullptr},  {"AA0162", "-9999", "ES162", nullptr},
        {"AA0166", "999999999", "ES166", nullptr}, {"AA0166", "1000000000", "ES166", ""},
        {"AA0218", "365", "ES218", nullptr},       {"AA0218", "366", "ES218", ""},
    };
    for (const auto& p : nec) {
        const std::string jmeno = p.pole;
        const auto vyber =
            s_kodem(radky(se_zamestnancem("<" + jmeno + ">" + p.hodnota + "</" + jmeno + ">\r\n")), p.kod);
        if (!p.cek) {
            EXPECT_TRUE(vyber.empty()) << p.pole << " " << p.hodnota;
            continue;
        }
        EXPECT_EQ(vyber,
                  std::vector<std::string>{radek("25", p.kod, "20000006", "A1", p.pole, p.hodnota, p.cek,
                                                 std::string_view(p.kod) == "ES131"
                                                     ? "Chybná hodnota týdeního fondu pracovní doby"
                                                     : kChybna)});
    }
}

TEST(Kontroly, TextRangesCompareBytesUnsigned) {
    const struct {
        const char* co;
        std::string cim;
        const char* kod;
        std::string radek;  // empty: accepted
    } pripady[] = {
        {"2006-07-15T10:20:30", "2006-09-30T23:59:59", "ESVYT", ""},
        {"2006-07-15T10:20:30", "2006-06-01T00:00:00", "ESVYT", ""},
        {"2006-07-15T10:20:30", "2006-05-31T23:59:59", "ESVYT",
         radek("10", "ESVYT", "", "", "vytvoreno", "2006-05-31T23:59:59",
               cp1250("2006-06-01T00:00:00 až 2006-09-30T23:59"), kChybna)},
        {"2006-07-15T10:20:30", "2006-10-01T00:00:00", "ESVYT",
         radek("10", "ESVYT", "", "", "vytvoreno", "2006-10-01T00:00:00",
               cp1250("2006-06-01T00:00:00 až 2006-09-30T23:59"), kChybna)},
        {"<rok>2006", "<rok>2007", "ER209",
         radek("3", "ER209", "", "", "rok", "2007", "2006", "Povoleno 2006, délka  4")},
        {"Nemocnice", "\tNemocnice", "ESPRE",
         radek("6", "ESPRE", "", "", "predkladatel", "\tNemocnice Dolni Lhota", "", kChybna)},
        {"Nemocnice", "  Nemocnice", "ESPRE", ""},  // leading spaces never reach the check
        {"Nemocnice", "-Nemocnice", "ESPRE",
         radek("6", "ESPRE", "", "", "predkladatel", "-Nemocnice Dolni Lhota", "", kChybna)},
        {"Nemocnice Dolni Lhota", "0", "ESPRE", ""},
        {"Nemocnice Dolni Lhota",
         "\xDD"
         "dolni",
         "ESPRE", ""},
        {"Nemocnice Dolni Lhota",
         "\x8E"
         "idle",
         "ESPRE", ""},
        {"Nemocnice Dolni Lhota", std::string(10, '\xFD'), "ESPRE", ""},
        {"Nemocnice Dolni Lhota", std::string(11, '\xFD'), "ESPRE",
         radek("6", "ESPRE", "", "", "predkladatel", std::string(11, '\xFD'), "", kChybna)},
        {"Nemocnice Dolni Lhota", "\xFE", "ESPRE",
         radek("6", "ESPRE", "", "", "predkladatel", "\xFE", "", kChybna)},
        {"+420123456789", "+12345678", "WSTEL", ""},
        {"+420123456789", "(12)345678", "WSTEL",
         radek("9", "WSTEL", "", "", "telefon", "(12)345678", "nnnnnnnn",
               "Chybná hodnota nebo délka, minimální délka by měla být 9 znaků.")},
    };
    for (const auto& p : pripady) {
        const auto vyber = s_kodem(radky(hlavicka(p.co, p.cim) + test::document_tail()), p.kod);
        if (p.radek.empty())
            EXPECT_TRUE(vyber.empty()) << p.cim;
        else
            EXPECT_EQ(vyber, std::vector<std::string>{p.radek}) << p.cim;
    }

    auto vse = radky(hlavicka() + zamestnavatel({{"AA0179", "CZ0999"}}) + test::document_tail());
    EXPECT_TRUE(s_kodem(vse, "ES179").empty());
    vse = radky(hlavicka() + zamestnavatel({{"AA0179", "CZ1000"}}) + test::document_tail());
    EXPECT_EQ(s_kodem(vse, "ES179"), std::vector<std::string>{radek("15", "ES179", "20000006", "   ",
                                                                    "AA0179", "CZ1000", "CZ0nnn", kChybna)});

    vse = radky(se_zamestnancem("<AA0211>3</AA0211>\r\n<AA0223>a</AA0223>\r\n"));
    EXPECT_EQ(s_kodem(vse, "EL032"), std::vector<std::string>{radek("25", "EL032", "20000006", "A1", "AA0211",
                                                                    "3", "1,2", "Chybný kód pohlaví")});
    EXPECT_EQ(s_kodem(vse, "ES223"), std::vector<std::string>{radek("26", "ES223", "20000006", "A1", "AA0223",
                                                                    "a", "A - V", kChybna)});
}

TEST(Kontroly, EmptyFacilityCodeIsNotReported) {
    for (const char* pole : {"<AA0113></AA0113>", "<AA0113/>", "<AA0113 />", "<duv:AA0113></duv:AA0113>"}) {
        const auto doc = hlavicka() + zamestnavatel({{"AA0113", "x"}}) + test::document_tail();
        auto p = doc.find("<AA0113>x</AA0113>");
        const auto vse = radky(doc.substr(0, p) + pole + doc.substr(p + 18));
        for (const char* kod : {"ES113", "WL054", "ES303", "ES305"})
            EXPECT_TRUE(s_kodem(vse, kod).empty()) << pole << kod;
    }
}

TEST(Kontroly, RangeFailureStillRunsFieldRules) {
    const auto vse = radky(hlavicka() + zamestnavatel({{"AA0110", "20060231"}}) + test::document_tail());
    std::vector<std::string> vyber;
    for (const auto& r : vse)
        if (r.rfind("16;", 0) == 0) vyber.push_back(r);
    EXPECT_EQ(
        vyber,
        (std::vector<std::string>{
            radek("16", "ES110", "20000006", "   ", "AA0110", "20060231", "200606201-20060930", kChybna),
            radek("16", "EL050", "20000006", "   ", "AA0110", "20060231", "   ",
                  "Neplatné datum - den neodpovídá měsíci"),
        }));
}

}  // namespace
}  // namespace tavon

// Special checks of single fields and the code lists behind them, run through whole
// validations of small documents (CSV report).
#include "fields/special_checks.h"

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
using test::s_kodem;

std::string s_zamestnavatelem(const std::map<std::string, std::string>& zmeny) {
    return hlavicka() + zamestnavatel(zmeny) + test::document_tail();
}

// The rows of a document's report with one code.
std::vector<std::string> s_kodem(const std::string& doc, std::string_view kod) {
    return test::s_kodem(radky(doc), kod);
}

using Radky = std::vector<std::string>;

const char* const kEL031 = "Neplatné IČO.";
const char* const kEL050 = "Neplatné datum - den neodpovídá měsíci";
const char* const kChybna = "Chybná hodnota nebo délka";
const char* const kPocet =
    "Počet zaměstnanců rozpočtovaný neodpovídá vykázanému průměrnému stavu přepočtenému.";
const char* const kRozpocet =
    "Rozpočet plus mimorozpočtové zdroje neodpovídají proplacené částce. I v pololetí se vykazuje rozpočet "
    "za "
    "celý rok.";

TEST(Specialni, IcoCheckDigit) {
    EXPECT_EQ(ico_check("00000001"), 0);  // remainder 0: check digit 1
    EXPECT_EQ(ico_check("00000400"), 0);  // remainder 1: check digit 0
    EXPECT_EQ(ico_check("00000011"), 1);
    EXPECT_EQ(ico_check("10000003"), 0);
    EXPECT_EQ(ico_check("10000004"), 1);
    EXPECT_EQ(ico_check("25596641"), 0);
    EXPECT_EQ(ico_check("25596642"), 1);
    EXPECT_EQ(ico_check("1000000"), 2);
    EXPECT_EQ(ico_check("100000030"), 2);
    EXPECT_EQ(ico_check(""), 2);
    // A non-digit makes the number invalid even where the weighted sum would fit.
    EXPECT_EQ(ico_check("000000:2"), 1);
    EXPECT_EQ(ico_check(" 0000001"), 1);
}

TEST(Specialni, IcoOfSubmitterAndEmployer) {
    EXPECT_EQ(radky(hlavicka("10000003", "000000:2") + test::document_tail()),
              (Radky{radek("5", "EL031", "", "", "ICOpredkladatele", "000000:2", "   ", kEL031),
                     "12;ES308;;;   ;   ;   ;V souboru nebyl ani jeden zamestnavatel"}));
    // A rejected number is not looked up in the register.
    auto vse = radky(hlavicka("10000003", "00000011") + test::document_tail());
    EXPECT_EQ(s_kodem(vse, "EL031"),
              Radky{radek("5", "EL031", "", "", "ICOpredkladatele", "00000011", "   ", kEL031)});
    EXPECT_TRUE(s_kodem(vse, "ER212").empty());
    // A number of the wrong length stops at its length check.
    vse = radky(hlavicka("10000003", "1000003") + test::document_tail());
    EXPECT_EQ(s_kodem(vse, "ESICO"),
              Radky{radek("5", "ESICO", "", "", "ICOpredkladatele", "1000003", cp1250("délka 8"), kChybna)});
    EXPECT_TRUE(s_kodem(vse, "EL031").empty());

    vse = radky(s_zamestnavatelem({{"AA0017", "00000011"}}));
    EXPECT_EQ(s_kodem(vse, "EL031"),
              Radky{radek("12", "EL031", "00000011", "   ", "AA0017", "00000011", "   ", kEL031)});
    vse = radky(s_zamestnavatelem({{"AA0017", "2000006"}}));
    EXPECT_TRUE(s_kodem(vse, "EL031").empty());
    EXPECT_EQ(s_kodem(vse, "ES017"),
              Radky{radek("12", "ES017", "2000006", "   ", "AA0017", "2000006", cp1250("délka 8"), kChybna)});
}

TEST(Specialni, EmployerDateDayFitsMonth) {
    const struct {
        const char* datum;
        bool el050, es110;
    } pripady[] = {
        {"20060630", false, false}, {"20060631", true, false},  {"20060931", true, true},
        {"20060700", true, false},  {"20060731", false, false}, {"20060229", true, true},
        {"20060431", true, true},   {"20060430", false, true},  {"20060228", false, true},
    };
    for (const auto& p : pripady) {
        const auto vse = radky(s_zamestnavatelem({{"AA0110", p.datum}}));
        EXPECT_EQ(s_kodem(vse, "EL050"),
                  p.el050 ? Radky{radek("16", "EL050", "20000006", "   ", "AA0110", p.datum, "   ", kEL050)}
                          : Radky{})
            << p.datum;
        EXPECT_EQ(s_kodem(vse, "ES110").size(), p.es110 ? 1u : 0u) << p.datum;
    }
}

TEST(Specialni, CreationTimeStamp) {
    const std::string rozsah = cp1250("2006-06-01T00:00:00 až 2006-09-30T23:59");
    const struct {
        const char* hodnota;
        bool rozsahem, kontrolou;
    } pripady[] = {
        {"2006-07-15T10:20:30", false, false}, {"2006-09-30T23:59:59", false, false},
        {"2006-06-01T00:00:00", false, false}, {"2005-07-15T10:20:30", true, true},
        {"2007-07-15T10:20:30", true, false},  {"2006-07-00T10:20:30", false, true},
        {"2006-06-31T10:20:30", false, true},  {"2006-09-31T10:20:30", true, true},
        {"2006-02-29T10:20:30", true, true},   {"2006-07-15T24:00:00", false, true},
        {"2006-07-15T10:60:00", false, true},  {"2006-07-15T10:20:60", false, true},
        {"2006-07-1:T10:20:30", false, true},  {"2006-07-15T10:0::30", false, true},
        {"2006-07-15 10:20:30", false, true},  {"2006-07-15T10-20:30", false, true},
        {"2006-07-15T10:20-30", false, true},
    };
    for (const auto& p : pripady) {
        Radky ocekavane;
        if (p.rozsahem)
            ocekavane.push_back(radek("10", "ESVYT", "", "", "vytvoreno", p.hodnota, rozsah, kChybna));
        if (p.kontrolou)
            ocekavane.push_back(radek("10", "ESVYT", "", "", "vytvoreno", p.hodnota, "   ", kChybna));
        EXPECT_EQ(s_kodem(hlavicka("2006-07-15T10:20:30", p.hodnota) + test::document_tail(), "ESVYT"),
                  ocekavane)
            << p.hodnota;
    }
}

TEST(Specialni, EmailAddress) {
    const std::string popis = "Chybná hodnota,  délka, chybí @ nebo tecka, mezera v adrese";
    const struct {
        const char* adresa;
        bool chybna;
    } pripady[] = {
        {".ab@cd.cz", true},   {"@abcd.cz", true},  {"abcd@cz.", true},  {"ab.cd@cz", true},
        {"ab cd@ef.cz", true}, {"abcdef.cz", true}, {"abc@defcz", true}, {"abc.de@", true},
        {"a@b@c.cz", false},   {"ab@c.d.", false},  {"x.y@z.cz", false}, {"novakova@nemocnice.cz", false},
    };
    for (const auto& p : pripady) {
        Radky kontrolou;
        for (const auto& r :
             s_kodem(hlavicka("novakova@nemocnice.cz", p.adresa) + test::document_tail(), "ESEMA"))
            if (r.find(";   ;") != std::string::npos) kontrolou.push_back(r);
        EXPECT_EQ(kontrolou,
                  p.chybna ? Radky{radek("8", "ESEMA", "", "", "mail", p.adresa, "   ", popis)} : Radky{})
            << p.adresa;
    }
}

// A short employer record: enough fields for the duplicate check, five lines long.
std::string kratky(const std::string& ico, const std::string& kod = "") {
    return "<zamestnavatel>\r\n<AA0017>" + ico + "</AA0017>\r\n<AA0113>" + kod +
           "</AA0113>\r\n<AA0019>301</AA0019>\r\n</zamestnavatel>\r\n";
}

TEST(Specialni, DuplicateEmployers) {
    const std::string dup = "Data za zaměstnavatele lze předat jen jednou v jednom souboru.";
    // Employers start on lines 11, 16, 21, ...: AA0019 of the n-th (from 0) is on line 14 + 5n.
    const auto vse =
        radky(hlavicka() + kratky("20000006") + kratky("20000006", "K1") + kratky("20000006", "K2") +
              kratky("20000006", "K1") + kratky("20000006") + test::document_tail());
    EXPECT_EQ(s_kodem(vse, "EL074"),
              (Radky{
                  radek("29", "EL074", "20000006/K1", "   ", "AA0017/AA0113", "20000006/K1", "   ", dup),
                  radek("34", "EL074", "20000006", "   ", "AA0017 ", "20000006", "   ", dup),
              }));
    EXPECT_EQ(s_kodem(vse, "WL054").size(), 3u);
}

TEST(Specialni, EmployerTableFullAfterHundred) {
    std::string doc = hlavicka();
    auto ico = [](int i) { return std::to_string(30000000 + i); };
    for (int i = 0; i < 102; ++i) doc += kratky(ico(i));
    doc += kratky(ico(4)) + kratky(ico(100)) + test::document_tail();
    const auto vse = radky(doc);
    EXPECT_EQ(
        s_kodem(vse, "WL901"),
        Radky{radek(std::to_string(14 + 5 * 100), "WL901", ico(100), "   ", "zamestnavatel", ico(100), "   ",
                    "Plna tabulka zamestnavatelu, další nebudou kontrolovani na duplicitni vyskyt")});
    // The 5th is still known; the 101st was never stored.
    EXPECT_EQ(s_kodem(vse, "EL074"),
              Radky{radek(std::to_string(14 + 5 * 102), "EL074", ico(4), "   ", "AA0017 ", ico(4), "   ",
                          "Data za zaměstnavatele lze předat jen jednou v jednom souboru.")});
}

TEST(Specialni, BudgetedEmployeesAgainstAverage) {
    // AA0116 on line 17, AA0115 on line 20.
    const struct {
        const char *a0114, *a0115, *a0116;
        Radky ocekavane;
    } pripady[] = {
        {"10",
         "10",
         "200",
         {radek("20", "EL064", "20000006", "   ", "AA0116", "         200", "           0 -          110",
                kPocet)}},
        {"100",
         "100",
         "130",
         {radek("17", "WL063", "20000006", "   ", "AA0116", "         130", "          80 -          120",
                kPocet)}},
        {"10",
         "150",
         "200",
         {radek("17", "WL063", "20000006", "   ", "AA0116", "         200", "           0 -           20",
                kPocet)}},
        {"1000",
         "1000",
         "10",
         {radek("20", "EL064", "20000006", "   ", "AA0116", "          10", "         110 -         9000",
                kPocet)}},
        {"100", "100", "120", {}},
        {"10", "10", "20", {}},
    };
    for (const auto& p : pripady) {
        const auto vse =
            radky(s_zamestnavatelem({{"AA0114", p.a0114}, {"AA0115", p.a0115}, {"AA0116", p.a0116}}));
        auto vyber = s_kodem(vse, "EL064");
        for (const auto& r : s_kodem(vse, "WL063")) vyber.push_back(r);
        EXPECT_EQ(vyber, p.ocekavane) << p.a0114 << " " << p.a0115 << " " << p.a0116;
    }
}

TEST(Specialni, BudgetAgainstPaidAmounts) {
    // AA0123 on line 18; D = AA0118 - AA0119; the lower bound is shown plus 0.49.
    const struct {
        const char *a0123, *a0118, *a0119;
        Radky ocekavane;
    } pripady[] = {
        {"100",
         "1001",
         "0",
         {radek("18", "EL062", "20000006", "   ", "AA0123", "         100", "         221 -        18018",
                kRozpocet)}},
        {"20000",
         "2001",
         "1000",
         {radek("18", "EL062", "20000006", "   ", "AA0123", "       20000", "         221 -        18018",
                kRozpocet)}},
        {"1000",
         "1001",
         "0",
         {radek("18", "WL061", "20000006", "   ", "AA0123", "        1000", "        1602 -         2402",
                kRozpocet)}},
        {"2403",
         "1001",
         "0",
         {radek("18", "WL061", "20000006", "   ", "AA0123", "        2403", "        1602 -         2402",
                kRozpocet)}},
        {"2000", "1001", "0", {}},
        {"1602", "1001", "0", {}},
    };
    for (const auto& p : pripady) {
        const auto vse =
            radky(s_zamestnavatelem({{"AA0123", p.a0123}, {"AA0118", p.a0118}, {"AA0119", p.a0119}}));
        auto vyber = s_kodem(vse, "EL062");
        for (const auto& r : s_kodem(vse, "WL061")) vyber.push_back(r);
        EXPECT_EQ(vyber, p.ocekavane) << p.a0123 << " " << p.a0118 << " " << p.a0119;
    }
}

TEST(Specialni, Registers) {
    const std::string nenalezen =
        "IČO předkladatele nebylo nalezeno v seznamu předkladatelů pro vyhlášenou kampaň.";
    const std::string jiny =
        "IIdentifikační číslo předkladatele by se mělo shodovat s identifikačním číslem liniově "
        "nadřízené organizace v  Registru organizací.";
    const std::string neni = "Identifikační číslo zaměstnavatele by mělo být vedeno v Registru organizací.";

    EXPECT_EQ(s_kodem(hlavicka("10000003", "00000001") + test::document_tail(), "ER212"),
              Radky{radek("5", "ER212", "", "", "ICOpredkladatele", "00000001", "   ", nenalezen)});
    EXPECT_TRUE(s_kodem(hlavicka("10000003", "10000011") + test::document_tail(), "ER212").empty());

    const struct {
        const char* predkladatel;
        const char* rok;
        const char* ico;
        Radky ocekavane;
    } pripady[] = {
        {"10000003", "2006", "20000006", {}},
        {"10000003",
         "2006",
         "20000022",
         {radek("12", "WR202", "20000022", "   ", "ICOpredkladatele", "10000003", "10000011", jiny)}},
        {"10000003",
         "2006",
         "30000009",
         {radek("12", "WR202", "30000009", "   ", "ICOpredkladatele", "10000003", "40000001", jiny)}},
        {"10000003",
         "2006",
         "00000019",
         {radek("12", "WR204", "00000019", "   ", "AA0017", "00000019", "   ", neni)}},
        {"10000003",
         "2006",
         "00000011",
         {radek("12", "WR204", "00000011", "   ", "AA0017", "00000011", "   ", neni)}},
        // The submitter's number is kept even when its check digit is wrong.
        {"10000012",
         "2006",
         "20000006",
         {radek("12", "WR202", "20000006", "   ", "ICOpredkladatele", "10000012", "10000003", jiny)}},
        // A rejected year turns the provider register off.
        {"10000003", "2007", "00000019", {}},
        {"10000003", "2007", "20000022", {}},
    };
    for (const auto& p : pripady) {
        auto hlava = nahrad(hlavicka("10000003", p.predkladatel), "<rok>2006", std::string("<rok>") + p.rok);
        const auto vse = radky(hlava + zamestnavatel({{"AA0017", p.ico}}) + test::document_tail());
        auto vyber = s_kodem(vse, "WR202");
        for (const auto& r : s_kodem(vse, "WR204")) vyber.push_back(r);
        EXPECT_EQ(vyber, p.ocekavane) << p.predkladatel << " " << p.rok << " " << p.ico;
        EXPECT_TRUE(s_kodem(vse, "ER212").empty());
    }
}

TEST(Specialni, StateAndOccupationCodes) {
    const std::string stat = "Jiný stát než Česká, nebo Slovenská republika";
    // AA0033 on line 28, AA0013 on line 29.
    auto zamestnanec = [](const std::string& stat_kod, const std::string& zam_kod) {
        return se_zamestnancem(
            "<AA0231>1970</AA0231>\r\n<AA0211>1</AA0211>\r\n<AA0223>K</AA0223>\r\n<AA0033>" + stat_kod +
            "</AA0033>\r\n<AA0013>" + zam_kod + "</AA0013>\r\n");
    };
    const struct {
        const char *stat, *zam;
        Radky ocekavane;
    } pripady[] = {
        {"CZ", "01011", {}},
        {"703", "01011", {}},
        {"CZE", "93399", {}},
        {"DE", "01011", {radek("28", "WL033", "20000006", "A1", "AA0033", "DE", "CZ, SK", stat)}},
        {"XX", "01011", {radek("28", "EL047", "20000006", "A1", "AA0033", "XX", "   ", "Neznámý kód státu")}},
        {"SK",
         "01010",
         {radek("29", "WL039", "20000006", "A1", "AA0013", "01010", "   ",
                "Používejte pětimístný kód zaměstnání, nekončící 0.")}},
        {"SK",
         "01018",
         {radek("29", "EL046", "20000006", "A1", "AA0013", "01018", "   ", "Neznámý kód zaměstnání")}},
    };
    for (const auto& p : pripady) {
        const auto vse = radky(zamestnanec(p.stat, p.zam));
        Radky vyber;
        for (const char* kod : {"WL033", "EL047", "WL039", "EL046"})
            for (const auto& r : s_kodem(vse, kod)) vyber.push_back(r);
        EXPECT_EQ(vyber, p.ocekavane) << p.stat << " " << p.zam;
    }
}

TEST(Specialni, NutsDistricts) {
    const std::string nuts = "Neznámý kód NUTS";
    EXPECT_TRUE(s_kodem(s_zamestnavatelem({{"AA0179", "CZ010A"}}), "EL056").empty());
    EXPECT_TRUE(s_kodem(s_zamestnavatelem({{"AA0179", "CZ0806"}}), "EL056").empty());
    EXPECT_EQ(s_kodem(s_zamestnavatelem({{"AA0179", "CZ0100"}}), "EL056"),
              Radky{radek("15", "EL056", "20000006", "   ", "AA0179", "CZ0100", "   ", nuts)});
    EXPECT_EQ(s_kodem(s_zamestnavatelem({{"AA0179", "CZ010G"}}), "EL056"),
              Radky{radek("15", "EL056", "20000006", "   ", "AA0179", "CZ010G", "   ", nuts)});
    EXPECT_EQ(s_kodem(se_zamestnancem("<AA0690>CZ0100</AA0690>\r\n"), "EL056"),
              Radky{radek("25", "EL056", "20000006", "A1", "AA0690", "CZ0100", "   ", nuts)});
    EXPECT_TRUE(s_kodem(se_zamestnancem("<AA0690>CZ0101</AA0690>\r\n"), "EL056").empty());
}

}  // namespace
}  // namespace tavon

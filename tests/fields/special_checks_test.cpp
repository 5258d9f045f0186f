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

std::string document_with_employer(const std::map<std::string, std::string>& changes) {
    return document_head() + employer_element(changes) + test::document_tail();
}

// The rows of a document's report with one code.
std::vector<std::string> report_rows_with_code(const std::string& document, std::string_view code) {
    return rows_with_code(report_rows(document), code);
}

using Rows = std::vector<std::string>;

const char* const kEL031 = "Neplatné IČO.";
const char* const kEL050 = "Neplatné datum - den neodpovídá měsíci";
const char* const kBadValueOrLength = "Chybná hodnota nebo délka";
const char* const kHeadcountMismatch =
    "Počet zaměstnanců rozpočtovaný neodpovídá vykázanému průměrnému stavu přepočtenému.";
const char* const kBudgetMismatch =
    "Rozpočet plus mimorozpočtové zdroje neodpovídají proplacené částce. I v pololetí se vykazuje rozpočet "
    "za "
    "celý rok.";

TEST(SpecialChecks, IcoCheckDigit) {
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

TEST(SpecialChecks, IcoOfSubmitterAndEmployer) {
    EXPECT_EQ(report_rows(document_head_with("10000003", "000000:2") + test::document_tail()),
              (Rows{csv_row("5", "EL031", "", "", "ICOpredkladatele", "000000:2", "   ", kEL031),
                    "12;ES308;;;   ;   ;   ;V souboru nebyl ani jeden zamestnavatel"}));
    // A rejected number is not looked up in the register.
    auto rows = report_rows(document_head_with("10000003", "00000011") + test::document_tail());
    EXPECT_EQ(rows_with_code(rows, "EL031"),
              Rows{csv_row("5", "EL031", "", "", "ICOpredkladatele", "00000011", "   ", kEL031)});
    EXPECT_TRUE(rows_with_code(rows, "ER212").empty());
    // A number of the wrong length stops at its length check.
    rows = report_rows(document_head_with("10000003", "1000003") + test::document_tail());
    EXPECT_EQ(rows_with_code(rows, "ESICO"), Rows{csv_row("5", "ESICO", "", "", "ICOpredkladatele", "1000003",
                                                          cp1250("délka 8"), kBadValueOrLength)});
    EXPECT_TRUE(rows_with_code(rows, "EL031").empty());

    rows = report_rows(document_with_employer({{"AA0017", "00000011"}}));
    EXPECT_EQ(rows_with_code(rows, "EL031"),
              Rows{csv_row("12", "EL031", "00000011", "   ", "AA0017", "00000011", "   ", kEL031)});
    rows = report_rows(document_with_employer({{"AA0017", "2000006"}}));
    EXPECT_TRUE(rows_with_code(rows, "EL031").empty());
    EXPECT_EQ(rows_with_code(rows, "ES017"), Rows{csv_row("12", "ES017", "2000006", "   ", "AA0017",
                                                          "2000006", cp1250("délka 8"), kBadValueOrLength)});
}

TEST(SpecialChecks, EmployerDateDayFitsMonth) {
    const struct {
        const char* date;
        bool el050, es110;
    } cases[] = {
        {"20060630", false, false}, {"20060631", true, false},  {"20060931", true, true},
        {"20060700", true, false},  {"20060731", false, false}, {"20060229", true, true},
        {"20060431", true, true},   {"20060430", false, true},  {"20060228", false, true},
    };
    for (const auto& c : cases) {
        const auto rows = report_rows(document_with_employer({{"AA0110", c.date}}));
        EXPECT_EQ(rows_with_code(rows, "EL050"),
                  c.el050 ? Rows{csv_row("16", "EL050", "20000006", "   ", "AA0110", c.date, "   ", kEL050)}
                          : Rows{})
            << c.date;
        EXPECT_EQ(rows_with_code(rows, "ES110").size(), c.es110 ? 1u : 0u) << c.date;
    }
}

TEST(SpecialChecks, CreationTimeStamp) {
    const std::string range = cp1250("2006-06-01T00:00:00 až 2006-09-30T23:59");
    const struct {
        const char* value;
        bool by_range, by_check;
    } cases[] = {
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
    for (const auto& c : cases) {
        Rows expected;
        if (c.by_range)
            expected.push_back(
                csv_row("10", "ESVYT", "", "", "vytvoreno", c.value, range, kBadValueOrLength));
        if (c.by_check)
            expected.push_back(
                csv_row("10", "ESVYT", "", "", "vytvoreno", c.value, "   ", kBadValueOrLength));
        EXPECT_EQ(report_rows_with_code(
                      document_head_with("2006-07-15T10:20:30", c.value) + test::document_tail(), "ESVYT"),
                  expected)
            << c.value;
    }
}

TEST(SpecialChecks, EmailAddress) {
    const std::string description = "Chybná hodnota,  délka, chybí @ nebo tecka, mezera v adrese";
    const struct {
        const char* address;
        bool bad;
    } cases[] = {
        {".ab@cd.cz", true},   {"@abcd.cz", true},  {"abcd@cz.", true},  {"ab.cd@cz", true},
        {"ab cd@ef.cz", true}, {"abcdef.cz", true}, {"abc@defcz", true}, {"abc.de@", true},
        {"a@b@c.cz", false},   {"ab@c.d.", false},  {"x.y@z.cz", false}, {"novakova@nemocnice.cz", false},
    };
    for (const auto& c : cases) {
        Rows by_check;
        for (const auto& row : report_rows_with_code(
                 document_head_with("novakova@nemocnice.cz", c.address) + test::document_tail(), "ESEMA"))
            if (row.find(";   ;") != std::string::npos) by_check.push_back(row);
        EXPECT_EQ(by_check,
                  c.bad ? Rows{csv_row("8", "ESEMA", "", "", "mail", c.address, "   ", description)} : Rows{})
            << c.address;
    }
}

// A short employer record: enough fields for the duplicate check, five lines long.
std::string short_employer(const std::string& ico, const std::string& facility_code = "") {
    return "<zamestnavatel>\r\n<AA0017>" + ico + "</AA0017>\r\n<AA0113>" + facility_code +
           "</AA0113>\r\n<AA0019>301</AA0019>\r\n</zamestnavatel>\r\n";
}

TEST(SpecialChecks, DuplicateEmployers) {
    const std::string duplicate = "Data za zaměstnavatele lze předat jen jednou v jednom souboru.";
    // Employers start on lines 11, 16, 21, ...: AA0019 of the n-th (from 0) is on line 14 + 5n.
    const auto rows =
        report_rows(document_head() + short_employer("20000006") + short_employer("20000006", "K1") +
                    short_employer("20000006", "K2") + short_employer("20000006", "K1") +
                    short_employer("20000006") + test::document_tail());
    EXPECT_EQ(
        rows_with_code(rows, "EL074"),
        (Rows{
            csv_row("29", "EL074", "20000006/K1", "   ", "AA0017/AA0113", "20000006/K1", "   ", duplicate),
            csv_row("34", "EL074", "20000006", "   ", "AA0017 ", "20000006", "   ", duplicate),
        }));
    EXPECT_EQ(rows_with_code(rows, "WL054").size(), 3u);
}

TEST(SpecialChecks, EmployerTableFullAfterHundred) {
    std::string doc = document_head();
    auto ico = [](int i) { return std::to_string(30000000 + i); };
    for (int i = 0; i < 102; ++i) doc += short_employer(ico(i));
    doc += short_employer(ico(4)) + short_employer(ico(100)) + test::document_tail();
    const auto rows = report_rows(doc);
    EXPECT_EQ(
        rows_with_code(rows, "WL901"),
        Rows{csv_row(std::to_string(14 + 5 * 100), "WL901", ico(100), "   ", "zamestnavatel", ico(100), "   ",
                     "Plna tabulka zamestnavatelu, další nebudou kontrolovani na duplicitni vyskyt")});
    // The 5th is still known; the 101st was never stored.
    EXPECT_EQ(rows_with_code(rows, "EL074"),
              Rows{csv_row(std::to_string(14 + 5 * 102), "EL074", ico(4), "   ", "AA0017 ", ico(4), "   ",
                           "Data za zaměstnavatele lze předat jen jednou v jednom souboru.")});
}

TEST(SpecialChecks, BudgetedEmployeesAgainstAverage) {
    // AA0116 on line 17, AA0115 on line 20.
    const struct {
        const char *a0114, *a0115, *a0116;
        Rows expected;
    } cases[] = {
        {"10",
         "10",
         "200",
         {csv_row("20", "EL064", "20000006", "   ", "AA0116", "         200", "           0 -          110",
                  kHeadcountMismatch)}},
        {"100",
         "100",
         "130",
         {csv_row("17", "WL063", "20000006", "   ", "AA0116", "         130", "          80 -          120",
                  kHeadcountMismatch)}},
        {"10",
         "150",
         "200",
         {csv_row("17", "WL063", "20000006", "   ", "AA0116", "         200", "           0 -           20",
                  kHeadcountMismatch)}},
        {"1000",
         "1000",
         "10",
         {csv_row("20", "EL064", "20000006", "   ", "AA0116", "          10", "         110 -         9000",
                  kHeadcountMismatch)}},
        {"100", "100", "120", {}},
        {"10", "10", "20", {}},
    };
    for (const auto& c : cases) {
        const auto rows = report_rows(
            document_with_employer({{"AA0114", c.a0114}, {"AA0115", c.a0115}, {"AA0116", c.a0116}}));
        auto selected = rows_with_code(rows, "EL064");
        for (const auto& row : rows_with_code(rows, "WL063")) selected.push_back(row);
        EXPECT_EQ(selected, c.expected) << c.a0114 << " " << c.a0115 << " " << c.a0116;
    }
}

TEST(SpecialChecks, BudgetAgainstPaidAmounts) {
    // AA0123 on line 18; D = AA0118 - AA0119; the lower bound is shown plus 0.49.
    const struct {
        const char *a0123, *a0118, *a0119;
        Rows expected;
    } cases[] = {
        {"100",
         "1001",
         "0",
         {csv_row("18", "EL062", "20000006", "   ", "AA0123", "         100", "         221 -        18018",
                  kBudgetMismatch)}},
        {"20000",
         "2001",
         "1000",
         {csv_row("18", "EL062", "20000006", "   ", "AA0123", "       20000", "         221 -        18018",
                  kBudgetMismatch)}},
        {"1000",
         "1001",
         "0",
         {csv_row("18", "WL061", "20000006", "   ", "AA0123", "        1000", "        1602 -         2402",
                  kBudgetMismatch)}},
        {"2403",
         "1001",
         "0",
         {csv_row("18", "WL061", "20000006", "   ", "AA0123", "        2403", "        1602 -         2402",
                  kBudgetMismatch)}},
        {"2000", "1001", "0", {}},
        {"1602", "1001", "0", {}},
    };
    for (const auto& c : cases) {
        const auto rows = report_rows(
            document_with_employer({{"AA0123", c.a0123}, {"AA0118", c.a0118}, {"AA0119", c.a0119}}));
        auto selected = rows_with_code(rows, "EL062");
        for (const auto& row : rows_with_code(rows, "WL061")) selected.push_back(row);
        EXPECT_EQ(selected, c.expected) << c.a0123 << " " << c.a0118 << " " << c.a0119;
    }
}

TEST(SpecialChecks, Registers) {
    const std::string not_found =
        "IČO předkladatele nebylo nalezeno v seznamu předkladatelů pro vyhlášenou kampaň.";
    const std::string other_submitter =
        "IIdentifikační číslo předkladatele by se mělo shodovat s identifikačním číslem liniově "
        "nadřízené organizace v  Registru organizací.";
    const std::string not_registered =
        "Identifikační číslo zaměstnavatele by mělo být vedeno v Registru organizací.";

    EXPECT_EQ(
        report_rows_with_code(document_head_with("10000003", "00000001") + test::document_tail(), "ER212"),
        Rows{csv_row("5", "ER212", "", "", "ICOpredkladatele", "00000001", "   ", not_found)});
    EXPECT_TRUE(
        report_rows_with_code(document_head_with("10000003", "10000011") + test::document_tail(), "ER212")
            .empty());

    const struct {
        const char* submitter;
        const char* year;
        const char* ico;
        Rows expected;
    } cases[] = {
        {"10000003", "2006", "20000006", {}},
        {"10000003",
         "2006",
         "20000022",
         {csv_row("12", "WR202", "20000022", "   ", "ICOpredkladatele", "10000003", "10000011",
                  other_submitter)}},
        {"10000003",
         "2006",
         "30000009",
         {csv_row("12", "WR202", "30000009", "   ", "ICOpredkladatele", "10000003", "40000001",
                  other_submitter)}},
        {"10000003",
         "2006",
         "00000019",
         {csv_row("12", "WR204", "00000019", "   ", "AA0017", "00000019", "   ", not_registered)}},
        {"10000003",
         "2006",
         "00000011",
         {csv_row("12", "WR204", "00000011", "   ", "AA0017", "00000011", "   ", not_registered)}},
        // The submitter's number is kept even when its check digit is wrong.
        {"10000012",
         "2006",
         "20000006",
         {csv_row("12", "WR202", "20000006", "   ", "ICOpredkladatele", "10000012", "10000003",
                  other_submitter)}},
        // A rejected year turns the provider register off.
        {"10000003", "2007", "00000019", {}},
        {"10000003", "2007", "20000022", {}},
    };
    for (const auto& c : cases) {
        auto head = replace_first(document_head_with("10000003", c.submitter), "<rok>2006",
                                  std::string("<rok>") + c.year);
        const auto rows = report_rows(head + employer_element({{"AA0017", c.ico}}) + test::document_tail());
        auto selected = rows_with_code(rows, "WR202");
        for (const auto& row : rows_with_code(rows, "WR204")) selected.push_back(row);
        EXPECT_EQ(selected, c.expected) << c.submitter << " " << c.year << " " << c.ico;
        EXPECT_TRUE(rows_with_code(rows, "ER212").empty());
    }
}

TEST(SpecialChecks, StateAndOccupationCodes) {
    const std::string foreign_state = "Jiný stát než Česká, nebo Slovenská republika";
    // AA0033 on line 28, AA0013 on line 29.
    auto employee_document = [](const std::string& state_code, const std::string& occupation_code) {
        return document_with_employee(
            "<AA0231>1970</AA0231>\r\n<AA0211>1</AA0211>\r\n<AA0223>K</AA0223>\r\n<AA0033>" + state_code +
            "</AA0033>\r\n<AA0013>" + occupation_code + "</AA0013>\r\n");
    };
    const struct {
        const char *state, *occupation;
        Rows expected;
    } cases[] = {
        {"CZ", "01011", {}},
        {"703", "01011", {}},
        {"CZE", "93399", {}},
        {"DE", "01011", {csv_row("28", "WL033", "20000006", "A1", "AA0033", "DE", "CZ, SK", foreign_state)}},
        {"XX",
         "01011",
         {csv_row("28", "EL047", "20000006", "A1", "AA0033", "XX", "   ", "Neznámý kód státu")}},
        {"SK",
         "01010",
         {csv_row("29", "WL039", "20000006", "A1", "AA0013", "01010", "   ",
                  "Používejte pětimístný kód zaměstnání, nekončící 0.")}},
        {"SK",
         "01018",
         {csv_row("29", "EL046", "20000006", "A1", "AA0013", "01018", "   ", "Neznámý kód zaměstnání")}},
    };
    for (const auto& c : cases) {
        const auto rows = report_rows(employee_document(c.state, c.occupation));
        Rows selected;
        for (const char* code : {"WL033", "EL047", "WL039", "EL046"})
            for (const auto& row : rows_with_code(rows, code)) selected.push_back(row);
        EXPECT_EQ(selected, c.expected) << c.state << " " << c.occupation;
    }
}

TEST(SpecialChecks, NutsDistricts) {
    const std::string unknown_nuts = "Neznámý kód NUTS";
    EXPECT_TRUE(report_rows_with_code(document_with_employer({{"AA0179", "CZ010A"}}), "EL056").empty());
    EXPECT_TRUE(report_rows_with_code(document_with_employer({{"AA0179", "CZ0806"}}), "EL056").empty());
    EXPECT_EQ(report_rows_with_code(document_with_employer({{"AA0179", "CZ0100"}}), "EL056"),
              Rows{csv_row("15", "EL056", "20000006", "   ", "AA0179", "CZ0100", "   ", unknown_nuts)});
    EXPECT_EQ(report_rows_with_code(document_with_employer({{"AA0179", "CZ010G"}}), "EL056"),
              Rows{csv_row("15", "EL056", "20000006", "   ", "AA0179", "CZ010G", "   ", unknown_nuts)});
    EXPECT_EQ(report_rows_with_code(document_with_employee("<AA0690>CZ0100</AA0690>\r\n"), "EL056"),
              Rows{csv_row("25", "EL056", "20000006", "A1", "AA0690", "CZ0100", "   ", unknown_nuts)});
    EXPECT_TRUE(
        report_rows_with_code(document_with_employee("<AA0690>CZ0101</AA0690>\r\n"), "EL056").empty());
}

}  // namespace
}  // namespace tavon

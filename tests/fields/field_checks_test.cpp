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

const char* const kBadValueOrLength = "Chybná hodnota nebo délka";
const char* const kES305 = "Chybne poradi prvku";
const std::string kES308 = ";ES308;;;   ;   ;   ;V souboru nebyl ani jeden zamestnavatel";

TEST(FieldChecks, UnknownNameReportsContentLengthAndKeepsOrder) {
    EXPECT_EQ(
        report_rows(document_head_with("<AA0226>", "<foo>abcd</foo>\r\n<AA0226>") + test::document_tail()),
        (std::vector<std::string>{csv_row("4", "ES301", "", "", "foo", "abcd", "4", "Neznamý prvek"),
                                  "13" + kES308}));

    // Names of the other tables are unknown in an employer and in an employee.
    auto rows = report_rows(document_head() +
                            replace_first(employer_element(), "</AA0019>\r\n",
                                          "</AA0019>\r\n<AA0126>x</AA0126>\r\n<rok>2006</rok>\r\n") +
                            test::document_tail());
    EXPECT_EQ(rows_with_code(rows, "ES301"),
              (std::vector<std::string>{
                  csv_row("15", "ES301", "20000006", "   ", "AA0126", "x", "1", "Neznamý prvek"),
                  csv_row("16", "ES301", "20000006", "   ", "rok", "2006", "4", "Neznamý prvek")}));
    EXPECT_TRUE(rows_with_code(rows, "ES305").empty());
    rows = report_rows(document_with_employee("<AA0017>12</AA0017>\r\n<rok>2006</rok>\r\n"));
    EXPECT_EQ(rows_with_code(rows, "ES301"),
              (std::vector<std::string>{
                  csv_row("25", "ES301", "20000006", "A1", "AA0017", "12", "2", "Neznamý prvek"),
                  csv_row("26", "ES301", "20000006", "A1", "rok", "2006", "4", "Neznamý prvek")}));
}

TEST(FieldChecks, OrderCounterIsNotRealigned) {
    EXPECT_EQ(report_rows(document_head_with("<AA0226>1-6</AA0226>\r\n", "") + test::document_tail()),
              (std::vector<std::string>{
                  csv_row("4", "ES305", "", "", "ICOpredkladatele", "10000003", "AA0226", kES305),
                  csv_row("5", "ES305", "", "", "predkladatel", "Nemocnice Dolni Lhota", "ICOpredkladatele",
                          kES305),
                  csv_row("6", "ES305", "", "", "autor", "Jana Novakova", "predkladatel", kES305),
                  csv_row("7", "ES305", "", "", "mail", "novakova@nemocnice.cz", "autor", kES305),
                  csv_row("8", "ES305", "", "", "telefon", "+420123456789", "mail", kES305),
                  csv_row("9", "ES305", "", "", "vytvoreno", "2006-07-15T10:20:30", "telefon", kES305),
                  csv_row("10", "ES303", "", "", "AA0226", "   ", "AA0226", "Prvkek nebyl uveden"),
                  "11" + kES308,
              }));

    EXPECT_EQ(
        report_rows(document_head_with("<AA0226>", "<rok>2006</rok>\r\n<AA0226>") + test::document_tail()),
        (std::vector<std::string>{
            csv_row("4", "ES305", "", "", "rok", "2006", "AA0226", kES305),
            csv_row("5", "ES305", "", "", "AA0226", "1-6", "ICOpredkladatele", kES305),
            csv_row("6", "ES305", "", "", "ICOpredkladatele", "10000003", "predkladatel", kES305),
            csv_row("7", "ES305", "", "", "predkladatel", "Nemocnice Dolni Lhota", "autor", kES305),
            csv_row("8", "ES305", "", "", "autor", "Jana Novakova", "mail", kES305),
            csv_row("9", "ES305", "", "", "mail", "novakova@nemocnice.cz", "telefon", kES305),
            csv_row("10", "ES305", "", "", "telefon", "+420123456789", "vytvoreno", kES305),
            csv_row("11", "ES305", "", "", "vytvoreno", "2006-07-15T10:20:30", "KoNeCP", kES305),
            csv_row("12", "ES304", "", "", "rok", "   ", "2", "Vícenásobný výskyt prvku      ."),
            "13" + kES308,
        }));
}

TEST(FieldChecks, FailedConversionStopsTheCheck) {
    // No check digit, no register lookup: only the conversion is reported.
    auto rows = report_rows(
        document_head() + employer_element({{"AA0017", "2000000a"}, {"AA0114", "1.2.3"}, {"AA0116", "1.5"}}) +
        test::document_tail());
    EXPECT_EQ(rows_with_code(rows, "ES017"),
              std::vector<std::string>{
                  csv_row("12", "ES017", "2000000a", "   ", "AA0017", "2000000a", "", kBadValueOrLength)});
    EXPECT_EQ(rows_with_code(rows, "EL057"),
              std::vector<std::string>{
                  csv_row("19", "EL057", "2000000a", "   ", "AA0114", "1.2.3", "", kBadValueOrLength)});
    EXPECT_EQ(rows_with_code(rows, "ES116"),
              std::vector<std::string>{
                  csv_row("17", "ES116", "2000000a", "   ", "AA0116", "1.5", "", kBadValueOrLength)});
    EXPECT_TRUE(rows_with_code(rows, "EL031").empty());
    EXPECT_TRUE(rows_with_code(rows, "WR204").empty());

    // The length of a value that is no number is not examined.
    rows = report_rows(document_with_employee("<AA0231>19a</AA0231>\r\n"));
    EXPECT_EQ(rows_with_code(rows, "EL002"),
              std::vector<std::string>{csv_row("25", "EL002", "20000006", "A1", "AA0231", "19a", "1906-1992",
                                               "Věk zaměstnance není v intervalu 14 až 100 let")});
}

TEST(FieldChecks, LengthOutsideBounds) {
    EXPECT_EQ(report_rows(document_head_with("1-6", "1-12") + test::document_tail()),
              (std::vector<std::string>{csv_row("4", "EL030", "", "", "AA0226", "1-12", cp1250("délka 3"),
                                                "Sledované období není  1-6"),
                                        "12" + kES308}));
    EXPECT_EQ(
        rows_with_code(report_rows(document_head_with("Nemocnice Dolni Lhota", "") + test::document_tail()),
                       "ESPRE"),
        std::vector<std::string>{
            csv_row("6", "ESPRE", "", "", "predkladatel", "", cp1250("délka 1 - 50"), kBadValueOrLength)});
    EXPECT_EQ(rows_with_code(report_rows(document_with_employee("<AA0144>-10000000</AA0144>\r\n")), "ES144"),
              std::vector<std::string>{csv_row("25", "ES144", "20000006", "A1", "AA0144", "-10000000",
                                               cp1250("délka 1 - 8"), kBadValueOrLength)});
    EXPECT_TRUE(rows_with_code(report_rows(document_with_employee("<AA0144>-9999999</AA0144>\r\n")), "ES144")
                    .empty());

    // A value of the wrong length goes no further: no date check.
    const auto rows =
        report_rows(document_head() + employer_element({{"AA0110", "2006023"}}) + test::document_tail());
    EXPECT_EQ(rows_with_code(rows, "ES110"),
              std::vector<std::string>{csv_row("16", "ES110", "20000006", "   ", "AA0110", "2006023",
                                               cp1250("délka 8"), kBadValueOrLength)});
    EXPECT_TRUE(rows_with_code(rows, "EL050").empty());
}

TEST(FieldChecks, NumericRangesIncludeTheirBounds) {
    const struct {
        const char* field;
        const char* value;
        const char* code;
        const char* expected;  // nullptr: accepted
    } employer_cases[] = {
        {"AA0114", "0", "EL057", ""},
        {"AA0114", "0.0001", "EL057", nullptr},
        {"AA0114", "99999999999", "EL057", nullptr},
        {"AA0114", "100000000000", "EL057", "délka 1 - 11"},
        {"AA0116", "0", "ES116", nullptr},
        {"AA0116", "999999", "ES116", nullptr},
        {"AA0116", "-1", "ES116", ""},
        {"AA0017", "00000000", "ES017", ""},
    };
    for (const auto& c : employer_cases) {
        const auto selected = rows_with_code(
            report_rows(document_head() + employer_element({{c.field, c.value}}) + test::document_tail()),
            c.code);
        if (!c.expected) {
            EXPECT_TRUE(selected.empty()) << c.field << " " << c.value;
            continue;
        }
        ASSERT_EQ(selected.size(), 1u) << c.field << " " << c.value;
        EXPECT_NE(
            selected[0].find(std::string(";") + c.field + ";" + c.value + ";" + cp1250(c.expected) + ";"),
            std::string::npos)
            << selected[0];
    }

    const struct {
        const char* field;
        const char* value;
        const char* code;
        const char* expected;
    } employee_cases[] = {
        {"AA0131", "80", "ES131", nullptr},        {"AA0131", "81", "ES131", "0 - 42.5"},
        {"AA0131", "80.01", "ES131", "0 - 42.5"},  {"AA0131", "-0", "ES131", nullptr},
        {"AA0136", "1", "ES136", nullptr},         {"AA0136", "1.0001", "ES136", ""},
        {"AA0144", "-9999999", "ES144", nullptr},  {"AA0162", "-9999", "ES162", nullptr},
        {"AA0166", "999999999", "ES166", nullptr}, {"AA0166", "1000000000", "ES166", ""},
        {"AA0218", "365", "ES218", nullptr},       {"AA0218", "366", "ES218", ""},
    };
    for (const auto& c : employee_cases) {
        const std::string name = c.field;
        const auto selected = rows_with_code(
            report_rows(document_with_employee("<" + name + ">" + c.value + "</" + name + ">\r\n")), c.code);
        if (!c.expected) {
            EXPECT_TRUE(selected.empty()) << c.field << " " << c.value;
            continue;
        }
        EXPECT_EQ(selected,
                  std::vector<std::string>{csv_row(
                      "25", c.code, "20000006", "A1", c.field, c.value, c.expected,
                      std::string_view(c.code) == "ES131" ? "Chybná hodnota týdeního fondu pracovní doby"
                                                          : kBadValueOrLength)});
    }
}

TEST(FieldChecks, TextRangesCompareBytesUnsigned) {
    const struct {
        const char* from;
        std::string to;
        const char* code;
        std::string row;  // empty: accepted
    } cases[] = {
        {"2006-07-15T10:20:30", "2006-09-30T23:59:59", "ESVYT", ""},
        {"2006-07-15T10:20:30", "2006-06-01T00:00:00", "ESVYT", ""},
        {"2006-07-15T10:20:30", "2006-05-31T23:59:59", "ESVYT",
         csv_row("10", "ESVYT", "", "", "vytvoreno", "2006-05-31T23:59:59",
                 cp1250("2006-06-01T00:00:00 až 2006-09-30T23:59"), kBadValueOrLength)},
        {"2006-07-15T10:20:30", "2006-10-01T00:00:00", "ESVYT",
         csv_row("10", "ESVYT", "", "", "vytvoreno", "2006-10-01T00:00:00",
                 cp1250("2006-06-01T00:00:00 až 2006-09-30T23:59"), kBadValueOrLength)},
        {"<rok>2006", "<rok>2007", "ER209",
         csv_row("3", "ER209", "", "", "rok", "2007", "2006", "Povoleno 2006, délka  4")},
        {"Nemocnice", "\tNemocnice", "ESPRE",
         csv_row("6", "ESPRE", "", "", "predkladatel", "\tNemocnice Dolni Lhota", "", kBadValueOrLength)},
        {"Nemocnice", "  Nemocnice", "ESPRE", ""},  // leading spaces never reach the check
        {"Nemocnice", "-Nemocnice", "ESPRE",
         csv_row("6", "ESPRE", "", "", "predkladatel", "-Nemocnice Dolni Lhota", "", kBadValueOrLength)},
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
         csv_row("6", "ESPRE", "", "", "predkladatel", std::string(11, '\xFD'), "", kBadValueOrLength)},
        {"Nemocnice Dolni Lhota", "\xFE", "ESPRE",
         csv_row("6", "ESPRE", "", "", "predkladatel", "\xFE", "", kBadValueOrLength)},
        {"+420123456789", "+12345678", "WSTEL", ""},
        {"+420123456789", "(12)345678", "WSTEL",
         csv_row("9", "WSTEL", "", "", "telefon", "(12)345678", "nnnnnnnn",
                 "Chybná hodnota nebo délka, minimální délka by měla být 9 znaků.")},
    };
    for (const auto& c : cases) {
        const auto selected =
            rows_with_code(report_rows(document_head_with(c.from, c.to) + test::document_tail()), c.code);
        if (c.row.empty())
            EXPECT_TRUE(selected.empty()) << c.to;
        else
            EXPECT_EQ(selected, std::vector<std::string>{c.row}) << c.to;
    }

    auto rows =
        report_rows(document_head() + employer_element({{"AA0179", "CZ0999"}}) + test::document_tail());
    EXPECT_TRUE(rows_with_code(rows, "ES179").empty());
    rows = report_rows(document_head() + employer_element({{"AA0179", "CZ1000"}}) + test::document_tail());
    EXPECT_EQ(rows_with_code(rows, "ES179"),
              std::vector<std::string>{csv_row("15", "ES179", "20000006", "   ", "AA0179", "CZ1000", "CZ0nnn",
                                               kBadValueOrLength)});

    rows = report_rows(document_with_employee("<AA0211>3</AA0211>\r\n<AA0223>a</AA0223>\r\n"));
    EXPECT_EQ(rows_with_code(rows, "EL032"),
              std::vector<std::string>{
                  csv_row("25", "EL032", "20000006", "A1", "AA0211", "3", "1,2", "Chybný kód pohlaví")});
    EXPECT_EQ(rows_with_code(rows, "ES223"),
              std::vector<std::string>{
                  csv_row("26", "ES223", "20000006", "A1", "AA0223", "a", "A - V", kBadValueOrLength)});
}

TEST(FieldChecks, EmptyFacilityCodeIsNotReported) {
    for (const char* element :
         {"<AA0113></AA0113>", "<AA0113/>", "<AA0113 />", "<duv:AA0113></duv:AA0113>"}) {
        const auto doc = document_head() + employer_element({{"AA0113", "x"}}) + test::document_tail();
        auto pos = doc.find("<AA0113>x</AA0113>");
        const auto rows = report_rows(doc.substr(0, pos) + element + doc.substr(pos + 18));
        for (const char* code : {"ES113", "WL054", "ES303", "ES305"})
            EXPECT_TRUE(rows_with_code(rows, code).empty()) << element << code;
    }
}

TEST(FieldChecks, RangeFailureStillRunsFieldRules) {
    const auto rows =
        report_rows(document_head() + employer_element({{"AA0110", "20060231"}}) + test::document_tail());
    std::vector<std::string> selected;
    for (const auto& r : rows)
        if (r.rfind("16;", 0) == 0) selected.push_back(r);
    EXPECT_EQ(selected, (std::vector<std::string>{
                            csv_row("16", "ES110", "20000006", "   ", "AA0110", "20060231",
                                    "200606201-20060930", kBadValueOrLength),
                            csv_row("16", "EL050", "20000006", "   ", "AA0110", "20060231", "   ",
                                    "Neplatné datum - den neodpovídá měsíci"),
                        }));
}

}  // namespace
}  // namespace tavon

// The rules at the end of an employer: identifier order, single records and persons with several
// records, the employer's totals and the rules over all of its employees.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/records.h"

namespace tavon::test {
namespace {

using Rows = std::vector<std::string>;

constexpr std::string_view kEmployer = "20000006";
constexpr std::string_view kBlank = "   ";

// One employer with the records `records`; its totals fit as many records of the example, unless
// `employer_fields` are given.
DocumentBuilder one_employer(const std::vector<Fields>& records,
                             std::optional<Fields> employer_fields = std::nullopt) {
    DocumentBuilder d;
    d.employer(employer_fields ? *employer_fields : example_employer(static_cast<long long>(records.size())));
    for (const Fields& fields : records) d.employee(fields);
    d.end_employer();
    return d;
}

// A record of the example with the identifier `id` and the contents of `changes`.
Fields record(std::string_view id,
              std::initializer_list<std::pair<std::string_view, std::string_view>> changes = {}) {
    return with(example_employee(id), changes);
}

// The line list of a person: the identifier lines of the given records, joined by ",".
std::string line_list(const DocumentBuilder& d, std::initializer_list<std::size_t> records) {
    std::string lines;
    for (std::size_t i : records) {
        if (!lines.empty()) lines += ',';
        lines += d.employee_line(i, "AA0126");
    }
    return lines;
}

TEST(EmployeeOrder, ByIdentifierBytes) {
    // Each record alone breaks the health-insurance limit; the rows follow the identifier order:
    // a prefix first, digits before letters, bytes above 127 last.
    const char* ids[] = {"1A", "123", "19", "12", "\xC8\x31"};
    std::vector<Fields> records;
    for (const char* id : ids) records.push_back(record(id, {{"AA0167", "7000"}}));
    DocumentBuilder d = one_employer(records);
    auto wl025 = [&](std::size_t i) {
        return row(d.employee_line(i, "AA0126"), "WL025", kEmployer, ids[i], "AA0167", "      7000",
                   "<=     6496.00");
    };
    EXPECT_EQ(report_rows(d, {"WL025"}), (Rows{wl025(3), wl025(1), wl025(2), wl025(0), wl025(4)}));
}

TEST(EmployeeOrder, OnePersonInSeparateRuns) {
    // Person 5 on lines 10, 40 and 70 between persons 3 and 4; person 6 alone at the end.
    DocumentBuilder d(true);
    d.employer(example_employer(6), true);
    d.skip_to_line(10).employee(record("5"), true);
    d.skip_to_line(25).employee(record("3", {{"AA0167", "7000"}}), true);
    d.skip_to_line(40).employee(record("5", {{"AA0231", "1971"}}), true);
    d.skip_to_line(55).employee(record("4", {{"AA0167", "7000"}}), true);
    d.skip_to_line(70).employee(record("5", {{"AA0231", "1972"}}), true);
    d.skip_to_line(85).employee(record("6", {{"AA0167", "7000"}}), true);
    d.end_employer();
    EXPECT_EQ(report_rows(d, {"WL025", "EL003", "EL052", "EL065", "WL049", "WL007"}),
              (Rows{row("25", "WL025", kEmployer, "3", "AA0167", "      7000", "<=     6496.00"),
                    row("55", "WL025", kEmployer, "4", "AA0167", "      7000", "<=     6496.00"),
                    row("10,40,70", "EL052", kEmployer, "5", "AA0130", "3.0000", "<= 1"),
                    row("10,40,70", "EL065", kEmployer, "5", "AA0130", "1,1 ", "Pouze 1 x"),
                    row("10,40,70", "WL049", kEmployer, "5", "AA0131", "    120.00", "max. 79.99"),
                    row("10,40,70", "WL007", kEmployer, "5", "AA0132", "      2700", " <= 1872"),
                    row("10,40,70", "EL003", kEmployer, "5", "AA0231", "1970", "1971"),
                    row("85", "WL025", kEmployer, "6", "AA0167", "      7000", "<=     6496.00")}));
}

TEST(EmployeeOrder, OnlyFirstSixRecordsOfAPerson) {
    // Eight records of one person on lines 10 to 80; the seventh and eighth differ in birth year
    // and both have a tax-free amount, which nothing may notice.
    DocumentBuilder d(true);
    d.employer(with(example_employer(8), {{"AA0115", "8"}}), true);
    for (int i = 1; i <= 8; ++i) {
        d.skip_to_line(10 * i);
        d.employee(i <= 6 ? record("7") : record("7", {{"AA0231", "1980"}, {"AA0166", "5000"}}), true);
    }
    d.end_employer();
    const std::string_view person_lines = "10,20,30,40,50,60, ...... ";
    EXPECT_EQ(report_rows(d, {"EL052", "EL065", "WL049", "WL007", "WL018", "EL003", "EL021"}),
              (Rows{row(person_lines, "EL052", kEmployer, "7", "AA0130", "6.0000", "<= 1"),
                    row(person_lines, "EL065", kEmployer, "7", "AA0130", "1,1 ", "Pouze 1 x"),
                    row(person_lines, "WL049", kEmployer, "7", "AA0131", "    240.00", "max. 79.99"),
                    row(person_lines, "WL007", kEmployer, "7", "AA0132", "      2700", " <= 1872"),
                    row(person_lines, "WL007", kEmployer, "7", "AA0132", "      3600", " <= 1872"),
                    row(person_lines, "WL007", kEmployer, "7", "AA0132", "      4500", " <= 1872"),
                    row(person_lines, "WL007", kEmployer, "7", "AA0132", "      5400", " <= 1872"),
                    // Eight in the register on the last day, the person's first six counted once.
                    row("2", "EL021", kEmployer, kBlank, "AA0115", "         8", "         3")}));
}

TEST(EmployeeOrder, LineListOfAPerson) {
    // The tail marks a seventh record; six records are listed whole.
    auto el065 = [](int count) {
        DocumentBuilder d(true);
        d.employer(example_employer(count), true);
        for (int i = 1; i <= count; ++i) d.skip_to_line(10 * i).employee(record("7"), true);
        d.end_employer();
        return report_rows(d, {"EL065"});
    };
    EXPECT_EQ(el065(2), (Rows{row("10,20", "EL065", kEmployer, "7", "AA0130", "1,1 ", "Pouze 1 x")}));
    EXPECT_EQ(el065(6),
              (Rows{row("10,20,30,40,50,60", "EL065", kEmployer, "7", "AA0130", "1,1 ", "Pouze 1 x")}));
    EXPECT_EQ(
        el065(7),
        (Rows{row("10,20,30,40,50,60, ...... ", "EL065", kEmployer, "7", "AA0130", "1,1 ", "Pouze 1 x")}));
}

TEST(SingleRecord, ContributionsAgainstSalary) {
    auto contributions = [](std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
        DocumentBuilder d = one_employer({record("1001", changes)});
        return std::pair{report_rows(d, {"WL025", "WL026"}), d.employee_line(0, "AA0126")};
    };
    auto person_row = [](const std::string& line, std::string_view code, std::string_view field,
                         std::string_view value, std::string_view expected) {
        return row(line, code, kEmployer, "1001", field, value, expected);
    };

    auto [d1, r1] = contributions({{"AA0144", "0"}, {"AA0167", "500"}, {"AA0218", "30"}});
    EXPECT_EQ(d1, (Rows{person_row(r1, "WL025", "AA0167", "       500", "0"),
                        person_row(r1, "WL026", "AA0168", "      8120", "0")}));
    EXPECT_EQ(contributions({{"AA0144", "0"}, {"AA0167", "500"}, {"AA0218", "0"}}).first, Rows{});
    EXPECT_EQ(contributions({{"AA0144", "0"}, {"AA0167", "500"}, {"AA0136", "0"}, {"AA0137", "2"}}).first,
              Rows{});

    // At most a tenth of the salary.
    EXPECT_EQ(contributions({{"AA0167", "6496"}}).first, Rows{});
    auto [d2, r2] = contributions({{"AA0167", "6497"}});
    EXPECT_EQ(d2, (Rows{person_row(r2, "WL025", "AA0167", "      6497", "<=     6496.00")}));

    // Above 24864, at least 3 % of the excess: 0.03 x 5136 = 154.08.
    auto [d3, r3] = contributions({{"AA0144", "30000"}, {"AA0167", "100"}, {"AA0168", "3000"}});
    EXPECT_EQ(d3, (Rows{person_row(r3, "WL025", "AA0167", "       100", ">         154")}));
    auto [d3b, r3b] = contributions({{"AA0144", "24865"}, {"AA0167", "0"}, {"AA0168", "3000"}});
    EXPECT_EQ(d3b, (Rows{person_row(r3b, "WL025", "AA0167", "         0", ">           0")}));

    // Below 24864 no negative contribution; 24864 itself is in neither rule.
    auto [d4, r4] = contributions({{"AA0144", "24863"}, {"AA0167", "-1"}, {"AA0168", "3000"}});
    EXPECT_EQ(d4, (Rows{person_row(r4, "WL025", "AA0167", "        -1", " 0 ")}));
    EXPECT_EQ(contributions({{"AA0144", "24864"}, {"AA0167", "-1"}, {"AA0168", "3000"}}).first, Rows{});

    // Social insurance: nothing without a salary, else 5 % to 20 % of it (3248 to 12992).
    auto [d5, r5] = contributions({{"AA0144", "0"}, {"AA0167", "0"}, {"AA0168", "1"}});
    EXPECT_EQ(d5, (Rows{person_row(r5, "WL026", "AA0168", "         1", "0")}));
    EXPECT_EQ(contributions({{"AA0144", "0"}, {"AA0167", "0"}, {"AA0168", "0"}}).first, Rows{});
    EXPECT_EQ(contributions({{"AA0168", "12992"}}).first, Rows{});
    EXPECT_EQ(contributions({{"AA0168", "3248"}}).first, Rows{});
    auto [d6, r6] = contributions({{"AA0168", "12993"}});
    EXPECT_EQ(d6, (Rows{person_row(r6, "WL026", "AA0168", "     12993", "   3248.00 -   12992.00")}));
    auto [d6b, r6b] = contributions({{"AA0168", "3247"}});
    EXPECT_EQ(d6b, (Rows{person_row(r6b, "WL026", "AA0168", "      3247", "   3248.00 -   12992.00")}));
}

TEST(PersonWithSeveralRecords, PersonalDataAgree) {
    auto el003 = [](std::vector<Fields> records) {
        DocumentBuilder d = one_employer(records);
        return std::pair{report_rows(d, {"EL003"}), d};
    };
    {
        auto [v, d] = el003({record("8"), record("8", {{"AA0033", "SK"}})});
        EXPECT_EQ(v, (Rows{row(line_list(d, {0, 1}), "EL003", kEmployer, "8", "AA0033", "CZ", "SK")}));
    }
    {
        auto [v, d] = el003({record("8"), record("8", {{"AA0033", "CZE"}})});
        EXPECT_EQ(v, (Rows{row(line_list(d, {0, 1}), "EL003", kEmployer, "8", "AA0033", "CZ", "CZE")}));
    }
    {
        // The first record that differs, and only that one.
        auto [v, d] = el003({record("8"), record("8", {{"AA0033", "SK"}}), record("8", {{"AA0033", "DE"}})});
        EXPECT_EQ(v, (Rows{row(line_list(d, {0, 1, 2}), "EL003", kEmployer, "8", "AA0033", "CZ", "SK")}));
        auto [w, e] = el003({record("8"), record("8"), record("8", {{"AA0033", "DE"}})});
        EXPECT_EQ(w, (Rows{row(line_list(e, {0, 1, 2}), "EL003", kEmployer, "8", "AA0033", "CZ", "DE")}));
    }
    {
        // Gender, education and birth year; the years of employment may differ.
        auto [v, d] = el003(
            {record("8"),
             record(
                 "8",
                 {{"AA0211", "2"}, {"AA0223", "M"}, {"AA0231", "1971"}, {"AA0216", "6"}, {"AA0225", "11"}})});
        const std::string r = line_list(d, {0, 1});
        EXPECT_EQ(v, (Rows{row(r, "EL003", kEmployer, "8", "AA0211", "1", "2"),
                           row(r, "EL003", kEmployer, "8", "AA0223", "K", "M"),
                           row(r, "EL003", kEmployer, "8", "AA0231", "1970", "1971")}));
    }
    EXPECT_EQ(el003({record("8"), record("8", {{"AA0216", "6"}, {"AA0225", "11"}})}).first, Rows{});
}

TEST(PersonWithSeveralRecords, KindsOfEmployment) {
    auto combination = [](std::vector<Fields> records) {
        DocumentBuilder d = one_employer(records);
        return std::pair{report_rows(d, {"EL052", "EL065"}), line_list(d, {0, 1})};
    };
    {
        auto [v, r] = combination(
            {record("8", {{"AA0136", "0.6"}}), record("8", {{"AA0130", "7"}, {"AA0136", "0.6"}})});
        EXPECT_EQ(v, (Rows{row(r, "EL052", kEmployer, "8", "AA0130", "1.2000", "<= 1"),
                           row(r, "EL065", kEmployer, "8", "AA0130", "1,7 ", "Pouze 1 x")}));
    }
    {
        auto [v, r] = combination({record("8", {{"AA0130", "7"}, {"AA0136", "0.5"}}),
                                   record("8", {{"AA0130", "7"}, {"AA0136", "0.5"}})});
        EXPECT_EQ(v, (Rows{row(r, "EL065", kEmployer, "8", "AA0130", "7,7 ", "Pouze 1 x")}));
    }
    {
        auto [v, r] = combination({record("8", {{"AA0136", "0.5"}}), record("8", {{"AA0136", "0.5"}})});
        EXPECT_EQ(v, (Rows{row(r, "EL065", kEmployer, "8", "AA0130", "1,1 ", "Pouze 1 x")}));
    }
    {
        // Only records in the register on the last day are counted for the combination.
        auto [v, r] = combination({record("8", {{"AA0136", "0.6"}, {"AA0137", "2"}}),
                                   record("8", {{"AA0130", "7"}, {"AA0136", "0.6"}})});
        EXPECT_EQ(v, (Rows{row(r, "EL052", kEmployer, "8", "AA0130", "1.2000", "<= 1")}));
    }
    auto combination_rows = [](std::vector<Fields> records) {
        return report_rows(one_employer(records), {"EL052", "EL065"});
    };
    EXPECT_EQ(combination_rows(
                  {record("8", {{"AA0136", "0.6"}}), record("8", {{"AA0130", "3"}, {"AA0136", "0.6"}})}),
              Rows{});
    // The last record of the employer has a faulty AA0136: the rule is off.
    EXPECT_EQ(
        combination_rows({record("8", {{"AA0136", "0.6"}}), record("8", {{"AA0130", "7"}, {"AA0136", "0.6"}}),
                          record("9", {{"AA0136", "1.5"}})}),
        Rows{});
}

TEST(PersonWithSeveralRecords, WorkingTimeAndHoursWorked) {
    auto rule = [](std::vector<Fields> records, std::string_view code) {
        DocumentBuilder d = one_employer(records);
        return std::pair{report_rows(d, {code}), line_list(d, {0, 1})};
    };
    {
        auto [v, r] = rule({record("8"), record("8")}, "WL049");
        EXPECT_EQ(v, (Rows{row(r, "WL049", kEmployer, "8", "AA0131", "     80.00", "max. 79.99")}));
        EXPECT_EQ(rule({record("8"), record("8", {{"AA0131", "39.99"}})}, "WL049").first, Rows{});
        EXPECT_EQ(rule({record("8"), record("8", {{"AA0137", "2"}})}, "WL049").first, Rows{});
    }
    {
        // Reported at every record from the one that passes 1872 hours on.
        DocumentBuilder d =
            one_employer({record("8", {{"AA0132", "1000"}}), record("8", {{"AA0132", "1000"}}),
                          record("8", {{"AA0132", "100"}})});
        const std::string r = line_list(d, {0, 1, 2});
        EXPECT_EQ(report_rows(d, {"WL007"}),
                  (Rows{row(r, "WL007", kEmployer, "8", "AA0132", "      2000", " <= 1872"),
                        row(r, "WL007", kEmployer, "8", "AA0132", "      2100", " <= 1872")}));
        EXPECT_EQ(rule({record("8", {{"AA0132", "936"}}), record("8", {{"AA0132", "936"}})}, "WL007").first,
                  Rows{});
        auto [v, r2] = rule({record("8", {{"AA0132", "936"}}), record("8", {{"AA0132", "937"}})}, "WL007");
        EXPECT_EQ(v, (Rows{row(r2, "WL007", kEmployer, "8", "AA0132", "      1873", " <= 1872")}));
        // Off when the employer's last record has faulty hours.
        EXPECT_EQ(rule({record("8", {{"AA0132", "1000"}}), record("8", {{"AA0132", "1000"}}),
                        record("9", {{"AA0132", "10000"}})},
                       "WL007")
                      .first,
                  Rows{});
    }
}

TEST(PersonWithSeveralRecords, InRegisterOnLastDayOnce) {
    auto el021 = [](std::vector<Fields> records, std::string_view headcount) {
        DocumentBuilder d = one_employer(
            records, with(example_employer(static_cast<long long>(records.size())), {{"AA0115", headcount}}));
        return std::pair{report_rows(d, {"EL021"}), d.employer_line(0, "AA0115")};
    };
    EXPECT_EQ(el021({record("8"), record("8")}, "1").first, Rows{});
    auto [v, r] = el021({record("8"), record("8")}, "2");
    EXPECT_EQ(v, (Rows{row(r, "EL021", kEmployer, kBlank, "AA0115", "         2", "         1")}));
    EXPECT_EQ(el021({record("8"), record("8", {{"AA0137", "2"}}), record("8")}, "1").first, Rows{});
    EXPECT_EQ(el021({record("8"), record("9")}, "2").first, Rows{});
}

TEST(PersonWithSeveralRecords, TaxFreeAmountOnce) {
    auto wl018 = [](std::vector<Fields> records) {
        DocumentBuilder d = one_employer(records);
        std::string lines;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (i > 0) lines += ',';
            lines += d.employee_line(i, "AA0126");
        }
        return std::pair{report_rows(d, {"WL018"}), lines};
    };
    {
        auto [v, r] = wl018({record("8", {{"AA0166", "5000"}}), record("8", {{"AA0166", "6000"}})});
        EXPECT_EQ(v, (Rows{row(r, "WL018", kEmployer, "8", "AA0166", "      5000,      6000", "Pouze 1 x")}));
    }
    EXPECT_EQ(wl018({record("8", {{"AA0166", "5000"}}), record("8")}).first, Rows{});
    {
        auto [v, r] =
            wl018({record("8", {{"AA0166", "5000"}}), record("8"), record("8", {{"AA0166", "7000"}})});
        EXPECT_EQ(v, (Rows{row(r, "WL018", kEmployer, "8", "AA0166", "      5000,      7000", "Pouze 1 x")}));
    }
}

TEST(PersonWithSeveralRecords, ContributionsOfThePersonInTotal) {
    // Two records of one person with the same values; the rules look at the sums.
    auto contributions = [](std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
        DocumentBuilder d = one_employer({record("8", changes), record("8", changes)});
        return std::pair{report_rows(d, {"WL025", "WL026"}), line_list(d, {0, 1})};
    };
    auto person_row = [](const std::string& r, std::string_view code, std::string_view field,
                         std::string_view value, std::string_view expected) {
        return row(r, code, kEmployer, "8", field, value, expected);
    };
    {
        auto [v, r] = contributions({{"AA0144", "0"}, {"AA0167", "200"}, {"AA0168", "0"}});
        EXPECT_EQ(v, (Rows{person_row(r, "WL025", "AA0167", "    400.00", "      0.00")}));
    }
    {
        auto [v, r] = contributions({{"AA0144", "0"}, {"AA0167", "200"}, {"AA0168", "100"}});
        EXPECT_EQ(v, (Rows{person_row(r, "WL025", "AA0167", "    400.00", "      0.00"),
                           person_row(r, "WL026", "AA0168", "    200.00", "      0.00")}));
    }
    {
        auto [v, r] = contributions({{"AA0144", "30000"}, {"AA0167", "4000"}, {"AA0168", "3000"}});
        EXPECT_EQ(v, (Rows{person_row(r, "WL025", "AA0167", "   8000.00", "<=     6000.00")}));
    }
    {
        // 0.03 x (60000 - 24864) = 1054.08; each record alone would be 154.08.
        auto [v, r] = contributions({{"AA0144", "30000"}, {"AA0167", "100"}, {"AA0168", "3000"}});
        EXPECT_EQ(v, (Rows{person_row(r, "WL025", "AA0167", "    200.00", ">     1054.08")}));
    }
    {
        auto [v, r] = contributions({{"AA0144", "10000"}, {"AA0167", "-1"}, {"AA0168", "1000"}});
        EXPECT_EQ(v, (Rows{person_row(r, "WL025", "AA0167", "     -2.00", " 0 ")}));
    }
    {
        auto [v, r] = contributions({{"AA0144", "30000"}, {"AA0167", "2000"}, {"AA0168", "7000"}});
        EXPECT_EQ(v, (Rows{person_row(r, "WL026", "AA0168", "  14000.00", "   3000.00 -   12000.00")}));
    }
    EXPECT_EQ(contributions({{"AA0144", "30000"}, {"AA0167", "2000"}, {"AA0168", "6000"}}).first, Rows{});
}

TEST(EmployerTotals, RecalculatedHeadcountToFourDecimals) {
    // 25 records of 0.1 add up to a little more than 2.5, which prints as 2.5000.
    auto el020 = [](std::string_view last) {
        std::vector<Fields> records;
        for (int i = 0; i < 24; ++i) records.push_back(record(std::to_string(100 + i), {{"AA0136", "0.1"}}));
        records.push_back(record("200", {{"AA0136", last}}));
        DocumentBuilder d = one_employer(records, with(example_employer(25), {{"AA0114", "2.5"}}));
        return std::pair{report_rows(d, {"EL020"}), d.employer_line(0, "AA0114")};
    };
    EXPECT_EQ(el020("0.1").first, Rows{});
    auto [v, r] = el020("0.1001");
    EXPECT_EQ(v, (Rows{row(r, "EL020", kEmployer, kBlank, "AA0114", "    2.5000", "    2.5001")}));
}

TEST(EmployerTotals, HeadcountsAndSalariesAgainstEmployees) {
    const std::vector<std::string_view> codes = {"EL020", "EL021", "EL022", "WL023"};
    auto totals = [&](std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
        DocumentBuilder d =
            one_employer({record("1001"), record("1002")}, with(example_employer(2), changes));
        return std::pair{report_rows(d, codes), d};
    };
    EXPECT_EQ(totals({}).first, Rows{});
    {
        auto [v, d] = totals({{"AA0115", "3"}});
        EXPECT_EQ(v, (Rows{row(d.employer_line(0, "AA0115"), "EL021", kEmployer, kBlank, "AA0115",
                               "         3", "         2")}));
    }
    {
        auto [v, d] = totals({{"AA0118", "129921"}});
        EXPECT_EQ(v, (Rows{row(d.employer_line(0, "AA0118"), "EL022", kEmployer, kBlank, "AA0118",
                               "    129921", "    129920")}));
    }
    {
        auto [v, d] = totals({{"AA0118", "1000"}, {"AA0119", "1500"}});
        EXPECT_EQ(v, (Rows{row(d.employer_line(0, "AA0118"), "EL022", kEmployer, kBlank, "AA0118",
                               "      1000", "    129920"),
                           row(d.employer_line(0, "AA0119"), "WL023", kEmployer, kBlank, "AA0119",
                               "      1500", "<=       1000")}));
    }
    // Faulty employer fields switch off the totals that use them.
    EXPECT_EQ(totals({{"AA0118", "1299x0"}, {"AA0119", "1500"}}).first, Rows{});
    EXPECT_EQ(totals({{"AA0114", "0"}, {"AA0115", "1234567"}}).first, Rows{});
    {
        auto [v, d] = totals({{"AA0118", "1000"}, {"AA0119", "15x0"}});
        EXPECT_EQ(v, (Rows{row(d.employer_line(0, "AA0118"), "EL022", kEmployer, kBlank, "AA0118",
                               "      1000", "    129920")}));
    }
}

// `count` records of the example with distinct identifiers, each with the changes `all`, the last one
// with the changes `last` instead.
std::vector<Fields> distinct_records(
    int count, std::initializer_list<std::pair<std::string_view, std::string_view>> last = {},
    std::initializer_list<std::pair<std::string_view, std::string_view>> all = {}) {
    std::vector<Fields> records;
    for (int i = 0; i < count; ++i)
        records.push_back(with(record(std::to_string(1000 + i), all), i + 1 == count ? last : all));
    return records;
}

TEST(AllEmployeesOfEmployer, AllInRegisterAndInMainEmployment) {
    auto wl = [](std::vector<Fields> records) {
        return report_rows(one_employer(records), {"WL042", "WL043"});
    };
    const std::string wl042 = row(kBlank, "WL042", kEmployer, kBlank, kBlank, kBlank, kBlank);
    const std::string wl043 = row(kBlank, "WL043", kEmployer, kBlank, kBlank, kBlank, kBlank);
    EXPECT_EQ(wl(distinct_records(50)), Rows{});
    EXPECT_EQ(wl(distinct_records(51)), (Rows{wl042, wl043}));
    EXPECT_EQ(wl(distinct_records(51, {{"AA0137", "2"}})), Rows{wl043});
    EXPECT_EQ(wl(distinct_records(51, {{"AA0130", "7"}})), Rows{wl042});
}

TEST(AllEmployeesOfEmployer, EducationOfAll) {
    auto el08 = [](std::vector<Fields> records) {
        return report_rows(one_employer(records), {"EL081", "EL082"});
    };
    const std::string el081a = row(kBlank, "EL081", kEmployer, kBlank, "AA0223", "A", kBlank);
    const std::string el082 = row(kBlank, "EL082", kEmployer, kBlank, "AA0223", kBlank, kBlank);
    EXPECT_EQ(el08(distinct_records(50, {{"AA0223", "A"}}, {{"AA0223", "A"}})), (Rows{el081a, el082}));
    EXPECT_EQ(el08(distinct_records(49, {{"AA0223", "A"}}, {{"AA0223", "A"}})), Rows{});
    EXPECT_EQ(el08(distinct_records(50)),
              (Rows{row(kBlank, "EL081", kEmployer, kBlank, "AA0223", "K", kBlank)}));
    // More than half (25 of 50) below "C", compared as signed bytes.
    auto with_education = [](int below_c, std::string_view code) {
        std::vector<Fields> records = distinct_records(50);
        for (int i = 0; i < below_c; ++i)
            records[static_cast<std::size_t>(i)] =
                with(records[static_cast<std::size_t>(i)], {{"AA0223", code}});
        return records;
    };
    EXPECT_EQ(el08(with_education(26, "B")), Rows{el082});
    EXPECT_EQ(el08(with_education(25, "A")), Rows{});
    EXPECT_EQ(el08(with_education(26, "\xC8")), Rows{el082});
}

TEST(AllEmployeesOfEmployer, LongStateCode) {
    // Reported once, for the last record with a three-character code, per employer.
    DocumentBuilder d;
    d.employer(example_employer(3))
        .employee(record("1", {{"AA0033", "CZE"}}))
        .employee(record("2", {{"AA0033", "SVK"}}))
        .employee(record("3"))
        .end_employer()
        .employer(with(example_employer(1), {{"AA0017", "20000014"}}))
        .employee(record("1"))
        .end_employer();
    EXPECT_EQ(
        report_rows(d, {"WL053"}),
        (Rows{row(d.employee_line(1, "AA0033"), "WL053", kEmployer, kBlank, "AA0033", "SVK", "delka 2")}));
}

TEST(AllEmployeesOfEmployer, PaidSalariesAgainstCount) {
    // 6 x 100 x 5120 = 3072000, checked from the eleventh record on.
    auto el058 = [](int count) {
        DocumentBuilder d =
            one_employer(distinct_records(count), with(example_employer(count), {{"AA0114", "100"}}));
        return std::pair{report_rows(d, {"EL058"}), d.employer_line(0, "AA0118")};
    };
    EXPECT_EQ(el058(10).first, Rows{});
    auto [v, r] = el058(11);
    EXPECT_EQ(v, (Rows{row(r, "EL058", kEmployer, kBlank, "AA0118", "    714560", ">  3072000.00")}));
}

TEST(AllEmployeesOfEmployer, WithoutEmployees) {
    {
        DocumentBuilder d;
        d.employer().end_employer();
        EXPECT_EQ(report_rows(d),
                  (Rows{row(d.employer_line(0, "AA0114"), "EL020", kEmployer, kBlank, "AA0114", "    1.0000",
                            "    0.0000"),
                        row(d.employer_line(0, "AA0115"), "EL021", kEmployer, kBlank, "AA0115", "         1",
                            "         0"),
                        row(d.employer_line(0, "AA0118"), "EL022", kEmployer, kBlank, "AA0118", "     64960",
                            "         0"),
                        row(d.employer_end_line(0), "ES309", kEmployer, kBlank, kBlank, kBlank, kBlank)}));
    }
    {
        DocumentBuilder d;
        d.employer(without(example_employer(), "AA0119")).end_employer();
        EXPECT_EQ(
            report_rows(d, {"ES303", "ES304"}),
            (Rows{row(d.employer_end_line(0), "ES303", kEmployer, kBlank, "AA0119", kBlank, "AA0119")}));
    }
    {
        DocumentBuilder d;
        d.employer(twice(example_employer(), "AA0119", "0")).end_employer();
        EXPECT_EQ(report_rows(d, {"ES303", "ES304"}),
                  (Rows{row(d.employer_end_line(0), "ES304", kEmployer, kBlank, "AA0119", kBlank, "2")}));
    }
}

}  // namespace
}  // namespace tavon::test

namespace tavon::test {
namespace {

TEST(EmployeeOrder, RecordsWithoutIdentifierAreDifferentPersons) {
    // Two records without an identifier: each is checked as a single record, shown as "-", and they
    // are not taken for one person with several records.
    DocumentBuilder d(true);
    d.employer(example_employer(3), true);
    d.employee(with(without(example_employee(), "AA0126"), {{"AA0167", "7000"}}), true);
    d.employee(with(without(example_employee(), "AA0126"), {{"AA0167", "7000"}}), true);
    d.employee(example_employee("1001"), true);
    d.end_employer();
    EXPECT_EQ(report_rows(d, {"WL025", "EL052", "EL065", "WL049", "WL007"}),
              (Rows{row(" ", "WL025", kEmployer, "-", "AA0167", "      7000", "<=     6496.00"),
                    row(" ", "WL025", kEmployer, "-", "AA0167", "      7000", "<=     6496.00")}));
}

}  // namespace
}  // namespace tavon::test

// The rules across the fields of one employee record, run on whole documents: each rule on both
// sides of its limit, with the report row it must write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/records.h"

namespace tavon::test {
namespace {

using Rows = std::vector<std::string>;

constexpr std::string_view kEmployer = "20000006";  // the employer column
constexpr std::string_view kEmployee = "1001";      // the employee column
constexpr std::string_view kBlank = "   ";

// A document with one employer (totals of one employee) and one employee of the fields `fields`.
DocumentBuilder single_employee(const Fields& fields) {
    DocumentBuilder d;
    d.employer().employee(fields).end_employer();
    return d;
}

// A row about the employee of `single_employee`, on the line of the field `line_field`.
std::string employee_row(const DocumentBuilder& d, const std::string& line_field, std::string_view code,
                         std::string_view field, std::string_view value, std::string_view expected) {
    return row(d.employee_line(0, line_field), code, kEmployer, kEmployee, field, value, expected);
}

// The example employee with the contents of `changes`.
Fields employee_with(std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
    return with(example_employee(), changes);
}

// Occupation codes: 01011 is of group 0, 93399 of another group.
constexpr std::string_view kGroup0Occupation = "01011";
constexpr std::string_view kOtherOccupation = "93399";

TEST(EmployeeRules, ValidRecordHasNoFindings) {
    EXPECT_EQ(report_rows(single_employee(example_employee())), Rows{});
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0013", kOtherOccupation}}))), Rows{});
}

TEST(EmployeeRules, MissingAndRepeatedFields) {
    {
        DocumentBuilder d = single_employee(without(example_employee(), "AA0211"));
        EXPECT_EQ(
            report_rows(d, {"ES303"}),
            (Rows{row(d.employee_end_line(0), "ES303", kEmployer, kEmployee, "AA0211", kBlank, "AA0211")}));
    }
    {
        // Reported at the record's end twice: once with one blank, once with three.
        DocumentBuilder d = single_employee(twice(example_employee(), "AA0131", "40"));
        EXPECT_EQ(report_rows(d, {"ES304", "ES303"}),
                  (Rows{row(d.employee_end_line(0), "ES304", kEmployer, kEmployee, "AA0131", " ", "2"),
                        row(d.employee_end_line(0), "ES304", kEmployer, kEmployee, "AA0131", kBlank, "2")}));
    }
    {
        // A missing field counts as 0; its line was never met.
        DocumentBuilder d = single_employee(without(example_employee(), "AA0138"));
        EXPECT_EQ(report_rows(d, {"EL051", "WL011"}),
                  (Rows{row(" ", "EL051", kEmployer, kEmployee, "AA0138", "         0", "      7660")}));
    }
}

TEST(EmployeeRules, WeeklyHoursByOccupationGroup) {
    auto el005 = [](std::string_view occupation, std::string_view weekly_hours) {
        return report_rows(single_employee(employee_with({{"AA0013", occupation}, {"AA0131", weekly_hours}})),
                           {"EL005"});
    };
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(el005(kGroup0Occupation, "42.5"), Rows{});
    EXPECT_EQ(el005(kGroup0Occupation, "40.5"), Rows{});
    EXPECT_EQ(el005(kGroup0Occupation, "43"),
              (Rows{employee_row(d, "AA0131", "EL005", "AA0131", "     43.00", "max. 42,5")}));
    EXPECT_EQ(el005(kOtherOccupation, "40"), Rows{});
    EXPECT_EQ(el005(kOtherOccupation, "40.01"),
              (Rows{employee_row(d, "AA0131", "EL005", "AA0131", "     40.01", "max. 40")}));
    EXPECT_EQ(el005("21110", "40.5"),
              (Rows{employee_row(d, "AA0131", "EL005", "AA0131", "     40.50", "max. 40")}));
    // The first byte compared as a signed character: a letter is another group, a byte above 127
    // belongs to neither.
    EXPECT_EQ(el005("A1111", "40.01"),
              (Rows{employee_row(d, "AA0131", "EL005", "AA0131", "     40.01", "max. 40")}));
    EXPECT_EQ(el005(std::string("\xC8") + "1111", "80"), Rows{});
}

TEST(EmployeeRules, RegisteredDaysAgainstYearsOfEmployment) {
    auto el006 = [](std::string_view days, std::string_view a216, std::string_view a225) {
        return report_rows(
            single_employee(employee_with({{"AA0218", days}, {"AA0216", a216}, {"AA0225", a225}})),
            {"EL006"});
    };
    DocumentBuilder d = single_employee(example_employee());
    const std::string line = d.employee_line(0, "AA0225");
    // 181 days: trunc(100 * (181/365 - 0.0005)) / 100 = 0.49 years.
    EXPECT_EQ(
        el006("181", "0", "0"),
        (Rows{row(line, "EL006", kEmployer, kEmployee, "AA0225 + AA0216", "      0.00", "      0.49")}));
    EXPECT_EQ(el006("181", "0.49", "0"), Rows{});
    EXPECT_EQ(
        el006("181", "0.48", "0"),
        (Rows{row(line, "EL006", kEmployer, kEmployee, "AA0225 + AA0216", "      0.48", "      0.49")}));
    EXPECT_EQ(el006("181", "0.2", "0.29"), Rows{});
    // A whole year counts as 1, not 0.99.
    EXPECT_EQ(
        el006("365", "0.99", "0"),
        (Rows{row(line, "EL006", kEmployer, kEmployee, "AA0225 + AA0216", "      0.99", "      1.00")}));
    EXPECT_EQ(el006("365", "1", "0"), Rows{});
}

TEST(EmployeeRules, HoursWorkedAndOvertime) {
    DocumentBuilder d = single_employee(example_employee());
    auto wl007 = [](std::string_view hours) {
        return report_rows(single_employee(employee_with({{"AA0132", hours}})), {"WL007"});
    };
    EXPECT_EQ(wl007("1248"), Rows{});
    EXPECT_EQ(wl007("1249"), (Rows{employee_row(d, "AA0132", "WL007", "AA0132", "      1249", " <= 1248")}));
    // Above the limit, though written without decimals (rounded half to even).
    EXPECT_EQ(wl007("1248.5"),
              (Rows{employee_row(d, "AA0132", "WL007", "AA0132", "      1248", " <= 1248")}));

    // Overtime: at most a sixth of the hours worked (900 / 6 = 150).
    auto wl008 = [](std::string_view overtime) {
        return report_rows(single_employee(employee_with({{"AA0133", overtime}})), {"WL008"});
    };
    EXPECT_EQ(wl008("150"), Rows{});
    EXPECT_EQ(wl008("150.01"),
              (Rows{employee_row(d, "AA0133", "WL008", "AA0133", "    150.01", "    150.00")}));
}

TEST(EmployeeRules, HoursAgainstRecalculatedHeadcount) {
    // P = hours - overtime + 181 * 8 * 20 days * 1 / 181 = hours + 140; bounds 748.8 and 1248.
    DocumentBuilder d = single_employee(example_employee());
    const std::string fields = "AA0132; AA0133; AA0218; AA0219; AA0136;";
    auto wl009 = [](std::string_view hours, std::string_view a136 = "1") {
        return report_rows(single_employee(employee_with({{"AA0132", hours}, {"AA0136", a136}})), {"WL009"});
    };
    EXPECT_EQ(wl009("608"),
              (Rows{employee_row(d, "AA0136", "WL009", fields,
                                 "    608.00 ;      20.00 ;  181 ;   20 ;     1.0000 ;", kBlank)}));
    EXPECT_EQ(wl009("609"), Rows{});
    EXPECT_EQ(wl009("1108"), Rows{});
    EXPECT_EQ(wl009("1109"),
              (Rows{employee_row(d, "AA0136", "WL009", fields,
                                 "   1109.00 ;      20.00 ;  181 ;   20 ;     1.0000 ;", kBlank)}));
    // Half the headcount: P = hours + 60, bounds 374.4 and 624.
    EXPECT_EQ(wl009("500", "0.5"), Rows{});
    EXPECT_EQ(wl009("565", "0.5"),
              (Rows{employee_row(d, "AA0136", "WL009", fields,
                                 "    565.00 ;      20.00 ;  181 ;   20 ;     0.5000 ;", kBlank)}));
    EXPECT_EQ(wl009("100", "0"), Rows{});
}

TEST(EmployeeRules, HolidayAgainstCompensation) {
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0135", "120"}})), {"EL010"}), Rows{});
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0135", "120.01"}})), {"EL010"}),
              (Rows{employee_row(d, "AA0135", "EL010", "AA0135", "    120.01", "    120.00")}));

    // Holiday compensation against all compensations.
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0159", "4000"}})), {"WL016"}), Rows{});
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0159", "4001"}})), {"WL016"}),
              (Rows{employee_row(d, "AA0159", "WL016", "AA0159", "      4001", "      4000")}));

    // Holiday taken without compensation.
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0159", "0"}})), {"WL029"}),
        (Rows{employee_row(d, "AA0159", "WL029", "AA0135 ; AA0159 ;", "     80.00 ;       0.00 ;", " ")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0159", "0"}, {"AA0135", "0"}})), {"WL029"}),
              Rows{});
}

TEST(EmployeeRules, TariffFromTheTable) {
    DocumentBuilder d = single_employee(example_employee());
    auto tariff = [](std::string_view scale, std::string_view salary_class, std::string_view grade,
                     std::string_view salary, std::string_view a137 = "1", std::string_view a136 = "1") {
        return report_rows(single_employee(employee_with({{"AA0129", scale},
                                                          {"AA0127", salary_class},
                                                          {"AA0128", grade},
                                                          {"AA0138", salary},
                                                          {"AA0137", a137},
                                                          {"AA0136", a136}})),
                           {"EL051", "WL011"});
    };
    auto tariff_row = [&](std::string_view code, std::string_view salary, std::string_view expected) {
        return Rows{employee_row(d, "AA0138", code, "AA0138", salary, expected)};
    };
    EXPECT_EQ(tariff("1", "5", "3", "7660"), Rows{});
    EXPECT_EQ(tariff("1", "5", "3", "7661"), tariff_row("EL051", "      7661", "      7660"));
    // Not in the register on the last day: a warning, and only for a counted employee.
    EXPECT_EQ(tariff("1", "5", "3", "7661", "2"), tariff_row("WL011", "      7661", "      7660"));
    EXPECT_EQ(tariff("1", "5", "3", "7661", "2", "0"), Rows{});

    // Corners of the table; scale 4 is scale 3.
    EXPECT_EQ(tariff("1", "1", "1", "5120"), Rows{});
    EXPECT_EQ(tariff("1", "1", "1", "5121"), tariff_row("EL051", "      5121", "      5120"));
    EXPECT_EQ(tariff("1", "1", "12", "7830"), Rows{});
    EXPECT_EQ(tariff("1", "1", "12", "7829"), tariff_row("EL051", "      7829", "      7830"));
    EXPECT_EQ(tariff("5", "16", "12", "37240"), Rows{});
    EXPECT_EQ(tariff("5", "16", "12", "37239"), tariff_row("EL051", "     37239", "     37240"));
    EXPECT_EQ(tariff("3", "10", "5", "16530"), Rows{});
    EXPECT_EQ(tariff("4", "10", "5", "16530"), Rows{});
    EXPECT_EQ(tariff("4", "10", "5", "16531"), tariff_row("EL051", "     16531", "     16530"));

    // Without a grade: anywhere from grade 1 to grade 12 of the class.
    const std::string_view class_range = "      5120  -       7830";
    EXPECT_EQ(tariff("1", "1", "0", "6000"), Rows{});
    EXPECT_EQ(tariff("1", "1", "0", "5120"), Rows{});
    EXPECT_EQ(tariff("1", "1", "0", "7830"), Rows{});
    EXPECT_EQ(tariff("1", "1", "0", "5119"), tariff_row("EL051", "      5119", class_range));
    EXPECT_EQ(tariff("1", "1", "0", "8000"), tariff_row("EL051", "      8000", class_range));
    EXPECT_EQ(tariff("1", "1", "0", "8000", "2"), tariff_row("WL011", "      8000", class_range));
}

TEST(EmployeeRules, TariffWithoutScaleOrClass) {
    // A missing scale or class: the whole table from 5120 to 33250 (scale 4's top, not scale 5's).
    auto tariff = [](std::string_view missing, std::string_view salary, std::string_view a137 = "1") {
        return report_rows(
            single_employee(without(employee_with({{"AA0138", salary}, {"AA0137", a137}}), missing)),
            {"EL051", "WL011"});
    };
    // (AA0138 stands one line higher without the field before it.)
    DocumentBuilder d = single_employee(without(example_employee(), "AA0129"));
    const std::string_view whole_table = "      5120 -      33250";
    EXPECT_EQ(tariff("AA0129", "36000"),
              (Rows{employee_row(d, "AA0138", "EL051", "AA0138", "     36000", whole_table)}));
    EXPECT_EQ(tariff("AA0129", "33250"), Rows{});
    EXPECT_EQ(tariff("AA0129", "5120"), Rows{});
    EXPECT_EQ(tariff("AA0129", "36000", "2"), Rows{});
    DocumentBuilder without_class = single_employee(without(example_employee(), "AA0127"));
    EXPECT_EQ(tariff("AA0127", "5119"),
              (Rows{employee_row(without_class, "AA0138", "EL051", "AA0138", "      5119", whole_table)}));
    EXPECT_EQ(tariff("AA0127", "33251"),
              (Rows{employee_row(without_class, "AA0138", "EL051", "AA0138", "     33251", whole_table)}));
}

TEST(EmployeeRules, PersonalBonus) {
    DocumentBuilder d = single_employee(example_employee());
    auto wl012 = [](std::string_view salary_class, std::string_view salary, std::string_view bonus,
                    std::string_view days = "181") {
        return report_rows(single_employee(employee_with({{"AA0127", salary_class},
                                                          {"AA0128", "3"},
                                                          {"AA0138", salary},
                                                          {"AA0139", bonus},
                                                          {"AA0218", days}})),
                           {"WL012"});
    };
    // Below class 10 half the top tariff of the class, from class 10 on all of it.
    EXPECT_EQ(wl012("1", "5540", "3915"), Rows{});
    EXPECT_EQ(wl012("1", "5540", "4000"),
              (Rows{employee_row(d, "AA0139", "WL012", "AA0139", "      4000", "      3915")}));
    EXPECT_EQ(wl012("1", "5540", "4000", "0"), Rows{});
    EXPECT_EQ(wl012("9", "10620", "8000"),
              (Rows{employee_row(d, "AA0139", "WL012", "AA0139", "      8000", "      7515")}));
    EXPECT_EQ(wl012("10", "11510", "8000"), Rows{});
    EXPECT_EQ(wl012("10", "11510", "16310"), Rows{});
    EXPECT_EQ(wl012("10", "11510", "16311"),
              (Rows{employee_row(d, "AA0139", "WL012", "AA0139", "     16311", "     16310")}));
}

TEST(EmployeeRules, AllowancesOnlyForCountedEmployees) {
    auto allowances = [](std::string_view management, std::string_view special, std::string_view rank,
                         std::string_view a136 = "1", std::string_view a218 = "181") {
        return report_rows(single_employee(employee_with({{"AA0140", management},
                                                          {"AA0141", management},
                                                          {"AA0142", special},
                                                          {"AA0143", rank},
                                                          {"AA0136", a136},
                                                          {"AA0218", a218}})),
                           {"WL013", "WL014", "WL024"});
    };
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(allowances("13000", "10000", "4600"), Rows{});
    EXPECT_EQ(allowances("13001", "10001", "4601"),
              (Rows{employee_row(d, "AA0140", "WL013", "AA0140", "     13001", "<= 13000"),
                    employee_row(d, "AA0141", "WL013", "AA0141", "     13001", "<= 13000"),
                    employee_row(d, "AA0142", "WL014", "AA0142", "     10001", "<= 10000"),
                    employee_row(d, "AA0143", "WL024", "AA0143", "      4601", "<= 4600")}));
    // Counted only with both the recalculated headcount and the days above 0.
    EXPECT_EQ(allowances("13001", "10001", "4601", "1", "0"), Rows{});
    EXPECT_EQ(allowances("13001", "10001", "4601", "0", "181"), Rows{});
}

TEST(EmployeeRules, SalaryAndAllowanceSums) {
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0144", "64961"}})), {"EL015"}),
              (Rows{row(d.employee_end_line(0), "EL015", kEmployer, kEmployee, "AA0144", "     64961",
                        "     64960")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0158", "4001"}})), {"EL015"}),
              (Rows{row(d.employee_end_line(0), "EL015", kEmployer, kEmployee, "AA0144", "     64960",
                        "     64961")}));
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0145", "45961"}, {"AA0146", "11999"}})), {"EL015"}),
        Rows{});

    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0239", "1"}})), {"EL027"}),
              (Rows{employee_row(d, "AA0150", "EL027", "AA0150", "      3000", "      3001")}));
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0151", "2000"}, {"AA0240", "1000"}})), {"EL027"}),
        Rows{});

    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0237", "100"}})), {"EL028"}),
              (Rows{employee_row(d, "AA0161", "EL028", "AA0161", "         0", "       100")}));
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0161", "100"}, {"AA0237", "60"}, {"AA0238", "40"}})),
                    {"EL028"}),
        Rows{});
}

TEST(EmployeeRules, AverageHourlySalary) {
    // (120 + 900) x hourly salary within 0.8 and 1.2 x 64960 (51968 and 77952).
    DocumentBuilder d = single_employee(example_employee());
    const std::string_view fields = "AA0165; AA0132; AA0134; AA0144;";
    auto wl017 = [](std::string_view hourly_salary, std::string_view a136 = "1") {
        return report_rows(single_employee(employee_with({{"AA0165", hourly_salary}, {"AA0136", a136}})),
                           {"WL017"});
    };
    EXPECT_EQ(wl017("50.94"), (Rows{row(d.employee_end_line(0), "WL017", kEmployer, kEmployee, fields,
                                        "      50.94 ;     900.00 ;     120.00 ;      64960 ;", kBlank)}));
    EXPECT_EQ(wl017("50.95"), Rows{});
    EXPECT_EQ(wl017("76.42"), Rows{});
    EXPECT_EQ(wl017("76.43"), (Rows{row(d.employee_end_line(0), "WL017", kEmployer, kEmployee, fields,
                                        "      76.43 ;     900.00 ;     120.00 ;      64960 ;", kBlank)}));
    EXPECT_EQ(wl017("10", "0"), Rows{});

    // Missing hourly salary, for a counted employee with paid absence.
    auto wl067 = [](std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
        return report_rows(single_employee(with(employee_with({{"AA0165", "0"}}), changes)), {"WL067"});
    };
    EXPECT_EQ(wl067({}), (Rows{employee_row(d, "AA0165", "WL067", "AA0165", "      0.00", " > 0")}));
    EXPECT_EQ(wl067({{"AA0134", "0"}, {"AA0135", "0"}}), Rows{});
    EXPECT_EQ(wl067({{"AA0136", "0"}}), Rows{});
}

TEST(EmployeeRules, ZeroFieldsOutsideTheRegister) {
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0136", "0"}})), {"EL037", "EL038"}),
              (Rows{employee_row(d, "AA0132", "EL037", "AA0132", "       900", "0"),
                    employee_row(d, "AA0133", "EL037", "AA0133", "     20.00", "0"),
                    employee_row(d, "AA0134", "EL037", "AA0134", "    120.00", "0"),
                    employee_row(d, "AA0135", "EL037", "AA0135", "     80.00", "0"),
                    employee_row(d, "AA0210", "EL037", "AA0210", "         5", "0"),
                    employee_row(d, "AA0218", "EL037", "AA0218", "       181", "0"),
                    employee_row(d, "AA0219", "EL037", "AA0219", "        20", "0"),
                    // On the line of AA0138, not of AA0137.
                    employee_row(d, "AA0138", "EL038", "AA0137", "         1", "2")}));
    // A faulty field (400 days is out of range) is left alone; the others are still reported.
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0136", "0"},
                                                         {"AA0137", "2"},
                                                         {"AA0132", "0"},
                                                         {"AA0133", "0"},
                                                         {"AA0134", "0"},
                                                         {"AA0135", "0"},
                                                         {"AA0210", "400"},
                                                         {"AA0218", "1"},
                                                         {"AA0219", "0"}})),
                          {"EL037", "EL038"}),
              (Rows{employee_row(d, "AA0218", "EL037", "AA0218", "         1", "0")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0136", "0"},
                                                         {"AA0137", "2"},
                                                         {"AA0132", "0"},
                                                         {"AA0133", "0"},
                                                         {"AA0134", "0"},
                                                         {"AA0135", "0"},
                                                         {"AA0210", "0"},
                                                         {"AA0218", "0"},
                                                         {"AA0219", "0"}})),
                          {"EL037", "EL038"}),
              Rows{});
}

TEST(EmployeeRules, StateAdministrationAndLastDay) {
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0125", "1"}})), {"WL040"}),
              (Rows{employee_row(d, "AA0129", "WL040", "AA0129", "         1", "4,5")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0125", "1"}, {"AA0129", "4"}})), {"WL040"}),
              Rows{});
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0125", "1"}, {"AA0129", "5"}})), {"WL040"}),
              Rows{});

    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0137", "2"}})), {"EL059"}),
              (Rows{employee_row(d, "AA0137", "EL059", "AA0137", "         2", "1")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0137", "2"}, {"AA0136", "0.99"}})), {"EL059"}),
              Rows{});
}

TEST(EmployeeRules, WeeklyHoursAgainstAverage) {
    // Bounds 181 x 20 and 181 x 60 times AA0136 / AA0218, the upper cut to 42.5 (group 0) or 40.
    DocumentBuilder d = single_employee(example_employee());
    auto wl060 = [](std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
        return report_rows(single_employee(employee_with(changes)), {"WL060"});
    };
    EXPECT_EQ(wl060({{"AA0131", "20"}}), Rows{});
    EXPECT_EQ(
        wl060({{"AA0131", "19.99"}}),
        (Rows{employee_row(d, "AA0131", "WL060", "AA0131", "       19.99", "       20.00 -        42.50 ")}));
    EXPECT_EQ(wl060({{"AA0131", "42.5"}}), Rows{});
    EXPECT_EQ(wl060({{"AA0131", "40"}, {"AA0013", kOtherOccupation}}), Rows{});
    EXPECT_EQ(
        wl060({{"AA0131", "40.01"}, {"AA0013", kOtherOccupation}}),
        (Rows{employee_row(d, "AA0131", "WL060", "AA0131", "       40.01", "       20.00 -        40.00 ")}));
    EXPECT_EQ(wl060({{"AA0131", "30"}, {"AA0136", "0.5"}}), Rows{});
    EXPECT_EQ(
        wl060({{"AA0131", "30.5"}, {"AA0136", "0.5"}}),
        (Rows{employee_row(d, "AA0131", "WL060", "AA0131", "       30.50", "       10.00 -        30.00 ")}));
    EXPECT_EQ(wl060({{"AA0131", "10"}, {"AA0136", "0"}, {"AA0137", "2"}}), Rows{});
}

TEST(EmployeeRules, RecalculatedHeadcountAgainstDays) {
    DocumentBuilder d = single_employee(example_employee());
    // 1.1 x 164 / 181 = 0.996685...
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "164"}})), {"EL066"}),
              (Rows{employee_row(d, "AA0218", "EL066", "AA0136", "    1.0000", "<=    0.99669")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "165"}})), {"EL066"}), Rows{});

    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "180"}})), {"EL071"}),
              (Rows{employee_row(d, "AA0218", "EL071", "AA0218", "       180", "       181")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "180"}, {"AA0136", "0.99"}})), {"EL071"}),
              Rows{});

    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "0"}})), {"EL073"}),
              (Rows{employee_row(d, "AA0136", "EL073", "AA0136", "      1.00", "0")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "0"}, {"AA0136", "0"}, {"AA0137", "2"}})),
                          {"EL073"}),
              Rows{});

    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "182"}})), {"EL077"}),
              (Rows{employee_row(d, "AA0218", "EL077", "AA0218", "       182", "<=        181")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0219", "131"}})), {"EL078"}),
              (Rows{employee_row(d, "AA0219", "EL078", "AA0219", "       131", "<=        130")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0219", "130"}})), {"EL078"}), Rows{});
}

TEST(EmployeeRules, ShortenedWorkingTime) {
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0131", "29.99"}})), {"EL070"}),
              (Rows{employee_row(d, "AA0131", "EL070", "AA0131", "     29.99", ">= 30")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0131", "30"}})), {"EL070"}), Rows{});
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0131", "29"}, {"AA0136", "0.99"}})), {"EL070"}),
              Rows{});

    // Average equal to registered (within 1 %) and under 37.5 hours a week.
    auto wl072 = [](std::string_view weekly_hours, std::string_view days = "181") {
        return report_rows(single_employee(employee_with({{"AA0131", weekly_hours}, {"AA0218", days}})),
                           {"WL072"});
    };
    EXPECT_EQ(wl072("37.49"), (Rows{employee_row(d, "AA0131", "WL072", "AA0131", "     37.49", ">= 37.5")}));
    EXPECT_EQ(wl072("37.5"), Rows{});
    EXPECT_EQ(wl072("37", "180"),
              (Rows{employee_row(d, "AA0131", "WL072", "AA0131", "     37.00", ">= 37.5")}));
    EXPECT_EQ(wl072("37", "179"), Rows{});
}

TEST(EmployeeRules, AbsenceAgainstSicknessAndHoliday) {
    DocumentBuilder d = single_employee(example_employee());
    const std::string_view fields = "AA0135; AA0210; AA0219;";
    auto el069 = [](std::string_view occupation, std::string_view holiday, std::string_view sickness,
                    std::string_view absence) {
        return report_rows(
            single_employee(employee_with(
                {{"AA0013", occupation}, {"AA0135", holiday}, {"AA0210", sickness}, {"AA0219", absence}})),
            {"EL069"});
    };
    // 850 div 85 = 850 div 80 = 10 days.
    const Rows row_85 = {employee_row(d, "AA0210", "EL069", fields, "     85.00 ;   0 ;   9 ;", kBlank)};
    EXPECT_EQ(el069(kGroup0Occupation, "85", "0", "9"), row_85);
    EXPECT_EQ(el069(kOtherOccupation, "85", "0", "9"), row_85);
    EXPECT_EQ(el069(kGroup0Occupation, "85", "0", "10"), Rows{});
    // 800 div 85 = 9, 800 div 80 = 10.
    EXPECT_EQ(el069(kGroup0Occupation, "80", "5", "14"), Rows{});
    EXPECT_EQ(el069(kOtherOccupation, "80", "5", "14"),
              (Rows{employee_row(d, "AA0210", "EL069", fields, "     80.00 ;   5 ;  14 ;", kBlank)}));
    // Tenths of hours cut before the division.
    EXPECT_EQ(el069(kGroup0Occupation, "8.5", "5", "5"),
              (Rows{employee_row(d, "AA0210", "EL069", fields, "      8.50 ;   5 ;   5 ;", kBlank)}));
    EXPECT_EQ(el069(kGroup0Occupation, "8.49", "5", "5"), Rows{});
}

TEST(EmployeeRules, CancelledSalariesAndStartBeforeAge14) {
    DocumentBuilder d = single_employee(example_employee());
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0160", "1"}})), {"EL075"}),
              (Rows{employee_row(d, "AA0160", "EL075", "AA0160", "         1", "0")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0160", "-1"}})), {"EL075"}),
              (Rows{employee_row(d, "AA0160", "EL075", "AA0160", "        -1", "0")}));

    // Born 1992: at most 2006 - 1992 - 13 = 1 year; reported on the line of AA0218.
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0231", "1992"}, {"AA0225", "1"}, {"AA0216", "1"}})),
                    {"EL076"}),
        (Rows{employee_row(d, "AA0218", "EL076", "AA0216 + AA0225", "         2", "<=          1")}));
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0231", "1992"}, {"AA0225", "1"}, {"AA0216", "0"}})),
                    {"EL076"}),
        Rows{});
}

TEST(EmployeeRules, WorkedAndAbsentDaysAgainstRegisteredDays) {
    // (900 - 20) / 8.5 = 103.5 days for group 0, / 8 = 110 for others, plus AA0219, against 181.
    DocumentBuilder d = single_employee(example_employee());
    const std::string_view fields = "AA0132; AA0133; AA0218; AA0219;";
    auto el080 = [](std::string_view occupation, std::string_view days) {
        return report_rows(single_employee(employee_with({{"AA0013", occupation}, {"AA0219", days}})),
                           {"EL080"});
    };
    EXPECT_EQ(el080(kGroup0Occupation, "77"), Rows{});
    EXPECT_EQ(
        el080(kGroup0Occupation, "78"),
        (Rows{employee_row(d, "AA0219", "EL080", fields, "    900.00 ;      20.00 ;  181 ;  78 ;", kBlank)}));
    EXPECT_EQ(el080(kOtherOccupation, "71"), Rows{});
    EXPECT_EQ(
        el080(kOtherOccupation, "72"),
        (Rows{employee_row(d, "AA0219", "EL080", fields, "    900.00 ;      20.00 ;  181 ;  72 ;", kBlank)}));
}

// A field that failed its own check (switch 'E') is left out of every rule that names it.
TEST(EmployeeRules, FaultyFieldSwitchesRulesOff) {
    DocumentBuilder d = single_employee(example_employee());
    const std::vector<std::string_view> weekly_hours_rules = {"EL005", "WL060", "EL070", "WL072"};
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0131", "80"}})), weekly_hours_rules),
        (Rows{employee_row(d, "AA0131", "EL005", "AA0131", "     80.00", "max. 42,5"),
              employee_row(d, "AA0131", "WL060", "AA0131", "       80.00", "       20.00 -        42.50 ")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0131", "81"}})), weekly_hours_rules), Rows{});

    const std::vector<std::string_view> day_rules = {"EL006", "WL009", "EL037", "WL060", "EL066", "EL071",
                                                     "WL072", "EL073", "EL076", "EL077", "EL080"};
    EXPECT_EQ(
        report_rows(single_employee(employee_with({{"AA0218", "365"}})), day_rules),
        (Rows{employee_row(d, "AA0131", "WL060", "AA0131", "       40.00", "        9.92 -        29.75 "),
              employee_row(d, "AA0218", "EL071", "AA0218", "       365", "       181"),
              employee_row(d, "AA0218", "EL077", "AA0218", "       365", "<=        181")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0218", "400"}})), day_rules), Rows{});

    const std::vector<std::string_view> holiday_rules = {"EL010", "EL069"};
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0135", "9999"}})), holiday_rules),
              (Rows{employee_row(d, "AA0135", "EL010", "AA0135", "   9999.00", "    120.00"),
                    employee_row(d, "AA0210", "EL069", "AA0135; AA0210; AA0219;", "   9999.00 ;   5 ;  20 ;",
                                 kBlank)}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0135", "10000"}})), holiday_rules), Rows{});

    // A headcount of 1.5 is out of range; taken as it stands it would break the hours and the days.
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0136", "1.5"}})),
                          {"WL009", "WL060", "EL066", "WL072"}),
              Rows{});

    // Class 0 is out of range: no tariff check at all.
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0127", "0"}, {"AA0138", "99999"}})),
                          {"EL051", "WL011", "WL012"}),
              Rows{});
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0127", "17"}, {"AA0138", "99999"}})),
                          {"EL051", "WL011", "WL012"}),
              Rows{});

    // A summand too long for its field stops the salary total.
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0162", "99999"}})), {"EL015"}),
              (Rows{row(d.employee_end_line(0), "EL015", kEmployer, kEmployee, "AA0144", "     64960",
                        "    164959")}));
    EXPECT_EQ(report_rows(single_employee(employee_with({{"AA0162", "100000"}})), {"EL015"}), Rows{});
}

// A field missing from a record keeps the switch of its last occurrence in an earlier record.
TEST(EmployeeRules, MissingFieldKeepsSwitchOfEarlierRecord) {
    const std::vector<std::string_view> weekly_hours_rules = {"EL005", "WL060", "EL070", "WL072"};
    {
        DocumentBuilder d;
        d.employer(example_employer(2))
            .employee(example_employee("1001"))
            .employee(without(example_employee("1002"), "AA0131"))
            .end_employer();
        // The value is 0; the line is that of the field in the first record.
        const std::string line = d.employee_line(0, "AA0131");
        EXPECT_EQ(report_rows(d, weekly_hours_rules),
                  (Rows{row(line, "WL060", kEmployer, "1002", "AA0131", "        0.00",
                            "       20.00 -        42.50 "),
                        row(line, "EL070", kEmployer, "1002", "AA0131", "      0.00", ">= 30"),
                        row(line, "WL072", kEmployer, "1002", "AA0131", "      0.00", ">= 37.5")}));
    }
    {
        DocumentBuilder d;
        d.employer(example_employer(2))
            .employee(with(example_employee("1001"), {{"AA0131", "81"}}))
            .employee(without(example_employee("1002"), "AA0131"))
            .end_employer();
        EXPECT_EQ(report_rows(d, weekly_hours_rules), Rows{});
    }
}

// The employee store, seen through the employer rules that read it.
TEST(EmployeeStore, StateCodePositions) {
    auto el003 = [](std::string_view first, std::string_view second) {
        DocumentBuilder d;
        d.employer(example_employer(2))
            .employee(with(example_employee("7"), {{"AA0033", first}}))
            .employee(with(example_employee("7"), {{"AA0033", second}}))
            .end_employer();
        return std::pair{report_rows(d, {"EL003"}),
                         d.employee_line(0, "AA0126") + "," + d.employee_line(1, "AA0126")};
    };
    // One state in two forms is two positions of the list.
    auto [cze_rows, cze_lines] = el003("CZE", "203");
    EXPECT_EQ(cze_rows, (Rows{row(cze_lines, "EL003", kEmployer, "7", "AA0033", "CZE", "203")}));
    EXPECT_EQ(el003("SK", "SK").first, Rows{});
    // A code not in the list is one position (718) for all such codes, shown as read.
    auto [xx_rows, xx_lines] = el003("CZ", "XX");
    EXPECT_EQ(xx_rows, (Rows{row(xx_lines, "EL003", kEmployer, "7", "AA0033", "CZ", "XX")}));
    EXPECT_EQ(el003("XX", "QQ").first, Rows{});
}

TEST(EmployeeStore, EmploymentKindFlag) {
    // 51 records of the main relationship (kind 1) make WL043; any other kind in one record stops it.
    auto wl043 = [](const Fields& last) {
        DocumentBuilder d;
        d.employer(example_employer(51));
        for (int i = 0; i < 50; ++i) d.employee(example_employee(std::to_string(1000 + i)));
        d.employee(last).end_employer();
        return report_rows(d, {"WL043"});
    };
    const Rows wl = {row(kBlank, "WL043", kEmployer, kBlank, kBlank, kBlank, kBlank)};
    EXPECT_EQ(wl043(example_employee("2000")), wl);
    EXPECT_EQ(wl043(with(example_employee("2000"), {{"AA0130", "7"}})), Rows{});
    EXPECT_EQ(wl043(with(example_employee("2000"), {{"AA0130", "3"}})), Rows{});
    // The field given twice: the record's value is the second, 1; the store saw the first. Kind 7
    // leaves the store's flag alone, kind 2 sets it.
    EXPECT_EQ(wl043(twice(with(example_employee("2000"), {{"AA0130", "7"}}), "AA0130", "1")), wl);
    EXPECT_EQ(wl043(twice(with(example_employee("2000"), {{"AA0130", "2"}}), "AA0130", "1")), Rows{});
}

TEST(EmployeeStore, RecordWithUnconvertibleSalary) {
    // The slot keeps the employer-start value 0 for a salary that is no number.
    auto single = [](const Fields& fields) {
        DocumentBuilder d = single_employee(fields);
        return std::pair{report_rows(d, {"WL025", "WL026"}), d.employee_line(0, "AA0126")};
    };
    auto [v, line] = single(employee_with({{"AA0144", "649x0"}}));
    EXPECT_EQ(v, (Rows{row(line, "WL025", kEmployer, kEmployee, "AA0167", "      2923", "0"),
                       row(line, "WL026", kEmployer, kEmployee, "AA0168", "      8120", "0")}));
}

TEST(EmployeeStore, EveryEmployerStartsEmpty) {
    // The second employer's record lacks a salary in one case and the days in the register in the
    // other; nothing of the first employer's records may stand in for them.
    auto two_employers = [](const Fields& second) {
        DocumentBuilder d;
        d.employer()
            .employee(with(example_employee("1"), {{"AA0167", "7000"}}))
            .end_employer()
            .employer(with(example_employer(), {{"AA0017", "20000014"}}))
            .employee(second)
            .end_employer();
        return std::pair{report_rows(d, {"WL025", "WL026"}), d};
    };
    {
        auto [v, d] = two_employers(with(example_employee("1"), {{"AA0144", "649x0"}}));
        EXPECT_EQ(
            v,
            (Rows{row(d.employee_line(0, "AA0126"), "WL025", kEmployer, "1", "AA0167", "      7000",
                      "<=     6496.00"),
                  row(d.employee_line(1, "AA0126"), "WL025", "20000014", "1", "AA0167", "      2923", "0"),
                  row(d.employee_line(1, "AA0126"), "WL026", "20000014", "1", "AA0168", "      8120", "0")}));
    }
    {
        auto [v, d] = two_employers(without(with(example_employee("1"), {{"AA0167", "7000"}}), "AA0218"));
        EXPECT_EQ(v, (Rows{row(d.employee_line(0, "AA0126"), "WL025", kEmployer, "1", "AA0167", "      7000",
                               "<=     6496.00")}));
    }
}

TEST(EmployeeStore, LongIdentifiersAndLineNumbers) {
    // Identifiers are kept whole: two eleven-character identifiers that share their first ten are
    // two persons. Line numbers beyond six digits are kept whole too.
    DocumentBuilder d(true);
    d.employer(example_employer(4), true);
    d.skip_to_line(1000000).employee(example_employee("12345678901"), true);
    d.employee(with(example_employee("12345678902"), {{"AA0231", "1971"}}), true);
    d.employee(with(example_employee("9"), {{"AA0167", "7000"}}), true);
    d.employee(with(example_employee("9"), {{"AA0231", "1971"}}), true);
    d.end_employer();
    EXPECT_EQ(report_rows(d, {"EL003", "WL025"}),
              (Rows{row("1000002,1000003", "EL003", kEmployer, "9", "AA0231", "1970", "1971")}));
}

// Every record has its own slot, also beyond 15000 records in one employer: the last two records
// belong to one person and are compared with each other.
TEST(EmployeeStore, MoreThan15000Records) {
    constexpr int kCount = 15001;
    std::string text = document_head();  // lines 1 to 10
    text += "<zamestnavatel>";
    for (const auto& [name, content] : example_employer())
        text += "<" + name + ">" + content + "</" + name + ">";
    text += "\r\n";  // line 11; the record i stands on line 12 + i
    Fields fields = with(example_employee(), {{"AA0132", "0"},
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
    std::string rest;  // everything after the identifier and the birth year
    for (std::size_t i = 2; i < fields.size(); ++i)
        rest += "<" + fields[i].first + ">" + fields[i].second + "</" + fields[i].first + ">";
    rest += "</zamestnanec>\r\n";
    for (int i = 0; i < kCount; ++i) {
        const bool last_two = i >= kCount - 2;
        char id[8];
        std::snprintf(id, sizeof id, "%05d", last_two ? 99999 : i);
        text += "<zamestnanec><AA0126>";
        text += id;
        text += "</AA0126><AA0231>";
        text += i == kCount - 1 ? "1971" : "1970";
        text += "</AA0231>";
        text += rest;
    }
    text += "</zamestnavatel>\r\n" + document_tail();

    // The findings as data: the person's records by their lines, not by a report's text.
    struct PersonFindings : FindingSink {
        std::vector<std::vector<std::uint64_t>> lines;
        std::vector<std::string> texts;
        void finding(const Finding& f) override {
            if (f.code != Code::EL003) return;
            lines.emplace_back(f.lines.begin(), f.lines.end());
            texts.push_back(f.employee.utf8() + " " + f.field.utf8() + " " + f.value.utf8() + " " +
                            f.expected.utf8() + (f.more_lines ? " more" : ""));
        }
    } found;
    check_bytes(text, found);
    const std::uint64_t first = 12 + kCount - 2;
    EXPECT_EQ(found.lines, (std::vector<std::vector<std::uint64_t>>{{first, first + 1}}));
    EXPECT_EQ(found.texts, (std::vector<std::string>{"99999 AA0231 1970 1971"}));
}

}  // namespace
}  // namespace tavon::test

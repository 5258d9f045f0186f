#include "records/employee_rules.h"

#include <cmath>
#include <initializer_list>

#include "base/format.h"

namespace tavon {
namespace {

constexpr double kCalendarDays = 181;
constexpr double kWorkingDays = 130;
constexpr double kMaxHours = 1248;
constexpr double kYear = 2006;

}  // namespace

void EmployeeRules::end_of_employee(const EmployeeFields& fields, EmployeeStore& store) {
    if (!fields.all_once())
        for (int i = 0; i < employee::kCount; ++i)
            if (fields.count[static_cast<std::size_t>(i)] > 1)
                reporter_.report_here("ES304", kEmployeeFields[static_cast<std::size_t>(i)].name, " ",
                                      Fmt("%d", fields.count[static_cast<std::size_t>(i)]));
    apply_rules(fields, store);

    const double v136 = fields.value[employee::AA0136], v137 = fields.value[employee::AA0137];
    store.sum_AA0136 += v136;
    if (v137 == 1) store.count_AA0137 += v137;
    if (v137 > 1) store.some_AA0137_above_1 = true;
    if (fields.value[employee::AA0130] > 1) store.some_AA0130_above_1 = true;
    store.sum_AA0144 += fields.value[employee::AA0144];
}

void EmployeeRules::apply_rules(const EmployeeFields& fields, const EmployeeStore& store) {
    auto v = [&](int row) { return fields.value[static_cast<std::size_t>(row)]; };
    // A rule that involves a field that failed its checks is skipped.
    auto ok = [&](std::initializer_list<int> rows) {
        std::uint64_t mask = 0;  // constant once inlined: the rows are
        for (int row : rows) mask |= EmployeeFields::bit(static_cast<std::size_t>(row));
        return fields.all_ok(mask);
    };
    auto line = [&](int row) { return LineText(fields.line[static_cast<std::size_t>(row)]); };
    auto report = [&](std::string_view at, std::string_view code, std::string_view field,
                      std::string_view value,
                      std::string_view expected) { reporter_.report(at, code, field, value, expected); };
    const std::string_view here = reporter_.current_line();

    // Occupation group: '0' is group 0; a first byte above '0' (signed) is any other.
    const signed char first =
        store.current_AA0013.empty() ? 0 : static_cast<signed char>(store.current_AA0013[0]);
    const bool group0 = first == '0';
    const bool other_group = first > '0';
    const bool counted = v(employee::AA0136) > 0 && v(employee::AA0218) > 0;

    // 1. Presence.
    report_presence(kEmployeeFields, fields, reporter_, kNothing, false);

    // 2. Weekly working time.
    if (ok({employee::AA0131})) {
        if (other_group && v(employee::AA0131) > 40)
            report(line(employee::AA0131), "EL005", "AA0131", Fmt("%10.2f", v(employee::AA0131)), "max. 40");
        if (group0 && v(employee::AA0131) > 42.5)
            report(line(employee::AA0131), "EL005", "AA0131", Fmt("%10.2f", v(employee::AA0131)),
                   "max. 42,5");
    }

    // 3. Registered days against years of employment.
    if (ok({employee::AA0216, employee::AA0218, employee::AA0225})) {
        double y = std::trunc(100 * (v(employee::AA0218) / 365 - 0.0005)) / 100;
        if (v(employee::AA0218) == 365) y = 1;
        double years = v(employee::AA0216) + v(employee::AA0225);
        if (y > years)
            report(line(employee::AA0225), "EL006", "AA0225 + AA0216", Fmt("%10.2f", years),
                   Fmt("%10.2f", y));
    }

    // 4, 5. Hours worked and overtime.
    if (ok({employee::AA0132}) && v(employee::AA0132) > kMaxHours)
        report(line(employee::AA0132), "WL007", "AA0132", Fmt("%10.0f", v(employee::AA0132)),
               Fmt(" <= %d", static_cast<int>(kMaxHours)));
    if (ok({employee::AA0132, employee::AA0133}) && v(employee::AA0133) > v(employee::AA0132) / 6)
        report(line(employee::AA0133), "WL008", "AA0133", Fmt("%10.2f", v(employee::AA0133)),
               Fmt("%10.2f", v(employee::AA0132) / 6));

    // 6. Hours against the headcount.
    if (ok({employee::AA0132, employee::AA0133, employee::AA0136, employee::AA0218, employee::AA0219}) &&
        v(employee::AA0136) > 0 && v(employee::AA0218) > 0) {
        double p = v(employee::AA0132) - v(employee::AA0133) +
                   kCalendarDays * 8 * v(employee::AA0219) * v(employee::AA0136) / v(employee::AA0218);
        double lo = 0.6 * kMaxHours * v(employee::AA0136), hi = kMaxHours * v(employee::AA0136);
        auto report_it = [&] {
            report(line(employee::AA0136), "WL009", "AA0132; AA0133; AA0218; AA0219; AA0136;",
                   Fmt("%10.2f ; %10.2f ;  %3.0f ;  %3.0f ; %10.4f ;", v(employee::AA0132),
                       v(employee::AA0133), v(employee::AA0218), v(employee::AA0219), v(employee::AA0136)),
                   kNothing);
        };
        if (lo > p) report_it();
        if (hi < p) report_it();
    }

    // 7. Holiday against paid absence.
    if (ok({employee::AA0134, employee::AA0135}) && v(employee::AA0134) < v(employee::AA0135))
        report(line(employee::AA0135), "EL010", "AA0135", Fmt("%10.2f", v(employee::AA0135)),
               Fmt("%10.2f", v(employee::AA0134)));

    // 8, 9. Tariff salary against the tariff table.
    if (ok({employee::AA0127, employee::AA0128, employee::AA0129, employee::AA0138})) {
        const double s = v(employee::AA0129), c = v(employee::AA0127), g = v(employee::AA0128),
                     t138 = v(employee::AA0138);
        const bool last_day = v(employee::AA0137) == 1;
        auto tariff_finding = [&](std::string_view expected) {
            if (last_day)
                report(line(employee::AA0138), "EL051", "AA0138", Fmt("%10.0f", t138), expected);
            else if (counted)
                report(line(employee::AA0138), "WL011", "AA0138", Fmt("%10.0f", t138), expected);
        };
        if (s > 0 && c > 0 && g > 0) {
            double t = tariffs_.tariff(s, c, g);
            if (t != t138) tariff_finding(Fmt("%10.0f", t));
        }
        if (s > 0 && c > 0 && g == 0) {
            const TariffTable::Range r = tariffs_.class_range(s, c);
            if (t138 < r.low || t138 > r.high) tariff_finding(Fmt("%10.0f  - %10.0f", r.low, r.high));
        } else if (last_day && (s <= 0 || c <= 0 || g < 0)) {
            const TariffTable::Range r = tariffs_.whole_range();
            if (t138 < r.low || t138 > r.high)
                report(line(employee::AA0138), "EL051", "AA0138", Fmt("%10.0f", t138),
                       Fmt("%10.0f - %10.0f", r.low, r.high));
        }
    }

    // 10. Personal bonus.
    if (ok({employee::AA0127, employee::AA0129, employee::AA0139}) && v(employee::AA0129) > 0 &&
        v(employee::AA0127) > 0) {
        double m = tariffs_.class_top(v(employee::AA0129), v(employee::AA0127));
        if (v(employee::AA0127) < 10) m = m / 2;
        if (v(employee::AA0139) > m && counted)
            report(line(employee::AA0139), "WL012", "AA0139", Fmt("%10.0f", v(employee::AA0139)),
                   Fmt("%10.0f", m));
    }

    // 11-13. Bonus limits.
    auto limit = [&](int r, std::string_view code, std::string_view field, int max) {
        if (ok({r}) && v(r) > max && counted)
            report(line(r), code, field, Fmt("%10.0f", v(r)), Fmt("<= %d", max));
    };
    limit(employee::AA0140, "WL013", "AA0140", 13000);
    limit(employee::AA0141, "WL013", "AA0141", 13000);
    limit(employee::AA0142, "WL014", "AA0142", 10000);

    // 14. Salary total.
    if (ok({employee::AA0145, employee::AA0146, employee::AA0147, employee::AA0148, employee::AA0160,
            employee::AA0162, employee::AA0150, employee::AA0157, employee::AA0161, employee::AA0163,
            employee::AA0158, employee::AA0144})) {
        double s = v(employee::AA0146) + v(employee::AA0145) + v(employee::AA0147) + v(employee::AA0148) +
                   v(employee::AA0160) + v(employee::AA0162) + v(employee::AA0150) + v(employee::AA0157) +
                   v(employee::AA0163) + v(employee::AA0161) + v(employee::AA0158);
        if (v(employee::AA0144) != s)
            report(here, "EL015", "AA0144", Fmt("%10.0f", v(employee::AA0144)), Fmt("%10.0f", s));
    }

    // 15. Holiday compensation.
    if (ok({employee::AA0158, employee::AA0159}) && v(employee::AA0158) < v(employee::AA0159))
        report(line(employee::AA0159), "WL016", "AA0159", Fmt("%10.0f", v(employee::AA0159)),
               Fmt("%10.0f", v(employee::AA0158)));

    // 16. Hourly salary.
    if (ok({employee::AA0136, employee::AA0165, employee::AA0144, employee::AA0132, employee::AA0134,
            employee::AA0162}) &&
        v(employee::AA0136) > 0 && v(employee::AA0165) > 0) {
        double p = (v(employee::AA0134) + v(employee::AA0132)) * v(employee::AA0165);
        auto report_it = [&] {
            report(here, "WL017", "AA0165; AA0132; AA0134; AA0144;",
                   Fmt(" %10.2f ; %10.2f ; %10.2f ; %10.0f ;", v(employee::AA0165), v(employee::AA0132),
                       v(employee::AA0134), v(employee::AA0144)),
                   kNothing);
        };
        if (0.8 * v(employee::AA0144) > p) report_it();
        if (1.2 * v(employee::AA0144) < p) report_it();
    }

    // 17. Rank bonus.
    limit(employee::AA0143, "WL024", "AA0143", 4600);

    // 18. Bonus total.
    if (ok({employee::AA0150, employee::AA0239, employee::AA0151, employee::AA0152, employee::AA0153,
            employee::AA0154, employee::AA0155, employee::AA0156, employee::AA0240})) {
        double s = v(employee::AA0151) + v(employee::AA0239) + v(employee::AA0152) + v(employee::AA0153) +
                   v(employee::AA0154) + v(employee::AA0155) + v(employee::AA0156) + v(employee::AA0240);
        if (v(employee::AA0150) != s)
            report(line(employee::AA0150), "EL027", "AA0150", Fmt("%10.0f", v(employee::AA0150)),
                   Fmt("%10.0f", s));
    }

    // 19. Standby pay.
    if (ok({employee::AA0161, employee::AA0237, employee::AA0238}) &&
        v(employee::AA0161) != v(employee::AA0238) + v(employee::AA0237))
        report(line(employee::AA0161), "EL028", "AA0161", Fmt("%10.0f", v(employee::AA0161)),
               Fmt("%10.0f", v(employee::AA0238) + v(employee::AA0237)));

    // 20. Holiday without compensation.
    if (ok({employee::AA0135, employee::AA0159}) && v(employee::AA0135) != 0 && v(employee::AA0159) == 0)
        report(line(employee::AA0159), "WL029", "AA0135 ; AA0159 ;",
               Fmt("%10.2f ; %10.2f ;", v(employee::AA0135), v(employee::AA0159)), " ");

    // 21. Values that must be zero outside the headcount.
    for (int r : {employee::AA0132, employee::AA0133, employee::AA0134, employee::AA0135, employee::AA0210,
                  employee::AA0218, employee::AA0219}) {
        if (ok({r, employee::AA0136}) && v(r) != 0 && v(employee::AA0136) == 0) {
            bool decimals = r == employee::AA0133 || r == employee::AA0134 || r == employee::AA0135;
            report(line(r), "EL037", kEmployeeFields[static_cast<std::size_t>(r)].name,
                   Fmt(decimals ? "%10.2f" : "%10.0f", v(r)), "0");
        }
    }

    // 22. Last-day status outside the headcount (reported on the line of AA0138).
    if (ok({employee::AA0137, employee::AA0136}) && v(employee::AA0137) != 2 && v(employee::AA0136) == 0)
        report(line(employee::AA0138), "EL038", "AA0137", Fmt("%10.0f", v(employee::AA0137)), "2");

    // 23. Increased tariff in state administration.
    if (ok({employee::AA0125, employee::AA0129}) && v(employee::AA0129) != 4 && v(employee::AA0129) != 5 &&
        v(employee::AA0125) == 1)
        report(line(employee::AA0129), "WL040", "AA0129", Fmt("%10.0f", v(employee::AA0129)), "4,5");

    // 24. Whole period in the headcount.
    if (ok({employee::AA0136, employee::AA0137}) && v(employee::AA0137) != 1 && v(employee::AA0136) == 1)
        report(line(employee::AA0137), "EL059", "AA0137", Fmt("%10.0f", v(employee::AA0137)), "1");

    // 25. Weekly working time against the average.
    if (ok({employee::AA0136, employee::AA0131, employee::AA0218}) && v(employee::AA0136) > 0 &&
        v(employee::AA0218) > 0) {
        double lo = kCalendarDays * 20 * v(employee::AA0136) / v(employee::AA0218);
        double hi = kCalendarDays * 60 * v(employee::AA0136) / v(employee::AA0218);
        if (hi > 42.5) hi = 42.5;
        if (other_group && hi > 40) hi = 40;
        if (v(employee::AA0131) < lo || v(employee::AA0131) > hi)
            report(line(employee::AA0131), "WL060", "AA0131", Fmt("%12.2f", v(employee::AA0131)),
                   Fmt("%12.2f - %12.2f ", lo, hi));
    }

    // 26. Recalculated headcount against days.
    if (ok({employee::AA0136, employee::AA0218}) && v(employee::AA0218) != 0 && v(employee::AA0136) != 0) {
        double limit_value = 1.1 * v(employee::AA0218) / kCalendarDays;
        if (v(employee::AA0136) > limit_value)
            report(line(employee::AA0218), "EL066", "AA0136", Fmt("%10.4f", v(employee::AA0136)),
                   Fmt("<= %10.5f", limit_value));
    }

    // 27. Missing hourly salary.
    if (ok({employee::AA0165, employee::AA0134}) && v(employee::AA0134) > 0 && v(employee::AA0165) == 0 &&
        counted)
        report(line(employee::AA0165), "WL067", "AA0165", Fmt("%10.2f", v(employee::AA0165)), " > 0");

    // 28. Absence against sickness and holiday.
    if (ok({employee::AA0135, employee::AA0210, employee::AA0219})) {
        const long long d = other_group ? 80 : 85;
        double limit_value =
            static_cast<double>(static_cast<long long>(std::trunc(10 * v(employee::AA0135))) / d) +
            v(employee::AA0210);
        if (v(employee::AA0219) < limit_value)
            report(line(employee::AA0210), "EL069", "AA0135; AA0210; AA0219;",
                   Fmt("%10.2f ; %3.0f ; %3.0f ;", v(employee::AA0135), v(employee::AA0210),
                       v(employee::AA0219)),
                   kNothing);
    }

    // 29-32. Full headcount, shortened time and days.
    if (ok({employee::AA0136, employee::AA0131}) && v(employee::AA0131) < 30 && v(employee::AA0136) == 1)
        report(line(employee::AA0131), "EL070", "AA0131", Fmt("%10.2f", v(employee::AA0131)), ">= 30");
    if (ok({employee::AA0136, employee::AA0218}) && v(employee::AA0218) != kCalendarDays &&
        v(employee::AA0136) == 1)
        report(line(employee::AA0218), "EL071", "AA0218", Fmt("%10.0f", v(employee::AA0218)),
               Fmt("%10.0f", kCalendarDays));
    if (ok({employee::AA0136, employee::AA0218, employee::AA0131})) {
        double r = v(employee::AA0218) / kCalendarDays;
        if (0.99 * v(employee::AA0136) <= r && r <= 1.01 * v(employee::AA0136) &&
            v(employee::AA0131) < 37.5 && v(employee::AA0136) > 0)
            report(line(employee::AA0131), "WL072", "AA0131", Fmt("%10.2f", v(employee::AA0131)), ">= 37.5");
    }
    if (ok({employee::AA0136, employee::AA0218}) && v(employee::AA0218) == 0 && v(employee::AA0136) != 0)
        report(line(employee::AA0136), "EL073", "AA0136", Fmt("%10.2f", v(employee::AA0136)), "0");

    // 33. Abolished salaries.
    if (ok({employee::AA0160}) && v(employee::AA0160) != 0)
        report(line(employee::AA0160), "EL075", "AA0160", Fmt("%10.0f", v(employee::AA0160)), "0");

    // 34. Start of employment before the age of 14 (reported on the line of AA0218).
    if (ok({employee::AA0216, employee::AA0225, employee::AA0231})) {
        double s = v(employee::AA0225) + v(employee::AA0216);
        double limit_value = kYear - v(employee::AA0231) - 13;
        if (limit_value < s)
            report(line(employee::AA0218), "EL076", "AA0216 + AA0225", Fmt("%10.0f", s),
                   Fmt("<= %10.0f", limit_value));
    }

    // 35, 36. Days in the period.
    if (ok({employee::AA0218}) && v(employee::AA0218) > kCalendarDays)
        report(line(employee::AA0218), "EL077", "AA0218", Fmt("%10.0f", v(employee::AA0218)),
               Fmt("<= %10.0f", kCalendarDays));
    if (ok({employee::AA0219}) && v(employee::AA0219) > kWorkingDays)
        report(line(employee::AA0219), "EL078", "AA0219", Fmt("%10.0f", v(employee::AA0219)),
               Fmt("<= %10.0f", kWorkingDays));

    // 37. Worked and absent days against registered days.
    if (ok({employee::AA0218, employee::AA0219, employee::AA0132, employee::AA0133})) {
        double w = (v(employee::AA0132) - v(employee::AA0133)) / (other_group ? 8 : 8.5);
        if (v(employee::AA0218) < w + v(employee::AA0219))
            report(line(employee::AA0219), "EL080", "AA0132; AA0133; AA0218; AA0219;",
                   Fmt("%10.2f ; %10.2f ;  %3.0f ; %3.0f ;", v(employee::AA0132), v(employee::AA0133),
                       v(employee::AA0218), v(employee::AA0219)),
                   kNothing);
    }
}

}  // namespace tavon

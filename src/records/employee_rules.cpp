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

namespace {

// One employee record as its rules read it: the values of its fields, whether they passed their
// checks, their lines, and the findings' context. Each rule group is one member function; they run
// in the order of the rules, which is the order of the findings.
class RecordRules {
  public:
    RecordRules(const EmployeeFields& fields, const EmployeeStore& store, const TariffTable& tariffs,
                const Context& who, Reporter& reporter)
        : fields_(fields),
          tariffs_(tariffs),
          who_(who),
          reporter_(reporter),
          here(Where::at(reporter.current_line_number())) {
        // Occupation group: '0' is group 0; a first byte above '0' (signed) is any other.
        const signed char first =
            store.current_AA0013.empty() ? 0 : static_cast<signed char>(store.current_AA0013[0]);
        group0 = first == '0';
        other_group = first > '0';
        counted = v(employee::AA0136) > 0 && v(employee::AA0218) > 0;
    }

    void working_time();
    void tariff_and_bonuses();
    void salary_parts();
    void headcount();
    void headcount_against_time();
    void days_and_age();

  private:
    double v(int row) const { return fields_.value[static_cast<std::size_t>(row)]; }
    // A rule that involves a field that failed its checks is skipped.
    bool ok(std::initializer_list<int> rows) const {
        std::uint64_t mask = 0;  // constant once inlined: the rows are
        for (int row : rows) mask |= EmployeeFields::bit(static_cast<std::size_t>(row));
        return fields_.all_ok(mask);
    }
    Where line(int row) const { return Where::at(fields_.line[static_cast<std::size_t>(row)]); }
    void report(Where at, Code code, Column field, Column value, Column expected) const {
        reporter_.report(who_, at, code, field, value, expected);
    }
    // A bonus above its limit, for a record in the headcount.
    void limit(int r, Code code, std::string_view field, int max) const {
        if (ok({r}) && v(r) > max && counted)
            report(line(r), code, field, Formatted("{:10.0f}", v(r)), Formatted("<= {}", max));
    }

    const EmployeeFields& fields_;
    const TariffTable& tariffs_;
    const Context& who_;
    Reporter& reporter_;
    const Where here;
    bool group0 = false, other_group = false, counted = false;
};

// Working time: the weekly time, the years of employment against the registered days, hours
// worked and overtime, hours against the headcount, holiday against paid absence.
void RecordRules::working_time() {
    // 2. Weekly working time.
    if (ok({employee::AA0131})) {
        if (other_group && v(employee::AA0131) > 40)
            report(line(employee::AA0131), Code::EL005, "AA0131", Formatted("{:10.2f}", v(employee::AA0131)),
                   "max. 40");
        if (group0 && v(employee::AA0131) > 42.5)
            report(line(employee::AA0131), Code::EL005, "AA0131", Formatted("{:10.2f}", v(employee::AA0131)),
                   "max. 42,5");
    }

    // 3. Registered days against years of employment.
    if (ok({employee::AA0216, employee::AA0218, employee::AA0225})) {
        double y = std::trunc(100 * (v(employee::AA0218) / 365 - 0.0005)) / 100;
        if (v(employee::AA0218) == 365) y = 1;
        double years = v(employee::AA0216) + v(employee::AA0225);
        if (y > years)
            report(line(employee::AA0225), Code::EL006, "AA0225 + AA0216", Formatted("{:10.2f}", years),
                   Formatted("{:10.2f}", y));
    }

    // 4, 5. Hours worked and overtime.
    if (ok({employee::AA0132}) && v(employee::AA0132) > kMaxHours)
        report(line(employee::AA0132), Code::WL007, "AA0132", Formatted("{:10.0f}", v(employee::AA0132)),
               Formatted(" <= {}", static_cast<int>(kMaxHours)));
    if (ok({employee::AA0132, employee::AA0133}) && v(employee::AA0133) > v(employee::AA0132) / 6)
        report(line(employee::AA0133), Code::WL008, "AA0133", Formatted("{:10.2f}", v(employee::AA0133)),
               Formatted("{:10.2f}", v(employee::AA0132) / 6));

    // 6. Hours against the headcount.
    if (ok({employee::AA0132, employee::AA0133, employee::AA0136, employee::AA0218, employee::AA0219}) &&
        v(employee::AA0136) > 0 && v(employee::AA0218) > 0) {
        double p = v(employee::AA0132) - v(employee::AA0133) +
                   kCalendarDays * 8 * v(employee::AA0219) * v(employee::AA0136) / v(employee::AA0218);
        double lo = 0.6 * kMaxHours * v(employee::AA0136), hi = kMaxHours * v(employee::AA0136);
        auto report_it = [&] {
            report(
                line(employee::AA0136), Code::WL009, "AA0132; AA0133; AA0218; AA0219; AA0136;",
                Formatted("{:10.2f} ; {:10.2f} ;  {:3.0f} ;  {:3.0f} ; {:10.4f} ;", v(employee::AA0132),
                          v(employee::AA0133), v(employee::AA0218), v(employee::AA0219), v(employee::AA0136)),
                kBlank);
        };
        if (lo > p) report_it();
        if (hi < p) report_it();
    }

    // 7. Holiday against paid absence.
    if (ok({employee::AA0134, employee::AA0135}) && v(employee::AA0134) < v(employee::AA0135))
        report(line(employee::AA0135), Code::EL010, "AA0135", Formatted("{:10.2f}", v(employee::AA0135)),
               Formatted("{:10.2f}", v(employee::AA0134)));
}

// The tariff salary against the tariff table, the personal bonus and the bonus limits.
void RecordRules::tariff_and_bonuses() {
    // 8, 9. Tariff salary against the tariff table.
    if (ok({employee::AA0127, employee::AA0128, employee::AA0129, employee::AA0138})) {
        const double s = v(employee::AA0129), c = v(employee::AA0127), g = v(employee::AA0128),
                     t138 = v(employee::AA0138);
        const bool last_day = v(employee::AA0137) == 1;
        auto tariff_finding = [&](const Formatted& expected) {
            if (last_day)
                report(line(employee::AA0138), Code::EL051, "AA0138", Formatted("{:10.0f}", t138), expected);
            else if (counted)
                report(line(employee::AA0138), Code::WL011, "AA0138", Formatted("{:10.0f}", t138), expected);
        };
        if (s > 0 && c > 0 && g > 0) {
            double t = tariffs_.tariff(s, c, g);
            if (t != t138) tariff_finding(Formatted("{:10.0f}", t));
        }
        if (s > 0 && c > 0 && g == 0) {
            const TariffTable::Range r = tariffs_.class_range(s, c);
            if (t138 < r.low || t138 > r.high)
                tariff_finding(Formatted("{:10.0f}  - {:10.0f}", r.low, r.high));
        } else if (last_day && (s <= 0 || c <= 0 || g < 0)) {
            const TariffTable::Range r = tariffs_.whole_range();
            if (t138 < r.low || t138 > r.high)
                report(line(employee::AA0138), Code::EL051, "AA0138", Formatted("{:10.0f}", t138),
                       Formatted("{:10.0f} - {:10.0f}", r.low, r.high));
        }
    }

    // 10. Personal bonus.
    if (ok({employee::AA0127, employee::AA0129, employee::AA0139}) && v(employee::AA0129) > 0 &&
        v(employee::AA0127) > 0) {
        double m = tariffs_.class_top(v(employee::AA0129), v(employee::AA0127));
        if (v(employee::AA0127) < 10) m = m / 2;
        if (v(employee::AA0139) > m && counted)
            report(line(employee::AA0139), Code::WL012, "AA0139", Formatted("{:10.0f}", v(employee::AA0139)),
                   Formatted("{:10.0f}", m));
    }

    // 11-13. Bonus limits.
    limit(employee::AA0140, Code::WL013, "AA0140", 13000);
    limit(employee::AA0141, Code::WL013, "AA0141", 13000);
    limit(employee::AA0142, Code::WL014, "AA0142", 10000);
}

// The salary and its parts: the total, holiday compensation, the hourly salary, the rank bonus,
// the bonus total, standby pay, holiday without compensation.
void RecordRules::salary_parts() {
    // 14. Salary total.
    if (ok({employee::AA0145, employee::AA0146, employee::AA0147, employee::AA0148, employee::AA0160,
            employee::AA0162, employee::AA0150, employee::AA0157, employee::AA0161, employee::AA0163,
            employee::AA0158, employee::AA0144})) {
        double s = v(employee::AA0146) + v(employee::AA0145) + v(employee::AA0147) + v(employee::AA0148) +
                   v(employee::AA0160) + v(employee::AA0162) + v(employee::AA0150) + v(employee::AA0157) +
                   v(employee::AA0163) + v(employee::AA0161) + v(employee::AA0158);
        if (v(employee::AA0144) != s)
            report(here, Code::EL015, "AA0144", Formatted("{:10.0f}", v(employee::AA0144)),
                   Formatted("{:10.0f}", s));
    }

    // 15. Holiday compensation.
    if (ok({employee::AA0158, employee::AA0159}) && v(employee::AA0158) < v(employee::AA0159))
        report(line(employee::AA0159), Code::WL016, "AA0159", Formatted("{:10.0f}", v(employee::AA0159)),
               Formatted("{:10.0f}", v(employee::AA0158)));

    // 16. Hourly salary.
    if (ok({employee::AA0136, employee::AA0165, employee::AA0144, employee::AA0132, employee::AA0134,
            employee::AA0162}) &&
        v(employee::AA0136) > 0 && v(employee::AA0165) > 0) {
        double p = (v(employee::AA0134) + v(employee::AA0132)) * v(employee::AA0165);
        auto report_it = [&] {
            report(here, Code::WL017, "AA0165; AA0132; AA0134; AA0144;",
                   Formatted(" {:10.2f} ; {:10.2f} ; {:10.2f} ; {:10.0f} ;", v(employee::AA0165),
                             v(employee::AA0132), v(employee::AA0134), v(employee::AA0144)),
                   kBlank);
        };
        if (0.8 * v(employee::AA0144) > p) report_it();
        if (1.2 * v(employee::AA0144) < p) report_it();
    }

    // 17. Rank bonus.
    limit(employee::AA0143, Code::WL024, "AA0143", 4600);

    // 18. Bonus total.
    if (ok({employee::AA0150, employee::AA0239, employee::AA0151, employee::AA0152, employee::AA0153,
            employee::AA0154, employee::AA0155, employee::AA0156, employee::AA0240})) {
        double s = v(employee::AA0151) + v(employee::AA0239) + v(employee::AA0152) + v(employee::AA0153) +
                   v(employee::AA0154) + v(employee::AA0155) + v(employee::AA0156) + v(employee::AA0240);
        if (v(employee::AA0150) != s)
            report(line(employee::AA0150), Code::EL027, "AA0150", Formatted("{:10.0f}", v(employee::AA0150)),
                   Formatted("{:10.0f}", s));
    }

    // 19. Standby pay.
    if (ok({employee::AA0161, employee::AA0237, employee::AA0238}) &&
        v(employee::AA0161) != v(employee::AA0238) + v(employee::AA0237))
        report(line(employee::AA0161), Code::EL028, "AA0161", Formatted("{:10.0f}", v(employee::AA0161)),
               Formatted("{:10.0f}", v(employee::AA0238) + v(employee::AA0237)));

    // 20. Holiday without compensation.
    if (ok({employee::AA0135, employee::AA0159}) && v(employee::AA0135) != 0 && v(employee::AA0159) == 0)
        report(line(employee::AA0159), Code::WL029, "AA0135 ; AA0159 ;",
               Formatted("{:10.2f} ; {:10.2f} ;", v(employee::AA0135), v(employee::AA0159)), " ");
}

// The headcount: values that must be zero outside it, the last-day status, the increased tariff in
// state administration, the whole period in it.
void RecordRules::headcount() {
    // 21. Values that must be zero outside the headcount.
    for (int r : {employee::AA0132, employee::AA0133, employee::AA0134, employee::AA0135, employee::AA0210,
                  employee::AA0218, employee::AA0219}) {
        if (ok({r, employee::AA0136}) && v(r) != 0 && v(employee::AA0136) == 0) {
            bool decimals = r == employee::AA0133 || r == employee::AA0134 || r == employee::AA0135;
            if (decimals)
                report(line(r), Code::EL037, kEmployeeFields[static_cast<std::size_t>(r)].name,
                       Formatted("{:10.2f}", v(r)), "0");
            else
                report(line(r), Code::EL037, kEmployeeFields[static_cast<std::size_t>(r)].name,
                       Formatted("{:10.0f}", v(r)), "0");
        }
    }

    // 22. Last-day status outside the headcount (reported on the line of AA0138).
    if (ok({employee::AA0137, employee::AA0136}) && v(employee::AA0137) != 2 && v(employee::AA0136) == 0)
        report(line(employee::AA0138), Code::EL038, "AA0137", Formatted("{:10.0f}", v(employee::AA0137)),
               "2");

    // 23. Increased tariff in state administration.
    if (ok({employee::AA0125, employee::AA0129}) && v(employee::AA0129) != 4 && v(employee::AA0129) != 5 &&
        v(employee::AA0125) == 1)
        report(line(employee::AA0129), Code::WL040, "AA0129", Formatted("{:10.0f}", v(employee::AA0129)),
               "4,5");

    // 24. Whole period in the headcount.
    if (ok({employee::AA0136, employee::AA0137}) && v(employee::AA0137) != 1 && v(employee::AA0136) == 1)
        report(line(employee::AA0137), Code::EL059, "AA0137", Formatted("{:10.0f}", v(employee::AA0137)),
               "1");
}

// The headcount against time: the weekly time against the average, the recalculated headcount
// against days, the hourly salary, absence against sickness and holiday.
void RecordRules::headcount_against_time() {
    // 25. Weekly working time against the average.
    if (ok({employee::AA0136, employee::AA0131, employee::AA0218}) && v(employee::AA0136) > 0 &&
        v(employee::AA0218) > 0) {
        double lo = kCalendarDays * 20 * v(employee::AA0136) / v(employee::AA0218);
        double hi = kCalendarDays * 60 * v(employee::AA0136) / v(employee::AA0218);
        if (hi > 42.5) hi = 42.5;
        if (other_group && hi > 40) hi = 40;
        if (v(employee::AA0131) < lo || v(employee::AA0131) > hi)
            report(line(employee::AA0131), Code::WL060, "AA0131", Formatted("{:12.2f}", v(employee::AA0131)),
                   Formatted("{:12.2f} - {:12.2f} ", lo, hi));
    }

    // 26. Recalculated headcount against days.
    if (ok({employee::AA0136, employee::AA0218}) && v(employee::AA0218) != 0 && v(employee::AA0136) != 0) {
        double limit_value = 1.1 * v(employee::AA0218) / kCalendarDays;
        if (v(employee::AA0136) > limit_value)
            report(line(employee::AA0218), Code::EL066, "AA0136", Formatted("{:10.4f}", v(employee::AA0136)),
                   Formatted("<= {:10.5f}", limit_value));
    }

    // 27. Missing hourly salary.
    if (ok({employee::AA0165, employee::AA0134}) && v(employee::AA0134) > 0 && v(employee::AA0165) == 0 &&
        counted)
        report(line(employee::AA0165), Code::WL067, "AA0165", Formatted("{:10.2f}", v(employee::AA0165)),
               " > 0");

    // 28. Absence against sickness and holiday.
    if (ok({employee::AA0135, employee::AA0210, employee::AA0219})) {
        const long long d = other_group ? 80 : 85;
        double limit_value =
            static_cast<double>(static_cast<long long>(std::trunc(10 * v(employee::AA0135))) / d) +
            v(employee::AA0210);
        if (v(employee::AA0219) < limit_value)
            report(line(employee::AA0210), Code::EL069, "AA0135; AA0210; AA0219;",
                   Formatted("{:10.2f} ; {:3.0f} ; {:3.0f} ;", v(employee::AA0135), v(employee::AA0210),
                             v(employee::AA0219)),
                   kBlank);
    }
}

// Days and age: full headcount against shortened time and days, abolished salaries, the start
// of employment, the days of the period, worked and absent days.
void RecordRules::days_and_age() {
    // 29-32. Full headcount, shortened time and days.
    if (ok({employee::AA0136, employee::AA0131}) && v(employee::AA0131) < 30 && v(employee::AA0136) == 1)
        report(line(employee::AA0131), Code::EL070, "AA0131", Formatted("{:10.2f}", v(employee::AA0131)),
               ">= 30");
    if (ok({employee::AA0136, employee::AA0218}) && v(employee::AA0218) != kCalendarDays &&
        v(employee::AA0136) == 1)
        report(line(employee::AA0218), Code::EL071, "AA0218", Formatted("{:10.0f}", v(employee::AA0218)),
               Formatted("{:10.0f}", kCalendarDays));
    if (ok({employee::AA0136, employee::AA0218, employee::AA0131})) {
        double r = v(employee::AA0218) / kCalendarDays;
        if (0.99 * v(employee::AA0136) <= r && r <= 1.01 * v(employee::AA0136) &&
            v(employee::AA0131) < 37.5 && v(employee::AA0136) > 0)
            report(line(employee::AA0131), Code::WL072, "AA0131", Formatted("{:10.2f}", v(employee::AA0131)),
                   ">= 37.5");
    }
    if (ok({employee::AA0136, employee::AA0218}) && v(employee::AA0218) == 0 && v(employee::AA0136) != 0)
        report(line(employee::AA0136), Code::EL073, "AA0136", Formatted("{:10.2f}", v(employee::AA0136)),
               "0");

    // 33. Abolished salaries.
    if (ok({employee::AA0160}) && v(employee::AA0160) != 0)
        report(line(employee::AA0160), Code::EL075, "AA0160", Formatted("{:10.0f}", v(employee::AA0160)),
               "0");

    // 34. Start of employment before the age of 14 (reported on the line of AA0218).
    if (ok({employee::AA0216, employee::AA0225, employee::AA0231})) {
        double s = v(employee::AA0225) + v(employee::AA0216);
        double limit_value = kYear - v(employee::AA0231) - 13;
        if (limit_value < s)
            report(line(employee::AA0218), Code::EL076, "AA0216 + AA0225", Formatted("{:10.0f}", s),
                   Formatted("<= {:10.0f}", limit_value));
    }

    // 35, 36. Days in the period.
    if (ok({employee::AA0218}) && v(employee::AA0218) > kCalendarDays)
        report(line(employee::AA0218), Code::EL077, "AA0218", Formatted("{:10.0f}", v(employee::AA0218)),
               Formatted("<= {:10.0f}", kCalendarDays));
    if (ok({employee::AA0219}) && v(employee::AA0219) > kWorkingDays)
        report(line(employee::AA0219), Code::EL078, "AA0219", Formatted("{:10.0f}", v(employee::AA0219)),
               Formatted("<= {:10.0f}", kWorkingDays));

    // 37. Worked and absent days against registered days.
    if (ok({employee::AA0218, employee::AA0219, employee::AA0132, employee::AA0133})) {
        double w = (v(employee::AA0132) - v(employee::AA0133)) / (other_group ? 8 : 8.5);
        if (v(employee::AA0218) < w + v(employee::AA0219))
            report(line(employee::AA0219), Code::EL080, "AA0132; AA0133; AA0218; AA0219;",
                   Formatted("{:10.2f} ; {:10.2f} ;  {:3.0f} ; {:3.0f} ;", v(employee::AA0132),
                             v(employee::AA0133), v(employee::AA0218), v(employee::AA0219)),
                   kBlank);
    }
}

}  // namespace

void EmployeeRules::end_of_employee(const EmployeeFields& fields, EmployeeStore& store, const Context& who) {
    if (!fields.all_once())
        for (int i = 0; i < employee::kCount; ++i)
            if (fields.count[static_cast<std::size_t>(i)] > 1)
                reporter_.report_here(who, Code::ES304, kEmployeeFields[static_cast<std::size_t>(i)].name,
                                      " ", Formatted("{}", fields.count[static_cast<std::size_t>(i)]));
    report_presence(kEmployeeFields, fields, reporter_, who, kBlank, false);
    RecordRules rules(fields, store, tariffs_, who, reporter_);
    rules.working_time();
    rules.tariff_and_bonuses();
    rules.salary_parts();
    rules.headcount();
    rules.headcount_against_time();
    rules.days_and_age();

    const double v136 = fields.value[employee::AA0136], v137 = fields.value[employee::AA0137];
    store.sum_AA0136 += v136;
    if (v137 == 1) store.count_AA0137 += v137;
    if (v137 > 1) store.some_AA0137_above_1 = true;
    if (fields.value[employee::AA0130] > 1) store.some_AA0130_above_1 = true;
    store.sum_AA0144 += fields.value[employee::AA0144];
}

}  // namespace tavon

#include "employer/employer_rules.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "base/format.h"

namespace tavon {
namespace {

constexpr std::size_t kGroup = 6;  // at most six records of one person are compared and summed
constexpr double kHealthThreshold = 24864;

std::string_view one_char(const char& c) { return c == '\0' ? std::string_view{} : std::string_view(&c, 1); }

}  // namespace

void EmployerRules::end_of_employer(const EmployerFields& employer, const EmployerValues& values,
                                    const EmployeeFields& last_employee, EmployeeStore& store,
                                    bool had_employees) {
    store.seal();
    reporter_.employee = kNothing;
    report_presence(kEmployerFields, employer, reporter_, kNothing, false);
    order_by_identifier(store);
    const Education edu = education(store);

    // A run is one person's records; a record without an identifier is always a person of its own.
    const int n = store.last_slot() + 1;
    auto slot_at = [&](int p) { return store.order[static_cast<std::size_t>(p)]; };
    for (int p = 0; p < n;) {
        int more = 0;  // further records of the same person
        if (store.has_identifier(slot_at(p))) {
            const std::string_view id = store.identifier(slot_at(p));
            while (p + more + 1 < n && store.has_identifier(slot_at(p + more + 1)) &&
                   store.identifier(slot_at(p + more + 1)) == id)
                ++more;
        }
        if (more == 0)
            single_record(store.record(slot_at(p)));
        else
            several_records(store, last_employee, p, more);
        p += more + 1;
    }

    totals(employer, values, store, edu, had_employees);
}

// A stable sort of slot numbers by identifier, byte-wise with a prefix first; a record without an
// identifier takes its own slot number.
void EmployerRules::order_by_identifier(EmployeeStore& store) {
    const int n = store.last_slot() + 1;
    store.order.resize(static_cast<std::size_t>(n));
    std::iota(store.order.begin(), store.order.end(), 0);
    auto by_identifier = [&](std::int32_t a, std::int32_t b) {
        return store.identifier(a) < store.identifier(b);
    };
    // Identifiers mostly come in order: then the order as read is already the sorted one.
    std::string_view previous;
    for (std::int32_t slot = 0; slot < n; ++slot) {
        const std::string_view id = store.identifier(slot);
        if (id < previous) return std::stable_sort(store.order.begin(), store.order.end(), by_identifier);
        previous = id;
    }
}

// The counts do not depend on the order, so the records are read as they lie.
EmployerRules::Education EmployerRules::education(const EmployeeStore& store) {
    Education edu;
    const int n = store.last_slot() + 1;
    if (n < 1) return edu;
    edu.first = store.education(store.order[0]);
    for (std::int32_t slot = 0; slot < n; ++slot) {
        const char c = store.education(slot);
        if (static_cast<signed char>(c) < 'C') ++edu.below_C;
        if (c != edu.first) edu.all_same = false;
    }
    return edu;
}

// Contributions of a person with one record: health insurance (AA0167) and social insurance
// (AA0168) against the salary (AA0144).
void EmployerRules::single_record(const StoredEmployee& e) {
    reporter_.employee = e.AA0126;
    if (!(e.AA0136 > 0 && e.AA0218 > 0)) return;
    const LineText line(e.line);
    const double a144 = e.AA0144, a167 = e.AA0167, a168 = e.AA0168;
    if (a144 <= 0 && a167 > 0) reporter_.report(line, "WL025", "AA0167", Fmt("%10.0f", a167), "0");
    if (a144 > 0 && a167 > 0.1 * a144)
        reporter_.report(line, "WL025", "AA0167", Fmt("%10.0f", a167), Fmt("<=  %10.2f", 0.1 * a144));
    if (a144 > kHealthThreshold && a167 < 0.03 * (a144 - kHealthThreshold))
        reporter_.report(line, "WL025", "AA0167", Fmt("%10.0f", a167),
                         Fmt(">  %10.0f", 0.03 * (a144 - kHealthThreshold)));
    if (a144 < kHealthThreshold && a167 < 0)
        reporter_.report(line, "WL025", "AA0167", Fmt("%10.0f", a167), " 0 ");
    if (a144 <= 0 && a168 > 0) reporter_.report(line, "WL026", "AA0168", Fmt("%10.0f", a168), "0");
    if (a144 > 0 && (a168 > 0.2 * a144 || a168 < 0.05 * a144))
        reporter_.report(line, "WL026", "AA0168", Fmt("%10.0f", a168),
                         Fmt("%10.2f - %10.2f", 0.05 * a144, 0.2 * a144));
}

// A person with several records (the same identifier): the records at positions p .. p + more of
// the identifier order, of which the first six are compared and summed.
void EmployerRules::several_records(EmployeeStore& store, const EmployeeFields& last_employee, int p,
                                    int more) {
    const std::size_t g = std::min<std::size_t>(static_cast<std::size_t>(more) + 1, kGroup);
    StoredEmployee group[kGroup];
    for (std::size_t j = 0; j < g; ++j) group[j] = store.record(store.order[static_cast<std::size_t>(p) + j]);
    const StoredEmployee& first = group[0];

    // The line list: "10,40,70", and ", ...... " when the person has more than six records.
    std::string lines;
    for (std::size_t j = 0; j < g; ++j) {
        if (j) lines.push_back(',');
        lines.append(LineText(group[j].line));
    }
    if (more > 5) lines.append(", ...... ");
    auto report = [&](std::string_view code, std::string_view field, std::string_view value,
                      std::string_view expected) {
        reporter_.employee = first.AA0126;
        reporter_.report(lines, code, field, value, expected);
    };

    // The first record of the group whose value differs from the first record's, or 0.
    auto differing = [&](auto value) -> std::size_t {
        for (std::size_t j = 1; j < g; ++j)
            if (value(group[j]) != value(first)) return j;
        return 0;
    };

    // E1. State code.
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0033; }))
        report("EL003", "AA0033", EmployeeStore::state_code(first, data_.states()),
               EmployeeStore::state_code(group[j], data_.states()));

    // E2. Kinds of employment relationship (guarded by the flags of the record read last).
    if (last_employee.ok(employee::AA0130) && last_employee.ok(employee::AA0136) &&
        last_employee.ok(employee::AA0137)) {
        double sum_AA0136 = 0;
        int main_last_day = 0, service_last_day = 0;
        for (std::size_t j = 0; j < g; ++j) {
            const StoredEmployee& e = group[j];
            if (e.AA0130 != '1' && e.AA0130 != '7') continue;
            sum_AA0136 += e.AA0136;
            if (e.AA0137 == 1) ++(e.AA0130 == '1' ? main_last_day : service_last_day);
        }
        reporter_.employee = first.AA0126;
        if (sum_AA0136 > 1.0) report("EL052", "AA0130", Fmt("%2.4f", sum_AA0136), "<= 1");
        if (main_last_day > 1 || service_last_day > 1 || (main_last_day >= 1 && service_last_day >= 1))
            report("EL065", "AA0130",
                   (main_last_day >= 1 && service_last_day >= 1) ? "1,7 "
                   : service_last_day > 1                        ? "7,7 "
                                                                 : "1,1 ",
                   "Pouze 1 x");
    }

    // E3. Working time.
    if (last_employee.ok(employee::AA0131) && last_employee.ok(employee::AA0137)) {
        double sum_AA0131 = 0;
        for (std::size_t j = 0; j < g; ++j)
            if (group[j].AA0137 == 1) sum_AA0131 += group[j].AA0131;
        if (sum_AA0131 > 79.991) report("WL049", "AA0131", Fmt("%10.2f", sum_AA0131), "max. 79.99");
    }

    // E4. Hours worked, reported at every record that keeps the running sum above the limit.
    if (last_employee.ok(employee::AA0132)) {
        double sum_AA0132 = 0;
        for (std::size_t j = 0; j < g; ++j) {
            sum_AA0132 += group[j].AA0132;
            if (sum_AA0132 > 1872.0)
                report("WL007", "AA0132", Fmt("%10.0f", sum_AA0132), Fmt(" <= %d", 1872));
        }
    }

    // E5. The person counts once in the register on the last day.
    int on_last_day = 0;
    for (std::size_t j = 0; j < g; ++j)
        if (group[j].AA0137 == 1) ++on_last_day;
    if (on_last_day > 1) store.count_AA0137 -= on_last_day - 1;

    // E6. Tax-free amount.
    int with_tax_free = 0;
    std::string amounts;
    for (std::size_t j = 0; j < g; ++j) {
        if (group[j].AA0166 == 0) continue;
        if (with_tax_free++ > 0) amounts.push_back(',');
        amounts.append(Fmt("%10.0f", group[j].AA0166));
    }
    if (with_tax_free > 1) report("WL018", "AA0166", amounts, "Pouze 1 x");

    // E7. Contributions of the person as a whole.
    double s144 = 0, s167 = 0, s168 = 0;
    for (std::size_t j = 0; j < g; ++j) {
        s144 += group[j].AA0144;
        s167 += group[j].AA0167;
        s168 += group[j].AA0168;
    }
    if (s144 <= 0 && s167 > 0) report("WL025", "AA0167", Fmt("%10.2f", s167), Fmt("%10.2f", 0.0));
    if (s144 > 0 && s167 > 0.1 * s144)
        report("WL025", "AA0167", Fmt("%10.2f", s167), Fmt("<=  %10.2f", 0.1 * s144));
    if (s144 > kHealthThreshold && s167 < 0.03 * (s144 - kHealthThreshold))
        report("WL025", "AA0167", Fmt("%10.2f", s167), Fmt(">  %10.2f", 0.03 * (s144 - kHealthThreshold)));
    if (s144 < kHealthThreshold && s167 < 0) report("WL025", "AA0167", Fmt("%10.2f", s167), " 0 ");
    if (s144 <= 0 && s168 > 0) report("WL026", "AA0168", Fmt("%10.2f", s168), Fmt("%10.2f", 0.0));
    if (s144 > 0 && (s168 > 0.2 * s144 || s168 < 0.05 * s144))
        report("WL026", "AA0168", Fmt("%10.2f", s168), Fmt("%10.2f - %10.2f", 0.05 * s144, 0.2 * s144));

    // E8-E10. Gender, education and birth year must agree.
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0211; }))
        report("EL003", "AA0211", one_char(first.AA0211), one_char(group[j].AA0211));
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0223; }))
        report("EL003", "AA0223", one_char(first.AA0223), one_char(group[j].AA0223));
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0231; }))
        report("EL003", "AA0231", Fmt("%d", first.AA0231), Fmt("%d", group[j].AA0231));
}

void EmployerRules::totals(const EmployerFields& employer, const EmployerValues& values,
                           const EmployeeStore& store, const Education& edu, bool had_employees) {
    auto sum = [&](int row) { return employer.value[static_cast<std::size_t>(row)]; };
    auto line = [&](int row) { return LineText(employer.line[static_cast<std::size_t>(row)]); };
    auto report = [&](std::string_view at, std::string_view code, std::string_view field,
                      std::string_view value, std::string_view expected) {
        reporter_.employee = kNothing;
        reporter_.report(at, code, field, value, expected);
    };
    const int last_slot = store.last_slot();
    const int n = last_slot + 1;

    // Declared totals against the sums over the employees.
    if (employer.ok(employer::AA0114) && sum(employer::AA0114) != store.sum_AA0136) {
        Fmt declared("%10.4f", sum(employer::AA0114)), summed("%10.4f", store.sum_AA0136);
        if (std::string_view(declared) != std::string_view(summed))
            report(line(employer::AA0114), "EL020", "AA0114", declared, summed);
    }
    if (employer.ok(employer::AA0115) && sum(employer::AA0115) != store.count_AA0137)
        report(line(employer::AA0115), "EL021", "AA0115", Fmt("%10.0f", sum(employer::AA0115)),
               Fmt("%10.0f", store.count_AA0137));
    if (employer.ok(employer::AA0118) && sum(employer::AA0118) != store.sum_AA0144)
        report(line(employer::AA0118), "EL022", "AA0118", Fmt("%10.0f", sum(employer::AA0118)),
               Fmt("%10.0f", store.sum_AA0144));
    if (employer.ok(employer::AA0118) && employer.ok(employer::AA0119) &&
        sum(employer::AA0118) < sum(employer::AA0119))
        report(line(employer::AA0119), "WL023", "AA0119", Fmt("%10.0f", sum(employer::AA0119)),
               Fmt("<= %10.0f", sum(employer::AA0118)));

    // Plausibility over all records.
    if (!store.some_AA0137_above_1 && last_slot > 49) report(kNothing, "WL042", kNothing, kNothing, kNothing);
    if (!store.some_AA0130_above_1 && last_slot > 49) report(kNothing, "WL043", kNothing, kNothing, kNothing);

    // The last long state code.
    if (store.long_state_code_seen)
        report(store.long_state_code_line, "WL053", "AA0033", store.long_state_code, "delka 2");

    // Paid salaries (AA0118) against the lowest tariff for the average headcount (AA0114).
    reporter_.employee = kNothing;
    const double lowest = 6 * values.AA0114 * data_.tariffs().lowest();
    if (values.AA0118 < lowest && last_slot >= 10)
        reporter_.report(line(employer::AA0118), "EL058", "AA0118", Fmt("%10.0f", values.AA0118),
                         Fmt(">  %10.2f", lowest));

    // Education of all employees.
    if (n > 49) {
        if (edu.all_same) report(kNothing, "EL081", "AA0223", one_char(edu.first), kNothing);
        if (edu.below_C > n / 2) report(kNothing, "EL082", "AA0223", kNothing, kNothing);
    }

    // An employer without employees.
    if (!had_employees) report(reporter_.current_line(), "ES309", kNothing, kNothing, kNothing);
}

}  // namespace tavon

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
                                    bool had_employees, const Context& who) {
    store.seal();
    const Context employer_only = who.without_employee();
    report_presence(kEmployerFields, employer, reporter_, employer_only, kBlank, false);
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
            single_record(store.record(slot_at(p)), who);
        else
            several_records(store, last_employee, p, more, who);
        p += more + 1;
    }

    totals(employer, values, store, edu, had_employees, employer_only);
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
void EmployerRules::single_record(const StoredEmployee& e, const Context& employer) {
    if (!(e.AA0136 > 0 && e.AA0218 > 0)) return;
    const Context who = employer.with_employee(e.AA0126);
    const Where line = Where::at(e.line);
    auto report = [&](Code code, std::string_view field, const Formatted& value, Column expected) {
        reporter_.report(who, line, code, field, value, expected);
    };
    const double a144 = e.AA0144, a167 = e.AA0167, a168 = e.AA0168;
    if (a144 <= 0 && a167 > 0) report(Code::WL025, "AA0167", Formatted("{:10.0f}", a167), "0");
    if (a144 > 0 && a167 > 0.1 * a144)
        report(Code::WL025, "AA0167", Formatted("{:10.0f}", a167), Formatted("<=  {:10.2f}", 0.1 * a144));
    if (a144 > kHealthThreshold && a167 < 0.03 * (a144 - kHealthThreshold))
        report(Code::WL025, "AA0167", Formatted("{:10.0f}", a167),
               Formatted(">  {:10.0f}", 0.03 * (a144 - kHealthThreshold)));
    if (a144 < kHealthThreshold && a167 < 0)
        report(Code::WL025, "AA0167", Formatted("{:10.0f}", a167), " 0 ");
    if (a144 <= 0 && a168 > 0) report(Code::WL026, "AA0168", Formatted("{:10.0f}", a168), "0");
    if (a144 > 0 && (a168 > 0.2 * a144 || a168 < 0.05 * a144))
        report(Code::WL026, "AA0168", Formatted("{:10.0f}", a168),
               Formatted("{:10.2f} - {:10.2f}", 0.05 * a144, 0.2 * a144));
}

namespace {

// A person with several records (the same identifier): the first six of them in identifier order
// are compared and summed, each rule group one member function, run in the order of the rules.
class PersonRules {
  public:
    PersonRules(const EmployeeStore& store, int p, int more, const DataSet& data, const Context& employer,
                Reporter& reporter)
        : g_(std::min<std::size_t>(static_cast<std::size_t>(more) + 1, kGroup)),
          more_(more > 5),
          data_(data),
          reporter_(reporter) {
        for (std::size_t j = 0; j < g_; ++j) {
            group_[j] = store.record(store.order[static_cast<std::size_t>(p) + j]);
            lines_[j] = group_[j].line;
        }
        who_ = employer.with_employee(group_[0].AA0126);
    }

    void state_and_employment(const EmployeeFields& last_employee);
    void working_time(const EmployeeFields& last_employee);
    // The person counts once in the register on the last day.
    void count_once_on_last_day(EmployeeStore& store) const;
    void tax_and_contributions();
    void personal_data();

  private:
    const StoredEmployee& first() const { return group_[0]; }
    // At the lines of all the records: "10,40,70", and ", ...... " when there are more than six.
    void report(Code code, std::string_view field, Column value, Column expected) const {
        reporter_.report(who_, Where::records({lines_, g_}, more_), code, field, value, expected);
    }
    // The first record of the group whose value differs from the first record's, or 0.
    template <typename Value>
    std::size_t differing(Value value) const {
        for (std::size_t j = 1; j < g_; ++j)
            if (value(group_[j]) != value(first())) return j;
        return 0;
    }

    std::size_t g_;
    bool more_;
    StoredEmployee group_[kGroup];
    std::uint64_t lines_[kGroup] = {};
    const DataSet& data_;
    Reporter& reporter_;
    Context who_;
};

// E1, E2. The state code must agree; the kinds of employment relationship (guarded by the flags of
// the record read last).
void PersonRules::state_and_employment(const EmployeeFields& last_employee) {
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0033; }))
        report(Code::EL003, "AA0033", EmployeeStore::state_code(first(), data_.states()),
               EmployeeStore::state_code(group_[j], data_.states()));
    if (!last_employee.ok(employee::AA0130) || !last_employee.ok(employee::AA0136) ||
        !last_employee.ok(employee::AA0137))
        return;
    double sum_AA0136 = 0;
    int main_last_day = 0, service_last_day = 0;
    for (std::size_t j = 0; j < g_; ++j) {
        const StoredEmployee& e = group_[j];
        if (e.AA0130 != '1' && e.AA0130 != '7') continue;
        sum_AA0136 += e.AA0136;
        if (e.AA0137 == 1) ++(e.AA0130 == '1' ? main_last_day : service_last_day);
    }
    if (sum_AA0136 > 1.0) report(Code::EL052, "AA0130", Formatted("{:2.4f}", sum_AA0136), "<= 1");
    if (main_last_day > 1 || service_last_day > 1 || (main_last_day >= 1 && service_last_day >= 1))
        report(Code::EL065, "AA0130",
               (main_last_day >= 1 && service_last_day >= 1) ? "1,7 "
               : service_last_day > 1                        ? "7,7 "
                                                             : "1,1 ",
               "Pouze 1 x");
}

// E3, E4. Weekly working time; hours worked, reported at every record that keeps the running sum
// above the limit.
void PersonRules::working_time(const EmployeeFields& last_employee) {
    if (last_employee.ok(employee::AA0131) && last_employee.ok(employee::AA0137)) {
        double sum_AA0131 = 0;
        for (std::size_t j = 0; j < g_; ++j)
            if (group_[j].AA0137 == 1) sum_AA0131 += group_[j].AA0131;
        if (sum_AA0131 > 79.991)
            report(Code::WL049, "AA0131", Formatted("{:10.2f}", sum_AA0131), "max. 79.99");
    }
    if (last_employee.ok(employee::AA0132)) {
        double sum_AA0132 = 0;
        for (std::size_t j = 0; j < g_; ++j) {
            sum_AA0132 += group_[j].AA0132;
            if (sum_AA0132 > 1872.0)
                report(Code::WL007, "AA0132", Formatted("{:10.0f}", sum_AA0132), Formatted(" <= {}", 1872));
        }
    }
}

void PersonRules::count_once_on_last_day(EmployeeStore& store) const {
    int on_last_day = 0;
    for (std::size_t j = 0; j < g_; ++j)
        if (group_[j].AA0137 == 1) ++on_last_day;
    if (on_last_day > 1) store.count_AA0137 -= on_last_day - 1;
}

// E6, E7. The tax-free amount only once; the contributions of the person as a whole.
void PersonRules::tax_and_contributions() {
    int with_tax_free = 0;
    std::string amounts;
    for (std::size_t j = 0; j < g_; ++j) {
        if (group_[j].AA0166 == 0) continue;
        if (with_tax_free++ > 0) amounts.push_back(',');
        amounts.append(Formatted("{:10.0f}", group_[j].AA0166).text());
    }
    if (with_tax_free > 1) report(Code::WL018, "AA0166", amounts, "Pouze 1 x");

    double s144 = 0, s167 = 0, s168 = 0;
    for (std::size_t j = 0; j < g_; ++j) {
        s144 += group_[j].AA0144;
        s167 += group_[j].AA0167;
        s168 += group_[j].AA0168;
    }
    if (s144 <= 0 && s167 > 0)
        report(Code::WL025, "AA0167", Formatted("{:10.2f}", s167), Formatted("{:10.2f}", 0.0));
    if (s144 > 0 && s167 > 0.1 * s144)
        report(Code::WL025, "AA0167", Formatted("{:10.2f}", s167), Formatted("<=  {:10.2f}", 0.1 * s144));
    if (s144 > kHealthThreshold && s167 < 0.03 * (s144 - kHealthThreshold))
        report(Code::WL025, "AA0167", Formatted("{:10.2f}", s167),
               Formatted(">  {:10.2f}", 0.03 * (s144 - kHealthThreshold)));
    if (s144 < kHealthThreshold && s167 < 0)
        report(Code::WL025, "AA0167", Formatted("{:10.2f}", s167), " 0 ");
    if (s144 <= 0 && s168 > 0)
        report(Code::WL026, "AA0168", Formatted("{:10.2f}", s168), Formatted("{:10.2f}", 0.0));
    if (s144 > 0 && (s168 > 0.2 * s144 || s168 < 0.05 * s144))
        report(Code::WL026, "AA0168", Formatted("{:10.2f}", s168),
               Formatted("{:10.2f} - {:10.2f}", 0.05 * s144, 0.2 * s144));
}

// E8-E10. Gender, education and birth year must agree.
void PersonRules::personal_data() {
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0211; }))
        report(Code::EL003, "AA0211", one_char(first().AA0211), one_char(group_[j].AA0211));
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0223; }))
        report(Code::EL003, "AA0223", one_char(first().AA0223), one_char(group_[j].AA0223));
    if (std::size_t j = differing([](const StoredEmployee& e) { return e.AA0231; }))
        report(Code::EL003, "AA0231", Formatted("{}", first().AA0231), Formatted("{}", group_[j].AA0231));
}

}  // namespace

void EmployerRules::several_records(EmployeeStore& store, const EmployeeFields& last_employee, int p,
                                    int more, const Context& employer) {
    PersonRules person(store, p, more, data_, employer, reporter_);
    person.state_and_employment(last_employee);
    person.working_time(last_employee);
    person.count_once_on_last_day(store);
    person.tax_and_contributions();
    person.personal_data();
}

void EmployerRules::totals(const EmployerFields& employer, const EmployerValues& values,
                           const EmployeeStore& store, const Education& edu, bool had_employees,
                           const Context& who) {
    auto sum = [&](int row) { return employer.value[static_cast<std::size_t>(row)]; };
    auto line = [&](int row) { return Where::at(employer.line[static_cast<std::size_t>(row)]); };
    auto report = [&](Where at, Code code, Column field, Column value, Column expected) {
        reporter_.report(who, at, code, field, value, expected);
    };
    const int last_slot = store.last_slot();
    const int n = last_slot + 1;

    // Declared totals against the sums over the employees.
    if (employer.ok(employer::AA0114) && sum(employer::AA0114) != store.sum_AA0136) {
        const Formatted declared("{:10.4f}", sum(employer::AA0114)), summed("{:10.4f}", store.sum_AA0136);
        if (declared.text() != summed.text())
            report(line(employer::AA0114), Code::EL020, "AA0114", declared, summed);
    }
    if (employer.ok(employer::AA0115) && sum(employer::AA0115) != store.count_AA0137)
        report(line(employer::AA0115), Code::EL021, "AA0115", Formatted("{:10.0f}", sum(employer::AA0115)),
               Formatted("{:10.0f}", store.count_AA0137));
    if (employer.ok(employer::AA0118) && sum(employer::AA0118) != store.sum_AA0144)
        report(line(employer::AA0118), Code::EL022, "AA0118", Formatted("{:10.0f}", sum(employer::AA0118)),
               Formatted("{:10.0f}", store.sum_AA0144));
    if (employer.ok(employer::AA0118) && employer.ok(employer::AA0119) &&
        sum(employer::AA0118) < sum(employer::AA0119))
        report(line(employer::AA0119), Code::WL023, "AA0119", Formatted("{:10.0f}", sum(employer::AA0119)),
               Formatted("<= {:10.0f}", sum(employer::AA0118)));

    // Plausibility over all records.
    const Where nowhere = Where::employer_as_a_whole();
    if (!store.some_AA0137_above_1 && last_slot > 49) report(nowhere, Code::WL042, kBlank, kBlank, kBlank);
    if (!store.some_AA0130_above_1 && last_slot > 49) report(nowhere, Code::WL043, kBlank, kBlank, kBlank);

    // The last long state code.
    if (store.long_state_code_seen)
        report(Where::at(store.long_state_code_line), Code::WL053, "AA0033", store.long_state_code,
               "delka 2");

    // Paid salaries (AA0118) against the lowest tariff for the average headcount (AA0114).
    const double lowest = 6 * values.AA0114 * data_.tariffs().lowest();
    if (values.AA0118 < lowest && last_slot >= 10)
        report(line(employer::AA0118), Code::EL058, "AA0118", Formatted("{:10.0f}", values.AA0118),
               Formatted(">  {:10.2f}", lowest));

    // Education of all employees.
    if (n > 49) {
        if (edu.all_same) report(nowhere, Code::EL081, "AA0223", one_char(edu.first), kBlank);
        if (edu.below_C > n / 2) report(nowhere, Code::EL082, "AA0223", kBlank, kBlank);
    }

    // An employer without employees.
    if (!had_employees)
        report(Where::at(reporter_.current_line_number()), Code::ES309, kBlank, kBlank, kBlank);
}

}  // namespace tavon

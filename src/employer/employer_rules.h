// The rules across all employee records of one employer, applied at its end: its employees in
// identifier order, the rules per person (one record, or several records of one person), and the
// employer's declared totals against the sums over its employees.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/reporter.h"
#include "data/data_set.h"
#include "fields/field_checks.h"
#include "fields/record_fields.h"
#include "records/employee_store.h"

namespace tavon {

class EmployerRules {
  public:
    EmployerRules(const DataSet& data, Reporter& reporter) : data_(data), reporter_(reporter) {}

    // `last_employee` is the employee record read last: some person rules look at its flags. `who`:
    // the employer of the findings (each person's findings name the person).
    void end_of_employer(const EmployerFields& employer, const EmployerValues& values,
                         const EmployeeFields& last_employee, EmployeeStore& store, bool had_employees,
                         const Context& who);

  private:
    struct Education {
        char first = ' ';      // education code of the first record in identifier order
        bool all_same = true;  // every record has that code
        int below_C = 0;       // records whose code is below "C"
    };

    void order_by_identifier(EmployeeStore& store);
    Education education(const EmployeeStore& store);
    void single_record(const StoredEmployee& e, const Context& employer);
    void several_records(EmployeeStore& store, const EmployeeFields& last_employee, int first, int more,
                         const Context& employer);
    void totals(const EmployerFields& employer, const EmployerValues& values, const EmployeeStore& store,
                const Education& education, bool had_employees, const Context& who);

    const DataSet& data_;
    Reporter& reporter_;
};

}  // namespace tavon

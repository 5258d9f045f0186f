// The rules across the fields of one employee record, applied at its end, and the employer's
// running sums that the record adds to.
#pragma once

#include "base/reporter.h"
#include "data/tariffs.h"
#include "fields/record_fields.h"
#include "records/employee_store.h"

namespace tavon {

class EmployeeRules {
  public:
    EmployeeRules(const TariffTable& tariffs, Reporter& reporter) : tariffs_(tariffs), reporter_(reporter) {}

    // The end of an employee record: fields given more than once, missing fields, the rules, then
    // the sums. `who`: the record's employer and employee, for the findings.
    void end_of_employee(const EmployeeFields& fields, EmployeeStore& store, const Context& who);

  private:
    const TariffTable& tariffs_;
    Reporter& reporter_;
};

}  // namespace tavon

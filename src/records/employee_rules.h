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

    // The end of an employee record: fields given more than once, the rules, then the sums.
    void end_of_employee(const EmployeeFields& fields, EmployeeStore& store);

  private:
    void apply_rules(const EmployeeFields& fields, const EmployeeStore& store);

    const TariffTable& tariffs_;
    Reporter& reporter_;
};

}  // namespace tavon

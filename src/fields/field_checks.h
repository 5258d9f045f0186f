// The checks of single fields: every field against its row of the attribute table (name, order,
// type, length, range), then the special checks and code-list lookups of its row.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/reporter.h"
#include "base/text.h"
#include "data/data_set.h"
#include "fields/attribute_tables.h"
#include "fields/code_list_checks.h"
#include "fields/record_fields.h"
#include "fields/special_checks.h"

namespace tavon {

// The values of the current employer that the budget checks and the employer rules need.
struct EmployerValues {
    double AA0114 = 0, AA0115 = 0, AA0116 = 0, AA0118 = 0, AA0119 = 0, AA0123 = 0;
};

// What the check of one employee field found, for the employee store.
struct FieldOutcome {
    int row = -1;            // the field's row; -1 when the name is in no row
    double number = 123.0;   // its value as a number (123.0 for a text row)
    bool has_value = false;  // a number was read (or it is a text row): the store keeps the value
    bool passed = false;     // the length test passed, so the row's actions ran
};

class FieldChecks {
  public:
    FieldChecks(const DataSet& data, Reporter& reporter) : reporter_(reporter), code_lists_(data, reporter) {}

    // Record starts: counts, numbers and order of the record's fields are cleared.
    void start_submitter() { submitter_.start(); }
    void start_employer();
    void start_employee() { employee_.start(); }

    void submitter_field(std::string_view name, std::string_view content);
    void employer_field(std::string_view name, std::string_view content);
    FieldOutcome employee_field(std::string_view name, std::string_view content) {
        // Fields mostly stand in the table's order: the row after the last one is tried first.
        const int next = employee_.order + 1;
        const int row = next >= 0 && next < employee::kCount && is_code_of_row(name, next) ? next : find_employee_row(name);
        const FieldOutcome out = check<Kind::Employee>(kEmployeeFields, row, employee_, name, content);
        if (out.passed) employee_actions(out.row, content);
        return out;
    }

    const SubmitterFields& submitter() const { return submitter_; }
    const EmployerFields& employer() const { return employer_; }
    const EmployeeFields& employee() const { return employee_; }
    const EmployerValues& employer_values() const { return values_; }

  private:
    enum class Kind { Submitter, Employer, Employee };
    template <Kind kind, std::size_t Rows>
    FieldOutcome check(const std::array<FieldSpec, Rows>& table, int row, RecordFields<Rows>& fields,
                       std::string_view name, std::string_view content);
    // The findings of the generic check, kept out of its common path.
    [[gnu::cold]] void report_unknown(std::string_view name, std::string_view content);
    [[gnu::cold]] void report_order(std::string_view name, std::string_view content,
                                    std::string_view expected);
    [[gnu::cold]] void report_length(const FieldSpec& spec, std::string_view name, std::string_view content);
    [[gnu::cold]] void report_value(const FieldSpec& spec, std::string_view name, std::string_view content);
    void submitter_actions(int row, std::string_view content);
    void employer_actions(int row, std::string_view content, double number);
    void employee_actions(int row, std::string_view content);
    void check_budgeted_headcount();
    void check_budget();

    Reporter& reporter_;
    CodeListChecks code_lists_;
    SubmitterFields submitter_;
    EmployerFields employer_;
    EmployeeFields employee_;
    EmployerValues values_;
    std::string employer_identity_;  // AA0017, and "/" and AA0113 when given
    EmployerIdentities identities_;
    std::uint32_t submitter_number_ = 0;  // ICOpredkladatele as the registers compare it
};

// The steps shared by the three tables. `row` is the field's row (-1 for an unknown name).
template <FieldChecks::Kind kind, std::size_t Rows>
inline FieldOutcome FieldChecks::check(const std::array<FieldSpec, Rows>& table, int row,
                                       RecordFields<Rows>& fields, std::string_view name,
                                       std::string_view content) {
    FieldOutcome out;
    out.row = row;
    if (row < 0) {
        report_unknown(name, content);
        return out;
    }
    const auto i = static_cast<std::size_t>(row);
    const FieldSpec& spec = table[i];
    fields.failed[i] = false;
    fields.line[i] = reporter_.current_line_number();
    ++fields.count[i];

    ++fields.order;
    if (fields.order != row) {
        // Past the last row the expected field is the table's end marker.
        const std::size_t expected = std::min<std::size_t>(static_cast<std::size_t>(fields.order), Rows - 1);
        report_order(name, content, table[expected].name);
    }

    if constexpr (kind != Kind::Submitter) {
        if (spec.has_number_range() && !parse_number(out.number, content, spec.type)) {
            fields.failed[i] = true;
            report_value(spec, name, content);
            return out;
        }
        fields.value[i] = out.number;
        out.has_value = true;
    }

    const auto length = static_cast<long long>(content.size());
    if (length < spec.min_length || length > spec.max_length) {
        fields.failed[i] = true;
        report_length(spec, name, content);
        return out;
    }
    if (kind == Kind::Employer && length == 0) {
        fields.failed[i] = true;
        return out;
    }

    if (kind != Kind::Submitter && spec.has_number_range()) {
        if (out.number < kNumberBounds[static_cast<std::size_t>(spec.range_from)] ||
            out.number > kNumberBounds[static_cast<std::size_t>(spec.range_to)]) {
            fields.failed[i] = true;
            report_value(spec, name, content);
        }
    } else if (spec.has_text_range()) {
        // Byte-wise, unsigned, like strcmp.
        if (content < kTextBounds[static_cast<std::size_t>(spec.range_from - 1000)] ||
            content > kTextBounds[static_cast<std::size_t>(spec.range_to - 1000)]) {
            fields.failed[i] = true;
            report_value(spec, name, content);
        }
    }
    out.passed = true;
    return out;
}

}  // namespace tavon

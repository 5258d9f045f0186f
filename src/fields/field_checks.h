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

namespace detail {

// A row's bounds as the check compares them: the range references resolved at compile time.
struct RowLimits {
    std::size_t min_length, length_span;  // length in [min_length, min_length + length_span]
    bool number_range, text_range;
    double low, high;                      // number range
    std::string_view low_text, high_text;  // text range
};

template <std::size_t Rows>
constexpr std::array<RowLimits, Rows> limits_of(const std::array<FieldDefinition, Rows>& table) {
    std::array<RowLimits, Rows> limits{};
    for (std::size_t i = 0; i < Rows; ++i) {
        const FieldDefinition& definition = table[i];
        RowLimits& l = limits[i];
        l.min_length = static_cast<std::size_t>(definition.min_length);
        l.length_span = static_cast<std::size_t>(definition.max_length - definition.min_length);
        l.number_range = definition.has_number_range();
        l.text_range = definition.has_text_range();
        if (l.number_range) {
            l.low = kNumberBounds[definition.range.from];
            l.high = kNumberBounds[definition.range.to];
        } else if (l.text_range) {
            l.low_text = kTextBounds[definition.range.from];
            l.high_text = kTextBounds[definition.range.to];
        }
    }
    return limits;
}

inline constexpr auto kSubmitterLimits = limits_of(kSubmitterFields);
inline constexpr auto kEmployerLimits = limits_of(kEmployerFields);
inline constexpr auto kEmployeeLimits = limits_of(kEmployeeFields);

// Byte-wise, unsigned, like strcmp: a < b. Inline, as the texts compared are short.
inline bool bytes_less(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

}  // namespace detail

// The values of the current employer that the budget checks and the employer rules need.
struct EmployerValues {
    double AA0114 = 0, AA0115 = 0, AA0116 = 0, AA0118 = 0, AA0119 = 0, AA0123 = 0;
};

// What the check of one employee field found, for the employee store.
struct FieldOutcome {
    int row = -1;            // the field's row; -1 when the name is in no row
    double number = 0;       // its value as a number (0 for a text row: no rule reads one)
    bool has_value = false;  // a number was read (or it is a text row): the store keeps the value
    bool passed = false;     // the length test passed, so the row's actions ran
};

class FieldChecks {
  public:
    FieldChecks(const DataSet& data, Reporter& reporter)
        : reporter_(reporter), code_lists_(data, reporter, context_) {}

    // Whom the findings concern: the employer and employee columns, kept as their fields are read.
    const Context& context() const { return context_; }

    // Record starts: counts, numbers and order of the record's fields are cleared.
    void start_submitter() { submitter_.start(); }
    void start_employer();
    void start_employee() { employee_.start(); }
    // After an employer's rules: no employee is current.
    void end_employer() { context_.has_employee = false; }

    void submitter_field(std::string_view name, std::string_view content);
    void employer_field(std::string_view name, std::string_view content);
    // The row of an employee field's name (-1 for none). Fields mostly stand in the table's order:
    // the row after the last one is tried first.
    int employee_row(std::string_view name) const {
        const int next = employee_.order + 1;
        return next >= 0 && next < employee::kCount && is_code_of_row(name, next) ? next
                                                                                  : find_employee_row(name);
    }
    // The check of an employee field whose row is known.
    FieldOutcome employee_field(int row, std::string_view name, std::string_view content) {
        if (row == employee::AA0126) {
            context_.employee.assign(content);
            context_.has_employee = true;
        }
        const FieldOutcome out =
            check<Kind::Employee>(kEmployeeFields, detail::kEmployeeLimits, row, employee_, name, content);
        if (out.passed) employee_actions(out.row, content);
        return out;
    }
    FieldOutcome employee_field(std::string_view name, std::string_view content) {
        return employee_field(employee_row(name), name, content);
    }

    const SubmitterFields& submitter() const { return submitter_; }
    const EmployerFields& employer() const { return employer_; }
    const EmployeeFields& employee() const { return employee_; }
    const EmployerValues& employer_values() const { return values_; }

  private:
    enum class Kind { Submitter, Employer, Employee };
    template <Kind kind, std::size_t Rows>
    FieldOutcome check(const std::array<FieldDefinition, Rows>& table,
                       const std::array<detail::RowLimits, Rows>& limits, int row, RecordFields<Rows>& fields,
                       std::string_view name, std::string_view content);
    // The findings of the generic check, kept out of its common path.
    [[gnu::cold]] void report_unknown(std::string_view name, std::string_view content);
    [[gnu::cold]] void report_order(std::string_view name, std::string_view content,
                                    std::string_view expected);
    [[gnu::cold]] void report_length(const FieldDefinition& definition, std::string_view name,
                                     std::string_view content);
    [[gnu::cold]] void report_value(const FieldDefinition& definition, std::string_view name,
                                    std::string_view content);
    void submitter_actions(int row, std::string_view content);
    void employer_actions(int row, std::string_view content, double number);
    void employee_actions(int row, std::string_view content);
    void check_budgeted_headcount();
    void check_budget();

    Reporter& reporter_;
    Context context_;
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
inline FieldOutcome FieldChecks::check(const std::array<FieldDefinition, Rows>& table,
                                       const std::array<detail::RowLimits, Rows>& limits_table, int row,
                                       RecordFields<Rows>& fields, std::string_view name,
                                       std::string_view content) {
    FieldOutcome out;
    out.row = row;
    if (row < 0) {
        report_unknown(name, content);
        return out;
    }
    const auto i = static_cast<std::size_t>(row);
    const detail::RowLimits& limits = limits_table[i];
    fields.failed &= ~fields.bit(i);
    fields.line[i] = reporter_.current_line_number();
    ++fields.count[i];

    ++fields.order;
    if (fields.order != row) {
        // Past the last row the expected field is the table's end marker.
        const std::size_t expected = std::min<std::size_t>(static_cast<std::size_t>(fields.order), Rows - 1);
        report_order(name, content, table[expected].name);
    }

    if constexpr (kind != Kind::Submitter) {
        if (limits.number_range && !parse_number(out.number, content, table[i].type)) {
            fields.set_failed(i);
            report_value(table[i], name, content);
            return out;
        }
        fields.value[i] = out.number;
        out.has_value = true;
    }

    // One unsigned comparison for both bounds.
    if (content.size() - limits.min_length > limits.length_span) {
        fields.set_failed(i);
        report_length(table[i], name, content);
        return out;
    }
    if (kind == Kind::Employer && content.empty()) {
        fields.set_failed(i);
        return out;
    }

    if (kind != Kind::Submitter && limits.number_range) {
        if (out.number < limits.low || out.number > limits.high) {
            fields.set_failed(i);
            report_value(table[i], name, content);
        }
    } else if (limits.text_range) {
        if (detail::bytes_less(content, limits.low_text) || detail::bytes_less(limits.high_text, content)) {
            fields.set_failed(i);
            report_value(table[i], name, content);
        }
    }
    out.passed = true;
    return out;
}

}  // namespace tavon

// What the checks note of every field of one record (the submitter block, an employer or an
// employee): how often it occurred, its value as a number, whether it failed a check, and the line
// where it was last met; and the presence check at a record's end.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/format.h"
#include "base/reporter.h"
#include "fields/attribute_tables.h"

namespace tavon {

template <std::size_t Rows>
struct RecordFields {
    static_assert(Rows <= 64, "one bit per row");
    std::array<int, Rows> count{};
    std::array<double, Rows> value{};
    std::array<std::uint64_t, Rows> line{};  // where the field was last met; 0 = never
    int order = -1;                          // the position of the last known field met
    // A bit per row, set when a check rejected the field; not cleared at a record's start, so a
    // field missing from a record keeps the flag of its last earlier occurrence (and the rules
    // leave it alone). A mask, so that a rule over several fields tests them at once.
    std::uint64_t failed = 0;

    void start() {
        count.fill(0);
        value.fill(0.0);
        order = -1;
    }
    static constexpr std::uint64_t bit(std::size_t row) { return std::uint64_t{1} << row; }
    void set_failed(std::size_t row) { failed |= bit(row); }
    bool has_failed(std::size_t row) const { return (failed & bit(row)) != 0; }
    bool ok(int row) const { return !has_failed(static_cast<std::size_t>(row)); }
    // Whether every field but the end marker occurred exactly once: the usual record, which the
    // presence checks then pass over in one vector sweep.
    bool all_once() const {
        bool once = true;
        for (std::size_t i = 0; i + 1 < Rows; ++i) once &= count[i] == 1;
        return once;
    }
    // Whether none of the rows whose bits `rows` holds failed.
    bool all_ok(std::uint64_t rows) const { return (failed & rows) == 0; }
};

using SubmitterFields = RecordFields<kSubmitterFields.size()>;
using EmployerFields = RecordFields<kEmployerFields.size()>;
using EmployeeFields = RecordFields<kEmployeeFields.size()>;

// Presence of the fields of a record: ES303 for a field that did not occur, ES304 for one that
// occurred more than once. A missing field's expected text is its name, or "0" at the starts of the
// next records (the submitter block at every employer, the employer at its first employee).
template <std::size_t Rows>
void report_presence(const std::array<FieldDefinition, Rows>& table, const RecordFields<Rows>& fields,
                     Reporter& reporter, const Context& context, Column value, bool zero_instead_of_name) {
    if (fields.all_once()) return;
    for (std::size_t i = 0; i + 1 < Rows; ++i) {
        std::string_view name = table[i].name;
        if (fields.count[i] == 0)
            reporter.report_here(context, Code::ES303, name, value, zero_instead_of_name ? "0" : name);
        if (fields.count[i] > 1)
            reporter.report_here(context, Code::ES304, name, value, Formatted("{}", fields.count[i]));
    }
}

}  // namespace tavon

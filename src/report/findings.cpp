#include "report/findings.h"

#include "report/error_table.h"

namespace tavon {

void Findings::receive(std::string_view line, std::string_view code, std::string_view employer,
                       std::string_view employee, std::string_view field, std::string_view value,
                       std::string_view expected) {
    const char kind = code.empty() ? '\0' : code[0];
    if (kind == 'W') ++totals.warnings;
    if (kind == 'E') ++totals.errors;
    if (kind == 'W' && !report_warnings_) {
        ++totals.warnings_not_reported;
        return;
    }
    const int row = find_error_code(code);
    const ErrorCode& entry = row >= 0 ? error_table()[static_cast<std::size_t>(row)] : unknown_error_code();
    if (!expected.empty() && expected[0] == '?') expected = entry.expected;
    sink_.finding({line, code, employer, employee, field, value, expected, entry.description});
}

}  // namespace tavon

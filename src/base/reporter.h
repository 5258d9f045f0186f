// How the checks report. A finding is a code, where it is, and three texts (field, value,
// expected); whom it concerns, the employer and the employee of the report row, is the context
// the caller hands in.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/format.h"
#include "base/line_number.h"
#include "tavon/finding.h"

namespace tavon {

// An empty column of a report row, which the layouts show as three spaces.
inline constexpr Text kBlank{{}, 3};

// A text right-aligned with spaces ("     43.00", "   ") as a finding's text: without the spaces,
// and with the width they fill, for the report layouts to align it again.
inline Text aligned(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == 0) return Text(text);
    if (first == std::string_view::npos) return Text({}, static_cast<std::uint16_t>(text.size()));
    return Text(text.substr(first), static_cast<std::uint16_t>(text.size()));
}

// A column of a finding as a check hands it: a text of the document, a literal or a figure.
struct Column {
    Column(Text t) : text(t) {}
    Column(std::string_view s) : text(aligned(s)) {}
    Column(const char* s) : text(aligned(s)) {}
    Column(const std::string& s) : text(aligned(s)) {}
    Column(const Formatted& f) : text(aligned(f.text())) {}
    Text text;
};

// Where a finding is.
struct Where {
    std::uint64_t line = 0;                // 0: a field that did not occur
    std::span<const std::uint64_t> lines;  // one person's records
    bool more_lines = false;
    bool whole_employer = false;

    static Where at(std::uint64_t line) { return {line, {}, false, false}; }
    static Where records(std::span<const std::uint64_t> lines, bool more) {
        return {lines.empty() ? 0 : lines.front(), lines, more, false};
    }
    static Where employer_as_a_whole() { return {0, {}, false, true}; }
};

// Whom the findings concern: the employer (its IČO, with "/" and the facility code when given)
// and the employee (its identifier; none between employees). Kept by the field checks as they
// read those fields, handed to every report.
struct Context {
    std::string employer;
    std::string employee;
    bool has_employee = false;
    bool in_employers = false;  // an employer has begun: an employee column without one shows blank

    Text employer_text() const { return Text(employer); }
    Text employee_text() const { return has_employee ? Text(employee) : in_employers ? kBlank : Text(); }
    // The same employer, and the given employee or none.
    Context with_employee(std::string_view id) const { return {employer, std::string(id), true, true}; }
    Context without_employee() const { return {employer, {}, false, true}; }
};

// Takes every finding: counts it, and hands it on unless it is a warning left out.
class FindingReceiver {
  public:
    virtual ~FindingReceiver() = default;
    virtual void receive(const Finding& finding) = 0;
};

class Reporter {
  public:
    Reporter(FindingReceiver& receiver, const LineCounter& line) : receiver_(receiver), line_(line) {}

    void report(const Context& who, Where where, Code code, Column field, Column value, Column expected) {
        Finding f;
        f.code = code;
        f.line = where.line;
        f.lines = where.lines;
        f.more_lines = where.more_lines;
        f.whole_employer = where.whole_employer;
        f.employer = who.employer_text();
        f.employee = who.employee_text();
        f.field = field.text;
        f.value = value.text;
        f.expected = expected.text;
        receiver_.receive(f);
    }
    // A finding on the line being read.
    void report_here(const Context& who, Code code, Column field, Column value, Column expected) {
        report(who, Where::at(line_.number()), code, field, value, expected);
    }
    std::uint64_t current_line_number() const { return line_.number(); }

  private:
    FindingReceiver& receiver_;
    const LineCounter& line_;
};

}  // namespace tavon

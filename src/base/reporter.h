// How the checks report. A finding is five texts (line, code, element, value, expected); the
// employer and employee it concerns are the context that the checks keep up to date here.
#pragma once

#include <string>
#include <string_view>

#include "base/line_number.h"

namespace tavon {

// Takes every finding; the validator resolves the code's description and counts it.
class FindingReceiver {
  public:
    virtual ~FindingReceiver() = default;
    virtual void receive(std::string_view line, std::string_view code, std::string_view employer,
                         std::string_view employee, std::string_view field, std::string_view value,
                         std::string_view expected) = 0;
};

// "   " stands in a text that has nothing to show.
inline constexpr std::string_view kNothing = "   ";

class Reporter {
  public:
    Reporter(FindingReceiver& receiver, const LineCounter& line) : receiver_(receiver), line_(line) {}

    // A finding on the given line; an expected text beginning with "?" asks for the code's own
    // expected text.
    void report(std::string_view line, std::string_view code, std::string_view field, std::string_view value,
                std::string_view expected) {
        receiver_.receive(line, code, employer, employee, field, value, expected);
    }
    // A finding on the line being read.
    void report_here(std::string_view code, std::string_view field, std::string_view value,
                     std::string_view expected) {
        report(line_.text(), code, field, value, expected);
    }
    std::string_view current_line() const { return line_.text(); }
    std::uint64_t current_line_number() const { return line_.number(); }

    // The employer and employee columns of the rows that follow: the employer's IČO (with "/"
    // and the facility code when given) and the employee's identifier.
    std::string employer;
    std::string employee;

  private:
    FindingReceiver& receiver_;
    const LineCounter& line_;
};

}  // namespace tavon

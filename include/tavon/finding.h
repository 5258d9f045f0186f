// A finding of a validation, delivered as data: one row of an error report.
#pragma once

#include <string_view>

namespace tavon {

enum class Severity : char { Error = 'E', Warning = 'W', Other = '?' };

// Every text is Windows-1250 bytes and stays valid only during the call that delivers it.
struct Finding {
    std::string_view line;         // input line, e.g. "12"; "10,40,70" for one person's records; " " if none
    std::string_view code;         // error code, e.g. "EL051": E error / W warning, then S, L or R
    std::string_view employer;     // the employer's IČO (AA0017), "/" and facility code (AA0113) when given
    std::string_view employee;     // the employee's identifier (AA0126), or three spaces
    std::string_view field;        // the element concerned, e.g. "AA0138"; three spaces when none
    std::string_view value;        // the value found, or a figure computed from it
    std::string_view expected;     // what was expected: a limit, a length, a range, a figure
    std::string_view description;  // the Czech description of the code

    Severity severity() const {
        if (code.empty()) return Severity::Other;
        return code[0] == 'E' ? Severity::Error : code[0] == 'W' ? Severity::Warning : Severity::Other;
    }
};

// Receives the findings of a run in the order they are made (the order of reading).
class FindingSink {
  public:
    virtual ~FindingSink() = default;
    virtual void finding(const Finding& f) = 0;
};

}  // namespace tavon

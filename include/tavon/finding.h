// A finding of a check, delivered as data: what was found, where, and the texts of a report row.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tavon/codes.h"
#include "tavon/export.h"

namespace tavon {

// A text of a finding: Windows-1250 bytes as the document holds them, or a figure a rule
// computed. Valid only during the call that delivers the finding.
class TAVON_API Text {
  public:
    constexpr Text() = default;
    constexpr Text(std::string_view bytes, std::uint16_t width = 0) : bytes_(bytes), width_(width) {}

    std::string_view windows1250() const { return bytes_; }
    std::string utf8() const;
    bool empty() const { return bytes_.empty(); }
    // How many characters the report layouts give the text, right-aligned: a figure formatted for
    // its column ("43.00" in 10), or an empty column shown as spaces. 0: the text as it stands.
    std::uint16_t width() const { return width_; }

  private:
    std::string_view bytes_;
    std::uint16_t width_ = 0;
};

struct TAVON_API Finding {
    Code code{};
    // The line of the input the finding concerns; 0 when there is none (a field that did not
    // occur, or the employer's records as a whole: whole_employer).
    std::uint64_t line = 0;
    // For a person with several records: the line of each, the first six (the first is `line`);
    // more_lines when the person has more. Empty otherwise.
    std::span<const std::uint64_t> lines;
    bool more_lines = false;
    bool whole_employer = false;
    Text employer;  // the employer's IČO (AA0017), with "/" and the facility code (AA0113) when given
    Text employee;  // the employee's identifier (AA0126)
    Text field;     // the element concerned, e.g. "AA0138"; several: "AA0225 + AA0216"
    Text value;     // the value found, or a figure computed from it
    Text expected;  // what was expected: a limit, a length, a range, a figure

    Severity severity() const { return tavon::severity(code); }
    // The Czech description of the code, in Windows-1250 and in UTF-8.
    std::string_view description() const { return tavon::description(code); }
    std::string description_utf8() const;
};

// Receives the findings of a check in the order they are made (the order of reading).
class TAVON_API FindingSink {
  public:
    virtual ~FindingSink() = default;
    virtual void finding(const Finding& f) = 0;
};

}  // namespace tavon

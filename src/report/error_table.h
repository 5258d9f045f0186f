// The error table: every code the validator reports, with its Czech description and the
// expected-value text that a check may ask for with "?".
#pragma once

#include <span>
#include <string_view>

namespace tavon {

struct ErrorCode {
    std::string_view code;         // five characters, e.g. "EL051"
    std::string_view description;  // the "Popis" column
    std::string_view expected;     // the expected-value text; empty for most codes
};

// The codes in table order (the end marker is not part of the span).
std::span<const ErrorCode> error_table();

// The end marker, used for a code that is not in the table.
const ErrorCode& unknown_error_code();

// Index of a code in the table, or -1.
int find_error_code(std::string_view code);

}  // namespace tavon

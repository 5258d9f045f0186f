// The error table of tavon/codes.h as texts: every code the validator reports, with its Czech
// description and the expected-value text that a check may ask for.
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

// Index of a code in the table, or -1.
int find_error_code(std::string_view code);

}  // namespace tavon

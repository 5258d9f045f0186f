// The check digit of an organisation identification number (IČO).
#pragma once

#include <string_view>

namespace tavon {

// 0 valid, 1 wrong check digit or a non-digit, 2 length other than 8.
int chk_ICO(std::string_view ico);

}  // namespace tavon

// Rules of single fields that the attribute tables cannot express: the check digit of an
// identification number (IČO), dates, the file's time stamp, the e-mail address, and the identities
// of the employers seen so far.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/reporter.h"

namespace tavon {

// 0 valid, 1 wrong check digit or a non-digit, 2 length other than 8.
int ico_check(std::string_view ico);

// Whether the day of a date ("MM" and "DD") fits its month; February has 28 days (no leap years).
bool day_fits_month(std::string_view month, std::string_view day);

// Whether a time stamp "RRRR-MM-DDThh:mm:ss" of 19 characters or more is a valid moment of 2006 or 2007.
bool is_valid_time_stamp(std::string_view stamp);

// Whether an e-mail address has an "@" and a "." at the right places and no space.
bool is_valid_email(std::string_view address);

// The identities of the employers of the document (IČO, and "/" and the facility code), for the
// duplicate check. The table holds 100; when it is full, WL901 says so once and later employers go
// unchecked.
class EmployerIdentities {
  public:
    // Reports EL074 when `id` was seen before, else remembers it.
    void check(std::string_view id, Reporter& reporter, const Context& context);

  private:
    std::array<std::string, 100> seen_;
    int last_ = -1;
};

}  // namespace tavon

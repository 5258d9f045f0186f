// Why the last failed open, read, write or close of a file failed, from the C library's error
// state (and, on Windows, the system's, which alone tells a sharing violation).
#pragma once

#include <string>

#include "tavon/result.h"

namespace tavon {

// Clears the error state; call right before the operation.
void reset_open_error();
// Call right after the failing operation.
Error::Kind last_open_error();
// The same for a failed open of `name`: a folder is told as such (Windows says "access denied").
Error::Kind open_error_of(const std::string& name);

}  // namespace tavon

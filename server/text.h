// Small text helpers of the service: JSON strings and log-safe text.
#pragma once

#include <string>
#include <string_view>

namespace tavon::server {

// A JSON string literal, quotes included, of UTF-8 text.
std::string json_string(std::string_view utf8);

// Text from a request as it may stand in a log line: printable ASCII as it is, every other byte
// (control characters, spaces, quotes, bytes beyond ASCII) as \xHH, cut at `limit` bytes.
std::string log_safe(std::string_view bytes, std::size_t limit = 200);

// Whether the text holds a control character (below 0x20, or DEL).
bool has_control_character(std::string_view bytes);

}  // namespace tavon::server

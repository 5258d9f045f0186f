// The figures of the findings, formatted as the rules write them: format strings checked against
// their arguments at compile time (a wrong type does not compile), and numbers byte for byte as
// the C library's printf writes them, rounding included (both round the exact binary value).
#pragma once

#include <fmt/format.h>

#include <string_view>

namespace tavon {

class Formatted {
  public:
    template <typename... Args>
    explicit Formatted(fmt::format_string<Args...> format, Args&&... args) {
        fmt::vformat_to(fmt::appender(buffer_), format, fmt::make_format_args(args...));
    }
    Formatted(const Formatted&) = delete;
    Formatted& operator=(const Formatted&) = delete;

    std::string_view text() const { return {buffer_.data(), buffer_.size()}; }

  private:
    fmt::basic_memory_buffer<char, 128> buffer_;  // on the heap only for a huge number
};

}  // namespace tavon

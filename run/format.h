// printf-style formatting of numbers into a small stack buffer, for report texts.
#pragma once

#include <cstdio>
#include <string_view>

namespace tavon {

class Fmt {
  public:
    template <typename... A>
    explicit Fmt(const char* format, A... a) {
        int n = std::snprintf(b_, sizeof b_, format, a...);
        len_ = n < 0
                   ? 0
                   : (static_cast<std::size_t>(n) < sizeof b_ ? static_cast<std::size_t>(n) : sizeof b_ - 1);
    }
    operator std::string_view() const { return {b_, len_}; }

  private:
    char b_[160];
    std::size_t len_;
};

}  // namespace tavon

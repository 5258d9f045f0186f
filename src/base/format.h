// printf-style formatting of the report's numbers, byte for byte as the C library prints them,
// without locale look-ups or allocation for ordinary lengths. Supports the conversions the
// rules use: %d, %u with an optional zero flag and width (%08u), %W.Pf and %%.
#pragma once

#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavon {

class Fmt {
  public:
    template <typename... A>
    explicit Fmt(const char* format, A... a) {
        const Arg args[] = {Arg(a)..., Arg(0)};
        format_all(format, args, sizeof...(A));
    }
    Fmt(const Fmt&) = delete;
    Fmt& operator=(const Fmt&) = delete;

    operator std::string_view() const { return long_.empty() ? std::string_view(buffer_, length_) : long_; }

  private:
    struct Arg {
        enum Kind { Signed, Unsigned, Real } kind;
        long long i = 0;
        unsigned long long u = 0;
        double d = 0;
        Arg(int v) : kind(Signed), i(v) {}
        Arg(long long v) : kind(Signed), i(v) {}
        Arg(unsigned v) : kind(Unsigned), u(v) {}
        Arg(double v) : kind(Real), d(v) {}
    };

    void format_all(const char* f, const Arg* a, std::size_t n);
    void append(std::string_view s);
    void append_padded(std::string_view s, int width, char fill);

    char buffer_[128];
    std::size_t length_ = 0;
    std::string long_;  // only for texts longer than the buffer (huge numbers)
};

}  // namespace tavon

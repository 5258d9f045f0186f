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
        formatuj(format, args, sizeof...(A));
    }
    Fmt(const Fmt&) = delete;
    Fmt& operator=(const Fmt&) = delete;

    operator std::string_view() const { return dlouhy_.empty() ? std::string_view(b_, len_) : dlouhy_; }

  private:
    struct Arg {
        enum Druh { Cele, Bezznamenkove, Realne } druh;
        long long i = 0;
        unsigned long long u = 0;
        double d = 0;
        Arg(int v) : druh(Cele), i(v) {}
        Arg(long long v) : druh(Cele), i(v) {}
        Arg(unsigned v) : druh(Bezznamenkove), u(v) {}
        Arg(double v) : druh(Realne), d(v) {}
    };

    void formatuj(const char* f, const Arg* a, std::size_t n);
    void pridej(std::string_view s);
    void pridej_zarovnane(std::string_view s, int sirka, char vypln);

    char b_[128];
    std::size_t len_ = 0;
    std::string dlouhy_;  // only for texts longer than the buffer (huge numbers)
};

}  // namespace tavon

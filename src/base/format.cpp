#include "base/format.h"

#include <cstring>

namespace tavon {

void Fmt::append(std::string_view s) {
    if (long_.empty() && length_ + s.size() <= sizeof buffer_) {
        std::memcpy(buffer_ + length_, s.data(), s.size());
        length_ += s.size();
        return;
    }
    if (long_.empty()) long_.assign(buffer_, length_);
    long_.append(s);
}

void Fmt::append_padded(std::string_view s, int width, char fill) {
    // A zero fill goes after the sign, as printf puts it.
    if (fill == '0' && !s.empty() && s[0] == '-') {
        append("-");
        s.remove_prefix(1);
        --width;
    }
    static constexpr char kSpaces[] = "                                ";
    static constexpr char kZeros[] = "00000000000000000000000000000000";
    for (int missing = width - static_cast<int>(s.size()); missing > 0; missing -= 32)
        append(std::string_view(fill == '0' ? kZeros : kSpaces,
                                static_cast<std::size_t>(missing < 32 ? missing : 32)));
    append(s);
}

void Fmt::format_all(const char* f, const Arg* a, std::size_t n) {
    std::size_t next = 0;
    char number[400];  // the longest double written with %f and a small precision fits
    while (*f) {
        const char* percent = std::strchr(f, '%');
        if (!percent) {
            append(f);
            break;
        }
        append(std::string_view(f, static_cast<std::size_t>(percent - f)));
        f = percent + 1;
        if (*f == '%') {
            append("%");
            ++f;
            continue;
        }
        char fill = ' ';
        if (*f == '0') {
            fill = '0';
            ++f;
        }
        int width = 0, precision = 6;
        while (*f >= '0' && *f <= '9') width = width * 10 + (*f++ - '0');
        if (*f == '.') {
            precision = 0;
            ++f;
            while (*f >= '0' && *f <= '9') precision = precision * 10 + (*f++ - '0');
        }
        const char conversion = *f ? *f++ : '\0';
        const Arg& arg = next < n ? a[next++] : a[n];
        std::to_chars_result r{number, {}};
        switch (conversion) {
            case 'd':
                r = std::to_chars(number, number + sizeof number, arg.kind == Arg::Signed ? arg.i : 0);
                break;
            case 'u':
                r = std::to_chars(number, number + sizeof number, arg.kind == Arg::Unsigned ? arg.u : 0);
                break;
            case 'f':
                r = std::to_chars(number, number + sizeof number, arg.kind == Arg::Real ? arg.d : 0.0,
                                  std::chars_format::fixed, precision);
                break;
            default: break;
        }
        append_padded(std::string_view(number, static_cast<std::size_t>(r.ptr - number)), width,
                      conversion == 'f' ? ' ' : fill);
    }
}

}  // namespace tavon

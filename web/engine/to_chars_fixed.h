// Emscripten's C++ library (libc++ before 14) lacks std::to_chars for floating-point numbers. The
// library uses only the fixed form with a precision, which is exactly printf's "%.*f" (both are
// correctly rounded); this header, put before every file of the library in the WebAssembly build
// (web/CMakeLists.txt), supplies that overload from the C library's printf.
#pragma once

#include <charconv>
#include <cstdio>
#include <cstring>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
namespace std {

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    char digits[1100];  // the longest double with 17 significant digits and precision up to 700
    int n = -1;
    if (format == chars_format::fixed && precision >= 0 && precision <= 700)
        n = std::snprintf(digits, sizeof digits, "%.*f", precision, value);
    if (n < 0 || n > last - first) return {last, errc::value_too_large};
    std::memcpy(first, digits, static_cast<size_t>(n));
    return {first + n, errc{}};
}

}  // namespace std
#endif

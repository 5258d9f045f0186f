// What Debian's Emscripten C++ library (libc++ 13) lacks of the C++20 the library uses, put before
// every file of the library in the WebAssembly build (web/CMakeLists.txt). Each piece is the
// standard's own definition, or for to_chars the one form the library uses.
#pragma once

#include <bit>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
namespace std {

// The fixed form with a precision is exactly printf's "%.*f" (both are correctly rounded).
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    char digits[1100];  // the longest double with 17 significant digits and precision up to 700
    int n = -1;
    if (format == chars_format::fixed && precision >= 0 && precision <= 700)
        n = std::snprintf(digits, sizeof digits, "%.*f", precision, value);
    if (n < 0 || n > last - first) return {last, errc::value_too_large};
    std::memcpy(first, digits, static_cast<size_t>(n));
    return {first + n, errc{}};
}

template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>);
    return __builtin_bit_cast(To, from);
}

// The form for arrays, the one the library uses.
template <class T>
unique_ptr<T> make_unique_for_overwrite(size_t n) {
    return unique_ptr<T>(new remove_extent_t<T>[n]);
}

}  // namespace std
#endif

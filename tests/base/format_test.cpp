// Report numbers must be byte for byte what the C library's printf writes.
#include "base/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace tavon {
namespace {

template <typename... A>
std::string printf_text(const char* f, A... a) {
    char b[2048];
    std::snprintf(b, sizeof b, f, a...);
    return b;
}

TEST(Formatted, RealNumbersAsPrintfWritesThem) {
    std::mt19937_64 rng(2006);
    std::uniform_real_distribution<double> values(-100000, 100000);
    // The forms the rules use, in printf's words and in those of the formatting library.
    const char* formats[] = {"%10.0f",    "%10.2f", "%12.0f",    "%2.4f",           "%10.4f",
                             "<= %10.5f", "%3.0f",  ">  %10.2f", "%12.2f - %12.2f "};
    auto formatted = [](std::size_t form, double x) -> std::string {
        switch (form) {
            case 0: return std::string(Formatted("{:10.0f}", x).text());
            case 1: return std::string(Formatted("{:10.2f}", x).text());
            case 2: return std::string(Formatted("{:12.0f}", x).text());
            case 3: return std::string(Formatted("{:2.4f}", x).text());
            case 4: return std::string(Formatted("{:10.4f}", x).text());
            case 5: return std::string(Formatted("<= {:10.5f}", x).text());
            case 6: return std::string(Formatted("{:3.0f}", x).text());
            case 7: return std::string(Formatted(">  {:10.2f}", x).text());
            default: return std::string(Formatted("{:12.2f} - {:12.2f} ", x, x).text());
        }
    };
    for (int i = 0; i < 30000; ++i) {
        double x = values(rng);
        if (i % 3 == 0) x = std::round(x * 100) / 100;  // two decimals, the common case
        if (i % 7 == 0) x = std::round(x) + 0.5;        // exact halves round to even
        for (std::size_t f = 0; f < std::size(formats); ++f)
            ASSERT_EQ(formatted(f, x), printf_text(formats[f], x, x)) << formats[f] << " " << x;
    }
    for (double x : {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.005, 1e15, 1e22, 1e300, -1e300, 123456789012.5,
                     24864.0 * 0.03, 0.1 * 64960, 2.675, 1.005})
        for (std::size_t f = 0; f < std::size(formats); ++f)
            EXPECT_EQ(formatted(f, x), printf_text(formats[f], x, x)) << formats[f] << " " << x;
}

TEST(Formatted, IntegersAndTexts) {
    for (int n : {0, 1, -1, 42, 1248, -2147483647 - 1, 2147483647}) {
        EXPECT_EQ(Formatted("{}", n).text(), printf_text("%d", n));
        EXPECT_EQ(Formatted(" <= {}", n).text(), printf_text(" <= %d", n));
    }
    for (unsigned u : {0u, 1u, 10000003u, 99999999u, 4294967295u})
        EXPECT_EQ(Formatted("{:08}", u).text(), printf_text("%08u", u));
    EXPECT_EQ(
        Formatted("{:10.2f} ; {:10.2f} ;  {:3.0f} ;  {:3.0f} ; {:10.4f} ;", 900.0, 20.0, 181.0, 20.0, 0.6)
            .text(),
        printf_text("%10.2f ; %10.2f ;  %3.0f ;  %3.0f ; %10.4f ;", 900.0, 20.0, 181.0, 20.0, 0.6));
}

TEST(Formatted, HugeNumbersAreWrittenWhole) {
    const double x = 9.87654321e299;
    const std::string expected = printf_text("%10.2f - %10.2f", x, -x);
    EXPECT_GT(expected.size(), 600u);
    EXPECT_EQ(Formatted("{:10.2f} - {:10.2f}", x, -x).text(), expected);
}

}  // namespace
}  // namespace tavon

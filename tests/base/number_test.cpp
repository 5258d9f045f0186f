// The fast number conversion must give exactly the double that strtod gives.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <random>
#include <string>

#include "base/text.h"

namespace tavon {
namespace {

void expect_as_strtod(const std::string& text) {
    double d = 42;
    ASSERT_TRUE(parse_number(d, text, 'R')) << text;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(d),
              std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr)))
        << "'" << text << "'";
}

TEST(NumberConversion, SameBitsAsStrtodForRandomTexts) {
    std::mt19937_64 rng(20061);
    const std::string digits = "0123456789";
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        int sign = static_cast<int>(rng() % 4);
        if (sign == 1) text += '-';
        if (sign == 2) text += '+';
        int before = static_cast<int>(rng() % 20), after = static_cast<int>(rng() % 25);
        for (int i = 0; i < before; ++i) text += digits[rng() % 10];
        if (rng() % 2) {
            text += '.';
            for (int i = 0; i < after; ++i) text += digits[rng() % 10];
        }
        expect_as_strtod(text);
    }
}

TEST(NumberConversion, EdgeTextsMatchStrtod) {
    for (const char* t : {"",
                          "-",
                          "+",
                          ".",
                          "-.",
                          "+.",
                          "0",
                          "-0",
                          "-0.0",
                          "+0",
                          "5.",
                          ".5",
                          "-.5",
                          "0.1",
                          "2.5",
                          "9999.99",
                          "999999999999999",
                          "9999999999999999",
                          "12345678901234567890",
                          "0.000000000000000000000001",
                          "1.7976931348623157",
                          "000000000000000000001",
                          "0.30000000000000004",
                          "123456789012345.6"})
        expect_as_strtod(t);
}

}  // namespace
}  // namespace tavon

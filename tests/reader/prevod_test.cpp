// The fast number conversion must give exactly the double that strtod gives.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <random>
#include <string>

#include "reader/text.h"

namespace tavon {
namespace {

void ocekavej_jako_strtod(const std::string& text) {
    double d = 42;
    ASSERT_EQ(StrToDbl(d, text, 'R'), 0) << text;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(d),
              std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr)))
        << "'" << text << "'";
}

TEST(Prevod, SameBitsAsStrtodForRandomTexts) {
    std::mt19937_64 rng(20061);
    const std::string cislice = "0123456789";
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        int znamenko = static_cast<int>(rng() % 4);
        if (znamenko == 1) text += '-';
        if (znamenko == 2) text += '+';
        int pred = static_cast<int>(rng() % 20), po = static_cast<int>(rng() % 25);
        for (int i = 0; i < pred; ++i) text += cislice[rng() % 10];
        if (rng() % 2) {
            text += '.';
            for (int i = 0; i < po; ++i) text += cislice[rng() % 10];
        }
        ocekavej_jako_strtod(text);
    }
}

TEST(Prevod, EdgeTextsMatchStrtod) {
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
        ocekavej_jako_strtod(t);
}

}  // namespace
}  // namespace tavon

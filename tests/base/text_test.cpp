// Text routines and the strict conversion of field values.
#include "base/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace tavon {
namespace {

TEST(Text, TrimRemovesOnlyLeadingSpaces) {
    EXPECT_EQ(trim_leading_spaces("  12 "), "12 ");
    EXPECT_EQ(trim_leading_spaces("\t12"), "\t12");
    EXPECT_EQ(trim_leading_spaces(" \t12"), "\t12");
    EXPECT_EQ(trim_leading_spaces("    "), "");
    EXPECT_EQ(trim_leading_spaces(""), "");
    EXPECT_EQ(trim_leading_spaces("a b"), "a b");
}

TEST(Text, AbsoluteDifference) {
    EXPECT_DOUBLE_EQ(abs_difference(3.0, 5.5), 2.5);
    EXPECT_DOUBLE_EQ(abs_difference(5.5, 3.0), 2.5);
    EXPECT_DOUBLE_EQ(abs_difference(-1.0, 2.0), 3.0);
    EXPECT_DOUBLE_EQ(abs_difference(7.0, 7.0), 0.0);
}

TEST(Text, NumberAcceptsSignDigitsAndPointByType) {
    struct Case {
        std::string_view text;
        char type;
        double value;
    };
    const Case accepted[] = {
        {"123", 'N', 123.0}, {"-5", 'N', -5.0}, {"+7", 'N', 7.0},   {"", 'N', 0.0},       {"-", 'N', 0.0},
        {"+", 'R', 0.0},     {"1.5", 'R', 1.5}, {"-.5", 'R', -0.5}, {"5.", 'R', 5.0},     {".5", 'R', 0.5},
        {".", 'R', 0.0},     {"", 'R', 0.0},    {"007", 'N', 7.0},  {"+0.25", 'R', 0.25},
    };
    for (const auto& c : accepted) {
        double d = 99.0;
        EXPECT_TRUE(parse_number(d, c.text, c.type)) << "'" << c.text << "' " << c.type;
        EXPECT_EQ(d, c.value) << "'" << c.text << "' " << c.type;
    }

    const Case refused[] = {
        {"1.5", 'N', 0}, {"1.5", 'S', 0},  {"1.5", 'X', 0},   {"+-1", 'N', 0},
        {"-+1", 'R', 0}, {"1-", 'N', 0},   {"1+", 'N', 0},    {"--1", 'N', 0},
        {"++1", 'N', 0}, {" 1", 'N', 0},   {"1 ", 'N', 0},    {"1e3", 'N', 0},
        {"1E3", 'R', 0}, {"1,5", 'R', 0},  {"1.2.3", 'R', 0}, {"..", 'R', 0},
        {"abc", 'N', 0}, {"0x10", 'N', 0}, {"1\xB2", 'N', 0}, {std::string_view("1\0", 2), 'N', 0},
    };
    for (const auto& c : refused) {
        double d = 99.0;
        EXPECT_FALSE(parse_number(d, c.text, c.type)) << "'" << c.text << "' " << c.type;
        EXPECT_EQ(d, 0.0) << "'" << c.text << "' " << c.type;
    }
}

TEST(Text, NumberIsTheSameDoubleAsStrtod) {
    const char* texts[] = {"999999999999999",
                           "1000000000000000",
                           "9007199254740993",
                           "12345678901234567890",
                           "0.1",
                           "9999.99",
                           "-9999999",
                           "0.0001",
                           "100000000000",
                           "123456789.987654321",
                           "-0.3",
                           "2.675",
                           "00000000000000001",
                           "+4503599627370497.5"};
    for (const char* t : texts) {
        double d = 0;
        ASSERT_TRUE(parse_number(d, t, 'R')) << t;
        EXPECT_EQ(d, std::strtod(t, nullptr)) << t;
    }
    std::string long_text(600, '7');
    double d = 0;
    ASSERT_TRUE(parse_number(d, long_text, 'N'));
    EXPECT_EQ(d, std::strtod(long_text.c_str(), nullptr));
}

TEST(Text, ClosingNamePairsWithItsStart) {
    EXPECT_TRUE(is_closing_of("AA0017", "/AA0017"));
    EXPECT_FALSE(is_closing_of("AA0017", "/AA0018"));
    EXPECT_FALSE(is_closing_of("AA0017", "/AA00170"));
    EXPECT_FALSE(is_closing_of("AA0017", "/AA001"));
    EXPECT_FALSE(is_closing_of("AA0017", "AA0017"));
    EXPECT_FALSE(is_closing_of("AA0017", "/aa0017"));
    EXPECT_FALSE(is_closing_of("AA0017", "xAA0017"));
    EXPECT_TRUE(is_closing_of("", "/"));
    EXPECT_FALSE(is_closing_of("", ""));
}

}  // namespace
}  // namespace tavon

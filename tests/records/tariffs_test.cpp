#include "data/tariffs.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "data/data_set.h"

namespace tavon {
namespace {

const TariffTable& tariffs() { return DataSet::built_in()->tariffs(); }
double tariff(double s, double c, double g) { return tariffs().tariff(s, c, g); }

TEST(Tariffs, CornersOfTheTable) {
    EXPECT_EQ(tariff(1, 1, 1), 5120);
    EXPECT_EQ(tariff(1, 1, 12), 7830);
    EXPECT_EQ(tariff(1, 16, 12), 26600);
    EXPECT_EQ(TariffTable::index(5, 16, 12), 959);
    EXPECT_EQ(tariff(5, 16, 12), 37240);
    EXPECT_EQ(tariffs().values().back(), 37240);
}

// Class 1 and class 16 of the raised scales, as the regulation publishes them: a scale file in the
// wrong place or a row out of order shows here.
TEST(Tariffs, OuterClassesOfTheRaisedScales) {
    struct Row {
        int scale, cls;
        std::array<double, 12> tariffs;
    };
    const Row rows[] = {
        {2, 1, {6220, 6430, 6640, 6850, 7080, 7310, 7560, 7800, 8080, 8350, 8630, 8930}},
        {2, 16, {21120, 21810, 22510, 23250, 24030, 24830, 25660, 26520, 27420, 28360, 29320, 30330}},
        {3, 1, {7080, 7290, 7500, 7710, 7940, 8170, 8420, 8660, 8940, 9210, 9490, 9790}},
        {3, 16, {24040, 24730, 25430, 26170, 26950, 27750, 28580, 29440, 30340, 31280, 32240, 33250}},
        {5, 1, {8260, 8470, 8680, 8890, 9120, 9350, 9600, 9840, 10120, 10390, 10670, 10970}},
        {5, 16, {28030, 28720, 29420, 30160, 30940, 31740, 32570, 33430, 34330, 35270, 36230, 37240}},
    };
    for (const Row& r : rows) {
        for (int g = 1; g <= 12; ++g) {
            EXPECT_EQ(tariff(r.scale, r.cls, g), r.tariffs[g - 1]) << r.scale << "/" << r.cls << "/" << g;
        }
    }
    EXPECT_EQ(tariff(3, 10, 5), 16530);
}

TEST(Tariffs, ScaleFourIsScaleThree) {
    for (int c = 1; c <= 16; ++c) {
        for (int g = 1; g <= 12; ++g) EXPECT_EQ(tariff(4, c, g), tariff(3, c, g)) << c << "/" << g;
    }
}

TEST(Tariffs, RiseWithGradeAndClass) {
    for (int s = 1; s <= 5; ++s) {
        for (int c = 1; c <= 16; ++c) {
            for (int g = 1; g <= 12; ++g) {
                const double lower_grade = g > 1 ? tariff(s, c, g - 1) : 0;
                const double lower_class = c > 1 ? tariff(s, c - 1, g) : 0;
                EXPECT_LT(lower_grade, tariff(s, c, g)) << s << "/" << c << "/" << g;
                EXPECT_LT(lower_class, tariff(s, c, g)) << s << "/" << c << "/" << g;
            }
        }
    }
}

TEST(Tariffs, Ranges) {
    const TariffTable::Range cls = tariffs().class_range(3, 10);
    EXPECT_EQ(cls.low, 14740);
    EXPECT_EQ(cls.high, 20390);
    EXPECT_EQ(tariffs().class_top(2, 16), 30330);
    // The upper bound is the end of scale 4, below the top of scale 5.
    const TariffTable::Range whole = tariffs().whole_range();
    EXPECT_EQ(whole.low, 5120);
    EXPECT_EQ(whole.high, 33250);
    EXPECT_EQ(tariffs().lowest(), 5120);
}

TEST(Tariffs, IndexIsTruncatedTowardZeroAndStaysInTheTable) {
    EXPECT_EQ(TariffTable::index(1, 1, 1.9), 0);
    EXPECT_EQ(TariffTable::index(2, 3, 4.5), 192 + 24 + 3);
    EXPECT_EQ(TariffTable::index(1, 1, 0.5), 0);
    EXPECT_EQ(TariffTable::index(1, 1, 0), 0);
    EXPECT_EQ(TariffTable::index(0, 0, 0), 0);
    EXPECT_EQ(TariffTable::index(6, 1, 1), 959);
    EXPECT_EQ(TariffTable::index(1e300, 1, 1), 959);
    EXPECT_EQ(TariffTable::index(std::numeric_limits<double>::quiet_NaN(), 1, 1), 0);
}

}  // namespace
}  // namespace tavon

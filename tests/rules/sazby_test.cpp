#include "rules/sazby.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace tavon {
namespace {

TEST(Sazby, RohyTabulky) {
    EXPECT_EQ(sazba(1, 1, 1), 5120);
    EXPECT_EQ(sazba(1, 1, 12), 7830);
    EXPECT_EQ(sazba(1, 16, 12), 26600);
    EXPECT_EQ(sazba_index(5, 16, 12), 959);
    EXPECT_EQ(sazba(5, 16, 12), 37240);
    EXPECT_EQ(tabSazeb.back(), 37240);
}

// Class 1 and class 16 of the raised scales, as the regulation publishes them: a scale file in the
// wrong place or a row out of order shows here.
TEST(Sazby, KrajniTridyZvysenychStupnic) {
    struct Radek {
        int stupnice, trida;
        std::array<double, 12> sazby;
    };
    const Radek radky[] = {
        {2, 1, {6220, 6430, 6640, 6850, 7080, 7310, 7560, 7800, 8080, 8350, 8630, 8930}},
        {2, 16, {21120, 21810, 22510, 23250, 24030, 24830, 25660, 26520, 27420, 28360, 29320, 30330}},
        {3, 1, {7080, 7290, 7500, 7710, 7940, 8170, 8420, 8660, 8940, 9210, 9490, 9790}},
        {3, 16, {24040, 24730, 25430, 26170, 26950, 27750, 28580, 29440, 30340, 31280, 32240, 33250}},
        {5, 1, {8260, 8470, 8680, 8890, 9120, 9350, 9600, 9840, 10120, 10390, 10670, 10970}},
        {5, 16, {28030, 28720, 29420, 30160, 30940, 31740, 32570, 33430, 34330, 35270, 36230, 37240}},
    };
    for (const Radek& r : radky) {
        for (int g = 1; g <= 12; ++g) {
            EXPECT_EQ(sazba(r.stupnice, r.trida, g), r.sazby[g - 1])
                << r.stupnice << "/" << r.trida << "/" << g;
        }
    }
    EXPECT_EQ(sazba(3, 10, 5), 16530);
}

TEST(Sazby, StupniceCtyriJeStupniceTri) {
    for (int c = 1; c <= 16; ++c) {
        for (int g = 1; g <= 12; ++g) EXPECT_EQ(sazba(4, c, g), sazba(3, c, g)) << c << "/" << g;
    }
}

TEST(Sazby, RostouSeStupnemITridou) {
    for (int s = 1; s <= 5; ++s) {
        for (int c = 1; c <= 16; ++c) {
            for (int g = 1; g <= 12; ++g) {
                const double nizsi_stupen = g > 1 ? sazba(s, c, g - 1) : 0;
                const double nizsi_trida = c > 1 ? sazba(s, c - 1, g) : 0;
                EXPECT_LT(nizsi_stupen, sazba(s, c, g)) << s << "/" << c << "/" << g;
                EXPECT_LT(nizsi_trida, sazba(s, c, g)) << s << "/" << c << "/" << g;
            }
        }
    }
}

TEST(Sazby, Rozpeti) {
    const RozpetiSazeb trida = sazba_rozpeti(3, 10);
    EXPECT_EQ(trida.dolni, 14740);
    EXPECT_EQ(trida.horni, 20390);
    EXPECT_EQ(sazba_nejvyssi(2, 16), 30330);
    // The upper bound is the end of scale 4, below the top of scale 5.
    const RozpetiSazeb meze = sazby_meze();
    EXPECT_EQ(meze.dolni, 5120);
    EXPECT_EQ(meze.horni, 33250);
    EXPECT_EQ(sazba_nejnizsi(), 5120);
}

TEST(Sazby, IndexSeUseknePodleNulyAZustaneVTabulce) {
    EXPECT_EQ(sazba_index(1, 1, 1.9), 0);
    EXPECT_EQ(sazba_index(2, 3, 4.5), 192 + 24 + 3);
    EXPECT_EQ(sazba_index(1, 1, 0.5), 0);
    EXPECT_EQ(sazba_index(1, 1, 0), 0);
    EXPECT_EQ(sazba_index(0, 0, 0), 0);
    EXPECT_EQ(sazba_index(6, 1, 1), 959);
    EXPECT_EQ(sazba_index(1e300, 1, 1), 959);
    EXPECT_EQ(sazba_index(std::numeric_limits<double>::quiet_NaN(), 1, 1), 0);
}

}  // namespace
}  // namespace tavon

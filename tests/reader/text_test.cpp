#include "reader/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace tavon {
namespace {

TEST(Text, JsubstrCopiesFromOneBasedPosition) {
    std::string cil = "stary obsah";
    EXPECT_EQ(jsubstr(cil, "duve.htm", 6, 10), 3);
    EXPECT_EQ(cil, "htm");

    struct Pripad {
        std::string_view zdroj;
        int pozice, delka;
        std::string_view vysledek;
    };
    const Pripad pripady[] = {
        {"abc", 2, 10, "bc"}, {"abc", 2, 1, "b"}, {"abc", 2, 0, ""}, {"abc", 2, -3, ""},
        {"abc", 1, 3, "abc"}, {"abc", 3, 1, "c"}, {"abc", 4, 5, ""}, {"", 1, 5, ""},
    };
    for (const auto& p : pripady) {
        cil = "x";
        EXPECT_EQ(jsubstr(cil, p.zdroj, p.pozice, p.delka), static_cast<int>(p.vysledek.size()))
            << p.zdroj << " " << p.pozice << " " << p.delka;
        EXPECT_EQ(cil, p.vysledek) << p.zdroj << " " << p.pozice << " " << p.delka;
        EXPECT_EQ(jsubstr(p.zdroj, p.pozice, p.delka), p.vysledek);
    }
}

TEST(Text, JstrtostrBuildsTextPieceByPiece) {
    // The report's date stamp is assembled from six copies into an empty field.
    std::string cil;
    EXPECT_EQ(jstrtostr(cil, 1, "06/", 1, 3), 3);
    EXPECT_EQ(jstrtostr(cil, 4, "07/", 1, 3), 3);
    EXPECT_EQ(jstrtostr(cil, 7, "20", 1, 2), 2);
    EXPECT_EQ(jstrtostr(cil, 9, "2006", 3, 2), 2);
    EXPECT_EQ(jstrtostr(cil, 11, "  ", 1, 2), 2);
    EXPECT_EQ(jstrtostr(cil, 13, "14:03:59", 1, 8), 8);
    EXPECT_EQ(cil, "06/07/2006  14:03:59");

    // Writing into the middle keeps what stands in front and ends the text after the copy.
    cil = "abcdef";
    EXPECT_EQ(jstrtostr(cil, 3, "XYZ", 2, 5), 2);
    EXPECT_EQ(cil, "abYZ");
    cil = "abcdef";
    EXPECT_EQ(jstrtostr(cil, 2, "XYZ", 1, 0), 0);
    EXPECT_EQ(cil, "a");
}

TEST(Text, JinstrFindsFirstOccurrence) {
    EXPECT_EQ(jinstr("duve.htm", '.'), 5);
    EXPECT_EQ(jinstr("abc", '.'), 0);
    EXPECT_EQ(jinstr("a.b.c", '.'), 2);
    EXPECT_EQ(jinstr(".abc", '.'), 1);
    EXPECT_EQ(jinstr("", '.'), 0);
    EXPECT_EQ(jinstr("old.dir/report.csv", '.'), 4);
}

TEST(Text, JezltrimRemovesOnlyLeadingSpaces) {
    EXPECT_EQ(jezltrim("  12 "), "12 ");
    EXPECT_EQ(jezltrim("\t12"), "\t12");
    EXPECT_EQ(jezltrim(" \t12"), "\t12");
    EXPECT_EQ(jezltrim("    "), "");
    EXPECT_EQ(jezltrim(""), "");
    EXPECT_EQ(jezltrim("a b"), "a b");

    std::string cil = "stare";
    EXPECT_EQ(jezltrim(cil, "   x  "), 0);
    EXPECT_EQ(cil, "x  ");
    EXPECT_EQ(jezltrim(cil, "   "), 0);
    EXPECT_EQ(cil, "");
}

TEST(Text, JezdifdblIsAbsoluteDifference) {
    EXPECT_DOUBLE_EQ(jezdifdbl(3.0, 5.5), 2.5);
    EXPECT_DOUBLE_EQ(jezdifdbl(5.5, 3.0), 2.5);
    EXPECT_DOUBLE_EQ(jezdifdbl(-1.0, 2.0), 3.0);
    EXPECT_DOUBLE_EQ(jezdifdbl(7.0, 7.0), 0.0);
}

TEST(Text, StrToDblAcceptsSignDigitsAndPointByType) {
    struct Pripad {
        std::string_view text;
        char typ;
        double hodnota;
    };
    const Pripad prijate[] = {
        {"123", 'N', 123.0}, {"-5", 'N', -5.0}, {"+7", 'N', 7.0},   {"", 'N', 0.0},       {"-", 'N', 0.0},
        {"+", 'R', 0.0},     {"1.5", 'R', 1.5}, {"-.5", 'R', -0.5}, {"5.", 'R', 5.0},     {".5", 'R', 0.5},
        {".", 'R', 0.0},     {"", 'R', 0.0},    {"007", 'N', 7.0},  {"+0.25", 'R', 0.25},
    };
    for (const auto& p : prijate) {
        double d = 99.0;
        EXPECT_EQ(StrToDbl(d, p.text, p.typ), 0) << "'" << p.text << "' " << p.typ;
        EXPECT_EQ(d, p.hodnota) << "'" << p.text << "' " << p.typ;
    }

    const Pripad odmitnute[] = {
        {"1.5", 'N', 0}, {"1.5", 'S', 0},  {"1.5", 'X', 0},   {"+-1", 'N', 0},
        {"-+1", 'R', 0}, {"1-", 'N', 0},   {"1+", 'N', 0},    {"--1", 'N', 0},
        {"++1", 'N', 0}, {" 1", 'N', 0},   {"1 ", 'N', 0},    {"1e3", 'N', 0},
        {"1E3", 'R', 0}, {"1,5", 'R', 0},  {"1.2.3", 'R', 0}, {"..", 'R', 0},
        {"abc", 'N', 0}, {"0x10", 'N', 0}, {"1\xB2", 'N', 0}, {std::string_view("1\0", 2), 'N', 0},
    };
    for (const auto& p : odmitnute) {
        double d = 99.0;
        EXPECT_EQ(StrToDbl(d, p.text, p.typ), 1) << "'" << p.text << "' " << p.typ;
        EXPECT_EQ(d, 0.0) << "'" << p.text << "' " << p.typ;
    }
}

TEST(Text, StrToDblGivesTheSameDoubleAsStrtod) {
    const char* texty[] = {"999999999999999",
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
    for (const char* t : texty) {
        double d = 0;
        ASSERT_EQ(StrToDbl(d, t, 'R'), 0) << t;
        EXPECT_EQ(d, std::strtod(t, nullptr)) << t;
    }
    std::string dlouhy(600, '7');
    double d = 0;
    ASSERT_EQ(StrToDbl(d, dlouhy, 'N'), 0);
    EXPECT_EQ(d, std::strtod(dlouhy.c_str(), nullptr));
}

TEST(Text, PrvekZacKonPairsStartWithEnd) {
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA0017"), 'A');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA0018"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA00170"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/AA001"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", "AA0017"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", "/aa0017"), 'N');
    EXPECT_EQ(prvek_zac_kon("AA0017", "xAA0017"), 'N');
    EXPECT_EQ(prvek_zac_kon("", "/"), 'A');
    EXPECT_EQ(prvek_zac_kon("", ""), 'N');
}

}  // namespace
}  // namespace tavon

#include <gtest/gtest.h>

#include "common/NumberFormat.h"

TEST(FormatFloat, HalvesGoAwayFromZeroOnTheDecimalValue)
{
    EXPECT_EQ(FormatFloat("0.00", 1.005L), "1,01");
    EXPECT_EQ(FormatFloat("0.00", 2.675L), "2,68");
    EXPECT_EQ(FormatFloat("0.00", -0.125L), "-0,13");
    EXPECT_EQ(FormatFloat("0.00", 248.9475L), "248,95");
    EXPECT_EQ(FormatFloat("0.00", 1.004999L), "1,00");
    EXPECT_EQ(FormatFloat("0.00", 0.995L), "1,00");
    EXPECT_EQ(FormatFloat("0.00", 99.995L), "100,00");
}

TEST(FormatFloat, PatternsOfTheProgram)
{
    EXPECT_EQ(FormatFloat("0.00000", 12.5L), "12,50000");
    EXPECT_EQ(FormatFloat("0.00000", 12.99L / 1.19L), "10,91597");
    EXPECT_EQ(FormatFloat("0.0", 19), "19,0");
    EXPECT_EQ(FormatFloat("0", 2.5L), "3");
    EXPECT_EQ(FormatFloat("0", -2.5L), "-3");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    EXPECT_EQ(FormatFloat("0000", 42), "0042");
    EXPECT_EQ(FormatFloat("0000", 12345), "12345");
    EXPECT_EQ(FormatFloat("0.00", 0), "0,00");
    EXPECT_EQ(FormatFloat("0.00", 0.004L), "0,00");
    EXPECT_EQ(FormatFloat("0.00", -0.004L), "0,00");  // no "-0,00"
    EXPECT_EQ(FormatFloat("0.00", 1234567.891L), "1234567,89");
    EXPECT_EQ(FormatFloat("0.00", 1e-30L), "0,00");
    EXPECT_EQ(FormatFloat("0.00", 0.5L), "0,50");
}

TEST(TryStrToFloat, AcceptsTheDecimalCommaOnly)
{
    long double v = -1;
    EXPECT_TRUE(TryStrToFloat(" 12,5 ", &v));
    EXPECT_EQ(v, 12.5L);
    EXPECT_TRUE(TryStrToFloat("-0,125", &v));
    EXPECT_EQ(v, -0.125L);
    EXPECT_TRUE(TryStrToFloat("+3", &v));
    EXPECT_EQ(v, 3.0L);
    EXPECT_TRUE(TryStrToFloat(",5", &v));
    EXPECT_EQ(v, 0.5L);
    EXPECT_TRUE(TryStrToFloat("1,5E2", &v));
    EXPECT_EQ(v, 150.0L);

    v = 7;
    for (const char* bad :
         {"", " ", "12.5", "1,2,3", "1.000,00", "abc", "12a", ",", "-", "1e", "€5"})
        EXPECT_FALSE(TryStrToFloat(QString::fromUtf8(bad), &v)) << bad;
    EXPECT_EQ(v, 7.0L);
}

TEST(TryStrToFloat, ReadsBackWhatFormatFloatWrote)
{
    for (long double x : {0.0L, 1.01L, 123.45678L, -9.99L, 1e6L}) {
        long double back = 0;
        ASSERT_TRUE(TryStrToFloat(FormatFloat("0.00000", x), &back));
        EXPECT_EQ(FormatFloat("0.00000", back), FormatFloat("0.00000", x));
    }
}

TEST(Rounding, TruncCutsAndRoundTakesHalvesToEven)
{
    EXPECT_EQ(Trunc(2.9L), 2.0L);
    EXPECT_EQ(Trunc(-2.9L), -2.0L);
    EXPECT_EQ(Round(2.5L), 2.0L);
    EXPECT_EQ(Round(3.5L), 4.0L);
    EXPECT_EQ(Round(-2.5L), -2.0L);
    EXPECT_EQ(Round(2.6L), 3.0L);
    EXPECT_EQ(RoundCents(1.005L), 1.01L);
    EXPECT_EQ(RoundCents(-0.125L), -0.13L);
}

TEST(TryStrToInt, DigitsWithSignAndBlanks)
{
    int v = 0;
    EXPECT_TRUE(TryStrToInt(" 0042 ", &v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TryStrToInt("-7", &v));
    EXPECT_EQ(v, -7);
    EXPECT_FALSE(TryStrToInt("4,2", &v));
    EXPECT_FALSE(TryStrToInt("", &v));
    EXPECT_EQ(v, -7);
}

#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>

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

// Exactly blanks around, an optional sign and digits with at most one decimal comma.
TEST(TryStrToFloat, AcceptsOnlyTheNumberRules)
{
    const struct {
        const char* text;
        long double value;
    } accepted[] = {{" 12,5 ", 12.5L}, {"-0,125", -0.125L}, {"+3", 3},     {",5", 0.5L},
                    {"7,", 7},         {"0042", 42},        {"  -1  ", -1}};
    for (const auto& c : accepted) {
        long double v = -99;
        EXPECT_TRUE(TryStrToFloat(QString::fromUtf8(c.text), &v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    for (const char* bad : {"",
                            " ",
                            "12.5",
                            "1,2,3",
                            "1.000,00",
                            "abc",
                            "12a",
                            ",",
                            "-",
                            "+-1",
                            "- 5",
                            "1 000",
                            "1e3",
                            "1E400",
                            "1,5E2",
                            "1e",
                            "\t12",
                            "12\t",
                            "12\r",
                            "\n5",
                            "\xC2\xA0"
                            "12",
                            "\xEF\xBC\x91",
                            "\xD9\xA1",
                            "\xE2\x82\xAC"
                            "5"}) {
        long double v = 7;
        EXPECT_FALSE(TryStrToFloat(QString::fromUtf8(bad), &v)) << bad;
        EXPECT_EQ(v, 7.0L) << bad;
    }
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

// The short way over stored amounts must give what reading and rounding give, sign of a
// rounded zero included; every thousandth up to ±100 and the forms that take the long way.
TEST(Rounding, CentsOfATextEqualRoundCentsOfItsValue)
{
    QStringList texts = {"119,00000", "49,995",  "-0,125",   "-0,001",
                         "0,004999",  " 5,005 ", "+2,675",   "7,",
                         ",5",        "1e3",     "",         "-",
                         "12,3,4",    "1.5",     "248,9475", "123456789012345,678"};
    for (int thousandths = -100000; thousandths <= 100000; thousandths += 7) {
        texts << QString::number(thousandths / 1000) + "," +
                     QString::number(std::abs(thousandths % 1000)).rightJustified(3, '0') + "00";
        if (thousandths > -1000 && thousandths < 0)
            texts.last().prepend('-');
    }
    for (const QString& text : texts) {
        long double slow = 0;
        const bool number = TryStrToFloat(text, &slow);
        if (number)
            slow = RoundCents(slow);
        long double fast = 0;
        ASSERT_EQ(TryStrToCents(text, &fast), number) << text.toStdString();
        if (number) {
            ASSERT_EQ(fast, slow) << text.toStdString();
            ASSERT_EQ(std::signbit(fast), std::signbit(slow)) << text.toStdString();
        }
    }
}

TEST(TryStrToInt, DigitsWithSignAndBlanks)
{
    int v = 0;
    EXPECT_TRUE(TryStrToInt(" 0042 ", &v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TryStrToInt("-7", &v));
    EXPECT_EQ(v, -7);
    for (const char* bad : {"4,2", "", "-", "1e3", "\t4", "4\n", "2147483648", "0x10"})
        EXPECT_FALSE(TryStrToInt(QString::fromUtf8(bad), &v)) << bad;
    EXPECT_EQ(v, -7);
}

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

#include "common/Collation.h"
#include "common/DateUtil.h"

TEST(Dates, ParseAndNormalise)
{
    EXPECT_EQ(dates::Normalize("1.6.2024"), "01.06.2024");
    EXPECT_EQ(dates::Normalize(" 05.03.24 "), "05.03.2024");
    EXPECT_EQ(dates::Normalize("5.3.79"), "05.03.2079");
    EXPECT_EQ(dates::Normalize("5.3.80"), "05.03.1980");
    EXPECT_EQ(dates::Normalize("29.02.2024"), "29.02.2024");
    for (const char* bad : {"29.02.2023", "32.01.2024", "1.13.2024", "1,6,2024", "01.06", "",
                            "a.b.c", "01.06.20245", "001.06.2024"})
        EXPECT_EQ(dates::Normalize(bad), "") << bad;
}

TEST(Dates, GermanNames)
{
    EXPECT_EQ(dates::LongGerman(QDate(2026, 12, 8)), "Dienstag, 8. Dezember 2026");
    EXPECT_EQ(dates::MonthName(3), QString::fromUtf8("März"));
    EXPECT_EQ(dates::Format(QDate(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(dates::Format(QDate()), "");
}

TEST(Collation, UmlautIsBaseLetterPlusBlank)
{
    QStringList names{"Muller", "Mueller", QString::fromUtf8("Müller")};
    std::sort(names.begin(), names.end(), UmlautLess);
    EXPECT_EQ(names, (QStringList{QString::fromUtf8("Müller"), "Mueller", "Muller"}));
    EXPECT_EQ(CompareUmlaut(QString::fromUtf8("Mü"), QStringLiteral("Mu ")), 0);
    EXPECT_LT(CompareUmlaut(QStringLiteral("Mu"), QString::fromUtf8("Mü")), 0);
}

TEST(Collation, CaseInsensitiveForAToZOnly)
{
    EXPECT_EQ(CompareUmlaut(QStringLiteral("abc"), QStringLiteral("ABC")), 0);
    // Letters fold to upper case, so "_" (0x5F) sorts after "a".
    EXPECT_LT(CompareUmlaut(QStringLiteral("a"), QStringLiteral("_")), 0);
    // Other characters compare by their 1252 code: "ß" (0xDF) after "z", "é" != "É".
    EXPECT_GT(CompareUmlaut(QString::fromUtf8("ß"), QStringLiteral("z")), 0);
    EXPECT_NE(CompareUmlaut(QString::fromUtf8("é"), QString::fromUtf8("É")), 0);
    // "€" is 0x80 in 1252, so it sorts before "ß" although its Unicode value is higher.
    EXPECT_LT(CompareUmlaut(QString::fromUtf8("€"), QString::fromUtf8("ß")), 0);
    EXPECT_LT(CompareUmlaut(QStringLiteral("ab"), QStringLiteral("abc")), 0);
}

TEST(Collation, ExpansionStopsBeyond249Characters)
{
    const QString pad(247, QLatin1Char('x'));
    // 247 + "üü" = 249: the first umlaut still expands, and then the text has 250.
    EXPECT_EQ(CompareUmlaut(pad + QString::fromUtf8("üü"), pad + QString::fromUtf8("u ü")), 0);
    const QString longPad(250, QLatin1Char('x'));
    EXPECT_GT(CompareUmlaut(longPad + QString::fromUtf8("ü"), longPad + QStringLiteral("u ")), 0);
}

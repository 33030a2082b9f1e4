#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "shell/IniFile.h"
#include "shell/OptionSections.h"
#include "shell/ServiceCode.h"
#include "shell/TableFont.h"
#include "support/TestFiles.h"

TEST(TableFontTest, SizesTheGridsCannotShowFallBackToTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/TLV.INI";
    for (const auto& [stored, expected] : {std::pair<const char*, int>{"0", 8},
                                           {"-4", 8},
                                           {"250", 8},
                                           {"zehn", 8},
                                           {"7", 7},
                                           {"12", 12}}) {
        testfiles::WriteAll(path, QByteArray("[Optionen]\r\nTabFontSize=") + stored + "\r\n");
        IniFile ini(path);
        EXPECT_EQ(ReadTabFontSize(ini), expected) << stored;
    }
}

TEST(TableFontTest, RowsGrowWithTheFontAndQuantitiesTurnBold)
{
    EXPECT_EQ(tablefont::RowHeight(8), 20) << "the grids' own row height";
    EXPECT_EQ(tablefont::RowHeight(7), 20) << "never below it";
    EXPECT_EQ(tablefont::RowHeight(10), 25);
    int previous = 0;
    for (int size : tablefont::MenuSizes()) {
        EXPECT_GE(tablefont::RowHeight(size), previous) << size;
        // The text (about 4/3 pixel per point) keeps a margin in its row.
        EXPECT_GE(tablefont::RowHeight(size), size * 4 / 3 + 6) << size;
        previous = tablefont::RowHeight(size);
    }
    EXPECT_TRUE(tablefont::MenuSizes().contains(tablefont::kDefaultSize));
    EXPECT_FALSE(tablefont::QuantityFieldsBold(8));
    EXPECT_TRUE(tablefont::QuantityFieldsBold(9));
}

TEST(ServiceCodeTest, ScrambledTextsLowerEachCodeByTwo)
{
    EXPECT_EQ(Unscramble("Vcnxgp"), "Talven");
    EXPECT_EQ(Unscramble(Scramble(QString::fromUtf8("Müller & Söhne"))),
              QString::fromUtf8("Müller & Söhne"));
    EXPECT_EQ(Unscramble(""), "");
}

TEST(ServiceCodeTest, GoBdSwitchOnlyForTheServiceCode)
{
    EXPECT_TRUE(GoBdSwitchVisible("#TALVEN-GOBD-SERVICE#"));
    EXPECT_FALSE(GoBdSwitchVisible(""));
    EXPECT_FALSE(GoBdSwitchVisible("Tierarztpraxis Dr. Weber"));
    EXPECT_FALSE(GoBdSwitchVisible("%VCNXGP/IQDF/UGTXKEG%")) << "the stored form is no key";
    EXPECT_FALSE(GoBdSwitchVisible("#talven-gobd-service#"));
    EXPECT_FALSE(GoBdSwitchVisible("#TALVEN-GOBD-SERVICE# "));
}

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "settings/TableFont.h"
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

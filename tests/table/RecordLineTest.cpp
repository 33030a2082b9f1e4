#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "table/RecordLine.h"

using namespace recordline;

// Every reader splits by the same rule: a cell ends at its TAB, so text after the last TAB is
// no cell, while padding an older, shorter line keeps that text as its last cell.
TEST(RecordLine, ACellEndsAtItsTab)
{
    struct Case {
        const char* line;
        int col;
        const char* cell;
    };
    for (const Case& c : {Case{"a\tb\t", 2, "b"}, Case{"a\tb\t", 3, ""}, Case{"a\tb", 2, ""},
                          Case{"only", 1, ""}, Case{"\t\tc\t", 3, "c"}, Case{"a\t", 0, ""}}) {
        EXPECT_EQ(Cell(c.line, c.col), c.cell) << c.line << " " << c.col;
        if (c.col >= 1) {
            EXPECT_EQ(Split(c.line, 3).at(c.col - 1), c.cell) << c.line << " " << c.col;
        }
    }
    QString older = "a\tb";
    PadTabs(older, 3);
    EXPECT_EQ(older, "a\tb\t\t");
    EXPECT_EQ(Join({"Bello", "", "12,50000"}), "Bello\t\t12,50000\t");
}

TEST(RecordLine, SetCellPadsAndSortedSearchClamps)
{
    QString line = "a\tb\t";
    EXPECT_EQ(Cell(line, 2), "b");
    EXPECT_EQ(Cell(line, 5), "");
    SetCell(line, 4, "d");
    EXPECT_EQ(line, "a\tb\t\td\t");
    SetCell(line, 1, "xyz");
    EXPECT_EQ(line, "xyz\tb\t\td\t");
    EXPECT_FALSE(ReplaceCell(line, 6, "e"));
    EXPECT_EQ(line, "xyz\tb\t\td\t");
    const QStringList lines{"Apfel\t", "Birne\t", "Müller\t", "Zitrone\t"};
    EXPECT_EQ(FindSorted(lines, "Birne"), 1);
    EXPECT_EQ(FindSorted(lines, "Mz"), 3);
    EXPECT_EQ(FindSorted(lines, "Zz"), 3);  // clamped to the last record
    EXPECT_EQ(FindSorted({}, "a"), 0);
}

#include <gtest/gtest.h>

#include "shell/MasterSearch.h"
#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"

TEST(MasterSearchOnGrid, DigitBecomesTheQuantity)
{
    QString text = "3";
    QString quantity;
    ASSERT_TRUE(mastersearch::TakeQuantityDigit(text, &quantity));
    EXPECT_EQ(text, "");
    EXPECT_EQ(quantity, "3,00");
    text = "Amox";
    EXPECT_FALSE(mastersearch::TakeQuantityDigit(text, &quantity));
    EXPECT_EQ(quantity, "3,00");
}

TEST(MasterSearchOnGrid, NameSearchStopsOnTheLastEntryOfTheLetter)
{
    ScriptedUserPort port;
    TSGrid grid(port);
    grid.SetColCount(10);
    grid.SetLines({"Amoxicillin\t", "Baytril\t", "Cerenia\t", "Cortison\t", "Dexamethason\t",
                   "Metacam\t", QString::fromUtf8("Müller Paste\t"), "Muller\t"});
    EXPECT_EQ(mastersearch::NamePosition(grid, "b"), 1);
    EXPECT_EQ(mastersearch::NamePosition(grid, "Ce"), 2);
    EXPECT_EQ(mastersearch::NamePosition(grid, "Cz"), 3) << "last entry of C, not Dexamethason";
    EXPECT_EQ(mastersearch::NamePosition(grid, "E"), 5) << "no entry of E before: next letter";
    EXPECT_EQ(mastersearch::NamePosition(grid, QString::fromUtf8("Mü")), 6);
    EXPECT_EQ(mastersearch::NamePosition(grid, ""), 0);
    EXPECT_EQ(mastersearch::NamePosition(grid, "Zz"), 7);
}

TEST(MasterSearchOnGrid, FeeNumberSearch)
{
    ScriptedUserPort port;
    TSGrid grid(port);
    grid.SetColCount(10);
    grid.SetLines(
        {"Impfung\tHund\t10\t1,0\t10\t11,9\t1\t12A\t\t", "Untersuchung\t\t5\t1\t5\t6\t1\t1\t\t"});
    EXPECT_EQ(mastersearch::FeeNumberPosition(grid, "12a", 1), 0);
    EXPECT_EQ(mastersearch::FeeNumberPosition(grid, "1", 0), 1);
    EXPECT_EQ(mastersearch::FeeNumberPosition(grid, "99", 1), 1);
}

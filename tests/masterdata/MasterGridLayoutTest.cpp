#include <gtest/gtest.h>

#include "masterdata/MasterGridLayout.h"
#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"

TEST(MasterGridLayout, ColumnsPricesAndWidthsFromTheOptions)
{
    ScriptedUserPort port;
    TSGrid grid(port);
    SetUpMasterGrid(grid, MasterTable::Medication, {{"wMed", 300}, {"wMedBem", 516}}, 8);
    EXPECT_EQ(grid.ColCount(), 11);
    EXPECT_EQ(grid.PriceCol2, 3);
    EXPECT_EQ(grid.ColWidth(1), 300);
    EXPECT_EQ(grid.ColWidth(9), 55) << "narrow stock column with small fonts";
    EXPECT_EQ(grid.ColWidth(10), -1) << "the code column is hidden";
    EXPECT_EQ(grid.ColumnAlignment(7), 1);
    EXPECT_EQ(grid.ColumnAlignment(8), 0);

    TSGrid services(port);
    SetUpMasterGrid(services, MasterTable::Service, {{"wGot", 88}, {"wLeistBem", 400}}, 9);
    EXPECT_EQ(services.ColCount(), 10);
    EXPECT_EQ(services.ColWidth(8), 88);
    EXPECT_EQ(services.ColWidth(9), 400);
    EXPECT_EQ(services.ColWidth(7), 3 * 7 + 6) << "as wide as its title \"USt\"";
}

TEST(MasterGridLayout, FromSizeNineFixedColumnsFitTheirTitlesStoredOnesStay)
{
    ScriptedUserPort port;
    TSGrid grid(port);  // 7 units per character
    SetUpMasterGrid(grid, MasterTable::Medication, {{"wMed", 300}, {"wWZ", 20}}, 8);
    EXPECT_EQ(grid.ColWidth(2), 62) << "\"EinkNetto\" is cut at size 8 as before";
    ApplyMasterGridFontSize(grid, MasterTable::Medication, 10);
    EXPECT_EQ(grid.ColWidth(2), 9 * 7 + 6);
    EXPECT_EQ(grid.ColWidth(9), 65);
    EXPECT_EQ(grid.ColWidth(1), 300) << "the person's width";
    EXPECT_EQ(grid.ColWidth(6), 20) << "also when the title is cut";
    EXPECT_EQ(grid.ColWidth(0), 10) << "indicator column";
    EXPECT_EQ(grid.ColWidth(10), -1) << "still hidden";
    EXPECT_EQ(grid.Cells(2, 0), "EinkNetto") << "a title that fits is not padded";
    ApplyMasterGridFontSize(grid, MasterTable::Medication, 8);
    EXPECT_EQ(grid.ColWidth(2), 62);
    EXPECT_EQ(grid.ColWidth(9), 55);

    TSGrid services(port);
    SetUpMasterGrid(services, MasterTable::Service, {{"wGot", 88}}, 8);
    ApplyMasterGridFontSize(services, MasterTable::Service, 12);
    EXPECT_EQ(services.ColWidth(8), 88) << "a font change keeps the stored width";
}

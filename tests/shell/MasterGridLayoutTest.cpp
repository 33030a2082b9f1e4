#include <gtest/gtest.h>

#include "shell/MasterGridLayout.h"
#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"

TEST(MasterGridLayout, ColumnsPricesAndWidthsFromTheOptions)
{
    ScriptedUserPort port;
    TSGrid grid(port);
    SetUpMasterGrid(grid, MasterGrid::Medications, {{"wMed", 300}, {"wMedBem", 516}}, 8);
    EXPECT_EQ(grid.ColCount(), 11);
    EXPECT_EQ(grid.PriceCol2, 3);
    EXPECT_EQ(grid.ColWidth(1), 300);
    EXPECT_EQ(grid.ColWidth(9), 55) << "narrow stock column with small fonts";
    EXPECT_EQ(grid.ColWidth(10), -1) << "the code column is hidden";
    EXPECT_EQ(grid.ColumnAlignment(7), 1);
    EXPECT_EQ(grid.ColumnAlignment(8), 0);

    TSGrid services(port);
    SetUpMasterGrid(services, MasterGrid::Services, {{"wGot", 88}, {"wLeistBem", 400}}, 9);
    EXPECT_EQ(services.ColCount(), 10);
    EXPECT_EQ(services.ColWidth(8), 88);
    EXPECT_EQ(services.ColWidth(9), 400);
    EXPECT_EQ(services.ColWidth(7), 26);
}

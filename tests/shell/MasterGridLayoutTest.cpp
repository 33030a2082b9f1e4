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

TEST(MasterGridLayout, CellStylesOfCustomersAndMedications)
{
    const QStringList pharmacy = {"", "Bär", "Anna", "", "", "0001", "", "", "(A) Hof", "", ""};
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Customers, pharmacy, 1, false, false, 8).background,
              0xFFFFD9u);
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Customers, pharmacy, 1, true, false, 8).background,
              0x316AC5u);
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Customers, pharmacy, 1, false, false, 8).textTop, 3);
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Customers, pharmacy, 1, false, false, 10).textTop, 2);
    QStringList plain = pharmacy;
    plain[8] = "Hof (A)";
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Customers, plain, 1, false, false, 8).background, 0u);

    //                          name  purchase   sale  gross  vat  wz  ch  remark stock
    const QStringList free = {"", "X", "1,50000", "0", "0", "1", "", "", "", "1,5", ""};
    EXPECT_TRUE(StyleOfMasterCell(MasterGrid::Medications, free, 3, false, false, 8).red);
    EXPECT_FALSE(StyleOfMasterCell(MasterGrid::Medications, free, 2, false, false, 8).red);
    EXPECT_TRUE(StyleOfMasterCell(MasterGrid::Medications, free, 9, false, false, 8).red);
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Medications, free, 1, false, true, 8).background,
              0xE7FFEAu);
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Medications, free, 1, false, false, 8).background, 0u);
    QStringList none = free;
    none[2] = "0";
    none[9] = "";
    EXPECT_FALSE(StyleOfMasterCell(MasterGrid::Medications, none, 3, false, true, 8).red);
    EXPECT_FALSE(StyleOfMasterCell(MasterGrid::Medications, none, 9, false, true, 8).red);
    EXPECT_EQ(StyleOfMasterCell(MasterGrid::Medications, none, 1, false, true, 8).background, 0u);
}

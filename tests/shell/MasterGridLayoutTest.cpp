#include <gtest/gtest.h>

#include "shell/MasterGridLayout.h"
#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"

TEST(MasterGridLayout, WidthsFromTheOptions)
{
    ScriptedUserPort port;
    TSGrid services(port);
    services.SetColCount(10);
    ApplyColumnWidths(services, MasterGrid::Services,
                      {{"wGot", 88}, {"wLeistBem", 400}, {"wMed", 300}, {"wTier", 126}});
    EXPECT_EQ(services.ColWidth(8), 88);
    EXPECT_EQ(services.ColWidth(9), 400);
    EXPECT_EQ(services.ColWidth(2), 126);
    EXPECT_EQ(services.ColWidth(1), TSGrid::kDefaultColWidth) << "medication key not applied";
}

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "masterdata/MasterGridLayout.h"
#include "masterdata/MasterListPrint.h"
#include "printing/LayoutStore.h"
#include "printing/TPrintGrid2.h"
#include "support/FixedClock.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

TEST(MasterListPrintTest, ServiceListExportsWithItsLayoutAndKeepsTheScreenTitles)
{
    QTemporaryDir dir;
    ScriptedUserPort port;
    TSGrid grid(port);
    SetUpMasterGrid(grid, MasterTable::Service, {}, 9);
    grid.Resize(12 * 21);
    grid.SetLines(
        {QStringLiteral("Impfung\tHund\t10,00000\t1,0\t10,00000\t11,90000\t1\t"
                        "12a\tjährlich\t")});
    grid.SetTitles({QString(), QStringLiteral("Diagnose/ Leistung (GOT)")});
    RecordingCanvas canvas;
    FixedClock clock;
    TPrintGrid2 printer(canvas, port, clock);
    MemoryLayoutStore store;
    {
        MasterListPrint job(printer, grid, MasterTable::Service, store, dir.path(),
                            {QStringLiteral("19"), QStringLiteral("7"), QStringLiteral("0")});
        EXPECT_EQ(printer.PrintFileName, QStringLiteral("leistung.xls"));
        EXPECT_EQ(printer.PrintMgrTitle, QStringLiteral("Talven - Leistungen"));
        EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("Leistung"));
        printer.PrintToFile = true;
        printer.Print();
    }
    EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("Diagnose/ Leistung (GOT)"));
    EXPECT_EQ(testfiles::ReadAll(QDir(dir.path()).filePath(QStringLiteral("leistung.xls"))),
              QByteArray("Table\r\nLeistung\tTierart\tVerkNetto\tVerkMitSt\tUSt(%)\t\r\n"
                         "Impfung\tHund\t10,00\t11,90\t19\t\r\n"));
}

}  // namespace

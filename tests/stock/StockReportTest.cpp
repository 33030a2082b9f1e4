#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "common/CodePage.h"
#include "printing/LayoutStore.h"
#include "printing/TPrintGrid2.h"
#include "stock/StockKeeping.h"
#include "stock/StockReport.h"
#include "support/FixedClock.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

namespace {

// Three stock-kept medications and one without stock; today is 10 March 2026.
class StockReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env->dataFolder = Data();
        testfiles::WriteLines(
            Data() + "MED.DBF",
            {"Aspirin\t\t\t\t\t\t\t\t\t\t", "Baytril\t\t\t\t\t\t\t\t7,00\t000002\t",
             "Rimadyl\t\t\t\t\t\t\t\t5,00\t000001\t", "Zylexis\t\t\t\t\t\t\t\t2,5\t\t"});
        grid.LoadTable(Data() + "MED.DBF");
        // Unsorted on purpose: the carry-over line comes first once sorted.
        WriteYear(2026, "000001",
                  {"20260301\t2\t\t\tKartei-Nr.: 0012/004\t", "\t\t\t10\tÜbertrag 2025\t",
                   "20260201\t\t1/2\t\tLieferung\t", "20260305\t1,25\t\t\tAbgabebeleg\t"});
        WriteYear(2025, "000002", {"\t\t\t9\tÜbertrag 2024\t", "20250601\t2\t\t7\tx\t"});
    }
    QString Data() const { return dir.path() + "/"; }
    void WriteYear(int year, const QString& code, const QStringList& lines)
    {
        QDir().mkpath(Data() + QString("MedInv%1").arg(year));
        testfiles::WriteLines(Data() + QString("MedInv%1/Med%2.dbf").arg(year).arg(code), lines);
    }
    QStringList Rows(int year)
    {
        QStringList out;
        for (const stock::ReportRow& r : stock::StockReportRows(files, grid.Lines(), year))
            out << QStringList({r.name, r.carried, r.in, r.out, r.final}).join('|');
        return out;
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid grid{port, env};
    stock::StockFiles files{port, env, dir.path() + "/"};
    stock::StockTable table{grid, dir.path() + "/MED.DBF"};
};

TEST_F(StockReportTest, SumsOfAYearAndTheTableFollowingTheCurrentOne)
{
    EXPECT_EQ(Rows(2025), QStringList({"Baytril|9,00|0,00|2,00|7,00", "Rimadyl|5,00|0,00|0,00|5,00",
                                       "Zylexis|2,50|0,00|0,00|2,50"}));

    RecordingCanvas canvas;
    TPrintGrid2 printer(canvas, port, clock);
    MemoryLayoutStore layouts;
    stock::StockReportJob job{port,      clock, files, table, printer, layouts, [] { return true; },
                              dir.path()};
    ASSERT_TRUE(stock::PrintStockReport(job, 2026, false));
    EXPECT_EQ(port.Texts().value(0),
              "Die Inventur wird aufbereitet\rBitte haben Sie etwas Geduld !");
    // Baytril's 2026 book was started by the carry-over run.
    EXPECT_EQ(Rows(2026),
              QStringList({"Baytril|7,00|0,00|0,00|7,00", "Rimadyl|10,00|0,50|3,25|7,25",
                           "Zylexis|2,50|0,00|0,00|2,50"}));
    QStringList med;
    cp1252::ReadLines(Data() + "MED.DBF", med);
    EXPECT_EQ(recordline::Cell(med[2], recordline::kMedStock), "7,25");
    EXPECT_EQ(recordline::Cell(med[3], recordline::kMedStock), "2,50");
    const QStringList printed = canvas.TextStrings();
    EXPECT_TRUE(printed.contains("Medikamenteninventur 2026"));
    EXPECT_TRUE(printed.contains("Rimadyl"));
    EXPECT_TRUE(printed.contains("3,25"));
    EXPECT_TRUE(printed.contains("Endbest."));
    EXPECT_FALSE(printed.contains("Aspirin")) << "no stock, not in the report";
}

TEST_F(StockReportTest, PrintDialogTakesFourDigitsWithinFiveYears)
{
    stock::TMedInvDruckDlgForm form(clock, port, true);
    EXPECT_EQ(form.ListText(), "Medikamentenliste mit Bestand");
    EXPECT_EQ(form.ListNote(), "Nur Inventurmedikamente!");
    EXPECT_EQ(stock::TMedInvDruckDlgForm(clock, port, false).ListNote(),
              "Alle Medikamente - keine Inv.Info!");
    EXPECT_TRUE(stock::TMedInvDruckDlgForm::AcceptsYearKey("202", '6'));
    EXPECT_FALSE(stock::TMedInvDruckDlgForm::AcceptsYearKey("2026", '1'));
    EXPECT_FALSE(stock::TMedInvDruckDlgForm::AcceptsYearKey("20", 'a'));
    form.choice = stock::TMedInvDruckDlgForm::Choice::Inventory;
    struct Case {
        const char* year;
        bool ok;
    } cases[] = {{"2026", true}, {"2021", true}, {"2020", false}, {"2027", false}, {"", false}};
    for (const Case& c : cases) {
        port.messages.clear();
        form.year = c.year;
        EXPECT_EQ(form.Ok(), c.ok) << c.year;
        EXPECT_EQ(port.LastText(), c.ok ? "" : "Jenseits Auswertungsgrenze!") << c.year;
    }
}

}  // namespace

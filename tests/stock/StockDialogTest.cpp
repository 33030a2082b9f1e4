#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "common/CodePage.h"
#include "stock/StockKeeping.h"
#include "stock/TMedVerwDlgForm.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

namespace {

using Form = stock::TMedVerwDlgForm;

// Rimadyl (000001, stock 5) with books for 2024 to 2026 whose carry-over lines are stale;
// today is 10 March 2026.
class StockDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env->dataFolder = Data();
        testfiles::WriteLines(Data() + "MED.DBF", {"Aspirin\t\t\t\t\t\t\t\t\t\t",
                                                   "Rimadyl\t\t\t\t\t\t\t\t5,00\t000001\t",
                                                   "Zylexis\t\t\t\t\t\t\t\t\t000007\t"});
        grid.LoadTable(Data() + "MED.DBF");
        WriteYear(2024, {"\t\t\t10\tÜbertrag 2023\t", "20240105\t1/2\t\t\tAbgabebeleg\t"});
        WriteYear(2025, {"\t\t\t99\tÜbertrag 2024\t", "20250201\t\t3\t\tLieferung\t"});
        WriteYear(2026, {"\t\t\t99\tÜbertrag 2025\t", "20260301\t2\t\t\tKartei-Nr.: 0012/004\t"});
    }
    QString Data() const { return dir.path() + "/"; }
    void WriteYear(int year, const QStringList& lines)
    {
        QDir().mkpath(Data() + QString("MedInv%1").arg(year));
        testfiles::WriteLines(Data() + QString("MedInv%1/Med000001.dbf").arg(year), lines);
    }
    QStringList Year(int year)
    {
        QStringList lines;
        cp1252::ReadLines(Data() + QString("MedInv%1/Med000001.dbf").arg(year), lines);
        return lines;
    }
    QString TableStock(int record) { return grid.GetRecordCell(recordline::kMedStock, record); }
    QStringList Row(int row)
    {
        QStringList cells;
        for (int col = 1; col <= Form::kColumns; ++col)
            cells << form.Cell(col, row);
        return cells;
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid grid{port, env};
    stock::StockFiles files{port, env, dir.path() + "/"};
    stock::StockTable table{grid, dir.path() + "/MED.DBF"};
    Form form{port, clock, files, table};
};

TEST_F(StockDialogTest, OpeningCarriesTheStockThroughTheYearsIntoTheTable)
{
    ASSERT_TRUE(form.Open(1));
    EXPECT_EQ(form.YearLabel(), "Jahr: 2026");
    // 2024 ends with 10 - 1/2; 2025 adds 3; 2026 takes 2 away.
    EXPECT_EQ(Row(0), QStringList({"", "", "", "12,50", "Übertrag 2025"}));
    EXPECT_EQ(Row(1), QStringList({"01.03.2026", "", "2", "10,50", "Kartei-Nr.: 0012/004"}));
    EXPECT_EQ(Row(2), QStringList({"10.03.2026", "", "", "", ""}));
    EXPECT_EQ(form.FinalStock(), "10,50");
    EXPECT_EQ(form.SumOut(), "2,00");
    EXPECT_EQ(TableStock(1), "10,50");
    EXPECT_EQ(form.CardKeyAt(1), "0012/004");
    EXPECT_EQ(form.CardKeyAt(0), "");
    EXPECT_FALSE(form.IsCellEditable(Form::kColIn, 0)) << "the carry-over row";
    EXPECT_FALSE(form.DeleteRow(0));
    EXPECT_FALSE(form.Modified());
    EXPECT_TRUE(form.Ok());
    EXPECT_EQ(Year(2026).first(), "\t\t\t99\tÜbertrag 2025\t") << "nothing saved without changes";

    // A medication without a code gets the largest + 1; its first year starts from its stock.
    Form other{port, clock, files, table};
    grid.SetRecordCell(recordline::kMedStock, 0, "4");
    ASSERT_TRUE(other.Open(0));
    EXPECT_EQ(other.Code(), "000008");
    EXPECT_EQ(TableStock(0), "4");
    EXPECT_EQ(other.Cell(Form::kColStock, 0), "4");
}

TEST_F(StockDialogTest, RowsAreCheckedWhenTheyAreLeft)
{
    struct Case {
        const char* date;
        const char* message;  // empty: accepted
        const char* dateAfter;
    } cases[] = {
        {"", "Datumeintrag fehlt!", ""},
        {"31.02.2026", "Kein gültiges Datum !", "31.02.2026"},
        {"05.03.2025", "Jahreszahl wird berichtigt !", "05.03.2026"},
        {"11.03.2026", "Datum liegt in der Zukunft !?", "11.03.2026"},
        {"5.3.26", "", "05.03.2026"},
    };
    ASSERT_TRUE(form.Open(1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        port.messages.clear();
        form.SetCell(Form::kColDate, 2, c.date);
        form.SetCell(Form::kColIn, 2, "1");
        EXPECT_EQ(form.LeaveRow(2), QString(c.message).isEmpty());
        EXPECT_EQ(port.LastText(), QString::fromUtf8(c.message));
        EXPECT_EQ(form.Cell(Form::kColDate, 2), c.dateAfter);
        if (*c.message) {
            EXPECT_EQ(form.FocusRow(), 2);
        }
    }
    EXPECT_EQ(form.Cell(Form::kColStock, 2), "11,50");
    EXPECT_EQ(form.RowCount(), 4) << "an empty row follows the new one";
}

TEST_F(StockDialogTest, SavingAnEarlierYearCarriesItForward)
{
    ASSERT_TRUE(form.Open(1));
    form.Back();
    EXPECT_EQ(form.Year(), 2025);
    EXPECT_EQ(Row(0), QStringList({"", "", "", "9,50", "Übertrag 2024"}));
    form.SetCell(Form::kColDate, 2, "01.06.2025");
    form.SetCell(Form::kColIn, 2, "1/2");
    EXPECT_EQ(form.FinalStock(), "13,00");

    port.QueueAnswer(Answer::Yes);
    form.Forward();
    EXPECT_EQ(port.LastText(), "Möchten Sie die Änderungen abspeichern?");
    EXPECT_EQ(Year(2025),
              QStringList({"\t\t\t9,50\tÜbertrag 2024\t", "20250201\t\t3\t12,50\tLieferung\t",
                           "20250601\t\t1/2\t13\t\t"}));
    EXPECT_EQ(Year(2026), QStringList({"\t\t\t13\tÜbertrag 2025\t",
                                       "20260301\t2\t\t11\tKartei-Nr.: 0012/004\t"}));
    EXPECT_EQ(form.Year(), 2026);

    // Deleting asks; No keeps the row, and leaving with No saves nothing.
    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(form.DeleteRow(1));
    port.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(form.DeleteRow(1));
    EXPECT_EQ(form.FinalStock(), "13,00");
    port.QueueAnswer(Answer::No);
    EXPECT_TRUE(form.Ok());
    EXPECT_EQ(Year(2026).size(), 2);
    EXPECT_EQ(TableStock(1), "11,00") << "the final stock after the save of 2025";

    // Back from the oldest year stays there.
    Form again{port, clock, files, table};
    ASSERT_TRUE(again.Open(1));
    again.Back();
    again.Back();
    again.Back();
    EXPECT_EQ(again.Year(), 2024);
}

}  // namespace

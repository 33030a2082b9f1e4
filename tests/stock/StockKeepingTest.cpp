#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "common/CodePage.h"
#include "stock/StockKeeping.h"
#include "support/FailingFileIo.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

namespace {

using stock::StockLines;

// A data folder with a medication table whose stock-kept medications are "Rimadyl"
// (000001) and "Baytril" (000002); today is 2 January 2026.
class StockKeepingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env->dataFolder = Data();
        WriteMedications({"Baytril\t1,00\t2,00\t2,38\t1\t\t\t\t10,00\t000002\t",
                          "Rimadyl\t1,00\t2,00\t2,38\t1\t\t\t\t5,00\t000001\t",
                          "Zylexis\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t"});
        keeping.SetAutomatic(true);
    }
    QString Data() const { return dir.path() + "/"; }
    void WriteMedications(const QStringList& lines)
    {
        testfiles::WriteLines(Data() + "MED.DBF", lines);
        grid.LoadTable(Data() + "MED.DBF");
    }
    void WriteYear(int year, const QString& code, const QStringList& lines)
    {
        QDir().mkpath(Data() + QString("MedInv%1").arg(year));
        testfiles::WriteLines(Data() + QString("MedInv%1/Med%2.dbf").arg(year).arg(code), lines);
    }
    QStringList Year(int year, const QString& code = "000001")
    {
        QStringList lines;
        cp1252::ReadLines(Data() + QString("MedInv%1/Med%2.dbf").arg(year).arg(code), lines);
        return lines;
    }
    QString StockOf(const QString& code)
    {
        QStringList lines;
        cp1252::ReadLines(Data() + "MED.DBF", lines);
        for (const QString& line : lines)
            if (recordline::Cell(line, recordline::kMedCode) == code)
                return recordline::Cell(line, recordline::kMedStock);
        return "?";
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2026, 1, 2), QTime(9, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid grid{port, env};
    stock::StockFiles files{port, env, dir.path() + "/"};
    stock::StockTable table{grid, dir.path() + "/MED.DBF"};
    stock::StockKeeping keeping{port, clock, files, table};
};

TEST_F(StockKeepingTest, WithdrawalsAreBookedWithinTheToleranceAndWrittenShort)
{
    struct Case {
        const char* stock;
        long double quantity;
        bool booked;
        const char* stockAfter;
        const char* line;
    } cases[] = {
        {"1,99", 2, true, "-0,01", "20260102\t2\t\t\tKartei-Nr.: 0012/004\t"},
        {"1,97", 2, false, "1,97", nullptr},
        {"5,00", 0.5L, true, "4,50", "20260102\t0,5\t\t\tKartei-Nr.: 0012/004\t"},
        {"5,00", 3, true, "2,00", "20260102\t3\t\t\tKartei-Nr.: 0012/004\t"},
        {"5,00", 1.25L, true, "3,75", "20260102\t1,25\t\t\tKartei-Nr.: 0012/004\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stock) + " - " + std::to_string(double(c.quantity)));
        WriteMedications(
            {QString("Rimadyl\t1,00\t2,00\t2,38\t1\t\t\t\t%1\t000001\t").arg(c.stock)});
        WriteYear(2026, "000001", {"\t\t\t5\tÜbertrag 2025\t"});
        port.messages.clear();
        EXPECT_EQ(
            keeping.BookWithdrawal(c.quantity, "000001", QDate(2026, 1, 2), "Kartei-Nr.: 0012/004"),
            c.booked);
        EXPECT_EQ(StockOf("000001"), c.stockAfter);
        EXPECT_EQ(grid.GetRecordCell(recordline::kMedStock, 0), c.stockAfter);
        if (c.line) {
            EXPECT_EQ(Year(2026), QStringList({"\t\t\t5\tÜbertrag 2025\t", c.line}));
            EXPECT_TRUE(port.messages.isEmpty());
        } else {
            EXPECT_EQ(Year(2026).size(), 1);
            EXPECT_EQ(port.LastText(), "Entnahme-Menge > Bestand,\rkeine Inventurbuchung !");
        }
    }
}

TEST_F(StockKeepingTest, NothingIsBookedWithoutAutomaticCodeOrStock)
{
    WriteYear(2026, "000001", {"\t\t\t5\tÜbertrag 2025\t"});
    EXPECT_TRUE(keeping.BookWithdrawal(1, "000001", {}, "Abgabebeleg"));
    EXPECT_EQ(keeping.Cancellations().size(), 1);
    keeping.SetAutomatic(false);
    EXPECT_FALSE(keeping.BookWithdrawal(1, "000001", {}, "Abgabebeleg"));
    EXPECT_TRUE(keeping.Cancellations().isEmpty());  // off: the list is emptied
    keeping.SetAutomatic(true);
    EXPECT_FALSE(keeping.BookWithdrawal(1, "", {}, "Abgabebeleg"));        // Zylexis: no code
    EXPECT_FALSE(keeping.BookWithdrawal(1, "000009", {}, "Abgabebeleg"));  // no such code
    EXPECT_EQ(Year(2026).size(), 2);
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(StockKeepingTest, SkippedYearsGetCarryOverLinesWithTheStockTheLastFileEndsWith)
{
    // 2023 ends with 10 - 2 = 8; its booked line holds no stock of its own.
    WriteYear(2023, "000001", {"\t\t\t10\tÜbertrag 2022\t", "20230501\t2\t\t\tAbgabebeleg\t"});
    EXPECT_TRUE(keeping.BookWithdrawal(1, "000001", QDate(2026, 1, 2), "Abgabebeleg"));
    EXPECT_EQ(Year(2024), QStringList({"\t\t\t8\tÜbertrag 2023\t"}));
    EXPECT_EQ(Year(2025), QStringList({"\t\t\t8\tÜbertrag 2024\t"}));
    EXPECT_EQ(Year(2026),
              QStringList({"\t\t\t8\tÜbertrag 2025\t", "20260102\t1\t\t\tAbgabebeleg\t"}));
    EXPECT_EQ(StockOf("000001"), "4,00");
}

TEST_F(StockKeepingTest, NoFileInSixYearsClearsTheStock)
{
    WriteYear(2020, "000001", {"\t\t\t10\tÜbertrag 2019\t"});
    EXPECT_FALSE(keeping.BookWithdrawal(1, "000001", {}, "Abgabebeleg"));
    EXPECT_EQ(port.LastText(), "Inventur-Menge fehlt,\rkeine Inventurbuchung !");
    EXPECT_EQ(StockOf("000001"), "");
    EXPECT_FALSE(QFileInfo::exists(Data() + "MedInv2026"));
}

TEST_F(StockKeepingTest, CardOfThePreviousYearBooksThereAndLaterYearsFollow)
{
    WriteYear(2025, "000001", {"\t\t\t5\tÜbertrag 2024\t"});
    WriteYear(2026, "000001", {"\t\t\t5\tÜbertrag 2025\t", "20260102\t1\t\t\tAbgabebeleg\t"});
    EXPECT_TRUE(keeping.BookWithdrawal(2, "000001", QDate(2025, 12, 30), "Kartei-Nr.: 0012/004"));
    EXPECT_EQ(Year(2025),
              QStringList({"\t\t\t5\tÜbertrag 2024\t", "20251230\t2\t\t\tKartei-Nr.: 0012/004\t"}));
    // The new year brings forward what the old one now ends with.
    EXPECT_EQ(Year(2026),
              QStringList({"\t\t\t3\tÜbertrag 2025\t", "20260102\t1\t\t2\tAbgabebeleg\t"}));
    keeping.CancelBookings();
    EXPECT_EQ(Year(2026).first(), "\t\t\t5\tÜbertrag 2025\t");
    EXPECT_EQ(StockOf("000001"), "5,00");
}

TEST_F(StockKeepingTest, DiscardingTakesBackEveryBookingSinceTheSave)
{
    WriteYear(2026, "000001", {"\t\t\t5\tÜbertrag 2025\t", "20260101\t1\t\t\tfrei\t"});
    WriteYear(2026, "000002", {"\t\t\t10\tÜbertrag 2025\t"});
    const QStringList before1 = Year(2026, "000001");
    const QStringList before2 = Year(2026, "000002");
    EXPECT_TRUE(keeping.BookWithdrawal(1, "000001", {}, "Kartei-Nr.: 0012/004"));
    EXPECT_TRUE(keeping.BookWithdrawal(0.5L, "000002", {}, "Kartei-Nr.: 0012/004"));
    EXPECT_TRUE(keeping.BookWithdrawal(1, "000001", {}, "Kartei-Nr.: 0012/004"));
    EXPECT_EQ(StockOf("000001"), "3,00");
    EXPECT_EQ(StockOf("000002"), "9,50");
    EXPECT_EQ(keeping.Cancellations().first(),
              QString("000001\t20260102\t1\t\t\tKartei-Nr.: 0012/004\t$Rimadyl"));

    keeping.CancelBookings();
    EXPECT_EQ(Year(2026, "000001"), before1);
    EXPECT_EQ(Year(2026, "000002"), before2);
    EXPECT_EQ(StockOf("000001"), "5,00");
    EXPECT_EQ(StockOf("000002"), "10,00");
    EXPECT_TRUE(keeping.Cancellations().isEmpty());

    // After a save nothing is taken back.
    EXPECT_TRUE(keeping.BookWithdrawal(1, "000001", {}, "Kartei-Nr.: 0012/004"));
    keeping.ClearCancellations();
    keeping.CancelBookings();
    EXPECT_EQ(Year(2026, "000001").size(), 3);
    EXPECT_EQ(StockOf("000001"), "4,00");
}

TEST_F(StockKeepingTest, UnwritableStockFileBooksNothing)
{
    WriteYear(2026, "000001", {"\t\t\t5\tÜbertrag 2025\t"});
    env->readOnlyMedium = true;
    EXPECT_FALSE(keeping.BookWithdrawal(1, "000001", {}, "Abgabebeleg"));
    EXPECT_EQ(port.LastText(),
              "[Rimadyl]\r\rKeine Bestand-Abbuchung möglich!\rBerichtigen Sie den Bestand "
              "manuell!");
    EXPECT_TRUE(keeping.Cancellations().isEmpty());
}

TEST_F(StockKeepingTest, YearlyCarryOverCreatesTheNewYearOfEveryStockKeptMedication)
{
    // Rimadyl's chain: 2021 ends with 7, 2022 is missing, 2025 brings 7 - 1 = 6 forward.
    WriteYear(2021, "000001", {"\t\t\t9\tÜbertrag 2020\t", "20210301\t2\t\t7\tx\t"});
    WriteYear(2025, "000001", {"\t\t\t99\tÜbertrag 2024\t", "20250301\t1\t\t\tx\t"});
    // Baytril has no file before: it starts from its table stock. An existing file stays.
    WriteYear(2026, "000003", {"\t\t\t1\tÜbertrag 2025\t"});
    WriteMedications({"Baytril\t\t\t\t\t\t\t\t10,00\t000002\t",
                      "Rimadyl\t\t\t\t\t\t\t\t5\t000001\t", "Noch\t\t\t\t\t\t\t\t4\t000003\t",
                      "Zylexis\t\t\t\t\t\t\t\t\t000004\t"});
    EXPECT_EQ(stock::CarryForwardAll(files, grid.Lines(), 2026), 2);
    EXPECT_EQ(Year(2026, "000001"), QStringList({"\t\t\t6\tÜbertrag 2025\t"}));
    EXPECT_EQ(Year(2026, "000002"), QStringList({"\t\t\t10\tÜbertrag 2025\t"}));
    EXPECT_EQ(Year(2026, "000003"), QStringList({"\t\t\t1\tÜbertrag 2025\t"}));
    EXPECT_FALSE(QFileInfo::exists(Data() + "MedInv2026/Med000004.dbf"));  // no stock
}

// The new year's files of a run appear together and whole: a crash before the end leaves
// only temporaries, a full disk leaves the files that fitted and says so, and a file that
// another workstation created meanwhile is kept.
TEST_F(StockKeepingTest, YearlyCarryOverLeavesEveryNewFileCompleteOrAbsent)
{
    const QByteArray carry = cp1252::JoinLines({"\t\t\t10\tÜbertrag 2025\t"});
    WriteMedications({"A\t\t\t\t\t\t\t\t10\t000001\t", "B\t\t\t\t\t\t\t\t10\t000002\t",
                      "C\t\t\t\t\t\t\t\t10\t000003\t", "D\t\t\t\t\t\t\t\t10\t000004\t"});
    const QString year = Data() + "MedInv2026";
    const auto names = [&](const QString& filter) {
        return QDir(year).entryList({filter}, QDir::Files, QDir::Name);
    };
    auto io = std::make_shared<FailingFileIo>();
    env->io = io;
    *io->budget = 2 * carry.size() + 5;  // the third file breaks off, the fourth gets nothing
    std::optional<QStringList> atFirstRename;
    io->beforeRename = [&] {
        if (!atFirstRename)
            atFirstRename = names("*");
    };
    EXPECT_EQ(stock::CarryForwardAll(files, grid.Lines(), 2026), 2);
    ASSERT_TRUE(atFirstRename);
    EXPECT_EQ(atFirstRename->filter(".dbf"), QStringList());
    EXPECT_EQ(atFirstRename->filter(".~DB").size(), 2);
    EXPECT_EQ(names("*"), QStringList({"Med000001.dbf", "Med000002.dbf"}));
    EXPECT_EQ(Year(2026, "000002"), QStringList({"\t\t\t10\tÜbertrag 2025\t"}));
    EXPECT_EQ(port.LastText(),
              "Fehler beim Schreiben der Inventur-Dateien 2026:\rDer Übertrag von 2 Medikamenten "
              "wurde nicht gespeichert.\r\rÜberprüfen Sie, ob der Datenträger voll ist.\rDer "
              "Übertrag wird bei der nächsten Buchung nachgeholt.");
    // The next run fills the gaps and does not touch the two that are there.
    *io->budget = 1 << 20;
    WriteYear(2026, "000001", {"\t\t\t10\tÜbertrag 2025\t", "20260102\t1\t\t\tx\t"});
    io->beforeRename = [&] {
        if (!QFileInfo::exists(year + "/Med000004.dbf"))
            testfiles::WriteLines(year + "/Med000004.dbf", {"\t\t\t7\tÜbertrag 2025\t"});
    };
    const int messages = port.messages.size();
    EXPECT_EQ(stock::CarryForwardAll(files, grid.Lines(), 2026), 1);
    EXPECT_EQ(port.messages.size(), messages);
    EXPECT_EQ(names("*"),
              QStringList({"Med000001.dbf", "Med000002.dbf", "Med000003.dbf", "Med000004.dbf"}));
    EXPECT_EQ(Year(2026, "000001").size(), 2);
    EXPECT_EQ(Year(2026, "000004"), QStringList({"\t\t\t7\tÜbertrag 2025\t"}));
}

TEST_F(StockKeepingTest, OldStockFoldersAreOfferedForDeletion)
{
    QDir().mkpath(Data() + "MedInv2019");  // 2026 - 7
    WriteYear(2019, "000001", {"x\t"});
    WriteYear(2021, "000001", {"x\t"});                          // 2026 - 5 stays
    EXPECT_TRUE(stock::OfferStockDeletion(port, Data(), 2037));  // nothing from 2031 down
    EXPECT_TRUE(port.messages.isEmpty());

    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(stock::OfferStockDeletion(port, Data(), 2026));
    EXPECT_TRUE(QFileInfo::exists(Data() + "MedInv2019/Med000001.dbf"));
    EXPECT_EQ(port.LastText(),
              "Um die Datenmenge auf Ihrem Speichermedium zu begrenzen,\rsollten Sie "
              "Inventurdaten älter als 5 Jahre löschen.\r\rAlle Inventurdaten ab 2021 bleiben "
              "erhalten !");
    port.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(stock::OfferStockDeletion(port, Data(), 2026));
    EXPECT_FALSE(QFileInfo::exists(Data() + "MedInv2019"));
    EXPECT_TRUE(QFileInfo::exists(Data() + "MedInv2021/Med000001.dbf"));
}

TEST(StockLinesTest, QuantitiesAndRunningStock)
{
    struct Case {
        const char* text;
        long double value;
    } quantities[] = {{"1/2", 0.5L},   {"3", 3},   {"0,5", 0.5L}, {"1/0", 0},
                      {"-1/2", -0.5L}, {"abc", 0}, {"", 0},       {"2/-4", 0}};
    for (const Case& c : quantities)
        EXPECT_EQ(double(stock::QuantityOf(c.text)), double(c.value)) << c.text;

    StockLines lines = {stock::ParseStockLine("\t\t\t10\tÜbertrag 2025\t"),
                        stock::ParseStockLine("20260105\t1/2\t\t\tx\t"),
                        stock::ParseStockLine("20260106\t0\t0\t7\tnur Text\t"),
                        stock::ParseStockLine("20260107\t\t2\t\t\t")};
    stock::RunStock(lines);
    EXPECT_EQ(lines[1].stock, "9,50");
    EXPECT_EQ(lines[2].stock, "");
    EXPECT_EQ(lines[2].in, "");
    EXPECT_EQ(lines[3].stock, "11,50");
    const stock::YearSums sums = stock::SumYear(lines);
    EXPECT_EQ(double(sums.carried), 10.0);
    EXPECT_EQ(double(sums.Final()), 11.5);

    // Summing a file's bytes directly gives what its parsed lines give.
    const char* files[] = {
        "\t\t\t10\t\xDC"
        "bertrag 2025\t\r\n20260105\t1/2\t\t\tx\t\r\n20260107\t\t2,5\t\t\t\r\n",
        "20260105\t3\t\t\tx\t\r\n\t\t\t10\t\xDC"
        "bertrag 2025\t",  // carry-over not first
        "\t\t\t4\t\xDC"
        "bertrag\r20260105\t1\n\n20260106\t1\t1\r\n",  // cells without TAB
        "\r\n",
        "x",
        "20260105\t 2 \t\t\t\t\r\n20260106\t\t\x80\t\t\t"};
    for (const char* file : files) {
        const QByteArray data(file);
        StockLines parsed;
        for (const QString& line : cp1252::SplitLines(data))
            parsed.append(stock::ParseStockLine(line));
        qsizetype count = -1;
        const stock::YearSums direct = stock::SumYearOfFile(data, &count);
        const stock::YearSums expected = stock::SumYear(parsed);
        EXPECT_EQ(count, parsed.size()) << file;
        EXPECT_EQ(double(direct.carried), double(expected.carried)) << file;
        EXPECT_EQ(double(direct.in), double(expected.in)) << file;
        EXPECT_EQ(double(direct.out), double(expected.out)) << file;
    }
}

}  // namespace

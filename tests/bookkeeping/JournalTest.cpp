#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "bookkeeping/Journal.h"

using namespace journal;

namespace {

struct Appended {
    QString path;
    QString line;
};

AppendLineFn Recorder(QList<Appended>& out)
{
    return [&out](const QString& path, const QString& line) { out.push_back({path, line}); };
}

}  // namespace

TEST(Journal, FileNameTakesEuroThenDmThenCurrentLetter)
{
    QTemporaryDir dir;
    EXPECT_EQ(JournalFileName(dir.path(), 3, 2026, Kind::Income, "Euro"),
              dir.filePath("Z32026.zaE"));
    EXPECT_EQ(JournalFileName(dir.path(), 12, 2026, Kind::Expense, "DM"),
              dir.filePath("Z122026.auD"));

    testfiles::WriteAll(dir.filePath("z32026.zad"), "");
    EXPECT_EQ(JournalFileName(dir.path(), 3, 2026, Kind::Income, "Euro"),
              dir.filePath("z32026.zad"));
    testfiles::WriteAll(dir.filePath("Z32026.ZAE"), "");
    EXPECT_EQ(JournalFileName(dir.path(), 3, 2026, Kind::Income, "DM"), dir.filePath("Z32026.ZAE"));
}

TEST(Journal, ConvertBookingIntoTheFileCurrency)
{
    const QString euro = "E01.03.2026\t0012/007\tMeier\t10,00\t19,0\t11,90\tB\t";
    EXPECT_EQ(ConvertBookingCurrency("Z32026.zae", euro, 1.95583L), euro);
    EXPECT_EQ(ConvertBookingCurrency("Z32026.ZAD", euro, 1.95583L),
              "E01.03.2026\t0012/007\tMeier\t19,55830\t19,0\t23,27438\tB\t");
    const QString dm = "D01.03.2026\t0012/007\tMeier\t10,00\t7\t19,5583\tS\t";
    EXPECT_EQ(ConvertBookingCurrency("Z32026.zae", dm, 1.95583L),
              "D01.03.2026\t0012/007\tMeier\t9,34579\t7\t10,00000\tS\t");
    const QString bad = "D01.03.2026\t0012/007\tMeier\t10,00\t- - -\t19,5583\tS\t";
    EXPECT_EQ(ConvertBookingCurrency("Z32026.zae", bad, 1.95583L), bad);
}

TEST(Journal, AppendBookingCreatesTheMonthFileAndDropsTheLetter)
{
    QTemporaryDir dir;
    QList<Appended> appended;
    ASSERT_TRUE(AppendBooking(dir.path(), "D20.02.2024\t0012/007\tMeier\t10,00\t19,0\t11,90\tB\t",
                              "Euro", 1.95583L, Recorder(appended)));
    ASSERT_EQ(appended.size(), 1);
    EXPECT_EQ(appended[0].path, dir.filePath("Z22024.zaE"));
    EXPECT_TRUE(QFileInfo(appended[0].path).isFile());
    EXPECT_EQ(appended[0].line, "+20.02.2024\t0012/007\tMeier\t5,11292\t19,0\t6,08437\tB\t");

    // An existing DM month keeps its currency; nothing for a booking without a date.
    testfiles::WriteAll(dir.filePath("Z32024.ZAD"), "");
    ASSERT_TRUE(AppendBooking(dir.path(), "D01.03.2024\tk\tc\t1,00\t0,0\t1,00\tS\t", "Euro",
                              1.95583L, Recorder(appended)));
    EXPECT_EQ(appended[1].path, dir.filePath("Z32024.ZAD"));
    EXPECT_EQ(appended[1].line, "+01.03.2024\tk\tc\t1,00\t0,0\t1,00\tS\t");
    EXPECT_FALSE(AppendBooking(dir.path(), "E\tk\t", "Euro", 2, Recorder(appended)));
    EXPECT_FALSE(AppendBooking(dir.filePath("missing"), "E01.03.2024\tk\tc\t1\t0\t1\tB\t", "Euro",
                               2, Recorder(appended)));
    EXPECT_EQ(appended.size(), 2);
}

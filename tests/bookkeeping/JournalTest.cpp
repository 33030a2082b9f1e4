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
    return [&out](const QString& path, const QString& line) {
        out.push_back({path, line});
        return true;
    };
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

TEST(Journal, BookingLinesRoundTripInCents)
{
    const Booking fee{"D", QDate(2024, 2, 20), "0012/007", "Meier (Mahngebühr)", 4.2016L, "19,0", 5,
                      "B"};
    const QString line =
        QString::fromUtf8("20.02.2024\t0012/007\tMeier (Mahngebühr)\t4,20\t19,0\t5,00\tB\t");
    EXPECT_EQ(FormatBookingLine(fee), line);
    Booking read = fee;
    read.currency.clear();
    read.net = 4.20L;
    EXPECT_EQ(ParseBookingLine(line), read);
    for (const char* bad : {"\t0012/007\tMeier\t1,00\t19,0\t1,19\tB\t",
                            "20.02.2024\t0012/007\tMeier\t- - -\t19,0\t1,19\tB\t",
                            "20.02.2024\t0012/007\tMeier\t1,00\t19,0\t\tB\t"})
        EXPECT_FALSE(ParseBookingLine(bad)) << bad;
}

TEST(Journal, ConvertBookingIntoTheFileCurrency)
{
    const Booking euro{"E", QDate(2026, 3, 1), "0012/007", "Meier", 10, "19,0", 11.90L, "B"};
    Booking same = euro;
    EXPECT_FALSE(ConvertBookingCurrency("Z32026.zae", same, 1.95583L));
    EXPECT_EQ(same, euro);
    Booking toDm = euro;
    EXPECT_TRUE(ConvertBookingCurrency("Z32026.ZAD", toDm, 1.95583L));
    EXPECT_EQ(FormatBookingLine(toDm, kExactFormat),
              "01.03.2026\t0012/007\tMeier\t19,55830\t19,0\t23,27438\tB\t");
    Booking dm{"D", QDate(2026, 3, 1), "0012/007", "Meier", 10, "7", 19.5583L, "S"};
    EXPECT_TRUE(ConvertBookingCurrency("Z32026.zae", dm, 1.95583L));
    EXPECT_EQ(FormatBookingLine(dm, kExactFormat),
              "01.03.2026\t0012/007\tMeier\t9,34579\t7\t10,00000\tS\t");
    Booking bad = dm;
    bad.rate = "- - -";
    const Booking unreadable = bad;
    EXPECT_FALSE(ConvertBookingCurrency("Z32026.zae", bad, 1.95583L));
    EXPECT_EQ(bad, unreadable);
}

TEST(Journal, AppendBookingCreatesTheMonthFileAndDropsTheLetter)
{
    QTemporaryDir dir;
    QList<Appended> appended;
    ASSERT_TRUE(AppendBooking(
        dir.path(), {"D", QDate(2024, 2, 20), "0012/007", "Meier", 10, "19,0", 11.90L, "B"}, "Euro",
        1.95583L, Recorder(appended)));
    ASSERT_EQ(appended.size(), 1);
    EXPECT_EQ(appended[0].path, dir.filePath("Z22024.zaE"));
    EXPECT_TRUE(QFileInfo(appended[0].path).isFile());
    EXPECT_EQ(appended[0].line, "+20.02.2024\t0012/007\tMeier\t5,11292\t19,0\t6,08437\tB\t");

    // An existing DM month keeps its currency; nothing for a booking without a date.
    testfiles::WriteAll(dir.filePath("Z32024.ZAD"), "");
    const Booking cheque{"D", QDate(2024, 3, 1), "k", "c", 1, "0,0", 1, "S"};
    ASSERT_TRUE(AppendBooking(dir.path(), cheque, "Euro", 1.95583L, Recorder(appended)));
    EXPECT_EQ(appended[1].path, dir.filePath("Z32024.ZAD"));
    EXPECT_EQ(appended[1].line, "+01.03.2024\tk\tc\t1,00\t0,0\t1,00\tS\t");
    EXPECT_FALSE(AppendBooking(dir.path(), {"E", QDate(), "k", "c", 1, "0", 1, "B"}, "Euro", 2,
                               Recorder(appended)));
    EXPECT_FALSE(AppendBooking(dir.filePath("missing"),
                               {"E", QDate(2024, 3, 1), "k", "c", 1, "0", 1, "B"}, "Euro", 2,
                               Recorder(appended)));
    EXPECT_EQ(appended.size(), 2);
}

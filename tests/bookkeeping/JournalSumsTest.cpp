#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "bookkeeping/JournalSelection.h"
#include "bookkeeping/JournalSums.h"
#include "common/NumberFormat.h"
#include "table/RecordLine.h"

using namespace journal;

namespace {

// Current rates 19, 7, 0, old rates 16, 7.
const std::array<long double, 5> kOrder = {19, 7, 0, 16, 7};

QString Line(const char* date, const char* receipt, const char* customer, const char* rate,
             const char* gross, const char* kind = "B")
{
    return recordline::Join({QString::fromUtf8(date), QString::fromUtf8(receipt),
                             QString::fromUtf8(customer), QStringLiteral("0"),
                             QString::fromUtf8(rate), QString::fromUtf8(gross),
                             QString::fromUtf8(kind)});
}

QString Cents(long double v)
{
    return FormatFloat(QStringLiteral("0.00"), v);
}

QStringList Labels(const JournalSums& sums)
{
    QStringList labels;
    for (const RateSlot& slot : sums.rates)
        labels << (slot.used ? slot.Label() : QString());
    return labels;
}

}  // namespace

TEST(JournalSums, RatesTakeTheirConfiguredSlotsAndNetsAreRoundedPerRate)
{
    // Grosses are rounded to cents one by one; each rate's net comes from its gross sum.
    const JournalSums sums = SumJournal(
        {Line("01.03.2024", "a", "x", "7", "10,004"), Line("02.03.2024", "b", "x", "19,0", "11,90"),
         Line("03.03.2024", "c", "x", "16", "11,60"),
         Line("04.03.2024", "d", "x", "19,0", "11,895"),
         Line("05.03.2024", "e", "x", "7", "10,70")},
        kOrder);
    EXPECT_EQ(Labels(sums), (QStringList{"19,0 %", "7 %", "", "16 %", "", ""}));
    EXPECT_EQ(Cents(sums.rates[0].gross), "23,80");
    EXPECT_EQ(Cents(sums.rates[0].net), "20,00");
    EXPECT_EQ(Cents(sums.rates[1].gross), "20,70");
    EXPECT_EQ(Cents(sums.rates[1].net), "19,35");  // 20,70 / 1,07 = 19,3458
    EXPECT_EQ(Cents(sums.rates[3].net), "10,00");
    EXPECT_EQ(Cents(sums.totalGross), "56,10");
    EXPECT_EQ(Cents(sums.totalNet), "49,35");
    EXPECT_EQ(sums.unreadable, 0);
}

TEST(JournalSums, SevenRatesGiveNoSumsAndUnreadableRowsAreLeftOut)
{
    QStringList seven;
    for (const char* rate : {"19", "7", "0", "16", "5", "9", "10"})
        seven << Line("01.03.2024", "k", "x", rate, "1,00");
    const JournalSums tooMany = SumJournal(seven, kOrder);
    EXPECT_TRUE(tooMany.tooManyRates);
    EXPECT_EQ(Labels(tooMany), QStringList(6, QString()));
    EXPECT_EQ(Cents(tooMany.totalGross), "0,00");

    seven.removeLast();
    seven << Line("02.03.2024", "k", "x", "19", "- - -") << Line("02.03.2024", "k", "x", "", "5");
    const JournalSums six = SumJournal(seven, kOrder);
    EXPECT_FALSE(six.tooManyRates);
    EXPECT_EQ(six.unreadable, 2);
    EXPECT_EQ(Cents(six.totalGross), "6,00");
}

TEST(JournalSelection, FiltersByAccountBusinessAndDay)
{
    const QStringList month = {
        Line("01.03.2024", "cash", "Meier", "19", "1", "B"),
        Line("01.03.2024", "cheque", "Meier", "19", "1", "S"),
        Line("15.03.2024", "transfer", "(A) Huber", "19", "1", "\u00DC"),
        Line("15.03.2024", "none", "Huber", "19", "1", ""),
        Line("15.03.2024", "both", "Huber", "19", "1", "S\u00DC"),
    };
    struct Case {
        AccountFilter account;
        BusinessFilter business;
        const char* day;
        QStringList kept;
    };
    const Case cases[] = {
        {AccountFilter::All,
         BusinessFilter::All,
         "",
         {"cash", "cheque", "transfer", "none", "both"}},
        {AccountFilter::Cash, BusinessFilter::All, "", {"cash", "none"}},
        {AccountFilter::Bank, BusinessFilter::All, "", {"cheque", "transfer", "none", "both"}},
        {AccountFilter::All, BusinessFilter::Practice, "", {"cash", "cheque", "none", "both"}},
        {AccountFilter::All, BusinessFilter::Pharmacy, "", {"transfer"}},
        {AccountFilter::All, BusinessFilter::All, "15", {"transfer", "none", "both"}},
        {AccountFilter::Bank, BusinessFilter::Practice, "1", {"cheque"}},
        {AccountFilter::All,
         BusinessFilter::All,
         "32",
         {"cash", "cheque", "transfer", "none", "both"}},
    };
    for (const Case& c : cases) {
        JournalSelection s;
        s.month = 3;
        s.year = 2024;
        s.day = QString::fromLatin1(c.day);
        s.account = c.account;
        s.business = c.business;
        QStringList kept;
        for (const QString& line : FilterJournal(month, s))
            kept << recordline::Cell(line, recordline::kJourReceipt);
        EXPECT_EQ(kept, c.kept) << int(c.account) << int(c.business) << c.day;
    }
}

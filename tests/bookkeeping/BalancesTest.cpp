#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "MemorySettings.h"
#include "bookkeeping/Balances.h"
#include "common/NumberFormat.h"

using namespace balances;

namespace {
const QString kSec = "Kontostand";
constexpr long double kRate = 1.95583L;
}  // namespace

TEST(Balances, MissingAndUnreadableValuesAreZero)
{
    MemorySettings s;
    s.values[{kSec, "Bank"}] = "abc";
    const Pair p = ReadBalances(s, Business::Practice, "E", kRate);
    EXPECT_EQ(p.cash, 0);
    EXPECT_EQ(p.bank, 0);
}

TEST(Balances, ReadConvertsTheStoredCurrency)
{
    MemorySettings s;
    s.values[{kSec, "Kasse"}] = "195,583";
    s.values[{kSec, "Waehrung"}] = "DM";
    EXPECT_EQ(FormatFloat("0.00000", ReadBalances(s, Business::Practice, "E", kRate).cash),
              "100,00000");
    EXPECT_EQ(ReadBalances(s, Business::Practice, "D", kRate).cash, 195.583L);
    s.values[{kSec, "Waehrung"}] = "Euro";
    EXPECT_EQ(FormatFloat("0.00", ReadBalances(s, Business::Practice, "D", kRate).cash), "382,53");
}

TEST(Balances, EuroBookingIntoDmPairRewritesThePairInEuro)
{
    MemorySettings s;
    s.values[{kSec, "Kasse"}] = "195,583";
    s.values[{kSec, "Bank"}] = "391,166";
    s.values[{kSec, "Kasse2"}] = "19,5583";
    s.values[{kSec, "Waehrung"}] = "DM";
    AddToCash(s, Business::Practice, "E", 50, kRate);
    EXPECT_EQ(s.Get(kSec, "Waehrung"), "Euro");
    const Pair p = ReadBalances(s, Business::Practice, "E", kRate);
    EXPECT_EQ(FormatFloat("0.00", p.cash), "150,00");
    EXPECT_EQ(FormatFloat("0.00", p.bank), "200,00");
    // The pharmacy pair shares the currency key and follows it.
    EXPECT_EQ(FormatFloat("0.00", ReadBalances(s, Business::Pharmacy, "E", kRate).cash), "10,00");
    EXPECT_FALSE(s.values.contains({kSec, "Bank2"}));
}

// The general form may carry an exponent, as a balance left with a rounding residue does.
TEST(Balances, StoredTextReadsBackExactly)
{
    for (long double v : {0.0L, 195.583L, -12.5L, 0.1L + 0.2L, 1e-7L, 123456789.123456789L}) {
        MemorySettings s;
        s.values[{kSec, "Kasse"}] = BalanceText(v);
        EXPECT_EQ(ReadBalances(s, Business::Practice, "E", kRate).cash, v)
            << BalanceText(v).toStdString();
    }
    EXPECT_EQ(BalanceText(195.583L), "195,583");
    EXPECT_EQ(BalanceText(-12.5L), "-12,5");
}

TEST(Balances, AccountRuleAndFailedWrites)
{
    EXPECT_TRUE(AccountFor("B", "Meier", true).cash);
    EXPECT_FALSE(AccountFor(QString::fromUtf8("Ü"), "Meier", true).cash);
    EXPECT_EQ(AccountFor("S", "(A) Meier", true).business, Business::Pharmacy);
    EXPECT_EQ(AccountFor("S", "(A) Meier", false).business, Business::Practice);

    MemorySettings s;
    AddToAccount(s, AccountFor("S", "(A) Hof", true), "E", 20, kRate);
    AddToAccount(s, AccountFor("B", "(A) Hof", true), "E", -5, kRate);
    EXPECT_EQ(s.Get(kSec, "Bank2"), "20");
    EXPECT_EQ(s.Get(kSec, "Kasse2"), "-5");
    EXPECT_FALSE(s.values.contains({kSec, "Kasse"}));

    s.failWrites = true;
    AddToCash(s, Business::Pharmacy, "E", 1, kRate);  // ignored
    EXPECT_EQ(s.Get(kSec, "Kasse2"), "-5");
}

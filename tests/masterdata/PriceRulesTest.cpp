#include <gtest/gtest.h>

#include "common/UserPort.h"
#include "masterdata/PriceRules.h"
#include "support/ScriptedUserPort.h"
#include "table/RecordLine.h"

namespace {

PriceSettings Rates(long double r1, long double r2 = 7, long double r3 = 0)
{
    PriceSettings s;
    s.currentVat = {r1, r2, r3};
    s.previousVat = {16, 5, 0};
    return s;
}

QString Sale(const QString& purchase, bool euro = true, bool human = false)
{
    return prices::Ampv(purchase, euro, human).saleNet;
}

}  // namespace

TEST(Ampv, EuroBands)
{
    EXPECT_EQ(Sale("10,00"), "14,80");    // 10 x 1.48
    EXPECT_EQ(Sale("100,00"), "127,56");  // 66.469 + 61.0875
    EXPECT_EQ(Sale("200,00"), "248,95");  // 66.469 + 95.8625 + 86.616 = 248.9475
    EXPECT_EQ(Sale("0,00"), "0,00");
}

TEST(Ampv, LimitBelongsToItsRow)
{
    EXPECT_EQ(Sale("1,22"), "2,05");  // x 1.68, not + 0.83
    EXPECT_EQ(Sale("1,23"), "2,06");  // + 0.83
    EXPECT_EQ(Sale("1,34"), "2,17");
    EXPECT_EQ(Sale("1,35"), "2,19");  // x 1.62
    EXPECT_EQ(Sale("51,13"), "66,47");
}

TEST(Ampv, HumanPreparationOnlyInEuro)
{
    EXPECT_EQ(Sale("10,00", true, true), "18,40");
    EXPECT_EQ(Sale("10,00", false, true), Sale("10,00", false, false));
    EXPECT_EQ(prices::AmpvToolTip(true), "EinkNetto--> VerkNetto nach AMPV §3 (1) Satz 2");
    EXPECT_EQ(prices::AmpvToolTip(false), "EinkNetto--> VerkNetto nach AMPV §3 (3)");
}

TEST(Ampv, DeutscheMarkTable)
{
    EXPECT_EQ(Sale("2,40", false), "4,03");    // x 1.68 at the inclusive limit
    EXPECT_EQ(Sale("2,50", false), "4,13");    // + 1.63
    EXPECT_EQ(Sale("10,00", false), "15,70");  // x 1.57 up to 14.28 DM
}

TEST(Ampv, PurchaseIsRoundedFirstAndBadInputClearsBoth)
{
    const auto r = prices::Ampv("9,999", true, false);
    EXPECT_EQ(r.purchaseNet, "10,00");
    EXPECT_EQ(r.saleNet, "14,80");
    const auto bad = prices::Ampv("abc", true, false);
    EXPECT_EQ(bad.purchaseNet, "0,00");
    EXPECT_EQ(bad.saleNet, "0,00");
    EXPECT_EQ(prices::Ampv("", true, false).saleNet, "0,00");
}

TEST(Gross, FromNetAndCode)
{
    const PriceSettings s = Rates(19, 7);
    EXPECT_EQ(prices::GrossFromNet("10,00", "1", s), "11,90");
    EXPECT_EQ(prices::GrossFromNet("10,00", "2", s), "10,70");
    EXPECT_EQ(prices::GrossFromNet("10,00", "3", s), "10,00");
    EXPECT_EQ(prices::GrossFromNet("10,00", "4", s), "10,00");
    EXPECT_EQ(prices::GrossFromNet("", "1", s), "");
    EXPECT_EQ(prices::GrossFromNet("0,05", "1", s), "0,06");  // 0.0595 rounds up
    EXPECT_EQ(prices::VatRateLabel("2", s), "7,0");
    EXPECT_EQ(prices::VatRateLabel("x", s), "---");
}

TEST(Factor, OneTrailingZeroDropped)
{
    EXPECT_EQ(prices::FormatFactor(1.5L), "1,5");
    EXPECT_EQ(prices::FormatFactor(2.0L), "2,0");
    EXPECT_EQ(prices::FormatFactor(1.55L), "1,55");
}

namespace {

struct FakeTables : prices::VatRecalcTarget {
    QStringList services, medications;
    QStringList calls;
    QStringList& ServiceLines() override { return services; }
    void SaveServices() override { calls << "saveServices"; }
    QStringList& MedicationLines() override { return medications; }
    void SaveMedications() override { calls << "saveMedications"; }
    void ShowCurrentRate(const QString& t) override { calls << "rate " + t; }
    void ResetQuantities() override { calls << "quantities"; }
    void ReloadBatchIfShown() override { calls << "batch"; }
};

}  // namespace

TEST(VatChange, GrossRecalculatedInBothTables)
{
    FakeTables t;
    t.medications << "Mittel\t5,00\t10,00\t11,90\t1\t\t\t\t\t\t"
                  << "Futter\t1,00\t2,00\t2,14\t2\t\t\t\t\t\t"
                  << "Alt\t1,00\t2,00\t9,99\t9\t\t\t\t\t\t";
    t.services << "Impfung\tHund\t20,00\t1,5\t30,00\t35,70\t1\t12\t\t";
    QStringList rates{"16", "5", "0", "19", "7", "0"};
    ScriptedUserPort port;
    ASSERT_TRUE(prices::RecalculateAllGross(port, rates, t));
    EXPECT_EQ(recordline::Cell(t.medications[0], recordline::kMedSaleGross), "11,60");
    EXPECT_EQ(recordline::Cell(t.medications[1], recordline::kMedSaleGross), "2,10");
    EXPECT_EQ(recordline::Cell(t.medications[2], recordline::kMedSaleGross),
              "2,00");  // unknown code copies net
    EXPECT_EQ(recordline::Cell(t.services[0], recordline::kSvcGross), "34,80");
    EXPECT_EQ(t.medications[0], "Mittel\t5,00\t10,00\t11,60\t1\t\t\t\t\t\t");
    EXPECT_EQ(t.calls,
              (QStringList{"rate 16,0", "saveServices", "saveMedications", "quantities", "batch"}));
    EXPECT_EQ(port.Texts(), QStringList{"Brutto-Preise in den Tabellen\rMedikamente/ Leistungen "
                                        "werden neu berechnet!"});
}

TEST(VatChange, InvalidRateChangesNothing)
{
    FakeTables t;
    t.medications << "Mittel\t5,00\t10,00\t11,90\t1\t\t\t\t\t\t";
    QStringList rates{"16", "5", "x", "19", "7", "0"};
    ScriptedUserPort port;
    EXPECT_FALSE(prices::RecalculateAllGross(port, rates, t));
    EXPECT_EQ(port.LastText(), "Fehler: MwSt-Sätze ungültig!");
    EXPECT_EQ(rates, QStringList(6, "0"));
    EXPECT_TRUE(t.calls.isEmpty());
    EXPECT_EQ(recordline::Cell(t.medications[0], recordline::kMedSaleGross), "11,90");
}

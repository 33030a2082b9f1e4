#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "ScriptedUserPort.h"
#include "cards/CardClosing.h"
#include "cards/CardSums.h"
#include "common/NumberFormat.h"

using namespace card;

namespace {

Row Line(const QString& date, const QString& code, const QString& amount, const QString& mark = {})
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColText, "x");
    r.SetCell(kColVat, code);
    r.SetCell(kColAmount, amount);
    r.SetCell(kColBS, mark);
    return r;
}

CardState NewState(const QString& mode = "Netto", const QString& currency = "Euro")
{
    CardState s;
    EXPECT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier", currency), s));
    s.amountMode = mode;
    return s;
}

struct CardSumsTest : ::testing::Test {
    CardSettings settings;  // 19/7/0 now, 16/7/0 before 01.01.2008
    ScriptedUserPort port;
};

}  // namespace

TEST_F(CardSumsTest, CurrentAndOldRatesFormTwoGroups)
{
    Rows rows{Line("15.12.2007", "1", "10"), Line("10.01.2008", "1", "10")};
    CardState s = NewState();
    const CardSums sums = SumCard(rows, s, settings, port);
    ASSERT_TRUE(sums.ok);
    EXPECT_EQ(s.summary[0], "19,0");
    EXPECT_EQ(s.summary[1], "1,90000");
    EXPECT_EQ(s.summary[6], "16,0");
    EXPECT_EQ(s.summary[7], "1,60000");
    EXPECT_EQ(s.summary[kSumInvoiceNet], "20,00");
    EXPECT_EQ(s.summary[kSumInvoiceVat], "3,50");
    EXPECT_EQ(s.summary[kSumInvoiceGross], "23,50");
    EXPECT_EQ(s.totalVat, "3,50");
    EXPECT_EQ(s.totalGross, "23,50");
    EXPECT_EQ(s.invoiceGross, "23,50");
    EXPECT_EQ(rows[0].Cell(kColAmount), "10,00000");
    EXPECT_TRUE(port.messages.isEmpty());
}

// Old and current 7 % are one rate: one group of the summary, one VAT row of the invoice.
TEST_F(CardSumsTest, EqualOldAndCurrentRatesMergeIntoTheLowerGroup)
{
    Rows rows{Line("15.12.2007", "2", "100"), Line("10.01.2024", "2", "100")};
    CardState s = NewState();
    const CardSums sums = SumCard(rows, s, settings, port);
    EXPECT_EQ(sums.groupNet[1], 200);
    EXPECT_EQ(sums.groupNet[4], 0);
    EXPECT_EQ(s.summary[3], "14,00000");
    EXPECT_EQ(s.summary[9], "0,00000");
    EXPECT_EQ(s.summary[kSumInvoiceVat], "14,00");
    EXPECT_EQ(FooterSlots(s.summary, s.currency, false, {}, {}).mid(0, 4),
              QStringList({"7,0%", "14,00 EUR", "", ""}));
}

// An invoice keeps the summary it was printed with: rates changed in the options since reach
// neither its summary nor its shown sums. The currency switch converts it anew.
TEST_F(CardSumsTest, InvoiceKeepsTheSummaryItWasPrintedWith)
{
    Rows rows{Line("01.06.2020", "2", "100")};
    CardState s = NewState();
    s.invoiceDate = "05.06.2020";
    ASSERT_TRUE(SumCard(rows, s, settings, port).ok);
    const QStringList printed = s.summary;
    settings.currentVat = {16, 5, 0};
    const CardSums sums = SumCard(rows, s, settings, port);
    EXPECT_EQ(FormatFloat("0.00", sums.invoiceGross), "105,00");
    EXPECT_EQ(s.summary, printed);
    EXPECT_EQ(s.invoiceGross, "107,00");
    SumCard(rows, s, settings, port, {}, FrozenSummary::Recompute);
    EXPECT_EQ(s.invoiceGross, "105,00");
}

TEST_F(CardSumsTest, GrossModeSplitsTheAmount)
{
    Rows rows{Line("01.02.2024", "1", "11,90")};
    CardState s = NewState("Brutto");
    SumCard(rows, s, settings, port);
    EXPECT_EQ(s.summary[kSumInvoiceNet], "10,00");
    EXPECT_EQ(s.summary[kSumInvoiceVat], "1,90");
    EXPECT_EQ(s.summary[kSumInvoiceGross], "11,90");
    EXPECT_EQ(s.totalNet, "10,00");
    EXPECT_EQ(s.summary[kSumOtherCurrency], "23,27");  // 11,90 x 1,95583

    CardState dm = NewState("Brutto", "DM");
    SumCard(rows, dm, settings, port);
    EXPECT_EQ(dm.summary[kSumOtherCurrency], "6,08");  // 11,90 / 1,95583
}

TEST_F(CardSumsTest, CashAndChequeLinesStayOutOfTheInvoice)
{
    Rows rows{Line("01.02.2024", "1", "10", "B"), Line("", "1", "10", "S"), Line("", "1", "10")};
    CardState s = NewState();
    const CardSums sums = SumCard(rows, s, settings, port);
    EXPECT_EQ(s.totalNet, "30,00");
    EXPECT_EQ(s.totalVat, "5,70");
    EXPECT_EQ(s.totalGross, "35,70");
    EXPECT_EQ(s.cashGross, "11,90");
    EXPECT_EQ(s.invoiceGross, "11,90");
    EXPECT_EQ(s.summary[1], "1,90000");
    EXPECT_NEAR(double(sums.bsVat), 3.8, 1e-12);
}

TEST_F(CardSumsTest, LimitDateLeavesLaterLinesOut)
{
    Rows rows{Line("01.02.2024", "1", "10"), Line("", "1", "5"), Line("02.02.2024", "1", "100"),
              Line("", "1", "7")};
    CardState s = NewState();
    SumCard(rows, s, settings, port, QDate(2024, 2, 1));
    EXPECT_EQ(s.totalNet, "15,00");
    EXPECT_EQ(s.invoiceGross, "17,85");
    EXPECT_EQ(rows[3].Cell(kColAmount), "7");  // not reached
}

TEST_F(CardSumsTest, GroupVatIsRoundedPerGroupNotPerLine)
{
    // Three lines of 0,007 VAT: 0,021 rounds to 0,02 (line by line it would be 0,03).
    Rows rows{Line("01.02.2024", "2", "0,10"), Line("", "2", "0,10"), Line("", "2", "0,10")};
    CardState s = NewState();
    SumCard(rows, s, settings, port);
    EXPECT_EQ(s.summary[kSumInvoiceVat], "0,02");
    EXPECT_EQ(s.invoiceGross, "0,32");
}

TEST_F(CardSumsTest, BadAmountsAndCodesAreRepaired)
{
    Rows rows{Line("01.02.2024", "2", "abc"), Line("", "9", "1,5"), Line("", "", "")};
    CardState s = NewState();
    SumCard(rows, s, settings, port);
    EXPECT_EQ(rows[0].Cell(kColAmount), "");
    EXPECT_EQ(rows[0].Cell(kColVat), "");
    EXPECT_EQ(rows[1].Cell(kColVat), "1");
    EXPECT_EQ(rows[1].Cell(kColAmount), "1,50000");
    EXPECT_EQ(s.invoiceGross, "1,79");  // 1,785 rounds up
}

TEST_F(CardSumsTest, LineWithoutDateStopsAndKeepsTheShownSums)
{
    Rows rows{Line("", "1", "10"), Line("01.02.2024", "1", "5")};
    CardState s = NewState();
    s.totalGross = "99,00";
    const CardSums sums = SumCard(rows, s, settings, port);
    EXPECT_FALSE(sums.ok);
    EXPECT_EQ(sums.totalNet, 0);
    EXPECT_EQ(s.totalGross, "99,00");
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text,
              QString::fromUtf8("Fehler in Kartei Nr. 0012/007\rZeile 1:  Kein gültiges Datum "
                                "vorhanden!\rNeueingaben wurden nicht mehr summiert!"));
}

TEST_F(CardSumsTest, SummaryIsPaddedOnceAndEmptyRowsTrimmed)
{
    Rows rows(15);
    rows[0] = Line("01.02.2024", "1", "1");
    rows[10] = Line("", "", "", "");
    rows[10].SetCell(kColRemark, "Notiz");
    CardState s = NewState();
    SumCard(rows, s, settings, port);
    EXPECT_EQ(rows.size(), 11u);
    ASSERT_EQ(s.summary.size(), 20);
    EXPECT_EQ(s.summary.mid(16), QStringList({"- - -", "- - -", "- - -", "- - -"}));

    // Reminder and payment lines survive a new summation.
    s.summary[kSumFee1] = "5,00000";
    s.summary << "1,00 Euro   am 03.02.2024,  bar";
    Rows few(15);
    few[0] = Line("01.02.2024", "1", "1");
    SumCard(few, s, settings, port);
    EXPECT_EQ(few.size(), 10u);
    EXPECT_EQ(s.summary.size(), 21);
    EXPECT_EQ(s.summary[kSumFee1], "5,00000");
}

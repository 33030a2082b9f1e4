#include <gtest/gtest.h>

#include <random>

#include "ScriptedUserPort.h"
#include "cards/CardSums.h"
#include "cards/Payment.h"
#include "common/NumberFormat.h"

using namespace card;

namespace {

Row Line(const QString& date, const QString& code, const QString& amount)
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColText, "x");
    r.SetCell(kColVat, code);
    r.SetCell(kColAmount, amount);
    return r;
}

struct PaymentTest : ::testing::Test {
    CardSettings settings;  // 19/7/0 now, 16/7/0 before 01.01.2008
    ScriptedUserPort port;
    Rows rows;
    CardState state;
    std::vector<PendingBooking> pending;
    const QDate day{2024, 3, 15};

    // An invoiced card whose open amount is its invoice gross, as the close leaves it.
    void Invoice(Rows lines, const QString& mode = "Netto")
    {
        rows = std::move(lines);
        ASSERT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier", "Euro"), state));
        state.amountMode = mode;
        state.invoiceDate = "01.03.2024";
        ASSERT_TRUE(SumCard(rows, state, settings, port).ok);
        state.openAmountExact = state.invoiceGross;
        state.openAmount = state.invoiceGross;
    }
    void SetFee1(const QString& fee)
    {
        state.reminder1 = true;
        state.summary[kSumFee1] = fee;
        state.summary[kSumDate1] = "10.03.2024";
        long double amount = 0;
        ASSERT_TRUE(TryStrToFloat(fee, &amount));
        const long double open = ExactOpenAmount(state) + amount;
        state.openAmountExact = FormatFloat("0.00000", open);
    }
    // What the dialog hands over for an amount.
    PaymentEntry Entry(long double amount, bool writeOff = false,
                       PaymentKind kind = PaymentKind::Cash)
    {
        PaymentEntry e;
        e.amount = amount;
        e.date = day;
        e.kind = kind;
        const long double open = ExactOpenAmount(state);
        e.newOpen = open - amount;
        e.rest = RoundCents(open - amount);
        e.writeOff = writeOff;
        return e;
    }
    std::vector<PendingBooking> Pay(const PaymentEntry& e)
    {
        pending.clear();
        EXPECT_TRUE(ApplyPayment(rows, state, settings, port, e, pending));
        return pending;
    }
    QStringList PaymentLines() const { return state.summary.mid(kSumFirstPayment); }
};

long double Sum(const std::vector<PendingBooking>& bookings)
{
    long double sum = 0;
    for (const auto& b : bookings)
        sum += b.gross;
    return RoundCents(sum);
}

}  // namespace

TEST_F(PaymentTest, PartialPaymentOfA19PercentInvoice)
{
    Invoice({Line("01.03.2024", "1", "100")});
    ASSERT_EQ(state.openAmount, "119,00");
    const auto bookings = Pay(Entry(50));
    ASSERT_EQ(bookings.size(), 1u);
    EXPECT_EQ(bookings[0].currency + journal::FormatBookingLine(bookings[0]),
              "E15.03.2024\t0012/007\tMeier\t42,02\t19,0\t50,00\tB\t");
    EXPECT_EQ(state.openAmount, "69,00");
    EXPECT_EQ(state.openAmountExact, "69,00000");
    EXPECT_EQ(PaymentLines(), QStringList{"50,00 Euro   am 15.03.2024,  bar"});
    EXPECT_TRUE(state.remindersEnabled);
}

TEST_F(PaymentTest, GroupsArePaidFromSixDownAndASecondPaymentSkipsWhatTheFirstCovered)
{
    Invoice({Line("01.03.2024", "1", "100"), Line("", "2", "100")});  // 119 + 107
    ASSERT_EQ(state.openAmount, "226,00");

    auto first = Pay(Entry(150, false, PaymentKind::Transfer));
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].rate, "7,0");
    EXPECT_EQ(double(first[0].gross), 107.0);
    EXPECT_EQ(double(first[0].net), 100.0);
    EXPECT_EQ(first[1].rate, "19,0");
    EXPECT_EQ(double(first[1].gross), 43.0);
    EXPECT_EQ(first[1].kind, "Ü");
    EXPECT_EQ(state.openAmount, "76,00");

    auto second = Pay(Entry(76, false, PaymentKind::Cheque));
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].rate, "19,0");
    EXPECT_EQ(FormatFloat("0.00", second[0].gross), "76,00");
    EXPECT_EQ(FormatFloat("0.00", second[0].net), "63,87");
    EXPECT_EQ(state.openAmount, "0,00");
    EXPECT_FALSE(state.remindersEnabled);
    EXPECT_EQ(PaymentLines(), (QStringList{"150,00 Euro   am 15.03.2024,  Überw.",
                                           "76,00 Euro   am 15.03.2024,  Scheck"}));
}

TEST_F(PaymentTest, ReminderFeeIsBookedAfterTheInvoiceGroups)
{
    Invoice({Line("01.03.2024", "1", "100")}, "Brutto");
    SetFee1("5,00000");
    ASSERT_EQ(FormatFloat("0.00", ExactOpenAmount(state)), "105,00");

    const auto bookings = Pay(Entry(105));
    ASSERT_EQ(bookings.size(), 2u);
    EXPECT_EQ(FormatFloat("0.00", bookings[0].gross), "100,00");
    EXPECT_EQ(bookings[0].customer, "Meier");
    EXPECT_EQ(bookings[1].currency + journal::FormatBookingLine(bookings[1]),
              "E15.03.2024\t0012/007\tMeier (Mahngebühr)\t5,00\t0,0\t5,00\tB\t");
    EXPECT_EQ(state.openAmount, "0,00");
    EXPECT_EQ(PaymentLines().size(), 1);
}

TEST_F(PaymentTest, PartlyPaidFeeWritesOffTheRest)
{
    Invoice({Line("01.03.2024", "1", "100")}, "Brutto");
    SetFee1("5,00000");
    const auto bookings = Pay(Entry(103));
    ASSERT_EQ(bookings.size(), 2u);
    EXPECT_EQ(FormatFloat("0.00", bookings[0].gross), "100,00");
    EXPECT_EQ(FormatFloat("0.00", bookings[1].gross), "3,00");
    EXPECT_EQ(bookings[1].customer, QString::fromUtf8("Meier (Mahngebühr)"));
    EXPECT_EQ(PaymentLines(), (QStringList{"103,00 Euro   am 15.03.2024,  bar",
                                           "2,00 Euro  ausgebucht am 15.03.2024"}));
    EXPECT_EQ(state.openAmountExact, "0,00000");
}

TEST_F(PaymentTest, FeeShareOfTenCentsOrLessIsBookedWithoutWriteOff)
{
    Invoice({Line("01.03.2024", "1", "100")}, "Brutto");
    SetFee1("5,00000");
    const auto bookings = Pay(Entry(100.05L));
    ASSERT_EQ(bookings.size(), 2u);
    EXPECT_EQ(FormatFloat("0.00", bookings[1].gross), "0,05");
    EXPECT_EQ(bookings[1].customer, QString::fromUtf8("Meier (Mahngebühr)"));
    EXPECT_EQ(state.openAmount, "4,95");
    EXPECT_EQ(PaymentLines().size(), 1);
}

TEST_F(PaymentTest, DiscountWithWriteOffBooksOnlyThePayment)
{
    Invoice({Line("01.03.2024", "1", "100")}, "Brutto");
    const auto bookings = Pay(Entry(98, true));
    ASSERT_EQ(bookings.size(), 1u);
    EXPECT_EQ(FormatFloat("0.00", bookings[0].gross), "98,00");
    EXPECT_EQ(PaymentLines().last(), "2,00 Euro  ausgebucht am 15.03.2024");
    EXPECT_EQ(state.openAmount, "0,00");
}

// A bare write-off touches neither the invoice's sums nor its lines: no summation runs, so
// neither changed options nor an undated line on an old card stop it.
TEST_F(PaymentTest, WriteOffWithoutAmountBooksNothingAndLeavesTheInvoice)
{
    Invoice({Line("01.03.2024", "1", "20")}, "Brutto");
    const QStringList printed = state.summary;
    settings.currentVat = {16, 7, 0};
    rows.insert(rows.begin(), Line("", "1", "5"));
    const auto bookings = Pay(Entry(0, true));
    EXPECT_TRUE(bookings.empty());
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(state.summary.mid(0, kFixedSummaryLines), printed);
    EXPECT_EQ(PaymentLines(), QStringList{"20,00 Euro  ausgebucht am 15.03.2024"});
    EXPECT_EQ(state.openAmount, "0,00");
}

// A frozen invoice is paid as its stored summary stands, with the rates it was printed with:
// after a change of rates, and on a card whose summary was written before equal rates were
// merged (its two 7 % groups each keep their own lines).
TEST_F(PaymentTest, FrozenInvoiceIsSplitAsItsSummaryStands)
{
    const QStringList fixedTail{"- - -", "- - -", "- - -", "- - -"};
    const struct {
        const char* name;
        bool ratesChanged;  // old rates 16/5/0 before 2021 instead of 16/7/0 before 2008
        Rows lines;
        QStringList summary;  // lines 0..15
        long double paid;
        QStringList booked;  // rate and gross per booking
    } cases[] = {
        {"7 % in June 2020, read after the old rates became 16/5 % from 2021",
         true,
         {Line("01.06.2020", "2", "100")},
         {"19,0", "0,00000", "7,0", "7,00000", "0,0", "0,00000", "16,0", "0,00000", "5,0",
          "0,00000", "0,0", "0,00000", "100,00", "7,00", "107,00", "209,27"},
         107,
         {"7,0 107,00"}},
        {"old and current 7 % stored apart",
         false,
         {Line("15.12.2007", "2", "100"), Line("", "1", "100"), Line("10.01.2024", "2", "100")},
         {"19,0", "0,00000", "7,0", "7,00000", "0,0", "0,00000", "16,0", "16,00000", "7,0",
          "7,00000", "0,0", "0,00000", "300,00", "30,00", "330,00", "645,42"},
         150,
         {"7,0 107,00", "16,0 43,00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rows = c.lines;
        state = CardState{};
        ASSERT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier", "Euro"), state));
        state.invoiceDate = "05.02.2024";
        state.summary = c.summary + fixedTail;
        state.openAmountExact = state.summary[kSumInvoiceGross];
        settings = CardSettings{};
        if (c.ratesChanged) {
            settings.oldVat = {16, 5, 0};
            settings.keyDate = QDate(2021, 1, 1);
        }

        QStringList booked;
        for (const PendingBooking& b : Pay(Entry(c.paid)))
            booked << b.rate + " " + FormatFloat("0.00", b.gross);
        EXPECT_EQ(booked, c.booked);
        EXPECT_EQ(state.summary.mid(0, kSumFee1), c.summary);
    }
}

TEST_F(PaymentTest, OpenAmountBelowACentCountsAsPaid)
{
    state.openAmountExact = "0,00400";
    EXPECT_EQ(double(ExactOpenAmount(state)), 0.0);
    state.openAmountExact = "- - -";
    EXPECT_EQ(double(ExactOpenAmount(state)), 0.0);
}

// Net 10,004 in two groups: each group gross rounds down, the invoice gross does not.
TEST_F(PaymentTest, RoundingLeftoverOfAFullPaymentIsBooked)
{
    Invoice({Line("01.03.2024", "1", "10,004"), Line("", "2", "10,004")});
    ASSERT_EQ(state.openAmount, "22,61");
    PaymentSplit split;
    pending.clear();
    ASSERT_TRUE(ApplyPayment(rows, state, settings, port, Entry(22.61L), pending, &split));
    EXPECT_EQ(FormatFloat("0.00", split.groupGross[0] + split.groupGross[1]), "22,60");
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(FormatFloat("0.00", pending[0].gross), "10,70");
    EXPECT_EQ(FormatFloat("0.00", pending[1].gross), "11,91");
    EXPECT_EQ(state.openAmount, "0,00");
}

TEST(SplitOverGroups, LeftoverGoesToTheLastGroupPaidOrTheGroupThePaymentEndsIn)
{
    const std::array<long double, 6> gross{11.90L, 10.70L, 0, 0, 0, 0};
    auto parts = SplitOverGroups(gross, 0, 5);
    EXPECT_EQ(FormatFloat("0.00", parts[1]), "5,00");
    EXPECT_EQ(double(parts[0]), 0.0);
    // Everything covered before: the last cent lands in group 1, where a full payment ends.
    parts = SplitOverGroups(gross, 22.60L, 0.01L);
    EXPECT_EQ(FormatFloat("0.00", parts[0]), "0,01");
    EXPECT_EQ(double(parts[1]), 0.0);
    // A credit group neither absorbs nor releases money.
    parts = SplitOverGroups({-5, 20, 0, 0, 0, 0}, 0, 15);
    EXPECT_EQ(FormatFloat("0.00", parts[1]), "15,00");
    EXPECT_EQ(double(parts[0]), 0.0);
}

// Gross-mode cards of typical prices at 19 % and 7 %, current and old rates: every
// payment books exactly what was paid, never a 0,00 booking, and a full payment leaves 0,00.
TEST_F(PaymentTest, GeneratedCardsBookEveryCentPaid)
{
    const QStringList prices{"12,99", "7,49", "0,99", "3,33", "19,99", "0,01", "1,05", "45,55"};
    const QStringList codes{"1", "2", "2", "1", "3"};
    const QStringList days{"01.03.2024", "15.12.2007"};
    std::mt19937 random(4711);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    int checkedCards = 0;
    for (int card = 0; card < 600; ++card) {
        Rows lines;
        const int count = 1 + pick(6);
        for (int i = 0; i < count; ++i)
            lines.push_back(Line(i == 0 || pick(3) == 0 ? days[pick(2)] : QString(),
                                 codes[pick(codes.size())], prices[pick(prices.size())]));
        pending.clear();
        state = CardState{};
        Invoice(lines, "Brutto");
        const long double invoice = RoundCents(ExactOpenAmount(state));
        if (invoice <= 0)
            continue;
        ++checkedCards;
        SCOPED_TRACE(QString("card %1, invoice %2").arg(card).arg(state.openAmount).toStdString());

        auto expectBooked = [&](const std::vector<PendingBooking>& bookings, long double paid) {
            EXPECT_EQ(FormatFloat("0.00", Sum(bookings)), FormatFloat("0.00", paid));
            for (const auto& b : bookings)
                EXPECT_NE(FormatFloat("0.00", b.gross), "0,00");
        };
        switch (card % 3) {
            case 0:  // in full
                expectBooked(Pay(Entry(invoice)), invoice);
                break;
            case 1: {  // in two parts
                const long double first = RoundCents(invoice * (pick(99) + 1) / 100);
                expectBooked(Pay(Entry(first)), first);
                const long double second = RoundCents(ExactOpenAmount(state));
                expectBooked(Pay(Entry(second)), second);
                break;
            }
            default: {  // with a discount, the rest written off
                const long double discounted = RoundCents(invoice * (1 - 0.03L));
                expectBooked(Pay(Entry(discounted, true)), discounted);
                break;
            }
        }
        EXPECT_EQ(state.openAmount, "0,00");
    }
    EXPECT_GT(checkedCards, 500);
}

#include <gtest/gtest.h>

#include <functional>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "cards/CardSums.h"
#include "cards/TBezDlgForm.h"

using namespace card;

namespace {

struct TBezDlgFormTest : ::testing::Test {
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    MemorySettings options;
    ScriptedUserPort port;
    QDate lastDate;
    CardState state;

    void SetUp() override
    {
        ASSERT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier", "Euro"), state));
        PadSummary(state.summary);
        state.invoiceGross = "100,00";
        state.invoiceDate = "01.03.2024";
        SetOpen("100,00000");
    }
    void SetOpen(const QString& exact) { state.openAmountExact = exact; }
    void Type(TBezDlgForm& form, int id, const QString& keys)
    {
        for (QChar c : keys)
            form.KeyPress(id, c);
    }
    void Retype(TBezDlgForm& form, int id, const QString& keys)
    {
        form.Field(id).SelectAll();
        Type(form, id, keys);
    }
};

}  // namespace

TEST_F(TBezDlgFormTest, ShowsTheCardAndPrefillsTheOpenAmount)
{
    state.reminder1 = true;
    state.summary[kSumFee1] = "5,00000";
    state.summary[kSumDate1] = "10.03.2024";
    state.summary << "20,00 Euro   am 05.03.2024,  bar";
    SetOpen("85,00000");
    TBezDlgForm form(state, clock, options, &lastDate);
    EXPECT_EQ(form.Caption(), "Zahlung / Buchung");
    EXPECT_EQ(form.InvoiceSumText(), "Rechnungssumme: 100,00 Euro  (01.03.2024)");
    EXPECT_EQ(form.FeeText(1), "5,00");
    EXPECT_EQ(form.FeeDateText(1), "10.03.2024");
    EXPECT_EQ(form.FeeText(2), "- - -");
    EXPECT_EQ(form.FeeDateText(2), "- - -");
    EXPECT_EQ(form.EarlierPayments(), QStringList{"20,00 Euro   am 05.03.2024,  bar"});
    EXPECT_EQ(form.OpenText(), "85,00");
    EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "85,00");
    EXPECT_EQ(form.Text(TBezDlgForm::kDate), "15.03.2024");
    EXPECT_EQ(form.Text(TBezDlgForm::kDiscount), "0,0");
    EXPECT_EQ(form.Kind(), PaymentKind::Cash);
    EXPECT_FALSE(form.IsPaid());
    EXPECT_TRUE(form.CancelVisible());
    EXPECT_TRUE(form.WriteOffOffered());
}

TEST_F(TBezDlgFormTest, DateIsTodayForCashElseTheLastPaymentDate)
{
    lastDate = QDate(2024, 2, 1);
    {
        TBezDlgForm form(state, clock, options, &lastDate);
        EXPECT_EQ(form.Text(TBezDlgForm::kDate), "15.03.2024");
    }
    options.values[{"ZahlungsModus", "ZahlMod"}] = "ueberw";
    TBezDlgForm form(state, clock, options, &lastDate);
    EXPECT_EQ(form.Kind(), PaymentKind::Transfer);
    EXPECT_EQ(form.Text(TBezDlgForm::kDate), "01.02.2024");
    lastDate = QDate();
    TBezDlgForm fresh(state, clock, options, &lastDate);
    EXPECT_EQ(fresh.Text(TBezDlgForm::kDate), "15.03.2024");
}

TEST_F(TBezDlgFormTest, PaidCardIsReadOnlyAndOkChangesNothing)
{
    SetOpen("0,00400");
    TBezDlgForm form(state, clock, options, &lastDate);
    EXPECT_TRUE(form.IsPaid());
    EXPECT_FALSE(form.CancelVisible());
    EXPECT_EQ(form.StatusText(), "Rechnung ist bezahlt!");
    EXPECT_FALSE(form.KeyPress(TBezDlgForm::kAmount, '5'));
    EXPECT_TRUE(form.Ok(port));
    EXPECT_FALSE(form.HasEntry());
    EXPECT_TRUE(port.messages.isEmpty());

    state.summary << "20,00 Euro  ausgebucht am 05.03.2024";
    SetOpen("0,00000");
    TBezDlgForm writtenOff(state, clock, options, &lastDate);
    EXPECT_EQ(writtenOff.StatusText(), "Rechnung bezahlt, (Rest-) Betrag wurde ausgebucht!");
}

TEST_F(TBezDlgFormTest, AmountKeysAndLeaving)
{
    TBezDlgForm form(state, clock, options, &lastDate);
    const int a = TBezDlgForm::kAmount;
    form.Field(a).SelectAll();
    EXPECT_FALSE(form.KeyPress(a, 'x'));
    EXPECT_TRUE(form.KeyPress(a, '1'));
    EXPECT_TRUE(form.KeyPress(a, '.'));
    EXPECT_EQ(form.Text(a), "1,");
    EXPECT_FALSE(form.KeyPress(a, ','));
    EXPECT_TRUE(form.KeyPress(a, '5'));
    EXPECT_TRUE(form.KeyPress(a, kKeyBackspace));
    EXPECT_EQ(form.Text(a), "1,");
    // "999999,99" is the longest amount.
    Retype(form, a, "999999");
    EXPECT_FALSE(form.KeyPress(a, '9'));
    EXPECT_EQ(form.Text(a), "999999");
    Retype(form, a, "");
    form.Field(a).SelectAll();
    form.KeyPress(a, kKeyBackspace);
    form.Leave(a);
    EXPECT_EQ(form.Text(a), "0,00");
    Retype(form, a, "12,5");
    form.Leave(a);
    EXPECT_EQ(form.Text(a), "12,50");
}

TEST_F(TBezDlgFormTest, LiveRestAndPercentage)
{
    TBezDlgForm form(state, clock, options, &lastDate);
    const int a = TBezDlgForm::kAmount;
    Retype(form, a, "40");
    EXPECT_EQ(form.EchoText(), "40,00");
    EXPECT_EQ(form.RestText(), "60,00");
    EXPECT_EQ(form.PercentText(), "(= 60,0 % von 100,00)");
    Retype(form, a, "100");
    EXPECT_EQ(form.RestText(), "0,00");
    EXPECT_EQ(form.PercentText(), "");
    Retype(form, a, "100,01");
    EXPECT_EQ(form.RestText(), "neg.");
    EXPECT_EQ(form.PercentText(), "");
}

TEST_F(TBezDlgFormTest, DiscountKeysAndComputation)
{
    options.values[{"Skonto", "Skonto"}] = "3,0";
    TBezDlgForm form(state, clock, options, &lastDate);
    const int d = TBezDlgForm::kDiscount;
    EXPECT_EQ(form.Text(d), "3,0");
    Retype(form, d, "2");
    EXPECT_FALSE(form.KeyPress(d, 'a'));
    EXPECT_TRUE(form.KeyPress(d, '.'));
    EXPECT_FALSE(form.KeyPress(d, ','));
    EXPECT_TRUE(form.KeyPress(d, '5'));
    EXPECT_EQ(form.Text(d), "2,5");
    Retype(form, d, "99,9");
    EXPECT_EQ(form.Text(d), "99,9");
    Retype(form, d, "100");
    EXPECT_EQ(form.Text(d), "10");
    Retype(form, d, "2");
    form.KeyPress(d, ' ');  // a blank computes
    EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "98,00");
    EXPECT_EQ(form.RestText(), "2,00");

    form.SetWriteOff(true);
    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(form.Ok(port));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, "Rest (2,00 Euro) wirklich ausbuchen?");
    EXPECT_EQ(port.messages[0].buttons, Buttons::YesNo);
    port.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(form.Ok(port));
    EXPECT_EQ(options.Get("Skonto", "Skonto"), "2,0");
    EXPECT_EQ(double(form.Entry().amount), 98.0);
    EXPECT_EQ(double(form.Entry().rest), 2.0);
    EXPECT_TRUE(form.Entry().writeOff);

    // A discount that is no number counts as 0.
    form.SetText(d, ",");
    form.ComputeDiscount();
    EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "100,00");
}

TEST_F(TBezDlgFormTest, OkRefusesBadDateAndTooLargeAmount)
{
    TBezDlgForm form(state, clock, options, &lastDate);
    form.SetText(TBezDlgForm::kDate, "31.02.2024");
    EXPECT_FALSE(form.Ok(port));
    EXPECT_EQ(port.LastText(), "Fehler: Datum ungültig!");
    EXPECT_EQ(form.TakeFocusRequest(), int(TBezDlgForm::kDate));
    form.SetText(TBezDlgForm::kDate, "");
    form.KeyPress(TBezDlgForm::kDate, 'x');
    form.PutToday();
    EXPECT_EQ(form.Text(TBezDlgForm::kDate), "15.03.2024");

    form.SetText(TBezDlgForm::kAmount, "100,01");
    EXPECT_FALSE(form.Ok(port));
    EXPECT_EQ(port.LastText(), "Fehler: Zahlungsbetrag ist größer als offener Betrag!");
    EXPECT_FALSE(form.HasEntry());
    EXPECT_FALSE(lastDate.isValid());

    form.SetText(TBezDlgForm::kAmount, "100");
    form.SetText(TBezDlgForm::kDate, "1.3.24");
    ASSERT_TRUE(form.Ok(port));
    EXPECT_EQ(double(form.Entry().newOpen), 0.0);
    EXPECT_EQ(form.Entry().date, QDate(2024, 3, 1));
    EXPECT_EQ(lastDate, QDate(2024, 3, 1));
    EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "100,00");
}

TEST_F(TBezDlgFormTest, ChoosingAKindStoresItAtOnce)
{
    TBezDlgForm form(state, clock, options, &lastDate);
    form.SetKind(PaymentKind::Cheque);
    EXPECT_EQ(options.Get("ZahlungsModus", "ZahlMod"), "scheck");
    form.SetKind(PaymentKind::Transfer);
    EXPECT_EQ(options.Get("ZahlungsModus", "ZahlMod"), "ueberw");
    form.SetKind(PaymentKind::Cash);
    EXPECT_EQ(options.Get("ZahlungsModus", "ZahlMod"), "bar");
}

namespace {
struct ScriptedRunner : PaymentDialogRunner {
    std::function<bool(TBezDlgForm&)> script;
    bool Run(TBezDlgForm& form) override { return script(form); }
};
}  // namespace

TEST_F(TBezDlgFormTest, EnterPaymentAppliesOnlyAConfirmedDialog)
{
    CardSettings settings;
    Rows rows(1);
    rows[0].SetCell(kColDate, "01.03.2024");
    rows[0].SetCell(kColVat, "1");
    rows[0].SetCell(kColAmount, "119");
    state.amountMode = "Brutto";
    ASSERT_TRUE(SumCard(rows, state, settings, port).ok);
    SetOpen("119,00000");
    std::vector<PendingBooking> pending;
    ScriptedRunner runner;
    runner.script = [](TBezDlgForm&) { return false; };
    EXPECT_FALSE(
        EnterPayment(runner, rows, state, settings, port, clock, options, &lastDate, pending));
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(state.openAmountExact, "119,00000");

    bool changed = false;
    runner.script = [&](TBezDlgForm& form) {
        form.SetText(TBezDlgForm::kAmount, "50");
        return form.Ok(port);
    };
    EXPECT_TRUE(EnterPayment(runner, rows, state, settings, port, clock, options, &lastDate,
                             pending, &changed));
    EXPECT_TRUE(changed);
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].currency + journal::FormatBookingLine(pending[0]),
              "E15.03.2024\t0012/007\tMeier\t42,02\t19,0\t50,00\tB\t");
    EXPECT_EQ(state.openAmount, "69,00");

    // Paid in full, then the dialog again: OK closes without touching the card.
    runner.script = [&](TBezDlgForm& form) {
        form.SetText(TBezDlgForm::kAmount, "69");
        return form.Ok(port);
    };
    EXPECT_TRUE(EnterPayment(runner, rows, state, settings, port, clock, options, &lastDate,
                             pending, &changed));
    runner.script = [&](TBezDlgForm& form) { return form.Ok(port); };
    const QStringList summary = state.summary;
    EXPECT_TRUE(EnterPayment(runner, rows, state, settings, port, clock, options, &lastDate,
                             pending, &changed));
    EXPECT_FALSE(changed);
    EXPECT_EQ(state.summary, summary);
}

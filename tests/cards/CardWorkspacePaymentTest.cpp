#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "cards/CardWorkspace.h"
#include "cards/TBezDlgForm.h"
#include "common/CodePage.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

using namespace card;

namespace {

struct Runner : PaymentDialogRunner {
    std::function<bool(TBezDlgForm&)> script;
    bool Run(TBezDlgForm& form) override { return script(form); }
};

struct CardWorkspacePayment : ::testing::Test {
    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid customers{port, env};
    TSGrid cards{port, env};
    MemorySettings options;
    std::unique_ptr<CardWorkspace> ws;

    void SetUp() override
    {
        testfiles::WriteLines(
            dir.filePath("KUNDE.DBF"),
            {QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t005\t\t")});
        customers.SetColCount(11);
        customers.LoadTable(dir.filePath("KUNDE.DBF"));
        ws = std::make_unique<CardWorkspace>(port, clock, customers, dir.filePath("KUNDE.DBF"),
                                             cards, dir.path(), options);
        ws->SetSettings(CardSettings{});
    }
    // Card 5, invoiced on 5 March 2024 with the open amount given.
    void InvoicedCard(const QStringList& lines, const QString& open)
    {
        QStringList header = NewCardHeader("0012", 5, "Meier", "Euro");
        header[kHdrInvoiceDate] = "05.03.2024";
        header[kHdrOpenAmount] = open;
        testfiles::WriteLines(dir.filePath(FileName("0012", 5)),
                              lines + QStringList{"---KOPF---"} + header);
        ASSERT_TRUE(ws->LoadCardByKey("0012/005"));
    }
    // "Zahlung" with the amount typed over the proposal, confirmed.
    void Pay(const QString& amount)
    {
        Runner runner;
        runner.script = [&](TBezDlgForm& form) {
            form.SetText(TBezDlgForm::kAmount, amount);
            return form.Ok(port);
        };
        ASSERT_TRUE(ws->EnterPayment(runner));
    }
    QStringList Lines(const QString& name) const
    {
        QStringList lines;
        cp1252::ReadLines(dir.filePath(name), lines);
        return lines;
    }
};

}  // namespace

// The "Zahlung" button on an invoiced card of 7 % and 19 % lines, saved: the bookings reach
// the month's income journal, the balances and the dunning register.
TEST_F(CardWorkspacePayment, FullPaymentIsBookedOnSave)
{
    InvoicedCard(
        {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t", "\tFutter\t2\t100,00000\t\t\t\t\t"},
        "226,00000");
    Runner runner;
    runner.script = [&](TBezDlgForm& form) {
        EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "226,00");
        return form.Ok(port);
    };
    ASSERT_TRUE(ws->EnterPayment(runner));
    EXPECT_TRUE(ws->Form().IsModified());
    ASSERT_TRUE(ws->SaveRecordCard());

    const QStringList journal = Lines("Z32024.zaE");
    ASSERT_EQ(journal.size(), 2);
    EXPECT_TRUE(journal[0].endsWith("\t100,00\t7,0\t107,00\tB\t")) << journal[0].toStdString();
    EXPECT_TRUE(journal[1].endsWith("\t100,00\t19,0\t119,00\tB\t")) << journal[1].toStdString();
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "226");
    EXPECT_EQ(Lines("ST_MAHN.DBF").last(), "-0012/005\t");
    EXPECT_EQ(Lines("K0012005.KAR").last(), "226,00 Euro   am 15.03.2024,  bar");
}

// A payment entered and saved in this session counts for the currency switch like one read
// from the file: what is still open is converted, not the whole invoice.
TEST_F(CardWorkspacePayment, CurrencySwitchAfterAPaymentConvertsWhatIsOpen)
{
    InvoicedCard({"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"}, "119,00000");
    Pay("50");
    ASSERT_TRUE(ws->SaveRecordCard());
    ASSERT_EQ(ws->Form().State().openAmount, "69,00");

    ASSERT_TRUE(ws->Form().SwitchCurrency());
    EXPECT_EQ(ws->Form().State().invoiceGross, "232,74");
    EXPECT_EQ(ws->Form().State().openAmount, "134,95");
    ASSERT_TRUE(ws->SaveRecordCard());
    const QStringList card = Lines("K0012005.KAR");
    EXPECT_EQ(card.value(card.indexOf("---KOPF---") + 1 + kHdrOpenAmount), "134,95227");
    // The register counts in the system currency.
    EXPECT_EQ(recordline::Cell(Lines("ST_MAHN.DBF").last().mid(1), recordline::kDunOpen),
              "69,00000");
}

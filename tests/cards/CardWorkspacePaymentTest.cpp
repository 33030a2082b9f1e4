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
#include "table/TSGrid.h"

using namespace card;

namespace {

struct Runner : PaymentDialogRunner {
    std::function<bool(TBezDlgForm&)> script;
    bool Run(TBezDlgForm& form) override { return script(form); }
};

}  // namespace

// The "Zahlung" button on an invoiced card of 7 % and 19 % lines, saved: the bookings reach
// the month's income journal, the balances and the dunning register.
TEST(CardWorkspacePayment, FullPaymentIsBookedOnSave)
{
    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    auto env = std::make_shared<TableEnvironment>();
    TSGrid customers{port, env};
    TSGrid cards{port, env};
    MemorySettings options;
    testfiles::WriteLines(
        dir.filePath("KUNDE.DBF"),
        {QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t005\t\t")});
    customers.SetColCount(11);
    customers.LoadTable(dir.filePath("KUNDE.DBF"));
    CardWorkspace ws(port, clock, customers, dir.filePath("KUNDE.DBF"), cards, dir.path(), options);
    ws.SetSettings(CardSettings{});

    QStringList header = NewCardHeader("0012", 5, "Meier", "Euro");
    header[kHdrInvoiceDate] = "05.03.2024";
    header[kHdrOpenAmount] = "226,00000";
    testfiles::WriteLines(dir.filePath(FileName("0012", 5)),
                          QStringList{"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t",
                                      "\tFutter\t2\t100,00000\t\t\t\t\t", "---KOPF---"} +
                              header);
    ASSERT_TRUE(ws.LoadCardByKey("0012/005"));

    Runner runner;
    runner.script = [&](TBezDlgForm& form) {
        EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "226,00");
        return form.Ok(port);
    };
    ASSERT_TRUE(ws.EnterPayment(runner));
    EXPECT_TRUE(ws.Form().IsModified());
    ASSERT_TRUE(ws.SaveRecordCard());

    QStringList journal;
    cp1252::ReadLines(dir.filePath("Z32024.zaE"), journal);
    ASSERT_EQ(journal.size(), 2);
    EXPECT_TRUE(journal[0].endsWith("\t100,00\t7,0\t107,00\tB\t")) << journal[0].toStdString();
    EXPECT_TRUE(journal[1].endsWith("\t100,00\t19,0\t119,00\tB\t")) << journal[1].toStdString();
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "226");
    QStringList dunning;
    cp1252::ReadLines(dir.filePath("ST_MAHN.DBF"), dunning);
    EXPECT_EQ(dunning.last(), "-0012/005\t");
    QStringList card;
    cp1252::ReadLines(dir.filePath("K0012005.KAR"), card);
    EXPECT_EQ(card.last(), "226,00 Euro   am 15.03.2024,  bar");
}

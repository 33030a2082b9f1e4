#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "cards/CardWorkspace.h"
#include "cards/TBezDlgForm.h"
#include "common/CodePage.h"
#include "masterdata/BookingForm.h"
#include "table/TSGrid.h"

using namespace card;

namespace {

const QString kCustomer =
    QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t%1\t\t");

struct CardWorkspaceTest : ::testing::Test {
    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid customers{port, env};
    TSGrid cards{port, env};
    MemorySettings options;
    std::unique_ptr<CardWorkspace> ws;

    QString Path(const QString& name) const { return dir.filePath(name); }

    void SetUp() override { Customers({kCustomer.arg("005")}); }

    void Customers(const QStringList& lines)
    {
        testfiles::WriteLines(Path("KUNDE.DBF"), lines);
        customers.SetColCount(11);
        customers.LoadTable(Path("KUNDE.DBF"));
        ws = std::make_unique<CardWorkspace>(port, clock, customers, Path("KUNDE.DBF"), cards,
                                             dir.path(), options);
        ws->SetSettings(CardSettings{});
    }

    // A card file with one dated line and the header of a new card, changed by `edit`.
    void WriteCard(int n, const std::function<void(QStringList&)>& edit = {},
                   const QStringList& rows = {"01.02.2024\tImpfung\t1\t10,00000\t\t\t\t\t"})
    {
        QStringList header = NewCardHeader("0012", n, "Meier", "Euro");
        if (edit)
            edit(header);
        testfiles::WriteLines(Path(FileName("0012", n)), rows + QStringList{"---KOPF---"} + header);
    }
    static void Invoiced(QStringList& h) { h[kHdrInvoiceDate] = "05.02.2024"; }
    QStringList Lines(const QString& name) const
    {
        QStringList lines;
        cp1252::ReadLines(Path(name), lines);
        return lines;
    }
    QString StoredCardNumber() const
    {
        QStringList lines = Lines("KUNDE.DBF");
        return lines.value(0).section('\t', 8, 8);
    }
};

}  // namespace

TEST_F(CardWorkspaceTest, CardsMadeBehindTheCustomerTablesBackArePickedUp)
{
    for (int n : {5, 6, 7})
        WriteCard(n);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(ws->CardNumber(), 7);
    EXPECT_EQ(StoredCardNumber(), "007");
    EXPECT_EQ(ws->Form().State().key, "0012/007");
    EXPECT_EQ(ws->Form().State().customerText, QString::fromUtf8("Müller Anna, 12345 Dorf"));
    EXPECT_EQ(ws->Form().GetRows()[0].Cell(kColText), "Impfung");
}

TEST_F(CardWorkspaceTest, NewCustomerGetsCardOneWrittenByteExact)
{
    Customers({kCustomer.arg("000")});
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(ws->CardNumber(), 1);
    EXPECT_EQ(StoredCardNumber(), "001");
    QByteArray expected;
    for (int i = 0; i < 10; ++i)
        expected += "\t\t\t\t\t\t\t\t\t\r\n";
    expected +=
        "---KOPF---\r\n0012/001\r\nM\xFCller Anna, 12345 Dorf\r\n0012\r\n0,00\r\n0,00\r\n"
        "0,00\r\n0,00\r\n0,00\r\n- - -\r\n- - -\r\nEuro\r\nNetto\r\nFALSE\r\nFALSE\r\n";
    EXPECT_EQ(testfiles::ReadAll(Path("K0012001.KAR")), expected);
}

TEST_F(CardWorkspaceTest, InvoicedCurrentCardOpensTheNextOneButNotAfter999)
{
    WriteCard(5, Invoiced);
    CardSettings dm;
    dm.currency = "DM";
    ws->SetSettings(dm);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(ws->CardNumber(), 6);
    EXPECT_EQ(StoredCardNumber(), "006");
    EXPECT_FALSE(ws->Form().State().IsInvoiced());
    EXPECT_EQ(Lines("K0012006.KAR").mid(11),
              NewCardHeader("0012", 6, QString::fromUtf8("Müller Anna, 12345 Dorf"), "DM"));

    Customers({kCustomer.arg("999")});
    WriteCard(999, Invoiced);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(ws->CardNumber(), 999);
    EXPECT_TRUE(ws->Form().State().IsInvoiced());
}

TEST_F(CardWorkspaceTest, CopiedFileGetsItsOwnKey)
{
    Customers({kCustomer.arg("009")});
    WriteCard(9, [](QStringList& h) { h[0] = "0012/004"; });
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(ws->Form().State().key, "0012/009");
    EXPECT_EQ(Lines("K0012009.KAR").value(2), "0012/009");
}

TEST_F(CardWorkspaceTest, BrokenCurrentCardFallsBackAndIsKeptAside)
{
    testfiles::WriteAll(Path("K0012005.KAR.defekt"), "set aside before");
    WriteCard(4);
    WriteCard(5, [](QStringList& h) { h[3] = "kaputt"; });
    const QByteArray broken = testfiles::ReadAll(Path("K0012005.KAR"));
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(ws->CardNumber(), 4);
    EXPECT_EQ(port.LastText(), "Karteikarte K0012005.KAR defekt!");
    EXPECT_EQ(testfiles::ReadAll(Path("K0012005.KAR.defekt")), "set aside before");
    EXPECT_EQ(testfiles::ReadAll(Path("K0012005.KAR.2.defekt")), broken);
    EXPECT_EQ(StoredCardNumber(), "004");
}

TEST_F(CardWorkspaceTest, CustomerTableProblemsAreReported)
{
    Customers({"Meier\tAnna\t\tOrt\t12x4\t\t\t\t001\t\t"});
    EXPECT_FALSE(ws->LoadCurrentCard(0));
    EXPECT_EQ(port.LastText(), "Kundennummer defekt: 12x4");
    testfiles::WriteAll(Path("KUNDE.DBF"), "");
    customers.LoadTable(Path("KUNDE.DBF"));
    EXPECT_FALSE(ws->LoadCurrentCard(0));
    EXPECT_EQ(port.LastText(),
              "Kundenstamm ist leer!\r\rLegen Sie zuerst einen Kunden-Datensatz "
              "im\rArbeitsbereich Kundenstamm an.");
}

TEST_F(CardWorkspaceTest, BrowsingReportsGapsAndBrokenCards)
{
    Customers({kCustomer.arg("010")});
    WriteCard(1);
    WriteCard(10);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    int cleared = 0;
    ws->ClearStockCancellations = [&] { ++cleared; };
    ASSERT_TRUE(ws->PreviousCard());
    EXPECT_EQ(ws->CardNumber(), 1);
    EXPECT_EQ(port.LastText(), "8 Karteikarten fehlen!");
    EXPECT_EQ(cleared, 1);
    EXPECT_FALSE(ws->PreviousCard());  // nothing before card 1: it stays
    EXPECT_EQ(ws->CardNumber(), 1);

    WriteCard(2, [](QStringList& h) { h[kHdrTotalNet] = "kaputt"; });
    port.messages.clear();
    ASSERT_TRUE(ws->NextCard());
    EXPECT_EQ(ws->CardNumber(), 10);
    EXPECT_EQ(port.Texts(), QStringList({"Karteikarte: K0012002.KAR defekt!",
                                         QString::fromUtf8("7 nächste Karteikarten fehlen!")}));
    WriteCard(9);
    port.messages.clear();
    ASSERT_TRUE(ws->PreviousCard());
    EXPECT_EQ(ws->CardNumber(), 9);
    EXPECT_TRUE(port.messages.isEmpty());
    ASSERT_TRUE(ws->PreviousCard());
    EXPECT_EQ(port.Texts(),
              QStringList({"6 Karteikarten fehlen!", "Karteikarte K0012002.KAR defekt!"}));
    EXPECT_EQ(ws->CardNumber(), 1);
}

TEST_F(CardWorkspaceTest, LoadByKeyKeepsTheCardShownWhenItFails)
{
    WriteCard(3);
    WriteCard(5);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    ASSERT_TRUE(ws->LoadCardByKey("0012/003"));
    EXPECT_EQ(ws->CardNumber(), 3);
    EXPECT_FALSE(ws->LoadCardByKey("0012/004"));
    testfiles::WriteAll(Path("K0099001.KAR"), "");
    EXPECT_FALSE(ws->LoadCardByKey("0099/001"));
    EXPECT_EQ(ws->CardNumber(), 3);
    EXPECT_EQ(ws->CurrentFile(), Path("K0012003.KAR"));
}

TEST_F(CardWorkspaceTest, SavingAnOpenCardUpdatesTheInvoiceRegister)
{
    WriteCard(5);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    ws->Form().GetRows()[1].SetCell(kColText, QString(150, 'x'));
    ASSERT_TRUE(ws->SaveRecordCard());
    const QStringList card = Lines("K0012005.KAR");
    EXPECT_EQ(card[0], "01.02.2024\tImpfung\t1\t10,00000\t\t\t\t\t");
    EXPECT_EQ(card[1], "\t" + QString(100, 'x') + "\t\t\t\t\t\t\t");
    EXPECT_EQ(card.mid(card.indexOf("---KOPF---") + 1, 8),
              QStringList({"0012/005", QString::fromUtf8("Müller Anna, 12345 Dorf"), "0012",
                           "10,00", "1,90", "11,90", "0,00", "11,90"}));
    EXPECT_EQ(Lines("ST_RECHN.DBF"),
              QStringList({QString::fromUtf8(
                  "+0012/005\tMüller Anna, 12345 Dorf\t0012\t01.02.2024\t11,90\t\t")}));
    EXPECT_EQ(Lines("ST_MAHN.DBF"), QStringList({"-0012/005\t"}));

    // Closed as a quote: off the register.
    ws->Form().GetRows().back().SetCell(kColRemark, "Angebot am 15.03.2024");
    ASSERT_TRUE(ws->SaveRecordCard());
    EXPECT_EQ(Lines("ST_RECHN.DBF").last(), "-0012/005\t");
}

TEST_F(CardWorkspaceTest, SavingAnInvoicedCardBooksPendingPayments)
{
    Customers({kCustomer.arg("005")});
    WriteCard(5, [](QStringList& h) {
        Invoiced(h);
        h[kHdrOpenAmount] = "1,90000";
    });
    ASSERT_TRUE(ws->LoadCardByKey("0012/005"));
    ws->PendingBookings() = {
        {"E", QDate(2024, 2, 20), "0012/005", "Meier", 10, "19,0", 11.90L, "B"},
        {"E", QDate(2024, 3, 21), "0012/005", "Meier", 0, "0,0", 5, "S"}};
    ASSERT_TRUE(ws->SaveRecordCard());
    EXPECT_EQ(
        Lines("ST_MAHN.DBF"),
        QStringList({QString::fromUtf8(
            "+0012/005\tMüller Anna, 12345 Dorf\t0012\t05.02.2024\t11,90\t1,90000\t\t\t\t")}));
    EXPECT_EQ(Lines("ST_RECHN.DBF"), QStringList({"-0012/005\t"}));
    EXPECT_EQ(Lines("Z22024.zaE"),
              QStringList({"+20.02.2024\t0012/005\tMeier\t10,00\t19,0\t11,90\tB\t"}));
    EXPECT_EQ(Lines("Z32024.zaE").size(), 1);
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "11,9");
    EXPECT_EQ(options.Get("Kontostand", "Bank"), "5");
    EXPECT_TRUE(ws->PendingBookings().empty());

    // Paid in full: off the dunning register.
    ws->Form().State().openAmountExact = "0,00000";
    ASSERT_TRUE(ws->SaveRecordCard());
    EXPECT_EQ(Lines("ST_MAHN.DBF").last(), "-0012/005\t");
}

// A release takes back every payment a save booked (read from the file or entered in this
// session); one not saved yet was never booked and goes with its pending bookings.
TEST_F(CardWorkspaceTest, ReleaseTakesBackWhatWasBooked)
{
    WriteCard(5, [](QStringList& h) {
        Invoiced(h);
        h[kHdrOpenAmount] = "8,10000";
        for (int i = 0; i < 20; ++i)
            h << "- - -";
        h << "3,80 Euro   am 20.02.2024,  bar";
    });
    testfiles::WriteAll(Path("Z22024.ZAE"), "");
    options.values[{"Kontostand", "Kasse"}] = "100";
    ASSERT_TRUE(ws->LoadCardByKey("0012/005"));
    struct : PaymentDialogRunner {
        QString amount;
        UserPort* port = nullptr;
        bool Run(TBezDlgForm& form) override
        {
            form.SetText(TBezDlgForm::kAmount, amount);
            return form.Ok(*port);
        }
    } runner;
    runner.port = &port;
    runner.amount = "5";
    ASSERT_TRUE(ws->EnterPayment(runner));
    ASSERT_TRUE(ws->SaveRecordCard());
    ASSERT_EQ(options.Get("Kontostand", "Kasse"), "105");
    runner.amount = "1";
    ASSERT_TRUE(ws->EnterPayment(runner));

    // The release: back to an open card without payment lines.
    ws->SetReleasing(true);
    EXPECT_TRUE(ws->PendingBookings().empty());
    CardState& state = ws->Form().State();
    state.invoiceDate = state.openAmountExact = state.openAmount = "- - -";
    state.summary = state.summary.mid(0, kFixedSummaryLines);
    ASSERT_TRUE(ws->SaveRecordCard());
    EXPECT_EQ(Lines("Z22024.ZAE"), QStringList({"-0012/005\t"}));
    EXPECT_EQ(Lines("Z32024.zaE").last(), "-0012/005\t");
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "96,2");
    EXPECT_FALSE(ws->Releasing());
}

TEST_F(CardWorkspaceTest, LeavingAModifiedCard)
{
    WriteCard(5);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    ws->Form().GetRows()[0].SetCell(kColText, "Neu");
    ws->Form().SetModified(true);
    port.QueueAnswer(Answer::No);
    ws->NoteBsBooking();
    ASSERT_TRUE(ws->LeaveModifiedCard());
    EXPECT_EQ(ws->Form().GetRows()[0].Cell(kColText), "Impfung");
    EXPECT_EQ(port.LastText(), QString::fromUtf8("B/S-Preis-Änderungen nicht übernommen!\r\r"
                                                 "Kontrollieren und berichtigen Sie ggfs.\r"
                                                 "Abweichungen im Stapeldruck/Einahmen!"));
    ws->Form().GetRows()[0].SetCell(kColText, "Neu");
    ws->Form().SetModified(true);
    ASSERT_TRUE(ws->LeaveModifiedCard());  // Yes
    EXPECT_EQ(Lines("K0012005.KAR")[0].section('\t', 1, 1), "Neu");
    EXPECT_FALSE(ws->Form().IsModified());
}

TEST_F(CardWorkspaceTest, DmCardNotice)
{
    WriteCard(5, [](QStringList& h) { h[kHdrCurrency] = "DM"; });
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    EXPECT_EQ(port.LastText(), "Karteikarte in DM!");
}

TEST_F(CardWorkspaceTest, CashLineIsBookedAtOnce)
{
    WriteCard(5, {}, {"01.02.2024\tImpfung\t1\t10,00000\t\t\t\t\t", "\t\t2\t5,55555\t\t\t\t\t"});
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    ws->Form().SetCurrentCell(kColBS, 1);
    ASSERT_TRUE(ws->Form().KeyPress("", 0, EditorKey::Char('s')).bookingRequested);
    const QStringList proposal = ws->BsBookingProposal(1);
    EXPECT_EQ(proposal,
              QStringList({"01.02.2024", "0012/005", QString::fromUtf8("Müller Anna, 12345 Dorf"),
                           "5,56", "7,0", "", "S"}));
    QStringList fields = proposal;
    fields[5] = "5,95";
    BookingForm dialog(EditMode::Insert, PriceSettings{}, true, QDate());
    dialog.Load(fields);
    ws->ConfirmBsBooking(1, dialog);
    EXPECT_EQ(Lines("Z22024.zaE"),
              QStringList({QString::fromUtf8(
                  "+01.02.2024\t0012/005\tMüller Anna, 12345 Dorf\t5,56\t7,0\t5,95\tS\t")}));
    EXPECT_EQ(options.Get("Kontostand", "Bank"), "5,95");
    EXPECT_EQ(ws->Form().State().invoiceGross, "11,90");  // summed without the cheque line

    CardSettings noGobd;
    noGobd.gobdRestrictions = false;
    ws->SetSettings(noGobd);
    ws->ConfirmBsBooking(1, dialog);
    EXPECT_EQ(Lines("Z22024.zaE").last().section('\t', 1, 1), "0012/005*");

    ws->CancelBsBooking(1);
    EXPECT_EQ(ws->Form().GetRows()[1].Cell(kColBS), "");
}

TEST_F(CardWorkspaceTest, BrowsingOntoABrokenNewestCardShowsTheNextOne)
{
    Customers({kCustomer.arg("003")});
    WriteCard(2);
    WriteCard(3);
    ASSERT_TRUE(ws->LoadCurrentCard(0));
    ASSERT_TRUE(ws->PreviousCard());
    WriteCard(3, [](QStringList& h) { h[kHdrTotalGross] = "kaputt"; });
    port.messages.clear();
    ASSERT_TRUE(ws->NextCard());
    EXPECT_EQ(port.Texts(),
              QStringList({"Karteikarte K0012003.KAR fehlt.\rDie Folgekarte wird angezeigt!"}));
    EXPECT_EQ(ws->CardNumber(), 4);
    EXPECT_EQ(StoredCardNumber(), "004");
    EXPECT_EQ(ws->Form().State().key, "0012/004");
    EXPECT_TRUE(QFileInfo::exists(Path("K0012003.KAR.defekt"))) << "kept, not overwritten";
    EXPECT_FALSE(ws->Form().HasContent());
}

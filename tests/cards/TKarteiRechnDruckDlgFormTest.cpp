#include <gtest/gtest.h>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "cards/TKarteiRechnDruckDlgForm.h"

using namespace card;

namespace {

Row Dated(const QString& date, const QString& text = "Behandlung")
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColText, text);
    r.SetCell(kColVat, "1");
    r.SetCell(kColAmount, "10,00000");
    return r;
}

class TKarteiRechnDruckDlgFormTest : public ::testing::Test {
protected:
    TKarteiRechnDruckDlgFormTest() : form(port, clock, &options) {}

    // Today is 15.06.2024; the current open card 0012/007 with treatments in May.
    CardPrintSetup OpenCard()
    {
        CardPrintSetup s;
        s.cardNumber = 7;
        s.storedCurrentNumber = 7;
        s.invoiceDate = kUnset;
        s.openAmount = kUnset;
        s.rows = {Dated("02.05.2024"), Dated("10.05.2024"), Dated(""), Row()};
        return s;
    }
    CardPrintSetup InvoicedCard(const QString& open = "42,00")
    {
        CardPrintSetup s = OpenCard();
        s.cardNumber = 5;
        s.invoiceDate = "20.05.2024";
        s.openAmount = open;
        s.remindersAvailable = true;
        return s;
    }

    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 6, 15), QTime(9, 0))};
    MemorySettings options;
    TKarteiRechnDruckDlgForm form;
};

TEST_F(TKarteiRechnDruckDlgFormTest,
       CurrentOpenCardShowsClosingPanelWithDatesFromTodayAndLastTreatment)
{
    form.Open(OpenCard());
    EXPECT_EQ(form.Panel(), PrintPanel::Closing);
    EXPECT_EQ(form.Kind(), PrintKind::Invoice);
    EXPECT_TRUE(form.KindBox(PrintKind::Invoice).checked);
    EXPECT_FALSE(form.KindBox(PrintKind::Card).checked);
    EXPECT_TRUE(form.KindBox(PrintKind::Quote).enabled);
    EXPECT_FALSE(form.KindBox(PrintKind::Reminder1).visible);
    EXPECT_EQ(form.PrintDate().text, "15.06.2024");
    EXPECT_EQ(form.ToDate().text, "10.05.2024");
    EXPECT_TRUE(form.ToDate().visible);
    EXPECT_FALSE(form.PrintDate().readOnly);
    EXPECT_FALSE(form.ToDate().readOnly);
    EXPECT_EQ(form.PrintDateLabel(), "&Druckdatum der Rechnung");
}

TEST_F(TKarteiRechnDruckDlgFormTest, OtherCardsShowInvoiceOnlyPanel)
{
    // An older open card (the stored current number is higher).
    CardPrintSetup older = OpenCard();
    older.cardNumber = 6;
    form.Open(older);
    EXPECT_EQ(form.Panel(), PrintPanel::InvoiceOnly);
    EXPECT_FALSE(form.ToDate().visible);
    EXPECT_FALSE(form.KindBox(PrintKind::Reminder1).visible);
    EXPECT_EQ(form.PrintDate().text, "15.06.2024");

    form.Open(InvoicedCard());
    EXPECT_EQ(form.Panel(), PrintPanel::InvoiceOnly);
    EXPECT_EQ(form.PrintDate().text, "20.05.2024");
    EXPECT_TRUE(form.KindBox(PrintKind::Reminder1).visible);
    EXPECT_TRUE(form.KindBox(PrintKind::Reminder2).enabled);
    EXPECT_FALSE(form.KindBox(PrintKind::Quote).enabled);
    form.SelectKind(PrintKind::Quote);
    EXPECT_EQ(form.Kind(), PrintKind::Invoice);
}

TEST_F(TKarteiRechnDruckDlgFormTest, RemindersDisabledWhileNothingIsOpen)
{
    for (const QString& open : {QString("0,00"), kUnset}) {
        form.Open(InvoicedCard(open));
        EXPECT_TRUE(form.KindBox(PrintKind::Reminder1).visible) << open.toStdString();
        EXPECT_FALSE(form.KindBox(PrintKind::Reminder1).enabled) << open.toStdString();
        EXPECT_FALSE(form.KindBox(PrintKind::Reminder2).enabled);
        form.SelectKind(PrintKind::Receipt);
        EXPECT_FALSE(form.KindBox(PrintKind::Reminder1).enabled);
        form.SelectKind(PrintKind::Reminder1);
        EXPECT_EQ(form.Kind(), PrintKind::Receipt);
    }
}

TEST_F(TKarteiRechnDruckDlgFormTest, KindsSetLabelsDatesAndBoxes)
{
    form.Open(OpenCard());
    form.SelectKind(PrintKind::Receipt);
    EXPECT_TRUE(form.AsReceiptBox().checked);
    EXPECT_TRUE(form.ToDate().visible);
    EXPECT_EQ(form.PrintDateLabel(), "&Druckdatum der Quittung");

    form.SetNoPrint(true);
    form.SetPrintDateText("01.06.2024");
    form.SelectKind(PrintKind::Card);
    EXPECT_FALSE(form.AsReceiptBox().checked);
    EXPECT_FALSE(form.AsReceiptBox().enabled);
    EXPECT_FALSE(form.NoPrintBox().checked);
    EXPECT_FALSE(form.NoPrintBox().enabled);
    EXPECT_TRUE(form.PrintDate().readOnly);
    EXPECT_EQ(form.PrintDate().text, "15.06.2024");
    EXPECT_FALSE(form.ToDate().visible);
    EXPECT_EQ(form.PrintDateLabel(), "&Druckdatum der Karteikarte");
    EXPECT_TRUE(form.KindBox(PrintKind::Card).checked);
    EXPECT_FALSE(form.KindBox(PrintKind::Receipt).checked);

    form.SelectKind(PrintKind::Quote);
    EXPECT_FALSE(form.PrintDate().readOnly);
    EXPECT_FALSE(form.ToDate().visible);
    EXPECT_EQ(form.PrintDateLabel(), "&Druckdatum des Angebots");

    form.SelectKind(PrintKind::Invoice);
    EXPECT_TRUE(form.NoPrintBox().enabled);
    EXPECT_TRUE(form.AsReceiptBox().enabled);
    EXPECT_FALSE(form.AsReceiptBox().checked);
    EXPECT_TRUE(form.ToDate().visible);
}

TEST_F(TKarteiRechnDruckDlgFormTest, TypedDatesAreNormalisedAndFutureDatesRefused)
{
    form.Open(OpenCard());
    form.SetToDateText("1,6,2024");
    form.LeaveToDate();
    EXPECT_EQ(form.ToDate().text, "01.06.2024");
    form.SetPrintDateText("3,6,24");
    form.LeavePrintDate();
    EXPECT_EQ(form.PrintDate().text, "03.06.2024");
    EXPECT_TRUE(port.messages.isEmpty());

    form.SetPrintDateText("16.06.2024");
    form.LeavePrintDate();
    EXPECT_EQ(port.LastText(), "Druckdatum liegt in der Zukunft !");
    EXPECT_EQ(form.PrintDate().text, "");

    form.SetToDateText("31,2,2024");
    form.LeaveToDate();
    EXPECT_EQ(form.ToDate().text, "31.2.2024");  // no date: left for the OK check
}

TEST_F(TKarteiRechnDruckDlgFormTest, ConfirmChecksDatesInOrder)
{
    form.Open(OpenCard());
    form.SetPrintDateText("");
    EXPECT_FALSE(form.Confirm());
    EXPECT_EQ(port.LastText(), "Fehler: Druckdatum ungültig!");
    EXPECT_EQ(form.Focus(), TKarteiRechnDruckDlgForm::Field::PrintDate);

    form.SetPrintDateText("15.06.2024");
    form.SetToDateText("xx");
    EXPECT_FALSE(form.Confirm());
    EXPECT_EQ(port.LastText(), "Fehler: Datum des Behandlungszeitraums ungültig!");
    EXPECT_EQ(form.Focus(), TKarteiRechnDruckDlgForm::Field::ToDate);

    form.SetToDateText("10.05.2024");
    form.SetPrintDateText("20.06.2024");  // typed and confirmed without leaving the field
    EXPECT_FALSE(form.Confirm());
    EXPECT_EQ(port.LastText(), "Druckdatum liegt in der Zukunft!");
    EXPECT_EQ(form.PrintDate().text, "15.06.2024");

    // Print date before the last treatment (10.05.).
    form.SetPrintDateText("09.05.2024");
    EXPECT_FALSE(form.Confirm());
    EXPECT_EQ(port.LastText(), "Fehler: Druckdatum vor letzter Behandlung!");
    EXPECT_EQ(form.Focus(), TKarteiRechnDruckDlgForm::Field::PrintDate);
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Open);

    form.SetPrintDateText("10.05.2024");
    EXPECT_TRUE(form.Confirm());
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Ok);
    const CardPrintChoice choice = form.Choice();
    EXPECT_EQ(choice.kind, PrintKind::Invoice);
    EXPECT_EQ(choice.printDate, QDate(2024, 5, 10));
    EXPECT_EQ(choice.toDate, QDate(2024, 5, 10));
}

TEST_F(TKarteiRechnDruckDlgFormTest, ToDateLimitsTheReferenceLine)
{
    form.Open(OpenCard());
    // Treatments after the "to" date move to the next card, so they do not bound the date.
    form.SetToDateText("05.05.2024");
    form.SetPrintDateText("06.05.2024");
    EXPECT_TRUE(form.Confirm());

    form.Open(OpenCard());
    form.SetToDateText("01.05.2024");  // before every treatment
    EXPECT_FALSE(form.Confirm());
    EXPECT_EQ(port.LastText(), "Fehler: Umbruch-Datum falsch!");
    EXPECT_EQ(form.Focus(), TKarteiRechnDruckDlgForm::Field::ToDate);
}

TEST_F(TKarteiRechnDruckDlgFormTest, ReceiptSkipsTheToDateCheckButNotTheReference)
{
    form.Open(OpenCard());
    form.SelectKind(PrintKind::Receipt);
    form.SetToDateText("");
    EXPECT_TRUE(form.Confirm());
    EXPECT_TRUE(form.Choice().asReceipt);
    EXPECT_FALSE(form.Choice().toDate.isValid());
}

TEST_F(TKarteiRechnDruckDlgFormTest, CardPrintIgnoresTheHiddenToDate)
{
    form.Open(OpenCard());
    form.SetToDateText("01.05.2024");
    form.SelectKind(PrintKind::Card);
    EXPECT_TRUE(form.Confirm());
    EXPECT_EQ(form.Choice().kind, PrintKind::Card);
}

TEST_F(TKarteiRechnDruckDlgFormTest, ReminderTermChecks)
{
    // Invoiced 20.05., term 14 days: due 03.06.; today 15.06. is past it.
    form.Open(InvoicedCard());
    form.SelectKind(PrintKind::Reminder1);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Open);
    EXPECT_TRUE(form.PrintDate().readOnly);
    EXPECT_EQ(form.PrintDate().text, "15.06.2024");
    EXPECT_EQ(form.PrintDateLabel(), "&Druckdatum der Mahnung");
    EXPECT_FALSE(form.KindBox(PrintKind::Invoice).checked);
    EXPECT_FALSE(form.NoPrintBox().enabled);

    CardPrintSetup early = InvoicedCard();
    early.invoiceTermDays = 30;
    form.Open(early);
    port.QueueAnswer(Answer::No);
    form.SelectKind(PrintKind::Reminder1);
    EXPECT_EQ(port.LastText(),
              "Zahlungsziel noch nicht überschritten.\rSoll die 1.Mahnung gedruckt werden?");
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Cancelled);

    form.Open(early);
    port.QueueAnswer(Answer::Yes);
    form.SelectKind(PrintKind::Reminder1);
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Ok);
    EXPECT_EQ(form.Choice().kind, PrintKind::Reminder1);

    form.Open(InvoicedCard());
    port.QueueAnswer(Answer::No);
    form.SelectKind(PrintKind::Reminder2);
    EXPECT_EQ(port.LastText(),
              "1.Mahnung noch nicht gedruckt!\rSoll die 2.Mahnung gedruckt werden?");
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Cancelled);

    CardPrintSetup second = InvoicedCard();
    second.reminder1Date = "05.06.2024";  // due 03.06. + 14 days = 17.06.
    form.Open(second);
    port.QueueAnswer(Answer::Yes);
    form.SelectKind(PrintKind::Reminder2);
    EXPECT_EQ(port.LastText(),
              "Mahnstatus 1 nicht überschritten.\rSoll die 2.Mahnung gedruckt werden?");
    EXPECT_EQ(form.Outcome(), TKarteiRechnDruckDlgForm::Result::Ok);
}

TEST_F(TKarteiRechnDruckDlgFormTest, CopyOptionReadAtOpenAndWrittenOnClick)
{
    options.Write(kCopyOptionSection, kCopyOptionSection, "TRUE");
    form.Open(OpenCard());
    EXPECT_TRUE(form.CopyBox().checked);
    form.ClickCopy(false);
    EXPECT_EQ(options.Get("RechnKopieChk", "RechnKopieChk"), "FALSE");
    form.Open(OpenCard());
    EXPECT_FALSE(form.CopyBox().checked);

    // Batch printing brings its own default.
    CardPrintSetup batch = OpenCard();
    batch.karteiWorkspace = false;
    batch.copyDefault = true;
    form.Open(batch);
    EXPECT_TRUE(form.CopyBox().checked);
}

TEST_F(TKarteiRechnDruckDlgFormTest, MailOnlyWithMailPrinterAndAddress)
{
    CardPrintSetup s = OpenCard();
    s.mailPrinterConfigured = true;
    form.Open(s);
    EXPECT_FALSE(form.MailBox().enabled);
    form.SetMail(true);
    EXPECT_FALSE(form.Choice().mail);
    s.customerHasEmail = true;
    form.Open(s);
    EXPECT_TRUE(form.MailBox().enabled);
    EXPECT_FALSE(form.MailBox().checked);
    form.SetMail(true);
    EXPECT_TRUE(form.Choice().mail);
    // Without a mail printer the mail program takes the PDF.
    s.mailPrinterConfigured = false;
    form.Open(s);
    EXPECT_FALSE(form.MailBox().enabled);
    s.mailProgram = true;
    form.Open(s);
    EXPECT_TRUE(form.MailBox().enabled);
}

}  // namespace

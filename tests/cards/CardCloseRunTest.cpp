#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "RecordingCanvas.h"
#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "cards/CardCloseRun.h"
#include "cards/CardWorkspace.h"
#include "cards/TBezDlgForm.h"
#include "common/CodePage.h"
#include "platform/Files.h"
#include "printing/PrinterList.h"
#include "table/TSGrid.h"

using namespace card;

namespace {

struct Payments : PaymentDialogRunner {
    std::function<bool(TBezDlgForm&)> script;
    int runs = 0;
    bool Run(TBezDlgForm& form) override
    {
        ++runs;
        return script ? script(form) : false;
    }
};

struct Dialog : PrintDialogRunner {
    std::function<bool(TKarteiRechnDruckDlgForm&)> script;
    int runs = 0;
    bool Run(TKarteiRechnDruckDlgForm& form) override
    {
        ++runs;
        return script(form);
    }
};

struct Printers : PrinterList {
    bool reachable = true;
    QStringList PrinterNames() const override { return {"Laser", kPdfPrinterName}; }
    QString DefaultPrinter() const override { return "Laser"; }
    bool IsReachable(const QString&) const override { return reachable; }
};

// Records the device text at (0,0) of each job and the printer it went to.
struct Canvas : RecordingCanvas {
    QString printer = "Laser";
    QStringList jobPrinters;
    QStringList jobTitles;
    bool BeginDoc(const QString& t) override
    {
        jobPrinters << printer;
        jobTitles << t;
        return RecordingCanvas::BeginDoc(t);
    }
};

class CardCloseRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        customers.SetColCount(11);
        printing.canvas = &canvas;
        printing.printers = &printerList;
        printing.standardPrinter = "Laser";
        printing.selectPrinter = [this](const QString& name) { canvas.printer = name; };
        // No payment term stored, as on a fresh installation: the invoices count 14 days.
        options.Write("Optionen", "NameEdit", "Tierarztpraxis Berger");
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    void WriteCustomer(const QString& stored, const QString& mail = {})
    {
        testfiles::WriteLines(
            Path("KUNDE.DBF"),
            {"Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t" + stored + "\t" + mail + "\t"});
        customers.LoadTable(Path("KUNDE.DBF"));
    }

    void WriteCard(int number, const QStringList& lines,
                   const std::function<void(QStringList&)>& edit = {})
    {
        QStringList header = NewCardHeader("0012", number, "Müller Anna, 12345 Dorf", "Euro");
        if (edit)
            edit(header);
        testfiles::WriteLines(Path(FileName("0012", number)),
                              lines + QStringList{"---KOPF---"} + header);
    }

    // Treatment lines (up to the marker) and header lines of a card file.
    QStringList CardLines(int number, bool header) const
    {
        QStringList lines;
        cp1252::ReadLines(dir.filePath(FileName("0012", number)), lines);
        const qsizetype marker = lines.indexOf("---KOPF---");
        return header ? lines.mid(marker + 1) : lines.mid(0, marker);
    }
    QStringList FileLines(const QString& name) const
    {
        QStringList lines;
        cp1252::ReadLines(Path(name), lines);
        return lines;
    }

    CardWorkspace& Workspace()
    {
        if (!ws) {
            ws = std::make_unique<CardWorkspace>(port, clock, customers, Path("KUNDE.DBF"), cards,
                                                 dir.path(), options);
            ws->SetSettings(CardSettings{});
        }
        return *ws;
    }
    CardCloseRun& Run()
    {
        if (!run)
            run = std::make_unique<CardCloseRun>(Workspace(), port, clock, printing, payments);
        return *run;
    }

    static CardPrintChoice Choice(PrintKind kind, const QDate& to = QDate(2024, 3, 5))
    {
        CardPrintChoice c;
        c.kind = kind;
        c.asReceipt = kind == PrintKind::Receipt;
        c.printDate = QDate(2024, 3, 15);
        c.toDate = to;
        return c;
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    TSGrid customers{port, env};
    TSGrid cards{port, env};
    MemorySettings options;
    Canvas canvas;
    Printers printerList;
    ClosePrinters printing;
    Payments payments;
    std::unique_ptr<CardWorkspace> ws;
    std::unique_ptr<CardCloseRun> run;
};

// The "to" date 05.03. takes the first dated line and its undated line; the line of
// 10.03. and the undated line after it move to card 006, which becomes the current card.
TEST_F(CardCloseRunTest, InvoiceCloseMovesLaterLinesToTheNextCard)
{
    WriteCustomer("005");
    WriteCard(5,
              {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t", "\tTabletten\t2\t50,00000\t\t\t\t\t",
               "10.03.2024\tRöntgen\t1\t80,00000\t\t\t\t\t", "\tSalbe\t2\t10,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));

    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));

    EXPECT_EQ(port.messages[0].text, CloseQuestion(CloseKind::Invoice, false));
    EXPECT_EQ(canvas.jobTitles, QStringList{"Talven - Rechnung 0012005"});
    EXPECT_NE(canvas.Find("Rechnungs-Nr: 0012/005"), nullptr);
    EXPECT_NE(canvas.Find("Impfung"), nullptr);
    EXPECT_NE(canvas.Find("Tabletten"), nullptr);
    EXPECT_EQ(canvas.Find("Röntgen"), nullptr);
    EXPECT_NE(canvas.Find("Zahlbar bis zum 29.03.2024 ohne Abzug."), nullptr);

    const QStringList closed = CardLines(5, true);
    EXPECT_EQ(closed[kHdrInvoiceDate], "15.03.2024");
    EXPECT_EQ(closed[kHdrInvoiceGross], "172,50");
    const QStringList closedRows = CardLines(5, false);
    EXPECT_EQ(closedRows.size(), kMinRows);
    EXPECT_FALSE(closedRows.join("").contains("Röntgen"));

    const QStringList next = CardLines(6, false);
    ASSERT_GE(next.size(), 2);
    EXPECT_TRUE(next[0].startsWith("10.03.2024\tRöntgen\t1\t80,00000\t"));
    EXPECT_TRUE(next[1].startsWith("\tSalbe\t2\t10,00000\t"));
    EXPECT_EQ(CardLines(6, true)[kHdrInvoiceDate], kUnset);
    EXPECT_EQ(Workspace().CardNumber(), 6);
    EXPECT_EQ(Workspace().StoredCardNumber(), 6);

    EXPECT_TRUE(FileLines("ST_MAHN.DBF").first().startsWith("+0012/005\t"));
    const QStringList invoices = FileLines("ST_RECHN.DBF");
    EXPECT_TRUE(invoices.contains("-0012/005\t"));
    EXPECT_TRUE(invoices.last().startsWith("+0012/006\t")) << invoices.last().toStdString();
}

// Cancel at the question, or a bad "to" date, change nothing.
TEST_F(CardCloseRunTest, QuestionCancelOrBadToDateLeavesTheCard)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));

    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_FALSE(Run().CloseAsQuote(Choice(PrintKind::Quote, QDate())));
    EXPECT_EQ(port.LastText(),
              "Fehler in Kartei Nr. 0012/005\rKein gültiges Datum vorhanden!\r\r"
              "Angebot wird nicht gedruckt.");
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
}

TEST_F(CardCloseRunTest, NegativeGrossStopsTheClose)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tGutschrift\t1\t-50,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));

    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_EQ(port.LastText(),
              "Fehler in Kartei Nr. 0012/005\rRechnungssumme darf nicht negativ "
              "sein!\r\rDer Druck wird abgebrochen.");
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_FALSE(Workspace().Form().State().IsInvoiced());
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
}

// A line without a date above it stops the summation; each kind then ends with its own
// follow-up message, nothing is closed, and the card print still saves the card.
TEST_F(CardCloseRunTest, UndatedLineStopsEveryKindWithItsMessage)
{
    const QString summation = QString::fromUtf8(
        "Fehler in Kartei Nr. 0012/005\rZeile 1:  Kein gültiges Datum vorhanden!\r"
        "Neueingaben wurden nicht mehr summiert!");
    const struct {
        PrintKind kind;
        QString last;
    } cases[] = {
        {PrintKind::Invoice, NoDateText("0012/005", CloseKind::Invoice)},
        {PrintKind::Quote, NoDateText("0012/005", CloseKind::Quote)},
        {PrintKind::Card, "Fehler (Zeile 1): Kein gültiges Datum vorhanden!"},
    };
    WriteCustomer("005");
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.kind));
        WriteCard(5, {"\tOhne Datum\t1\t10,00000\t\t\t\t\t",
                      "01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
        ASSERT_TRUE(Workspace().LoadCurrentCard(0));
        Workspace().Form().GetRows()[1].SetCell(kColRemark, "neu");
        Workspace().Form().SetModified(true);
        port.messages.clear();
        const CardPrintChoice choice = Choice(c.kind);
        if (c.kind == PrintKind::Card)
            EXPECT_FALSE(Run().PrintCard(choice));
        else if (c.kind == PrintKind::Quote)
            EXPECT_FALSE(Run().CloseAsQuote(choice));
        else
            EXPECT_FALSE(Run().CloseAsInvoice(choice));
        const QStringList texts = port.Texts();
        ASSERT_GE(texts.size(), 2);
        EXPECT_EQ(texts.mid(texts.size() - 2), QStringList({summation, c.last}));
        EXPECT_EQ(canvas.jobs, 0);
        EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
        EXPECT_EQ(CardLines(5, false).value(1).contains("\tneu\t"), c.kind == PrintKind::Card);
    }
}

// Lines paid on the spot leave nothing to invoice: the card closes with gross 0 and
// stays out of the dunning register.
TEST_F(CardCloseRunTest, OnlyCashLinesCloseWithZeroGrossAndNoDunningEntry)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\tB\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));

    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    const QStringList header = CardLines(5, true);
    EXPECT_EQ(header[kHdrInvoiceDate], "15.03.2024");
    EXPECT_EQ(header[kHdrInvoiceGross], "0,00");
    for (const QString& line : FileLines("ST_MAHN.DBF"))
        EXPECT_FALSE(line.startsWith("+")) << line.toStdString();
}

TEST_F(CardCloseRunTest, Card501DeletesCard001)
{
    WriteCustomer("501");
    WriteCard(1, {"01.03.2020\tAlt\t1\t10,00000\t\t\t\t\t"});
    WriteCard(501, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    ASSERT_EQ(Workspace().CardNumber(), 501);

    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 1))));
    EXPECT_TRUE(QFile::exists(Path(FileName("0012", 502))));
    EXPECT_EQ(Workspace().CardNumber(), 502);
}

// A stored number behind the cards on disk is repaired before the close, and an older
// open card only reprints.
TEST_F(CardCloseRunTest, OlderCardIsOnlyReprinted)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    WriteCard(6, {});
    ASSERT_TRUE(Workspace().LoadCardByKey("0012/005"));

    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_EQ(Workspace().StoredCardNumber(), 6);
    EXPECT_TRUE(port.messages.isEmpty());  // no question: nothing closes
    EXPECT_EQ(canvas.jobTitles, QStringList{"Talven - Rechnung 0012005"});
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 7))));
}

TEST_F(CardCloseRunTest, ReceiptOnACardWithAPaymentPrintsWithoutAsking)
{
    WriteCustomer("006");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"}, [](QStringList& h) {
        h[kHdrInvoiceGross] = "119,00";
        h[kHdrInvoiceDate] = "02.03.2024";
        h[kHdrOpenAmount] = "0,00000";
        QStringList summary(kFixedSummaryLines);
        summary[kSumInvoiceGross] = "119,00";
        summary[kSumFee1] = kUnset;
        summary[kSumDate1] = kUnset;
        summary[kSumFee2] = kUnset;
        summary[kSumDate2] = kUnset;
        h << summary << "119,00 Euro   am 02.03.2024,  bar";
    });
    WriteCard(6, {});
    ASSERT_TRUE(Workspace().LoadCardByKey("0012/005"));

    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Receipt)));
    EXPECT_EQ(payments.runs, 0);
    EXPECT_EQ(canvas.jobTitles, QStringList{"Talven - Quittung 0012005"});
    EXPECT_NE(canvas.Find("QUITTUNG"), nullptr);
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 7))));
}

// Without a payment line the receipt asks for one, with cash proposed; cancelling it
// stops before anything is printed or closed.
TEST_F(CardCloseRunTest, ReceiptWithoutPaymentStopsWhenThePaymentIsCancelled)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    options.Write("ZahlungsModus", "ZahlMod", "ueberw");
    payments.script = [&](TBezDlgForm& form) {
        EXPECT_EQ(form.Kind(), PaymentKind::Cash);
        EXPECT_EQ(form.Text(TBezDlgForm::kAmount), "119,00");
        return false;
    };

    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Receipt)));
    EXPECT_EQ(payments.runs, 1);
    EXPECT_EQ(port.LastText(), kReceiptPaymentCancelled);
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_FALSE(Workspace().Form().State().IsInvoiced());
    EXPECT_EQ(Workspace().Form().State().openAmount, kUnset);
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
}

// The receipt's payment is split over the lines of this invoice only: a 19 % line after
// the "to" date must not take the payment of the 7 % line.
TEST_F(CardCloseRunTest, ReceiptPaymentBooksOnlyTheInvoicedLines)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tFutter\t2\t100,00000\t\t\t\t\t",
                  "10.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    payments.script = [&](TBezDlgForm& form) { return form.Ok(port); };

    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Receipt)));
    const QStringList journal = FileLines("Z32024.zaE");
    ASSERT_EQ(journal.size(), 1);
    EXPECT_TRUE(journal[0].endsWith("\t100,00\t7,0\t107,00\tB\t")) << journal[0].toStdString();
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "107");
    const QStringList header = CardLines(5, true);
    EXPECT_EQ(header[kHdrOpenAmount], "0,00000");
    EXPECT_TRUE(CardLines(6, false)[0].startsWith("10.03.2024\tImpfung\t"));
    for (const QString& line : FileLines("ST_MAHN.DBF"))
        EXPECT_FALSE(line.startsWith("+")) << line.toStdString();
}

TEST_F(CardCloseRunTest, QuoteKeepsTheCardOpenAndMarksItsLastLine)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tOP\t1\t300,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    Run().inventoryAutomatic = true;

    ASSERT_TRUE(Run().CloseAsQuote(Choice(PrintKind::Quote, QDate(2024, 3, 1))));
    EXPECT_EQ(port.messages[0].text, CloseQuestion(CloseKind::Quote, false));
    EXPECT_EQ(canvas.jobTitles, QStringList{"Talven-Angebot 0012005"});
    EXPECT_NE(canvas.Find("ANGEBOT"), nullptr);
    EXPECT_NE(canvas.Find("Angebots-Nr: 0012/005"), nullptr);
    EXPECT_NE(canvas.Find("Folgende tierärzliche Leistungen werden angeboten:"), nullptr);
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
    EXPECT_TRUE(
        CardLines(5, false).last().contains("\tAngebot am 15.03.2024 (mit Inventurübernahme) !\t"));
    EXPECT_TRUE(FileLines("ST_RECHN.DBF").contains("-0012/005\t"));
    for (const QString& line : FileLines("ST_MAHN.DBF"))
        EXPECT_FALSE(line.startsWith("+")) << line.toStdString();
    EXPECT_EQ(Workspace().CardNumber(), 6);
}

// Mail goes first to the mail printer with the control text, the paper copy follows on
// the standard printer only when chosen; without mail the copy is a second print.
TEST_F(CardCloseRunTest, OutputPassesForMailAndCopy)
{
    WriteCustomer("005", "anna@example.de");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    printing.mailPrinter = "DOCSENDER";
    printing.mailCodes = {{"MailPrAdrUeberg", "@@to"},
                          {"MailPrEndCode", "@@"},
                          {"MailPrPDFNameSave", "@@save"},
                          {"MailPrPDFNameSend", "@@send"}};
    CardPrintChoice choice = Choice(PrintKind::Invoice);
    choice.mail = true;
    choice.copy = true;

    ASSERT_TRUE(Run().CloseAsInvoice(choice));
    EXPECT_EQ(canvas.jobPrinters, (QStringList{"DOCSENDER", "Laser"}));
    const RecordingCanvas::Call* control = canvas.Find(
        "@@toanna@example.de@@@@saveRechnung 0012/005@@@@sendRechnung 0012/005@@@@@@@@");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->x, 0);
    EXPECT_EQ(control->y, 0);
    EXPECT_EQ(canvas.printer, "Laser");

    // The next card without mail: two prints on the standard printer; no print: none.
    canvas.jobPrinters.clear();
    WriteCard(6, {"11.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    choice.mail = false;
    ASSERT_TRUE(Run().CloseAsInvoice(choice));
    EXPECT_EQ(canvas.jobPrinters, (QStringList{"Laser", "Laser"}));
    choice.noPrint = true;
    canvas.jobPrinters.clear();
    WriteCard(7, {"11.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    ASSERT_TRUE(Run().CloseAsInvoice(choice));
    EXPECT_TRUE(canvas.jobPrinters.isEmpty());
    EXPECT_EQ(Workspace().CardNumber(), 8);
}

TEST_F(CardCloseRunTest, NoReachablePrinterStopsUnlessNothingIsPrinted)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    printerList.reachable = false;

    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_TRUE(port.LastText().startsWith("Es ist derzeit kein Standard-Drucker erreichbar"));
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));

    CardPrintChoice choice = Choice(PrintKind::Invoice);
    choice.noPrint = true;
    EXPECT_TRUE(Run().CloseAsInvoice(choice));
    EXPECT_TRUE(QFile::exists(Path(FileName("0012", 6))));
}

// The print command checks the card before the dialog, then dispatches the dialog's kind.
TEST_F(CardCloseRunTest, PrintCommandChecksTheCardAndPrintsIt)
{
    WriteCustomer("005");
    WriteCard(5, {"\tOhne Datum\t\t\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    Dialog dialog;
    dialog.script = [](TKarteiRechnDruckDlgForm& form) {
        form.SelectKind(PrintKind::Card);
        return form.Confirm();
    };
    Run().PrintCommand(dialog);
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_EQ(port.LastText(), "Ausdruck nocht nicht möglich:\rBitte geben Sie ein Datum ein!");

    Workspace().Form().GetRows()[0].SetCell(kColDate, "01.03.2024");
    Run().PrintCommand(dialog);
    EXPECT_EQ(port.LastText(), "Ausdruck nocht nicht möglich:\rBitte geben Sie einen Betrag ein!");

    Rows& rows = Workspace().Form().GetRows();
    rows[0].SetCell(kColAmount, "10,00000");
    rows[0].SetCell(kColVat, "1");
    rows[0].SetCell(kColRemark,
                    "Ein Bemerkungstext, der viel zu lang für die Spalte ist und "
                    "deshalb gekürzt werden muss, damit er auf das Blatt passt, "
                    "auch bei sehr breiten Rändern und großer Schrift");
    rows[1].SetCell(kColDate, "02.03.2024");
    rows[1].SetCell(kColText, "Bar bezahlt");
    rows[1].SetCell(kColAmount, "5,00000");
    rows[1].SetCell(kColBS, "B");
    Run().PrintCommand(dialog);
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(canvas.jobTitles, QStringList{"Talven - Karteikarte 0012005"});
    EXPECT_NE(canvas.Find("Karteikarte - Nr. 0012/005"), nullptr);
    EXPECT_NE(canvas.Find("Behandlung (Tier, Medikament, Leistung) /  Bemerkung"), nullptr);
    EXPECT_NE(canvas.Find("Bar"), nullptr);
    bool shortened = false;
    for (const QString& text : canvas.TextStrings())
        shortened |= text.startsWith("Ein Bemerkungstext") && text.endsWith(" ...");
    EXPECT_TRUE(shortened);
    EXPECT_FALSE(Workspace().Form().State().IsInvoiced());
}

// A document the printer refused (at the start or at the end of the job) closes nothing:
// the receipt's payment is dropped, registers, journal and balances stay, no next card is
// made. Once the printer works the same close goes through as if nothing had happened.
TEST_F(CardCloseRunTest, FailedPrintLeavesCardPaymentAndRegistersUnchanged)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tFutter\t2\t100,00000\t\t\t\t\t",
                  "10.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    payments.script = [&](TBezDlgForm& form) { return form.Ok(port); };
    const auto expectUnchanged = [&] {
        EXPECT_EQ(port.LastText(), kPrintFailedText);
        const CardState& state = Workspace().Form().State();
        EXPECT_FALSE(state.IsInvoiced());
        EXPECT_EQ(state.openAmount, kUnset);
        EXPECT_TRUE(Workspace().PendingBookings().empty());
        EXPECT_EQ(Workspace().Form().GetRows()[1].Cell(kColText), "Impfung");
        EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
        EXPECT_TRUE(CardLines(5, false)[1].startsWith("10.03.2024\tImpfung\t"));
        EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
        EXPECT_FALSE(QFile::exists(Path("Z32024.zaE")));
        EXPECT_EQ(options.Get("Kontostand", "Kasse"), "");
        for (const QString& line : FileLines("ST_MAHN.DBF") + FileLines("ST_RECHN.DBF"))
            EXPECT_FALSE(line.startsWith("+0012/005")) << line.toStdString();
        EXPECT_EQ(Workspace().CardNumber(), 5);
        EXPECT_EQ(Workspace().StoredCardNumber(), 5);
    };

    canvas.refuseJobs = true;
    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Receipt)));
    EXPECT_EQ(payments.runs, 1);
    expectUnchanged();

    canvas.refuseJobs = false;
    canvas.failJobs = true;
    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Receipt)));
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::EndDoc), 1);  // the failed job was ended
    expectUnchanged();
    EXPECT_FALSE(Run().CloseAsQuote(Choice(PrintKind::Quote)));
    EXPECT_FALSE(CardLines(5, false).join("").contains("Angebot am"));
    expectUnchanged();

    canvas.failJobs = false;
    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Receipt)));
    EXPECT_EQ(payments.runs, 3);
    const QStringList journal = FileLines("Z32024.zaE");
    ASSERT_EQ(journal.size(), 1);
    EXPECT_TRUE(journal[0].endsWith("\t100,00\t7,0\t107,00\tB\t")) << journal[0].toStdString();
    EXPECT_EQ(options.Get("Kontostand", "Kasse"), "107");
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], "15.03.2024");
    EXPECT_TRUE(CardLines(6, false)[0].startsWith("10.03.2024\tImpfung\t"));
}

TEST_F(CardCloseRunTest, FailedCardPrintIsReported)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    CardPrintChoice choice = Choice(PrintKind::Card);
    choice.copy = true;

    canvas.failJobs = true;
    EXPECT_FALSE(Run().PrintCard(choice));
    EXPECT_EQ(port.LastText(), "Der Druck konnte nicht ausgeführt werden.");
    canvas.failJobs = false;
    EXPECT_TRUE(Run().PrintCard(choice));
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::BeginDoc), 3);
}

// A file where the next card must go cannot be written (a folder stands at its temporary
// name): the lines for the next card stay on the open card, on disk and on screen, and
// nothing is booked. The retry then closes normally.
TEST_F(CardCloseRunTest, NextCardThatCannotBeWrittenKeepsTheLinesOnTheOpenCard)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t",
                  "10.03.2024\tRöntgen\t1\t80,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    ASSERT_TRUE(QDir().mkdir(files::UniqueTemporary(Path("K0012006.~KA"))));

    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_EQ(port.LastText(), "Fehler beim Öffnen der leeren Karteikarte: K0012006.KAR");
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
    EXPECT_TRUE(CardLines(5, false)[1].startsWith("10.03.2024\tRöntgen\t"));
    EXPECT_FALSE(Workspace().Form().State().IsInvoiced());
    EXPECT_EQ(Workspace().Form().GetRows()[1].Cell(kColText), "Röntgen");
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
    for (const QString& line : FileLines("ST_MAHN.DBF"))
        EXPECT_FALSE(line.startsWith("+0012/005")) << line.toStdString();
    EXPECT_EQ(Workspace().CardNumber(), 5);

    ASSERT_TRUE(QDir().rmdir(files::UniqueTemporary(Path("K0012006.~KA"))));
    ASSERT_TRUE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_FALSE(CardLines(5, false).join("").contains("Röntgen"));
    EXPECT_TRUE(CardLines(6, false)[0].startsWith("10.03.2024\tRöntgen\t"));
    EXPECT_EQ(Workspace().CardNumber(), 6);
}

// The next card is written first; when the closed card then cannot be saved, the next
// card goes again so its lines are not held twice and the open card stays current.
TEST_F(CardCloseRunTest, ClosedCardThatCannotBeSavedLeavesNoNextCard)
{
    WriteCustomer("005");
    WriteCard(5, {"01.03.2024\tImpfung\t1\t100,00000\t\t\t\t\t",
                  "10.03.2024\tRöntgen\t1\t80,00000\t\t\t\t\t"});
    ASSERT_TRUE(Workspace().LoadCurrentCard(0));
    ASSERT_TRUE(QDir().mkdir(files::UniqueTemporary(Path("K0012005.~KA"))));

    EXPECT_FALSE(Run().CloseAsInvoice(Choice(PrintKind::Invoice)));
    EXPECT_FALSE(QFile::exists(Path(FileName("0012", 6))));
    EXPECT_EQ(CardLines(5, true)[kHdrInvoiceDate], kUnset);
    EXPECT_TRUE(CardLines(5, false)[1].startsWith("10.03.2024\tRöntgen\t"));
    EXPECT_FALSE(Workspace().Form().State().IsInvoiced());
    EXPECT_EQ(Workspace().Form().GetRows()[1].Cell(kColText), "Röntgen");
    EXPECT_EQ(Workspace().StoredCardNumber(), 5);
}

TEST(CardCloseTexts, DocumentTextsOfOlderFilesGetTheQuoteDefaults)
{
    MemorySettings options;
    EXPECT_EQ(DocumentTextsFromOptions(options)[8], "ANGEBOT");
    for (int i = 0; i < 9; ++i)
        options.Write("Dokumente", QString("D%1").arg(i), QString("T%1").arg(i));
    const QStringList texts = DocumentTextsFromOptions(options);
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(texts[7], "T7");
    EXPECT_EQ(texts[8], "ANGEBOT");
    EXPECT_EQ(texts[11], "T8");
}

}  // namespace

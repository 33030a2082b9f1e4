#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "RecordingCanvas.h"
#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "cards/CardClosing.h"
#include "cards/CardRegisters.h"
#include "cards/CardSums.h"
#include "printing/TPrintGrid2.h"

using namespace card;

namespace {

Row Line(const QString& date, const QString& text, const QString& code = {},
         const QString& amount = {}, const QString& mark = {})
{
    Row r;
    r.SetCell(kColDate, date);
    r.SetCell(kColText, text);
    r.SetCell(kColVat, code);
    r.SetCell(kColAmount, amount);
    r.SetCell(kColBS, mark);
    return r;
}

class CardClosingTest : public ::testing::Test {
protected:
    CardState NewState(const QString& mode = "Netto")
    {
        CardState s;
        EXPECT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier Anna, 12345 Dorf", "Euro"), s));
        s.amountMode = mode;
        return s;
    }
    CardState Summed(Rows& rows, const QDate& limit = {})
    {
        CardState s = NewState();
        EXPECT_TRUE(SumCard(rows, s, settings, port, limit).ok);
        return s;
    }

    CardSettings settings;  // 19/7/0, old 16/7/0 before 2008
    ScriptedUserPort port;
};

TEST_F(CardClosingTest, LinesAfterTheToDateAndTheirUndatedLinesMoveToTheNextCard)
{
    Rows rows{Line("01.05.2024", "Bello Impfung", "1", "30,00000"),
              Line("", "  Nachkontrolle", "1", "10,00000"),
              Line("10.05.2024", "bar bezahlt", "1", "5,00000", "B"),
              Line("10.05.2024", "Wurmkur", "2", "8,00000"),
              Line("20.05.2024", "Bello Verband", "1", "12,00000"),
              Line("", "  Salbe", "2", "4,00000"),
              Row(),
              Row()};
    const PrintCopy copy = BuildPrintCopy(rows, NewState(), settings, QDate(2024, 5, 15));
    ASSERT_TRUE(copy.ok);
    EXPECT_EQ(copy.cutRow, 4);
    ASSERT_EQ(copy.lines.size(), 3u);  // the "B" line is not invoiced
    EXPECT_EQ(copy.lines[0].date, "01.05.2024");
    EXPECT_EQ(copy.lines[0].vat, "19,0");
    EXPECT_EQ(copy.lines[0].amount, "30,00");
    EXPECT_EQ(copy.lines[1].date, "");
    EXPECT_EQ(copy.lines[1].text, "  Nachkontrolle");
    EXPECT_EQ(copy.lines[2].text, "Wurmkur");
    EXPECT_EQ(copy.lines[2].vat, "7,0");

    const Rows carried = CutForNextCard(rows, copy.cutRow);
    ASSERT_EQ(carried.size(), 2u);
    EXPECT_EQ(carried[0].Cell(kColText), "Bello Verband");
    EXPECT_EQ(carried[1].Cell(kColText), "  Salbe");
    EXPECT_EQ(rows.size(), size_t(kMinRows));
    EXPECT_EQ(rows[3].Cell(kColText), "Wurmkur");
    EXPECT_TRUE(rows[4].IsEmpty());

    const Rows next = NextCardRows(carried);
    EXPECT_EQ(next.size(), size_t(kMinRows));
    EXPECT_EQ(next[0].Cell(kColDate), "20.05.2024");

    // Without a "to" date (a reprint) everything is taken.
    Rows all{Line("01.05.2024", "a", "1", "1,00000"), Line("20.05.2024", "b", "1", "1,00000")};
    EXPECT_EQ(BuildPrintCopy(all, NewState(), settings, {}).cutRow, 2);
    EXPECT_TRUE(CutForNextCard(all, 2).empty());
}

TEST_F(CardClosingTest, GrossCardsPrintNetWithTheRateOfTheLinesDate)
{
    Rows rows{Line("01.06.2024", "a", "1", "119,00000"), Line("01.06.2007", "b", "1", "116,00000"),
              Line("", "Hinweis")};
    const PrintCopy copy = BuildPrintCopy(rows, NewState("Brutto"), settings, {});
    ASSERT_EQ(copy.lines.size(), 3u);
    EXPECT_EQ(copy.lines[0].amount, "100,00");
    EXPECT_EQ(copy.lines[0].vat, "19,0");
    EXPECT_EQ(copy.lines[1].amount, "100,00");
    EXPECT_EQ(copy.lines[1].vat, "16,0");
    EXPECT_EQ(copy.lines[2].vat, "");
    EXPECT_EQ(copy.lines[2].amount, "");
}

TEST_F(CardClosingTest, LineWithVatCodeButNoDateStopsTheClose)
{
    Rows rows{Line("", "ohne Datum", "1", "10,00000"), Line("01.06.2024", "a", "1", "1,00000")};
    const PrintCopy copy = BuildPrintCopy(rows, NewState(), settings, {});
    EXPECT_FALSE(copy.ok);
    EXPECT_EQ(copy.errorRow, 0);
    EXPECT_EQ(NoDateText("0012/007", CloseKind::Invoice),
              "Fehler in Kartei Nr. 0012/007\rKein gültiges Datum vorhanden!\r\r"
              "Der Druck wird abgebrochen.");
    EXPECT_EQ(NoDateText("0012/007", CloseKind::Quote),
              "Fehler in Kartei Nr. 0012/007\rKein gültiges Datum vorhanden!\r\r"
              "Angebot wird nicht gedruckt.");
}

TEST_F(CardClosingTest, DueDateReplacesTheFirstPlaceholder)
{
    const QDate due = DueDate(QDate(2024, 6, 15), 14);
    EXPECT_EQ(due, QDate(2024, 6, 29));
    EXPECT_EQ(WithDueDate("Zahlbar bis zum FFF ohne Abzug.", due),
              "Zahlbar bis zum 29.06.2024 ohne Abzug.");
    EXPECT_EQ(WithDueDate("bis FFF oder FFF spätestens", due),
              "bis 29.06.2024 oder FFF spätestens");
    EXPECT_EQ(WithDueDate("FFF am Anfang", due), "FFF am Anfang");  // needs the blanks
    EXPECT_EQ(WithDueDate("", due), "");

    const QStringList texts{"RECHNUNG",
                            "Kopf R",
                            "Zahlbar bis zum FFF ohne Abzug.",
                            "",
                            "QUITTUNG",
                            "Kopf Q",
                            "Q1",
                            "Q2",
                            "ANGEBOT",
                            "Kopf A",
                            "gilt bis FFF .",
                            ""};
    const DocumentTexts quote = DocumentTextsFor(texts, CloseKind::Quote, due);
    EXPECT_EQ(quote.title, "ANGEBOT");
    EXPECT_EQ(quote.head, "Kopf A");
    EXPECT_EQ(quote.foot1, "gilt bis 29.06.2024 .");
    EXPECT_EQ(DocumentTextsFor(texts, CloseKind::Receipt, due).foot2, "Q2");
    EXPECT_EQ(DocumentTextsFor(texts, CloseKind::Invoice, due).foot1,
              "Zahlbar bis zum 29.06.2024 ohne Abzug.");
}

TEST_F(CardClosingTest, FooterSlotsPackTheGroupsWithVat)
{
    Rows rows{Line("01.06.2024", "a", "1", "100,00000"), Line("02.06.2024", "b", "2", "50,00000"),
              Line("02.06.2024", "c", "3", "20,00000")};
    const CardState s = Summed(rows);
    const QStringList footer = FooterSlots(s.summary, "Euro", false, "Fuss I", "Fuss II");
    ASSERT_EQ(footer.size(), 18);
    EXPECT_EQ(footer[0], "19,0%");
    EXPECT_EQ(footer[1], "19,00 EUR");
    EXPECT_EQ(footer[2], "7,0%");
    EXPECT_EQ(footer[3], "3,50 EUR");
    for (int i = 4; i < 12; ++i) {
        EXPECT_EQ(footer[i], "") << i;  // the 0 % group has no VAT
    }
    EXPECT_EQ(footer[12], "170,00 EUR");
    EXPECT_EQ(footer[13], "22,50 EUR");
    EXPECT_EQ(footer[14], "192,50 EUR");
    EXPECT_EQ(footer[15], "");
    EXPECT_EQ(footer[16], "Fuss I");
    EXPECT_EQ(footer[17], "Fuss II");

    // Only the 7 % group: it moves to the first pair; both currencies add the DM gross.
    Rows reduced{Line("02.06.2024", "b", "2", "10,00000")};
    const CardState r = Summed(reduced);
    const QStringList both = FooterSlots(r.summary, "Euro", true, {}, {});
    EXPECT_EQ(both[0], "7,0%");
    EXPECT_EQ(both[1], "0,70 EUR");
    EXPECT_EQ(both[2], "");
    EXPECT_EQ(both[15], r.summary[kSumOtherCurrency] + " DM");
    EXPECT_EQ(FooterSlots(r.summary, "DM", false, {}, {})[14], "10,70 DM");
}

TEST_F(CardClosingTest, FreezingSetsInvoiceDateAndOpenAmountAndEntersDunning)
{
    Rows rows{Line("01.06.2024", "a", "1", "100,00000")};
    CardState s = Summed(rows);
    ASSERT_FALSE(InvoiceGrossNegative(s));
    FreezeCard(s, QDate(2024, 6, 15));
    EXPECT_TRUE(s.IsInvoiced());
    EXPECT_EQ(s.invoiceDate, "15.06.2024");
    EXPECT_EQ(s.openAmount, "119,00");
    EXPECT_TRUE(s.remindersEnabled);
    const RegisterChanges changes =
        RegisterChangesFor(s, rows, QDate(2024, 6, 15), "Euro", 1.95583L);
    EXPECT_TRUE(changes.dunningLine.startsWith("+0012/007\t"));
    EXPECT_EQ(changes.invoiceLine, RegisterRemoveLine("0012/007"));

    // A receipt already carries its open amount from the payment.
    CardState paid = Summed(rows);
    paid.openAmount = "0,00";
    paid.openAmountExact = "0,00000";
    FreezeCard(paid, QDate(2024, 6, 15));
    EXPECT_EQ(paid.openAmountExact, "0,00000");
    EXPECT_FALSE(paid.remindersEnabled);
}

TEST_F(CardClosingTest, OnlyCashLinesCloseWithZeroGrossAndNoDunningEntry)
{
    Rows rows{Line("01.06.2024", "bar", "1", "50,00000", "B"),
              Line("01.06.2024", "bar", "2", "10,00000", "B")};
    CardState s = Summed(rows);
    EXPECT_FALSE(InvoiceGrossNegative(s));
    EXPECT_EQ(s.summary[kSumInvoiceGross], "0,00");
    const PrintCopy copy = BuildPrintCopy(rows, s, settings, QDate(2024, 6, 1));
    EXPECT_TRUE(copy.ok);
    EXPECT_TRUE(copy.lines.empty());
    FreezeCard(s, QDate(2024, 6, 15));
    EXPECT_EQ(s.openAmount, "0,00");
    const RegisterChanges changes =
        RegisterChangesFor(s, rows, QDate(2024, 6, 15), "Euro", 1.95583L);
    EXPECT_EQ(changes.dunningLine, RegisterRemoveLine("0012/007"));
    const QStringList footer = FooterSlots(s.summary, s.currency, false, {}, {});
    EXPECT_EQ(footer[1], "");  // no VAT group shown
    EXPECT_EQ(footer[14], "0,00 EUR");
}

TEST_F(CardClosingTest, NegativeGrossStops)
{
    Rows rows{Line("01.06.2024", "Leistung", "1", "10,00000"),
              Line("02.06.2024", "Gutschrift", "1", "-30,00000")};
    const CardState s = Summed(rows);
    EXPECT_TRUE(InvoiceGrossNegative(s));
    EXPECT_EQ(NegativeSumText(s.key, CloseKind::Invoice),
              "Fehler in Kartei Nr. 0012/007\rRechnungssumme darf nicht negativ sein!\r\r"
              "Der Druck wird abgebrochen.");
    EXPECT_EQ(NegativeSumText(s.key, CloseKind::Quote),
              "Fehler in Kartei Nr. 0012/007\rSumme darf nicht negativ sein!\r\r"
              "Angebot wird nicht gedruckt!");
    // Less than half a cent below zero rounds to 0,00 and closes.
    CardState tiny = s;
    tiny.summary[kSumInvoiceGross] = "-0,004";
    EXPECT_FALSE(InvoiceGrossNegative(tiny));
}

TEST_F(CardClosingTest, QuoteRemarkKeepsTheCardOutOfTheRegisters)
{
    Rows rows{Line("01.06.2024", "OP", "1", "300,00000"), Row()};
    CardState s = Summed(rows);
    MarkAsQuote(rows, QDate(2024, 6, 15), false);
    EXPECT_EQ(rows.back().Cell(kColRemark), "Angebot am 15.06.2024");
    EXPECT_TRUE(IsQuote(rows));
    EXPECT_FALSE(s.IsInvoiced());
    const RegisterChanges changes =
        RegisterChangesFor(s, rows, QDate(2024, 6, 15), "Euro", 1.95583L);
    EXPECT_EQ(changes.invoiceLine, RegisterRemoveLine("0012/007"));
    EXPECT_EQ(changes.dunningLine, RegisterRemoveLine("0012/007"));

    Rows inv{Line("01.06.2024", "OP", "1", "300,00000")};
    MarkAsQuote(inv, QDate(2024, 6, 15), true);
    EXPECT_EQ(inv.back().Cell(kColRemark), "Angebot am 15.06.2024 (mit Inventurübernahme) !");
}

TEST_F(CardClosingTest, NextCardKeepsTheLast500)
{
    EXPECT_EQ(PlanNextCard(7).number, 8);
    EXPECT_EQ(PlanNextCard(7).deleteNumber, 0);
    EXPECT_EQ(PlanNextCard(500).deleteNumber, 0);
    const NextCardPlan plan = PlanNextCard(501);
    EXPECT_EQ(plan.number, 502);
    EXPECT_EQ(plan.deleteNumber, 1);

    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    testfiles::WriteLines(folder + "K0012001.KAR", {"---KOPF---"});
    testfiles::WriteLines(folder + "K0012002.KAR", {"---KOPF---"});
    EXPECT_TRUE(ApplyRetention(folder, "0012", PlanNextCard(500)));
    EXPECT_TRUE(QFile::exists(folder + "K0012001.KAR"));
    EXPECT_TRUE(ApplyRetention(folder, "0012", plan));
    EXPECT_FALSE(QFile::exists(folder + "K0012001.KAR"));
    EXPECT_TRUE(QFile::exists(folder + "K0012002.KAR"));
    EXPECT_TRUE(ApplyRetention(folder, "0012", plan));  // already gone
}

TEST_F(CardClosingTest, StoredNumberRepairAndRealClose)
{
    const auto files = [](std::initializer_list<int> numbers) {
        return [set = std::vector<int>(numbers)](int n) {
            return std::find(set.begin(), set.end(), n) != set.end();
        };
    };
    EXPECT_EQ(RepairedCurrentNumber(5, 5, files({5, 6, 7})), 7);
    EXPECT_EQ(RepairedCurrentNumber(5, 5, files({5})), 5);
    EXPECT_EQ(RepairedCurrentNumber(5, 3, files({3, 5})), 5);
    EXPECT_EQ(RepairedCurrentNumber(5, 8, files({5, 6, 8})), 8);  // an older card: untouched
    EXPECT_EQ(RepairedCurrentNumber(998, 998, files({998, 999})), 999);

    EXPECT_TRUE(IsRealClose(5, 5, false));
    EXPECT_FALSE(IsRealClose(5, 5, true));
    EXPECT_FALSE(IsRealClose(5, 7, false));
    EXPECT_FALSE(IsRealClose(999, 999, false));
}

TEST_F(CardClosingTest, QuestionsAndTitles)
{
    EXPECT_EQ(CloseQuestion(CloseKind::Invoice, false),
              "Diese Karteikarte wird nun abgeschlossen.\rDie Rechnung wird gedruckt.\r\r"
              "Eine neue Karteikarte zu diesem Kunden\rwird automatisch angelegt!");
    EXPECT_EQ(CloseQuestion(CloseKind::Receipt, true),
              "Diese Karteikarte wird nun abgeschlossen.\rDie Quittung wird nicht gedruckt.\r\r"
              "Eine neue Karteikarte zu diesem Kunden\rwird automatisch angelegt!");
    EXPECT_EQ(CloseQuestion(CloseKind::Quote, false),
              "Diese Karteikarte wird nun abgeschlossen.\rDas Angebot wird gedruckt.\r\r"
              "Eine neue Karteikarte zu diesem Kunden\rwird automatisch angelegt!");
    EXPECT_EQ(InvalidToDateText("0012/007", CloseKind::Invoice),
              "Fehler in Kartei Nr. 0012/007\rDatum des Behandlungszeitraums ungültig!\r\r"
              "Der Druck wird abgebrochen.");
    EXPECT_EQ(PrintTitle(CloseKind::Invoice, "0012/007"), "Talven - Rechnung 0012007");
    EXPECT_EQ(PrintTitle(CloseKind::Receipt, "0012/007"), "Talven - Quittung 0012007");
    EXPECT_EQ(PrintTitle(CloseKind::Quote, "0012/007"), "Talven-Angebot 0012007");
    EXPECT_EQ(MailSubject(CloseKind::Quote, "0012/007"), "Angebot 0012/007");
    EXPECT_EQ(MailSubject(CloseKind::Receipt, "0012/007"), "Rechnung 0012/007");
    EXPECT_EQ(CardPrintJobTitle("0012/007"), "Talven - Karteikarte 0012007");

    // Every title prints with the letterhead and the VAT footer.
    RecordingCanvas canvas;
    FixedClock clock;
    TPrintGrid2 printer(canvas, port, clock);
    for (const CloseKind kind : {CloseKind::Invoice, CloseKind::Receipt, CloseKind::Quote}) {
        printer.PrintMgrTitle = PrintTitle(kind, "0012/007");
        EXPECT_TRUE(printer.DocumentMode()) << printer.PrintMgrTitle.toStdString();
    }
    printer.PrintMgrTitle = CardPrintJobTitle("0012/007");
    EXPECT_TRUE(printer.DocumentMode());
}

TEST_F(CardClosingTest, LetterheadOfPracticeOrPharmacy)
{
    EXPECT_TRUE(UsesPharmacyLetterhead(true, "Tier-Apotheke"));
    EXPECT_FALSE(UsesPharmacyLetterhead(true, "  "));
    EXPECT_FALSE(UsesPharmacyLetterhead(false, "Tier-Apotheke"));

    EXPECT_EQ(DocumentHeading(CloseKind::Invoice, "ANGEBOT", false, false), "RECHNUNG");
    EXPECT_EQ(DocumentHeading(CloseKind::Receipt, "ANGEBOT", true, false),
              "QUITTUNG - Abgabemedikamente");
    EXPECT_EQ(DocumentHeading(CloseKind::Quote, "ANGEBOT", true, true), "ANGEBOT");

    LetterheadInput in;
    in.business = {
        "Praxis Dr. Huf", "Tierarzt", "Weg 1",    "12345 Dorf", "0123", "0456", "Sparkasse",
        "DE00 1",         "BIC1",     "mail@huf", "Notdienst",  "",     "",     ""};
    in.addressee = {"Frau", "Anna Meier", "Gasse 2", "12345 Dorf"};
    in.heading = "RECHNUNG";
    in.cardKey = "0012/007";
    in.headText = "Kopf";
    in.indentIndex = 1;
    const QStringList head = LetterheadSlots(in);
    ASSERT_EQ(head.size(), 20);
    EXPECT_EQ(head[0], "Praxis Dr. Huf");
    EXPECT_EQ(head[5], "0456");
    EXPECT_EQ(head[6], "Frau");
    EXPECT_EQ(head[9], "12345 Dorf");
    EXPECT_EQ(head[10], "Sparkasse");
    EXPECT_EQ(head[12], "BIC1");
    EXPECT_EQ(head[13], "RECHNUNG");
    EXPECT_EQ(head[14], "0012/007");
    EXPECT_EQ(head[15], "Kopf");
    EXPECT_EQ(head[16], "1");
    EXPECT_EQ(head[17], "");
    EXPECT_EQ(head[19], "Notdienst");
}

TEST_F(CardClosingTest, LetterheadDataFromTheOptions)
{
    MemorySettings options;
    options.Write("Optionen", "NameEdit", "Praxis Dr. Huf");
    options.Write("Optionen", "BLZEdit", "DE00 1");
    options.Write("Optionen", "SonstEdit2", "Notdienst");
    options.Write("Optionen", "NameEdit2", "Tier-Apotheke");
    options.Write("Optionen", "BLZEdit2", "DE00 2");
    options.Write("Optionen", "SonstEdit4", "Apotheke Zeile 2");
    const BusinessData practice = BusinessFromOptions(options, false);
    EXPECT_EQ(practice.name, "Praxis Dr. Huf");
    EXPECT_EQ(practice.iban, "DE00 1");
    EXPECT_EQ(practice.extra2, "Notdienst");
    const BusinessData pharmacy = BusinessFromOptions(options, true);
    EXPECT_EQ(pharmacy.name, "Tier-Apotheke");
    EXPECT_EQ(pharmacy.iban, "DE00 2");
    EXPECT_EQ(pharmacy.extra2, "Apotheke Zeile 2");
    EXPECT_EQ(pharmacy.street, "");
}

TEST_F(CardClosingTest, ReceiptAsksForPaymentOnlyWithoutPaymentLines)
{
    Rows rows{Line("01.06.2024", "a", "1", "100,00000")};
    CardState s = Summed(rows);
    EXPECT_TRUE(PrepareReceiptPayment(s));
    EXPECT_EQ(s.openAmount, "119,00");
    EXPECT_EQ(s.openAmountExact, "119,00");

    CardState paid = Summed(rows);
    paid.summary << "119,00 Euro   am 15.06.2024,  bar";
    paid.openAmount = "0,00";
    EXPECT_FALSE(PrepareReceiptPayment(paid));
    EXPECT_EQ(paid.openAmount, "0,00");
}

TEST_F(CardClosingTest, CardPrintRowsAndTitles)
{
    Rows rows{Line("01.06.2024", "Impfung", "1", "30,00000"), Line("", "bar", "2", "5,00000", "B")};
    rows[0].SetCell(kColRemark, "sehr lange Bemerkung");
    const CardPrint print =
        BuildCardPrint(rows, settings, [](const QString& r) { return r.left(4) + " ..."; });
    ASSERT_TRUE(print.ok);
    ASSERT_EQ(print.lines.size(), 4u);
    EXPECT_EQ(print.lines[0].vat, "19,0");
    EXPECT_EQ(print.lines[0].amount, "30,00");
    EXPECT_EQ(print.lines[1].text, "sehr ...");
    EXPECT_EQ(print.lines[1].amount, "");
    EXPECT_EQ(print.lines[3].amount, "Bar");

    Rows broken{Line("", "x"), Line("", "y", "1", "1,00000")};
    const CardPrint failed = BuildCardPrint(broken, settings, {});
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.error, "Fehler (Zeile 2): Kein gültiges Datum vorhanden!");

    CardState s = NewState();
    s.totalGross = "40,70";
    s.cashGross = "5,35";
    s.invoiceGross = "35,35";
    QStringList titles = CardPrintTitles(s);
    ASSERT_EQ(titles.size(), 9);
    EXPECT_EQ(titles[0], "Karteikarte - Nr. 0012/007");
    EXPECT_EQ(titles[2], "Kunde: Meier Anna, 12345 Dorf");
    EXPECT_EQ(titles[4], "Gesamt brutto: 40,70 Euro");
    EXPECT_EQ(titles[5], "Davon bar brutto: 5,35 Euro");
    EXPECT_EQ(titles[7], "");
    s.invoiceDate = "15.06.2024";
    EXPECT_EQ(CardPrintTitles(s)[7], "Rechnung (brutto): 35,35 Euro  am 15.06.2024");
}

}  // namespace

// Full-size documents as the practice prints them, through the PDF printer and read
// back with pdftotext: a two-page letter, an invoice with its footer and a medication
// list. Set TALVEN_KEEP_PNG to a folder to keep the PDFs and PNGs of the pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "masterdata/MasterGridLayout.h"
#include "masterdata/ui/MasterListPrinting.h"
#include "printing/GiroCode.h"
#include "printing/LayoutStore.h"
#include "printing/PrinterList.h"
#include "printing/TPrintGrid2.h"
#include "printing/TPrintStrList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "support/FixedClock.h"
#include "support/PdfTools.h"
#include "support/SamplePrintJobs.h"
#include "support/ScriptedUserPort.h"
#include "table/TSGrid.h"

namespace {

using pdftools::ExpectInOrder;
using pdftools::Keep;
using pdftools::PageCount;

// Text of one page (1-based), laid out as on paper.
QString PageText(const QString& pdf, int page)
{
    return pdftools::Text(pdf).split(QLatin1Char('\f')).value(page - 1);
}

// The line of a page's text that holds needle.
QString LineWith(const QString& text, const QString& needle)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.contains(needle)) {
            return line;
        }
    }
    return {};
}

QStringList PracticeLetterhead()
{
    return {QStringLiteral("Tierarztpraxis Dr. med. vet. Katharina Lindner"),
            QStringLiteral("Fachtierärztin für Kleintiere"),
            QStringLiteral("Bahnhofstraße 27"),
            QStringLiteral("79539 Lörrach"),
            QStringLiteral("Tel. 07621 / 4 58 90"),
            QStringLiteral("Fax 07621 / 4 58 91"),
            QStringLiteral("Herrn"),
            QStringLiteral("Jürgen Weißenböck"),
            QStringLiteral("Am Grüttpark 14"),
            QStringLiteral("79540 Lörrach-Haagen"),
            QStringLiteral("Sparkasse Lörrach-Rheinfelden"),
            QStringLiteral("IBAN DE12 6835 0048 0001 2345 67"),
            QStringLiteral("BIC SKLODE66XXX")};
}

struct PrintedDocuments : ::testing::Test {
    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0))};
    ScriptedUserPort port;
    QtPrintCanvas canvas{dir.path(), clock};
    void SetUp() override { canvas.SelectPrinter(PrinterList::kPdfPrinterName); }
};

TEST_F(PrintedDocuments, TwoPageLetterWithFullLetterhead)
{
    TPrintStrList letter(canvas, port);
    letter.Kopf = PracticeLetterhead();
    letter.Kopf << QStringLiteral("Impfung Ihres Hundes „Bello“") << QString()
                << QStringLiteral("USt-IdNr. DE 287 654 321")
                << QStringLiteral("www.tierarzt-lindner.de");
    letter.KopfPrint = true;
    letter.LeftMargin = 20;
    letter.RightMargin = 20;
    letter.TopMargin = 20;
    letter.BottomMargin = 30;
    letter.KopfAbstand = 45;
    letter.DateLabel = QStringLiteral("08.12.2026");
    letter.PrintMgrTitle = QStringLiteral("Talven - Brief");
    letter.PageNumberLabel = QStringLiteral("Seite ");
    letter.StringList << QStringLiteral("Sehr geehrter Herr Weißenböck,") << QString();
    for (int i = 1; i <= 66; ++i) {
        letter.StringList << QStringLiteral(
                                 "%1. Zeile des Briefes über die jährliche "
                                 "Auffrischungsimpfung gegen Staupe und Tollwut.")
                                 .arg(i);
    }
    letter.StringList << QString()
                      << QStringLiteral(
                             "Übrigens: Öffnungszeiten über die Feiertage – Ärztlicher "
                             "Notdienst unter 07621 / 4 58 99.")
                      << QString() << QStringLiteral("Mit freundlichen Grüßen")
                      << QStringLiteral("Dr. Katharina Lindner");
    letter.Print();

    const QString pdf = canvas.LastPdfFile();
    Keep(pdf, QStringLiteral("letter"));
    ASSERT_EQ(PageCount(pdf), 2);
    const QString first = PageText(pdf, 1);
    ExpectInOrder(first,
                  {QStringLiteral("Tierarztpraxis Dr. med. vet. Katharina Lindner"),
                   QStringLiteral("Bahnhofstraße 27"), QStringLiteral("79539 Lörrach"),
                   QStringLiteral("Dr. med. vet. Katharina Lindner, Bahnhofstraße 27"),
                   QStringLiteral("IBAN DE12 6835 0048 0001 2345 67"),
                   QStringLiteral("Jürgen Weißenböck"), QStringLiteral("08.12.2026"),
                   QStringLiteral("Impfung Ihres Hundes"), QStringLiteral("Sehr geehrter Herr"),
                   QStringLiteral("1. Zeile"), QStringLiteral("Seite 1")});
    const QString second = PageText(pdf, 2);
    ExpectInOrder(second, {QStringLiteral("66. Zeile"), QStringLiteral("Übrigens: Öffnungszeiten"),
                           QStringLiteral("Mit freundlichen Grüßen"),
                           QStringLiteral("Dr. Katharina Lindner"), QStringLiteral("Seite 2")});
    EXPECT_FALSE(second.contains(QStringLiteral("Bahnhofstraße")));  // letterhead on page 1 only
}

std::unique_ptr<TSGrid> InvoiceLines(UserPort& port, int count)
{
    auto grid = std::make_unique<TSGrid>(port);
    grid->SetColCount(5);
    grid->Resize(12 * 21);
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        const bool food = i % 4 == 0;
        lines << QStringLiteral("%1.11.2026\t%2\t%3\t%4\t")
                     .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                     .arg(food ? QStringLiteral("Diätfutter Nierenschonkost 2 kg")
                               : QStringLiteral("Allgemeine Untersuchung mit Beratung, "
                                                "Position %1")
                                     .arg(i))
                     .arg(food ? QStringLiteral("7,0") : QStringLiteral("19,0"))
                     .arg(food ? QStringLiteral("24,90") : QStringLiteral("%1,45").arg(i * 7));
    }
    grid->SetLines(lines);
    grid->SetTitles({QString(), QStringLiteral("Datum"), QStringLiteral("Bezeichnung"),
                     QStringLiteral("USt(%)"), QStringLiteral("Netto")});
    return grid;
}

// An invoice as the record card closing hands it over, with its footer.
void SetUpInvoice(TPrintGrid2& printer, TSGrid* grid, const QString& heading)
{
    printer.AttachDocumentGrid(&*grid);
    printer.LeftMargin = 20;
    printer.RightMargin = 20;
    printer.TopMargin = 20;
    printer.BottomMargin = 30;
    printer.KopfAbstand = 45;
    printer.LinesFont = PrintFont{QStringLiteral("Arial"), 10};
    printer.ColHeaderFont = PrintFont{QStringLiteral("Arial"), 8};
    printer.TitleFontGr = PrintFont{QStringLiteral("Arial"), 14, true};
    printer.TitleFontKl = PrintFont{QStringLiteral("Arial"), 8};
    printer.PrintMgrTitle = QStringLiteral("Talven - Rechnung 0412/007");
    printer.KopfPrint = true;
    printer.Kopf = PracticeLetterhead();
    printer.Kopf << heading << QStringLiteral("0412/007")
                 << QStringLiteral("Zahlbar ohne Abzug bis zum 22.12.2026 ") << QStringLiteral("1")
                 << QString() << QStringLiteral("USt-IdNr. DE 287 654 321")
                 << QStringLiteral("www.tierarzt-lindner.de");
    printer.DateLabel = QStringLiteral("08.12.2026");
    printer.FussPrint = true;
    printer.Fuss = QStringList(18);
    printer.Fuss[0] = QStringLiteral("19%");
    printer.Fuss[1] = QStringLiteral("1.089,15");
    printer.Fuss[2] = QStringLiteral("7%");
    printer.Fuss[3] = QStringLiteral("17,43");
    printer.Fuss[12] = QStringLiteral("5.981,50");
    printer.Fuss[13] = QStringLiteral("1.106,58");
    printer.Fuss[14] = QStringLiteral("7.088,08");
    printer.Fuss[15] = QStringLiteral("Euro");
    printer.Fuss[16] = QStringLiteral(
        "Vielen Dank für Ihr Vertrauen. Bitte geben Sie bei der "
        "Zahlung die Rechnungsnummer an.");
    printer.Fuss[17] = QStringLiteral(
        "Tierarztpraxis Dr. Lindner · Bahnhofstraße 27 · 79539 "
        "Lörrach · Sparkasse Lörrach-Rheinfelden · IBAN DE12 6835 "
        "0048 0001 2345 67 · BIC SKLODE66XXX · USt-IdNr. DE 287 654 "
        "321");
}

TEST_F(PrintedDocuments, InvoiceWithContinuationPageAndFooter)
{
    auto grid = InvoiceLines(port, 40);
    TPrintGrid2 printer(canvas, port, clock);
    SetUpInvoice(printer, grid.get(), QStringLiteral("RECHNUNG"));
    printer.Print();

    const QString pdf = canvas.LastPdfFile();
    Keep(pdf, QStringLiteral("invoice"));
    ASSERT_EQ(PageCount(pdf), 2);
    const QString first = PageText(pdf, 1);
    ExpectInOrder(first,
                  {QStringLiteral("Tierarztpraxis Dr. med. vet. Katharina Lindner"),
                   QStringLiteral("Jürgen Weißenböck"), QStringLiteral("08.12.2026"),
                   QStringLiteral("RECHNUNG"), QStringLiteral("Rechnungs-Nr: 0412/007"),
                   QStringLiteral("Zahlbar ohne Abzug bis zum 22.12.2026"), QStringLiteral("Datum"),
                   QStringLiteral("Bezeichnung"), QStringLiteral("Netto"),
                   QStringLiteral("Position 1"), QStringLiteral("Seite 1")});
    const QString second = PageText(pdf, 2);
    ExpectInOrder(
        second,
        {QStringLiteral("Rechnungs-Nr: 0412/007"), QStringLiteral("Datum"),
         QStringLiteral("Position 39"), QStringLiteral("Diätfutter"), QStringLiteral("USt 19%"),
         QStringLiteral("1.089,15"), QStringLiteral("Nettobetrag"), QStringLiteral("5.981,50"),
         QStringLiteral("USt 7%"), QStringLiteral("17,43"), QStringLiteral("Umsatzsteuer"),
         QStringLiteral("Endbetrag"), QStringLiteral("7.088,08"), QStringLiteral("( Euro )"),
         QStringLiteral("Vielen Dank"), QStringLiteral("Seite 2")});
    // Footer amounts end in one column, as do the row amounts above them.
    const QString net = LineWith(second, QStringLiteral("Nettobetrag"));
    const QString vat = LineWith(second, QStringLiteral("Umsatzsteuer"));
    const QString total = LineWith(second, QStringLiteral("Endbetrag"));
    EXPECT_EQ(net.trimmed().size() + net.indexOf(net.trimmed()),
              total.trimmed().size() + total.indexOf(total.trimmed()));
    EXPECT_EQ(vat.trimmed().size() + vat.indexOf(vat.trimmed()),
              total.trimmed().size() + total.indexOf(total.trimmed()));
}

// The payment code of an invoice, printed to PDF and rendered at the resolution of a phone
// camera's view of paper, scans back to its text; the footer stays readable beside it.
TEST_F(PrintedDocuments, InvoicePayCodeScansBackFromThePage)
{
    BusinessData practice;
    practice.name = QStringLiteral("Tierarztpraxis Dr. med. vet. Katharina Lindner");
    practice.accountIban = QStringLiteral("DE45 6835 0048 0001 2345 67");
    practice.accountBic = QStringLiteral("SKLODE66XXX");
    const auto transfer =
        girocode::TransferFor(practice, true, QStringLiteral("Euro"), 7088.08L,
                              QStringLiteral("0412/007"), QStringLiteral("08.12.2026"));
    ASSERT_TRUE(transfer);
    const QByteArray payload = girocode::Payload(*transfer);

    auto grid = InvoiceLines(port, 12);
    TPrintGrid2 printer(canvas, port, clock);
    SetUpInvoice(printer, grid.get(), QStringLiteral("RECHNUNG"));
    printer.PayCode = girocode::Encode(payload);
    printer.Print();
    const QString pdf = canvas.LastPdfFile();
    Keep(pdf, QStringLiteral("invoice-girocode"));
    ASSERT_EQ(PageCount(pdf), 1);
    ExpectInOrder(PageText(pdf, 1), {QStringLiteral("Position 11"), QStringLiteral("13.11.2026"),
                                     QStringLiteral("Endbetrag"), QStringLiteral("7.088,08"),
                                     QStringLiteral("Vielen Dank")});

    EXPECT_EQ(pdftools::ScannedCode(pdf).toStdString(), payload.toStdString());
}

TEST_F(PrintedDocuments, ReceiptWhoseFooterNeedsAPageOfItsOwn)
{
    // 27 rows on page 1, 43 on page 2: fewer than ten lines stay free for the footer.
    auto grid = InvoiceLines(port, 70);
    TPrintGrid2 printer(canvas, port, clock);
    SetUpInvoice(printer, grid.get(), QStringLiteral("QUITTUNG - Barzahlung"));
    printer.PrintMgrTitle = QStringLiteral("Talven - Quittung 0412/007");
    printer.EndPage = 2;  // the footer page comes out all the same
    printer.Print();

    const QString pdf = canvas.LastPdfFile();
    Keep(pdf, QStringLiteral("receipt"));
    ASSERT_EQ(PageCount(pdf), 3);
    ExpectInOrder(PageText(pdf, 1), {QStringLiteral("QUITTUNG - Barzahlung"),
                                     QStringLiteral("Quittungs-Nr: 0412/007"),
                                     QStringLiteral("Position 1"), QStringLiteral("Seite 1")});
    ExpectInOrder(PageText(pdf, 2), {QStringLiteral("Quittungs-Nr: 0412/007"),
                                     QStringLiteral("Position 70"), QStringLiteral("Seite 2")});
    const QString third = PageText(pdf, 3);
    ExpectInOrder(third, {QStringLiteral("Quittungs-Nr: 0412/007"), QStringLiteral("Nettobetrag"),
                          QStringLiteral("Endbetrag"), QStringLiteral("Vielen Dank"),
                          QStringLiteral("Seite 3")});
    EXPECT_FALSE(third.contains(QStringLiteral("Position")));
}

TEST_F(PrintedDocuments, MedicationListOfEightyRows)
{
    TSGrid grid(port);
    SetUpMasterGrid(grid, MasterTable::Medication, {}, 8);
    grid.Resize(12 * 21);
    QStringList lines;
    for (int i = 1; i <= 80; ++i) {
        lines << QStringLiteral(
                     "Amoxicillin Tabletten %1 mg, 10 Stück\t%2,40000\t%3,95000\t"
                     "%4,00000\t%5\t%6 Tage\tCH-%7\t\t%8\t\t")
                     .arg(i * 25)
                     .arg(i)
                     .arg(i * 2)
                     .arg(i * 3)
                     .arg(i % 3 + 1)
                     .arg(i % 5 * 7)
                     .arg(4400 + i)
                     .arg(i % 17);
    }
    grid.SetLines(lines);
    MemoryLayoutStore store;
    TPrintGrid2 printer(canvas, port, clock);
    RunMasterListPrint(ListPrintMode::PrintDirect, nullptr, canvas, printer, grid,
                       MasterTable::Medication, store, dir.path());

    const QString pdf = canvas.LastPdfFile();
    Keep(pdf, QStringLiteral("medications"));
    ASSERT_GE(PageCount(pdf), 2);
    const int pages = PageCount(pdf);
    ExpectInOrder(PageText(pdf, 1),
                  {QStringLiteral("Talven - Medikamente"), QStringLiteral("8. Dez. 2026"),
                   QStringLiteral("Medikament"), QStringLiteral("VerkNetto"),
                   QStringLiteral("Amoxicillin Tabletten 25 mg"), QStringLiteral("Seite 1")});
    ExpectInOrder(PageText(pdf, pages), {QStringLiteral("Talven - Medikamente"),
                                         QStringLiteral("Amoxicillin Tabletten 2000 mg"),
                                         QStringLiteral("Seite %1").arg(pages)});
}

}  // namespace

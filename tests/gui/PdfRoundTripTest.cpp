#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <QImage>
#include <memory>

#include "masterdata/MasterGridLayout.h"
#include "masterdata/ui/MasterListPrinting.h"
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

struct PdfFixture : ::testing::Test {
    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0, 5))};
    ScriptedUserPort port;
    QtPrintCanvas canvas{dir.path(), clock};
    void SetUp() override { canvas.SelectPrinter(PrinterList::kPdfPrinterName); }
};

TEST_F(PdfFixture, LetterWithLetterheadReachesThePdfInOrder)
{
    TPrintStrList letter(canvas, port);
    letter.Kopf = samples::LetterKopf();
    letter.KopfPrint = true;
    letter.DateLabel = QStringLiteral("15.03.2024");
    letter.PrintMgrTitle = QStringLiteral("Talven - Brief");
    letter.PageNumberLabel = QStringLiteral("Seite ");
    letter.StringList.append(QStringLiteral("Sehr geehrte Frau Mustermann,"));
    letter.StringList.append(QString());
    for (int i = 1; i <= 70; ++i) {
        letter.StringList.append(
            QStringLiteral("Absatz %1\tmit Tabulator\tund Umlauten äöüß").arg(i));
    }
    letter.StringList.append(QStringLiteral("Mit freundlichen Grüßen"));
    letter.Print();

    const QString pdf = canvas.LastPdfFile();
    ASSERT_TRUE(pdf.startsWith(QDir(dir.path()).filePath(QStringLiteral("PDF/Talven - Brief_"))));
    EXPECT_EQ(pdftools::PageCount(pdf), 2);
    const QString text = pdftools::Text(pdf);
    pdftools::ExpectInOrder(
        text, {QStringLiteral("Tierarztpraxis Dr. Berger"), QStringLiteral("Hauptstr. 1"),
               QStringLiteral("Erika Mustermann"), QStringLiteral("54321 Beispielort"),
               QStringLiteral("15.03.2024"), QStringLiteral("Erinnerung"),
               QStringLiteral("Sehr geehrte Frau"), QStringLiteral("Absatz 1 "),
               QStringLiteral("Seite 1"), QStringLiteral("Absatz 70"),
               QStringLiteral("Mit freundlichen Grüßen"), QStringLiteral("Seite 2")});
    EXPECT_TRUE(text.contains(QStringLiteral("und Umlauten äöüß")));
    pdftools::Keep(pdf, QStringLiteral("letter"));
}

QStringList Positions(int rows)
{
    QStringList lines;
    for (int i = 1; i <= rows; ++i) {
        lines.append(QStringLiteral("15.03.2024\tBehandlung Nr. %1 mit Untersuchung\t19,0\t%2,50\t")
                         .arg(i)
                         .arg(i * 3));
    }
    return lines;
}

TEST_F(PdfFixture, InvoiceWithLogoFooterAndContinuationPage)
{
    const QString logo = QDir(dir.path()).filePath(QStringLiteral("Logo.bmp"));
    QImage image(240, 120, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(logo, "BMP"));

    auto grid = samples::InvoiceGrid(port, Positions(45));
    TPrintGrid2 printer(canvas, port, clock);
    printer.AttachDocumentGrid(&*grid);
    printer.LeftMargin = 20;
    printer.RightMargin = 20;
    printer.TopMargin = 20;
    printer.BottomMargin = 30;
    printer.KopfAbstand = 45;
    printer.ColHeaderFont.size = 8;
    printer.ColHeaderFont.bold = false;
    printer.PrintMgrTitle = QStringLiteral("Talven - Rechnung 0001/002");
    printer.KopfPrint = true;
    printer.Kopf = samples::InvoiceKopf(QStringLiteral("0001/002"), logo);
    printer.DateLabel = QStringLiteral("15.03.2024");
    printer.FussPrint = true;
    printer.Fuss = {QStringLiteral("19%"),
                    QStringLiteral("3.105,00"),
                    QStringLiteral("7%"),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QStringLiteral("3.105,00"),
                    QStringLiteral("589,95"),
                    QStringLiteral("3.694,95"),
                    QStringLiteral("Euro"),
                    QStringLiteral("Bitte überweisen Sie den Betrag auf unser Konto."),
                    QStringLiteral("Tierarztpraxis Dr. Berger - Hauptstr. 1 - 12345 Musterstadt")};
    printer.Print();

    const QString pdf = canvas.LastPdfFile();
    EXPECT_EQ(pdftools::PageCount(pdf), 2);
    const QString text = pdftools::Text(pdf);
    pdftools::ExpectInOrder(
        text,
        {QStringLiteral("Tierarztpraxis Dr. Berger"), QStringLiteral("Erika Mustermann"),
         QStringLiteral("RECHNUNG"), QStringLiteral("Rechnungs-Nr: 0001/002"),
         QStringLiteral("Datum"), QStringLiteral("Behandlung Nr. 1 mit"), QStringLiteral("Seite 1"),
         QStringLiteral("Rechnungs-Nr: 0001/002"), QStringLiteral("Behandlung Nr. 45 mit"),
         QStringLiteral("USt 19%"), QStringLiteral("Nettobetrag"), QStringLiteral("Endbetrag"),
         QStringLiteral("3.694,95"), QStringLiteral("Bitte überweisen"),
         QStringLiteral("Seite 2")});
    pdftools::Keep(pdf, QStringLiteral("invoice"));
}

TEST_F(PdfFixture, ListWithTitleDateAndRules)
{
    auto grid = std::make_unique<TSGrid>(port);
    grid->SetColCount(4);
    grid->Resize(12 * 21);
    QStringList lines;
    for (int i = 1; i <= 80; ++i) {
        lines.append(QStringLiteral("Medikament %1\t%2,00000\t%3\t").arg(i).arg(i).arg(i % 3 + 1));
    }
    grid->SetLines(lines);
    grid->SetTitles({QString(), QStringLiteral("Medikament"), QStringLiteral("VerkNetto"),
                     QStringLiteral("USt")});
    grid->PriceCol1 = 2;
    TPrintGrid2 printer(canvas, port, clock);
    printer.AttachGrid(grid.get());
    printer.SetColWidth(1, 80);
    printer.SetColWidth(2, 25);
    printer.SetColWidth(3, 15);
    printer.SetAlignment(2, TextAlignment::taRightJustify);
    printer.SetAlignment(3, TextAlignment::taCenter);
    printer.UStCol = 3;
    printer.RowLines = true;
    printer.LeftMargin = 20;
    printer.RightMargin = 20;
    printer.TopMargin = 20;
    printer.BottomMargin = 30;
    printer.Title = {QStringLiteral("Talven - Medikamente")};
    printer.PrintMgrTitle = QStringLiteral("Talven - Medikamente");
    printer.Print();

    const QString pdf = canvas.LastPdfFile();
    EXPECT_EQ(pdftools::PageCount(pdf), 2);
    const QString text = pdftools::Text(pdf);
    pdftools::ExpectInOrder(
        text,
        {QStringLiteral("Talven - Medikamente"), QStringLiteral("15. März 2024"),
         QStringLiteral("Medikament"), QStringLiteral("Medikament 1 "), QStringLiteral("1,00"),
         QStringLiteral("Seite 1"), QStringLiteral("Talven - Medikamente"),
         QStringLiteral("Medikament 80"), QStringLiteral("80,00"), QStringLiteral("Seite 2")});
    pdftools::Keep(pdf, QStringLiteral("list"));
}

TEST_F(PdfFixture, CustomerListWithItsStoredLayout)
{
    TSGrid grid(port);
    SetUpMasterGrid(grid, MasterTable::Customer, {}, 9);
    grid.Resize(12 * 21);
    QStringList lines;
    for (int i = 1; i <= 30; ++i) {
        lines.append(QStringLiteral("Müller %1\tJürgen\tLindenstraße %1\t12345 Überlingen\t%2\t"
                                    "0123/%1\tHerrn\t\t000\t\t")
                         .arg(i)
                         .arg(i, 4, 10, QLatin1Char('0')));
    }
    grid.SetLines(lines);
    MemoryLayoutStore store;
    TPrintGrid2 printer(canvas, port, clock);
    RunMasterListPrint(ListPrintMode::PrintDirect, nullptr, canvas, printer, grid,
                       MasterTable::Customer, store, dir.path());
    const QString pdf = canvas.LastPdfFile();
    EXPECT_EQ(pdftools::PageCount(pdf), 1);
    const QString text = pdftools::Text(pdf);
    pdftools::ExpectInOrder(
        text, {QStringLiteral("Talven - Kundenstamm"), QStringLiteral("Name"),
               QStringLiteral("Vorname"), QStringLiteral("Straße"), QStringLiteral("K-Nr."),
               QStringLiteral("Müller 1 "), QStringLiteral("12345 Überlingen"),
               QStringLiteral("0001"), QStringLiteral("Müller 30"), QStringLiteral("Seite 1")});
    EXPECT_FALSE(text.contains(QStringLiteral("0123/1")));  // telephone is off by default
    pdftools::Keep(pdf, QStringLiteral("customers"));
}

TEST_F(PdfFixture, PreviewPrinterTakesACopyOfTheJob)
{
    // What the print preview does: the job's settings drawn on the preview's printer.
    TPrintStrList letter(canvas, port);
    letter.PrintMgrTitle = QStringLiteral("Talven - Brief");
    for (int i = 1; i <= 80; ++i) {
        letter.StringList.append(QStringLiteral("Zeile %1").arg(i));
    }
    QPrinter previewPrinter(QPrinter::HighResolution);
    previewPrinter.setOutputFormat(QPrinter::PdfFormat);
    const QString path = QDir(dir.path()).filePath(QStringLiteral("vorschau.pdf"));
    previewPrinter.setOutputFileName(path);
    QtPrintCanvas onPreview(&previewPrinter);
    TPrintStrList copy = letter;
    copy.Rebind(onPreview);
    copy.Print();
    EXPECT_EQ(pdftools::PageCount(path), 2);
    EXPECT_TRUE(canvas.LastPdfFile().isEmpty());  // the original canvas printed nothing
    EXPECT_TRUE(pdftools::Text(path, false).contains(QStringLiteral("Zeile 80")));
}

}  // namespace

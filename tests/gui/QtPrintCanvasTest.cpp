#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QTemporaryDir>

#include "printing/PrinterList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/qt/QtPrinterList.h"
#include "support/FixedClock.h"

namespace {

TEST(QtPrintCanvasTest, WindowsFontsResolveToMetricCompatibleFamilies)
{
    EXPECT_EQ(QtPrintCanvas::FamilyFor(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QtPrintCanvas::FamilyFor(QStringLiteral("Microsoft Sans Serif")),
              QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QtPrintCanvas::FamilyFor(QStringLiteral("Courier 10 CPI")),
              QStringLiteral("Liberation Mono"));
    EXPECT_EQ(QtPrintCanvas::FamilyFor(QStringLiteral("Courier New")),
              QStringLiteral("Liberation Mono"));
    // The fonts are really installed, not silently replaced by another family.
    for (const char* name : {"Arial", "Courier New"}) {
        PrintFont f;
        f.name = QString::fromLatin1(name);
        QTemporaryDir dir;
        FixedClock clock;
        QtPrintCanvas canvas(dir.path(), clock);
        EXPECT_EQ(QFontInfo(canvas.QtFont(f)).family(), QtPrintCanvas::FamilyFor(f.name));
    }
}

TEST(QtPrintCanvasTest, PdfPrinterHasA4MetricsAndTrueFontSizes)
{
    QTemporaryDir dir;
    FixedClock clock;
    QtPrintCanvas canvas(dir.path(), clock);
    canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    EXPECT_EQ(canvas.PageWidthMm(), 210);
    EXPECT_EQ(canvas.PageHeightMm(), 297);
    EXPECT_EQ(canvas.LogPixelsY(), 600);
    EXPECT_NEAR(canvas.PageWidth(), 210 / 25.4 * 600, 5);  // A4 is 595 points
    EXPECT_EQ(canvas.PhysicalOffsetX(), 0);

    PrintFont font;
    font.size = 12;
    canvas.SetFont(font);
    // 12 points at 600 dpi: a 100 pixel em; the text cell is a little taller.
    EXPECT_GE(canvas.TextHeight(QStringLiteral("M")), 100);
    EXPECT_LE(canvas.TextHeight(QStringLiteral("M")), 125);
    EXPECT_GT(canvas.TextWidth(QStringLiteral("WWW")), canvas.TextWidth(QStringLiteral("iii")));
    const int avg = canvas.AverageCharWidth();
    EXPECT_EQ(canvas.TabbedTextWidth(QStringLiteral("a\tb")),
              8 * avg + canvas.TextWidth(QStringLiteral("b")));

    canvas.SetOrientation(PrinterOrientation::poLandscape);
    EXPECT_EQ(canvas.PageWidthMm(), 297);
    EXPECT_EQ(canvas.Orientation(), PrinterOrientation::poLandscape);
}

TEST(QtPrintCanvasTest, PdfPrinterWritesEachJobIntoThePdfFolder)
{
    QTemporaryDir dir;
    FixedClock clock(QDateTime(QDate(2024, 3, 15), QTime(10, 0, 5)));
    QtPrintCanvas canvas(dir.path(), clock);
    canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    for (int job = 0; job < 2; ++job) {
        ASSERT_TRUE(canvas.BeginDoc(QStringLiteral("Talven - Rechnung 0001/002")));
        canvas.TextOut(100, 100, QStringLiteral("Hallo"));
        canvas.NewPage();
        canvas.TextRect(QRect(100, 100, 50, 50), 100, 100, QStringLiteral("Welt"));
        canvas.EndDoc();
    }
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("PDF"));
    EXPECT_EQ(
        canvas.LastPdfFile(),
        QDir(folder).filePath(QStringLiteral("Talven - Rechnung 0001-002_20240315_100005-2.pdf")));
    EXPECT_TRUE(QFileInfo::exists(
        QDir(folder).filePath(QStringLiteral("Talven - Rechnung 0001-002_20240315_100005.pdf"))));
    EXPECT_GT(QFileInfo(canvas.LastPdfFile()).size(), 500);
}

TEST(QtPrintCanvasTest, PrinterListAlwaysHoldsThePdfPrinter)
{
    QtPrinterList printers;
    EXPECT_TRUE(printers.PrinterNames().contains(PrinterList::kPdfPrinterName));
    EXPECT_FALSE(printers.DefaultPrinter().isEmpty());
    EXPECT_TRUE(printers.IsReachable(PrinterList::kPdfPrinterName));
}

}  // namespace

namespace {

TEST(QtPrintCanvasTest, FontsFollowAResolutionChange)
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("x.pdf")));
    printer.setResolution(300);
    QtPrintCanvas canvas(&printer);
    PrintFont font;
    font.size = 12;
    canvas.SetFont(font);
    const int at300 = canvas.TextHeight(QStringLiteral("M"));
    printer.setResolution(600);  // as a print dialog may do
    ASSERT_TRUE(canvas.BeginDoc(QStringLiteral("Test")));
    EXPECT_NEAR(canvas.TextHeight(QStringLiteral("M")), 2 * at300, 2);
    canvas.EndDoc();
}

}  // namespace

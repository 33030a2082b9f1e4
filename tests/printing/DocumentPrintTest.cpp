#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "printing/TPrintGrid2.h"
#include "support/FixedClock.h"
#include "support/RecordingCanvas.h"
#include "support/SamplePrintJobs.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

// Invoices on the recording canvas (see TPrintGrid2Test for the metrics). The footer of a
// page with room sits at 2770 − 10 × 46 = 2310; its column unit u is (2000 − 15) / 6 = 330.
namespace {

QStringList Footer()
{
    return {QStringLiteral("19%"),
            QStringLiteral("19,00"),
            QStringLiteral("7%"),
            QString(),
            QStringLiteral("0%"),
            QStringLiteral("0,00"),
            QStringLiteral("16%"),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            QStringLiteral("100,00"),
            QStringLiteral("19,00"),
            QStringLiteral("119,00"),
            QStringLiteral("bar"),
            QStringLiteral("Vielen Dank für Ihren Besuch."),
            QStringLiteral("Praxis Dr. Berger")};
}

struct DocFixture : ::testing::Test {
    RecordingCanvas canvas;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    TPrintGrid2 printer{canvas, port, clock};
    std::unique_ptr<TSGrid> grid;

    void Invoice(int rows)
    {
        QStringList lines;
        for (int i = 1; i <= rows; ++i) {
            lines.append(QStringLiteral("15.03.2024\tPosten %1\t19,0\t10,00\t").arg(i));
        }
        grid = samples::InvoiceGrid(port, lines);
        printer.AttachDocumentGrid(&*grid);
        printer.PrintMgrTitle = QStringLiteral("Talven - Rechnung 0001/002");
        printer.KopfPrint = true;
        printer.Kopf = samples::InvoiceKopf(QStringLiteral("2024/17"));
        printer.DateLabel = QStringLiteral("15.03.2024");
        printer.FussPrint = true;
        printer.Fuss = Footer();
    }

    const RecordingCanvas::Call* Text(const QString& t) const { return canvas.Find(t); }
};

TEST(DocumentNumberTest, HeadingGivesTheNumberText)
{
    EXPECT_EQ(
        TPrintGrid2::DocumentNumberText(QStringLiteral("RECHNUNG"), QStringLiteral("2005/17")),
        QStringLiteral("Rechnungs-Nr: 2005/17"));
    EXPECT_EQ(TPrintGrid2::DocumentNumberText(QStringLiteral("QUITTUNG - Barzahlung"),
                                              QStringLiteral("12")),
              QStringLiteral("Quittungs-Nr: 12"));
}

TEST_F(DocFixture, DocumentModeFollowsTheJobTitle)
{
    Invoice(1);
    EXPECT_TRUE(printer.DocumentMode());
    for (const char* title :
         {"Talven - Quittung 1", "Talven - Karteikarte 2", "Talven - Notiz", "Stapeldruck"}) {
        printer.PrintMgrTitle = QString::fromLatin1(title);
        EXPECT_TRUE(printer.DocumentMode()) << title;
    }
    printer.PrintMgrTitle = QStringLiteral("Talven - rechnung");
    EXPECT_FALSE(printer.DocumentMode());
}

TEST_F(DocFixture, FourFixedColumnsAndTheDescriptionWidth)
{
    Invoice(1);
    // Date 216, VAT 126, amount 180; the description takes the rest: 1450.
    EXPECT_EQ(printer.DescriptionColumnWidth(), 1450 - 4);
    EXPECT_EQ(canvas.jobs, 0);
    printer.Print();
    const auto* amount = Text(QStringLiteral("10,00"));
    ASSERT_NE(amount, nullptr);
    const int right = 50 + 220 + 1454 + 130 + 184;
    EXPECT_EQ(amount->clip.right() + 1, right - 4);
    EXPECT_EQ(amount->x, right - 4 - 5 * 18);
}

TEST_F(DocFixture, HeadingAndNumberShareARow)
{
    Invoice(1);
    printer.Print();
    const auto* heading = Text(QStringLiteral("RECHNUNG"));
    const auto* number = Text(QStringLiteral("Rechnungs-Nr: 2024/17"));
    ASSERT_NE(heading, nullptr);
    ASSERT_NE(number, nullptr);
    // "Rechnungs-Nr: 2024/17" is 21 × 18 = 378 wide.
    EXPECT_EQ(heading->clip.right() + 1, 2050 - 378 - 25);
    EXPECT_EQ(number->x, 2050 - 378 - 10);
    EXPECT_TRUE(heading->font.bold);
    EXPECT_EQ(heading->font.size, 11);
    EXPECT_NE(Text(QStringLiteral("Zahlbar bis 29.03.2024 ohne Abzug.")), nullptr);
    EXPECT_EQ(Text(QStringLiteral("1")), nullptr);  // the indentation slot is not drawn
    EXPECT_NE(Text(QStringLiteral("www.praxis.de")), nullptr);
}

TEST_F(DocFixture, RatePairsTotalsAndEmptyPairs)
{
    Invoice(3);
    printer.Print();
    const int f = 2310;
    // Indentation factor 1: the gap stays 4.
    const auto* first = Text(QStringLiteral("USt 19%"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 50 + 4);
    EXPECT_EQ(first->y, f + 5);
    EXPECT_EQ(Text(QStringLiteral("USt 7%")), nullptr);  // no amount: the row stays empty
    EXPECT_EQ(Text(QStringLiteral("USt 0%"))->y, f + 2 * 46 + 5);
    EXPECT_EQ(Text(QStringLiteral("USt 16%")), nullptr);
    const auto* amount = Text(QStringLiteral("19,00"));
    EXPECT_EQ(amount->x + 5 * 18, 50 + 660 - 8);
    // Totals: gap 4 / 3 = 1.
    const auto* net = Text(QStringLiteral("Nettobetrag"));
    EXPECT_EQ(net->x, 50 + 1320 + 3);
    EXPECT_EQ(net->y, f + 5);
    EXPECT_NE(Text(QStringLiteral("Umsatzsteuer")), nullptr);
    EXPECT_TRUE(Text(QStringLiteral("Endbetrag"))->font.bold);
    EXPECT_EQ(Text(QStringLiteral("119,00"))->y, f + 3 * 46 + 5);
    EXPECT_EQ(Text(QStringLiteral("( bar )"))->y, f + 5 * 46 + 5);
    EXPECT_EQ(Text(QStringLiteral("Vielen Dank für Ihren Besuch."))->y, f + 7 * 46 + 5);
    EXPECT_EQ(Text(QStringLiteral("Praxis Dr. Berger"))->y, f + 391 + 5);
}

TEST_F(DocFixture, IndentationOneFoldStartsLabelsAtTheMargin)
{
    Invoice(1);
    printer.Kopf[16] = QStringLiteral("0");
    printer.Print();
    EXPECT_EQ(Text(QStringLiteral("USt 19%"))->x, 50);

    RecordingCanvas other;
    TPrintGrid2 noNumber(other, port, clock);
    noNumber.AttachGrid(grid.get());
    noNumber.PrintMgrTitle = printer.PrintMgrTitle;
    noNumber.Kopf = samples::InvoiceKopf(QStringLiteral("2024/17"));
    noNumber.Kopf[16] = QStringLiteral("zwei");  // not a number: factor 2
    noNumber.FussPrint = true;
    noNumber.Fuss = Footer();
    noNumber.Print();
    EXPECT_EQ(other.Find(QStringLiteral("USt 19%"))->x, 50 + 8);
}

TEST_F(DocFixture, NarrowTotalsColumnSaysUSt)
{
    Invoice(1);
    printer.LeftMargin = 70;
    printer.RightMargin = 70;  // printable 700: u = 114, room 114 − 3 − 4 < 216
    printer.Print();
    EXPECT_EQ(Text(QStringLiteral("Umsatzsteuer")), nullptr);
    EXPECT_NE(Text(QStringLiteral("USt")), nullptr);
}

TEST_F(DocFixture, FooterGoesToAPageOfItsOwnWhenTenLinesAreNotFree)
{
    int samePage = 0;
    int ownPage = 0;
    for (int rows = 10; rows <= 70; rows += 3) {
        canvas.calls.clear();
        Invoice(rows);
        printer.FromPage = 1;
        printer.EndPage = 1000;
        printer.Print();
        const auto* last = Text(QStringLiteral("Posten %1").arg(rows));
        const auto* net = Text(QStringLiteral("Nettobetrag"));
        ASSERT_NE(last, nullptr);
        ASSERT_NE(net, nullptr);
        const int lastTop = last->y - 5;
        if (lastTop + 11 * 46 < 2770) {
            ++samePage;
            EXPECT_EQ(net->page, last->page) << rows;
            EXPECT_EQ(net->y, 2310 + 5);
        } else {
            ++ownPage;
            EXPECT_EQ(net->page, last->page + 1) << rows;
            // Only the continuation header, the page number and the footer.
            const QStringList texts = canvas.TextStrings(net->page);
            EXPECT_EQ(texts.first(), QStringLiteral("Rechnungs-Nr: 2024/17   "));
            EXPECT_EQ(texts[1], QStringLiteral("Seite %1").arg(net->page));
            for (const QString& t : texts) {
                EXPECT_FALSE(t.startsWith(QStringLiteral("Posten")));
            }
            // Two column-title "M" heights below the top margin.
            EXPECT_EQ(net->y, 100 + 80 + 5);
        }
    }
    EXPECT_GT(samePage, 0);
    EXPECT_GT(ownPage, 0);
}

// The payment code (30 mm: 300 pixels) stands at the right edge between the last row and
// the footer rule, or below the footer on the footer's own page; never over a text.
TEST_F(DocFixture, PayCodeStandsClearOfRowsAndFooter)
{
    MonoBitmap code;
    code.width = code.height = 29;
    code.dark.assign(29 * 29, true);
    int samePage = 0;
    int ownPage = 0;
    for (int rows = 10; rows <= 70; rows += 3) {
        canvas.calls.clear();
        canvas.monoBitmaps.clear();
        Invoice(rows);
        printer.PayCode = code;
        printer.Print();
        ASSERT_EQ(canvas.monoBitmaps.size(), 1) << rows;
        const RecordingCanvas::Call* bitmap = nullptr;
        for (const auto& c : canvas.calls) {
            if (c.op == RecordingCanvas::Op::Bitmap)
                bitmap = &c;
        }
        ASSERT_NE(bitmap, nullptr);
        const QRect r = bitmap->clip;
        EXPECT_EQ(r.size(), QSize(300, 300));
        EXPECT_EQ(r.right() + 1, 2050);
        const auto* net = Text(QStringLiteral("Nettobetrag"));
        EXPECT_EQ(bitmap->page, net->page);
        for (const auto& t : canvas.Texts(bitmap->page)) {
            const QRect box(t.x, t.y, int(t.text.size()) * 2 * t.font.size, 4 * t.font.size);
            EXPECT_FALSE(box.intersects(r)) << rows << " " << t.text.toStdString();
        }
        ++(bitmap->page == Text(QStringLiteral("Posten %1").arg(rows))->page ? samePage : ownPage);
    }
    EXPECT_GT(samePage, 0);
    EXPECT_GT(ownPage, 0);
}

TEST_F(DocFixture, FooterPageIsPrintedEvenPastThePageRange)
{
    // 25 rows leave fewer than ten free lines on page 1.
    Invoice(25);
    printer.Print();
    ASSERT_EQ(canvas.pages, 2) << "fixture no longer fills page 1";
    canvas.calls.clear();
    canvas.pages = 0;
    printer.FromPage = 1;
    printer.EndPage = 1;
    printer.Print();
    EXPECT_EQ(canvas.pages, 2);
    EXPECT_NE(Text(QStringLiteral("Endbetrag")), nullptr);
}

TEST_F(DocFixture, ContinuationPagesRepeatTheNumberAboveTheColumnTitles)
{
    Invoice(60);
    printer.Print();
    const QList<RecordingCanvas::Call> page2 = canvas.Texts(2);
    ASSERT_FALSE(page2.isEmpty());
    EXPECT_EQ(page2[0].text, QStringLiteral("Rechnungs-Nr: 2024/17   "));
    EXPECT_EQ(page2[0].x, 2050 - 24 * 20);
    EXPECT_EQ(page2[0].y, 100);
    EXPECT_EQ(page2[1].text, QStringLiteral("Datum"));
    EXPECT_EQ(page2[1].y, 100 + 80 + 6);
    // Body: 52 + 100 + 80 + Trunc(0.8 × 36) / 4 = 239, a third line lower 254.
    for (const auto& c : page2) {
        if (c.text.startsWith(QStringLiteral("Posten"))) {
            EXPECT_EQ(c.y, 254 + 5);
            break;
        }
    }
}

TEST_F(DocFixture, LogoOfOneThirdOfThePageIsLarge)
{
    QTemporaryDir dir;
    const QString logo = QDir(dir.path()).filePath(QStringLiteral("Logo.bmp"));
    testfiles::WriteAll(logo, QByteArray("BM"));
    // Half the natural size at 288 / 96: 467 pixels give 700, a third of 2100.
    canvas.bitmaps = {{logo, QSize(467, 100)}};
    Invoice(1);
    printer.Kopf[17] = logo;
    printer.Print();
    ASSERT_EQ(canvas.Count(RecordingCanvas::Op::Bitmap), 1);
    const auto* bitmap = &canvas.calls[0];
    for (const auto& c : canvas.calls) {
        if (c.op == RecordingCanvas::Op::Bitmap) {
            bitmap = &c;
        }
    }
    EXPECT_EQ(bitmap->clip, QRect(54, 100, 700, 150));
    // The address column starts below the logo: top + "M" (small font, 32) + 150.
    EXPECT_EQ(Text(QStringLiteral("Hauptstr. 1"))->y, 100 + 32 + 150 + 4);
    // It stands in for the name and firm line, which it would cover all but their edges.
    EXPECT_EQ(Text(QStringLiteral("Tierarztpraxis Dr. Berger")), nullptr);
    EXPECT_EQ(Text(QStringLiteral("Fachtierarzt für Kleintiere")), nullptr);

    // A large logo that cannot be drawn leaves them in place.
    RecordingCanvas broken;
    broken.bitmaps = canvas.bitmaps;
    broken.bitmapsFail = true;
    printer.Rebind(broken);
    printer.Print();
    ASSERT_NE(broken.Find(QStringLiteral("Tierarztpraxis Dr. Berger")), nullptr);
    EXPECT_EQ(broken.Find(QStringLiteral("Tierarztpraxis Dr. Berger"))->y, 100 + 7);
    EXPECT_NE(broken.Find(QStringLiteral("Fachtierarzt für Kleintiere")), nullptr);

    RecordingCanvas small;
    small.bitmaps = {{logo, QSize(466, 100)}};
    TPrintGrid2 other(small, port, clock);
    other.AttachGrid(grid.get());
    other.PrintMgrTitle = printer.PrintMgrTitle;
    other.KopfPrint = true;
    other.Kopf = printer.Kopf;
    other.Print();
    const auto* street = small.Find(QStringLiteral("Hauptstr. 1"));
    ASSERT_NE(street, nullptr);
    EXPECT_NE(small.Find(QStringLiteral("Tierarztpraxis Dr. Berger")), nullptr);
    EXPECT_EQ(street->y, 162 + 4);
    for (const auto& c : small.calls) {
        if (c.op == RecordingCanvas::Op::Bitmap) {
            // Left of the right column (x = 1709 before clamping), "MM" = 32 apart.
            EXPECT_EQ(c.clip, QRect(street->x - 32 - 699, 162, 699, 150));
        }
    }

    // Too tall for the space above the header distance: left out.
    RecordingCanvas tall;
    tall.bitmaps = {{logo, QSize(100, 301)}};
    TPrintGrid2 third(tall, port, clock);
    third.AttachGrid(grid.get());
    third.PrintMgrTitle = printer.PrintMgrTitle;
    third.KopfPrint = true;
    third.Kopf = printer.Kopf;
    third.Print();
    EXPECT_EQ(tall.Count(RecordingCanvas::Op::Bitmap), 0);
}

TEST_F(DocFixture, LongFooterLineShrinksThenWraps)
{
    Invoice(1);
    printer.Fuss[17] = QString(130, QLatin1Char('x'));  // 2340 at 9 pt, 1820 at 7 pt
    printer.Print();
    const auto* one = Text(printer.Fuss[17]);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->font.size, 7);

    QString words;
    for (int i = 0; i < 100; ++i) {
        words += QStringLiteral("wort ");
    }
    canvas.calls.clear();
    printer.Fuss[17] = words;  // 500 characters: 6 pt and still too long
    printer.Print();
    QStringList wrapped;
    for (const auto& c : canvas.Texts()) {
        if (c.text.startsWith(QStringLiteral("wort"))) {
            wrapped.append(c.text);
            EXPECT_EQ(c.font.size, 6);
        }
    }
    ASSERT_EQ(wrapped.size(), 2);
    EXPECT_EQ(wrapped[0].size(), 165);  // broken after a blank
    EXPECT_TRUE(wrapped[1].endsWith(QStringLiteral("...")));
    EXPECT_EQ(wrapped[1].size(), 166 - 5 + 3);

    // A second line that fits keeps all its words.
    canvas.calls.clear();
    printer.Fuss[17] = words.left(200);
    printer.Print();
    QStringList kept;
    for (const auto& c : canvas.Texts()) {
        if (c.text.startsWith(QStringLiteral("wort"))) {
            kept.append(c.text);
        }
    }
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(kept[0] + kept[1], words.left(200));
}

}  // namespace

// With only short lines in the right column, the date in the larger body font still ends
// inside the right margin instead of being cut there.
TEST_F(DocFixture, DateAtTheTopRightStaysWithinTheMargin)
{
    Invoice(1);
    for (int i : {2, 3, 4, 5, 10, 11, 12, 18, 19})
        printer.Kopf[i] = QStringLiteral("K");
    printer.LinesFont.size = 14;
    printer.Print();
    const auto* date = Text(QStringLiteral("15.03.2024"));
    ASSERT_NE(date, nullptr);
    const int width = 10 * RecordingCanvas::FontPixels(printer.LinesFont) / 2;
    EXPECT_LE(date->x + width, date->clip.right() + 1) << "the whole date inside its clip";
    EXPECT_LE(date->clip.right() + 1, canvas.PageWidth() - 50);
}

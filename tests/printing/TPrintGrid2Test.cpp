#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "printing/TPrintGrid2.h"
#include "support/FixedClock.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedPrintDialog.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

// Recording canvas metrics with the default margins: printable width 2000 from x = 50,
// body font 9 pt (36 high, 18 wide, pitch 46, gap 18 / 4 = 4), column titles 10 pt bold
// (40 high, header height 52), title font 12 pt (pitch 62). Rules are one pixel thick.
namespace {

struct GridFixture : ::testing::Test {
    RecordingCanvas canvas;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    TPrintGrid2 printer{canvas, port, clock};
    std::unique_ptr<TSGrid> grid;

    void MakeGrid(const QStringList& titles, const QStringList& lines)
    {
        grid = std::make_unique<TSGrid>(port);
        grid->SetColCount(static_cast<int>(titles.size()));
        grid->Resize(12 * (TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth));
        grid->SetLines(lines);
        grid->SetTitles(titles);
        printer.AttachGrid(grid.get());
    }

    void MakeRows(int count)
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i) {
            lines.append(QStringLiteral("Zeile %1\t%2\t").arg(i).arg(i * 10));
        }
        MakeGrid({QString(), QStringLiteral("Name"), QStringLiteral("Wert")}, lines);
        printer.SetColWidth(1, 50);
        printer.SetColWidth(2, 20);
    }

    // Pages on which a row text appears.
    int PageOf(const QString& text) const
    {
        const auto* c = canvas.Find(text);
        return c ? c->page : 0;
    }
};

TEST_F(GridFixture, ExportWritesTableTitlesAndCellsByteForByte)
{
    QTemporaryDir dir;
    MakeGrid(
        {QString(), QStringLiteral("Medikament"), QStringLiteral("Preis"), QStringLiteral("USt"),
         QStringLiteral("Bemerkung")},
        {QStringLiteral("Hündin-Tabletten\t12,5\t1\tx\t"), QStringLiteral("Salbe\tteuer\t4\t\t")});
    grid->PriceCol1 = 2;
    printer.UStCol = 3;
    printer.USt1 = QStringLiteral("19");
    printer.SetColWidth(1, 40);
    printer.SetColWidth(2, 20);
    printer.SetColWidth(3, 10);  // column 4 is not printed
    printer.PrintToFile = true;
    printer.SetExportPath(QDir(dir.path()).filePath(QStringLiteral("med.xls")));
    printer.Print();
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_EQ(testfiles::ReadAll(printer.ExportPath()),
              QByteArray("Table\r\nMedikament\tPreis\tUSt\t\r\n"
                         "H\xFC"
                         "ndin-Tabletten\t12,50\t19\t\r\n"
                         "Salbe\tteuer\t4\t\r\n"));
}

TEST_F(GridFixture, AllColumnsWidthZeroExportsEmptyLinesAndPrintsOnlyTheTitleRule)
{
    QTemporaryDir dir;
    MakeRows(2);
    printer.SetColWidth(1, 0);
    printer.SetColWidth(2, 0);
    printer.PrintToFile = true;
    printer.SetExportPath(QDir(dir.path()).filePath(QStringLiteral("leer.xls")));
    printer.Print();
    EXPECT_EQ(testfiles::ReadAll(printer.ExportPath()), QByteArray("Table\r\n\r\n\r\n\r\n"));

    printer.PrintToFile = false;
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    EXPECT_EQ(canvas.TextStrings(), QStringList{QStringLiteral("Seite 1")});
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::Line), 1);
}

TEST_F(GridFixture, ExportFailureShowsThePathAndLeavesNothing)
{
    MakeRows(1);
    printer.PrintToFile = true;
    printer.SetExportPath(QStringLiteral("/nonexistent-folder/x.xls"));
    EXPECT_FALSE(printer.Export());
    EXPECT_EQ(port.LastText(),
              QStringLiteral("Error opening output file:/nonexistent-folder/x.xls"));
    EXPECT_FALSE(port.busy);
}

// A refused job prints nothing; a job the device failed is still ended; both report it.
TEST_F(GridFixture, PrintReportsARefusedOrFailedJob)
{
    MakeRows(3);
    EXPECT_TRUE(printer.Print());

    canvas.calls.clear();
    canvas.refuseJobs = true;
    EXPECT_FALSE(printer.Print());
    EXPECT_TRUE(canvas.calls.isEmpty());

    canvas.refuseJobs = false;
    canvas.failJobs = true;
    EXPECT_FALSE(printer.Print());
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::EndDoc), 1);
    EXPECT_FALSE(canvas.Printing());
}

TEST_F(GridFixture, ExportWithDialogStoresTheChoiceOrWritesNothingOnCancel)
{
    QTemporaryDir dir;
    MakeRows(1);
    printer.PrintFileName = QStringLiteral("leistung.xls");
    port.QueueFile(QString());
    printer.ExportWithDialog();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const QString path = QDir(dir.path()).filePath(QStringLiteral("liste.xls"));
    port.QueueFile(path);
    printer.ExportWithDialog();
    EXPECT_EQ(printer.PrintFileName, QStringLiteral("liste.xls"));
    EXPECT_EQ(printer.PrintFileDir, dir.path() + QStringLiteral("/"));
    EXPECT_TRUE(testfiles::ReadAll(path).startsWith("Table\r\nName\tWert\t\r\n"));
}

TEST_F(GridFixture, WithoutTitleOrTopDateTheBodyStartsOneHeaderBelowTheMargin)
{
    MakeRows(1);
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    // Column titles in the header line (100..152), the rule at 152, rows a third line lower.
    EXPECT_EQ(canvas.Find(QStringLiteral("Name"))->y, 106);
    EXPECT_EQ(canvas.Find(QStringLiteral("Zeile 1"))->y, 152 + 15 + 5);
    // Left cell at the gap, right-aligned cell ends a gap before its right edge.
    EXPECT_EQ(canvas.Find(QStringLiteral("Zeile 1"))->x, 50 + 4);

    RecordingCanvas dated;
    TPrintGrid2 other(dated, port, clock);
    other.AttachGrid(grid.get());
    other.SetColWidth(1, 50);
    other.Print();
    EXPECT_EQ(dated.Find(QStringLiteral("Name"))->y, 100 + 62 + 6);
    const auto* date = dated.Find(QStringLiteral("15. März 2024"));
    ASSERT_NE(date, nullptr) << dated.TextStrings().join('|').toStdString();
    EXPECT_EQ(date->x, 50 + 2000 - 4 - 13 * 24);
    EXPECT_EQ(date->y, 100);
}

TEST_F(GridFixture, ColumnsAreAsWideAsTheirMillimetresOrTitlesAndAligned)
{
    MakeRows(1);
    printer.SetAlignment(2, TextAlignment::taRightJustify);
    printer.SetColWidth(2, 2);  // 20 pixels, narrower than the title "Wert" (80)
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    // Column 1: 500 + 4 wide; column 2: 80 + 4.
    const auto* value = canvas.Find(QStringLiteral("10"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->x, 50 + 504 + 84 - 4 - 36);
    EXPECT_EQ(value->clip.left(), 50 + 504 + 4);
    EXPECT_EQ(value->clip.right() + 1, 50 + 588 - 4);
    // Column rule between the two columns, down to the row's bottom.
    bool rule = false;
    for (const auto& c : canvas.calls) {
        rule |= c.op == RecordingCanvas::Op::Line && c.x == 50 + 504 && c.x2 == 50 + 504 &&
                c.y2 == 167 + 46;
    }
    EXPECT_TRUE(rule);
}

TEST_F(GridFixture, ColumnsWiderThanThePageGiveTheExcessFromTheWidest)
{
    MakeRows(1);
    printer.SetAlignment(2, TextAlignment::taRightJustify);
    printer.SetColWidth(1, 150);  // 1500 + 4
    printer.SetColWidth(2, 60);   // 600 + 4: together 2108, the page holds 2000
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    // The last column ends at the right margin, whole; the first lost 108 pixels.
    const auto* value = canvas.Find(QStringLiteral("10"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->x + 36, 50 + 2000 - 4);
    EXPECT_EQ(value->clip.left(), 50 + 1396 + 4);
    EXPECT_EQ(canvas.Find(QStringLiteral("Wert"))->x + 80, 50 + 2000 - 4);

    // Two wide columns: the wider gives until both are level, then both give alike.
    printer.SetColWidth(1, 120);
    printer.SetColWidth(2, 100);  // 1204 + 1004 = 2208: 200 from the first, 4 from each
    RecordingCanvas level;
    printer.Rebind(level);
    printer.Print();
    const auto* levelled = level.Find(QStringLiteral("10"));
    ASSERT_NE(levelled, nullptr);
    EXPECT_EQ(levelled->clip.left(), 50 + 996 + 4 + 4);
    EXPECT_EQ(levelled->clip.right() + 1, 50 + 2000 - 4);

    // Titles are kept whole: what they cannot give stays past the margin.
    printer.SetColWidth(1, 1);
    printer.SetColWidth(2, 250);
    grid->SetTitles({QString(), QStringLiteral("Name"), QString(100, QLatin1Char('W'))});
    RecordingCanvas titled;
    printer.Rebind(titled);
    printer.Print();
    EXPECT_EQ(titled.Find(QString(100, QLatin1Char('W')))->x, 50 + 84);  // ends at 50 + 2088 - 4
}

TEST_F(GridFixture, PagesBreakAfterTwoFreeLinesOrWholeRuleGroups)
{
    MakeRows(120);
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    // Body from 167: (n + 2) × 46 + 167 ≥ 2770 first for n = 55.
    EXPECT_EQ(PageOf(QStringLiteral("Zeile 55")), 1);
    EXPECT_EQ(PageOf(QStringLiteral("Zeile 56")), 2);

    RecordingCanvas grouped;
    TPrintGrid2 rules(grouped, port, clock);
    rules.AttachGrid(grid.get());
    rules.SetColWidth(1, 50);
    rules.DatePos = TPageNumberPos::pnNone;
    rules.RowLines = true;
    rules.RowLinesCount = 7;
    rules.Print();
    // Only after 7, 14, ...: at 49, (49 + 8) × 46 + 167 ≥ 2770.
    EXPECT_EQ(grouped.Find(QStringLiteral("Zeile 49"))->page, 1);
    EXPECT_EQ(grouped.Find(QStringLiteral("Zeile 50"))->page, 2);
    // Rules above rows 1, 8, 15, ... of a page and a closing rule under the last row.
    int rowRules = 0;
    for (const auto& c : grouped.calls) {
        rowRules += c.op == RecordingCanvas::Op::Line && c.page == 3 && c.y == c.y2 &&
                            c.x2 == 2050 && c.y != 152
                        ? 1
                        : 0;
    }
    EXPECT_EQ(rowRules, 4 + 1);  // 22 rows on page 3: above rows 1, 8, 15, 22, closing
}

TEST_F(GridFixture, ThreeTitleLinesOnPageOneOnlyTheFirstLater)
{
    MakeRows(100);
    printer.Title = {QStringLiteral("Talven - Medikamente"), QStringLiteral("Stand März"),
                     QStringLiteral("Lager 2")};
    printer.TitleAlignment = TextAlignment::taLeftJustify;
    printer.Print();
    const QStringList page1 = canvas.TextStrings(1);
    const QStringList page2 = canvas.TextStrings(2);
    EXPECT_TRUE(page1.contains(QStringLiteral("Stand März")));
    EXPECT_TRUE(page1.contains(QStringLiteral("Lager 2")));
    EXPECT_EQ(canvas.Find(QStringLiteral("Lager 2"))->y, 100 + 2 * 62);
    EXPECT_EQ(page2.count(QStringLiteral("Talven - Medikamente")), 1);
    EXPECT_FALSE(page2.contains(QStringLiteral("Stand März")));
    // Body below three title lines on page 1, below one later.
    const auto titles = canvas.Texts(2);
    int nameY = 0;
    for (const auto& c : titles) {
        if (c.text == QStringLiteral("Name")) {
            nameY = c.y;
        }
    }
    EXPECT_EQ(canvas.Find(QStringLiteral("Name"))->y, 100 + 3 * 62 + 6);
    EXPECT_EQ(nameY, 100 + 62 + 6);
}

TEST_F(GridFixture, PageRangeSuppressesOutsidePagesAndNoGridIsAnError)
{
    TPrintGrid2 empty(canvas, port, clock);
    empty.Print();
    EXPECT_EQ(port.LastText(), QStringLiteral("Error: FDBGrid Not Assigned."));
    EXPECT_EQ(canvas.jobs, 0);

    MakeRows(120);
    printer.DatePos = TPageNumberPos::pnNone;
    printer.FromPage = 2;
    printer.EndPage = 2;
    printer.Print();
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::NewPage), 0);
    EXPECT_EQ(canvas.Find(QStringLiteral("Zeile 55")), nullptr);
    EXPECT_NE(canvas.Find(QStringLiteral("Zeile 56")), nullptr);
    EXPECT_EQ(canvas.Find(QStringLiteral("Zeile 111")), nullptr);
    EXPECT_NE(canvas.Find(QStringLiteral("Seite 2")), nullptr);
}

TEST_F(GridFixture, PrintWithDialogPrintsOnceExportsOrDoesNothing)
{
    MakeRows(120);
    ScriptedPrintDialog dialog;
    printer.FromPage = 3;
    EXPECT_FALSE(printer.PrintWithDialog(dialog));
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_EQ(printer.FromPage, 1);
    EXPECT_TRUE(dialog.seen.allowPrintToFile);

    PrintDialogChoice choice;
    choice.copies = 3;  // copies are the driver's business: one job
    choice.pageRange = true;
    choice.fromPage = 2;
    choice.toPage = 2;
    choice.orientation = PrinterOrientation::poLandscape;
    dialog.choice = choice;
    EXPECT_TRUE(printer.PrintWithDialog(dialog));
    EXPECT_EQ(canvas.jobs, 1);
    EXPECT_EQ(printer.Orientation, PrinterOrientation::poLandscape);
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::NewPage), 0);

    QTemporaryDir dir;
    choice.printToFile = true;
    dialog.choice = choice;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("kunden.xls"));
    port.QueueFile(path);
    EXPECT_TRUE(printer.PrintWithDialog(dialog));
    EXPECT_EQ(canvas.jobs, 1);
    EXPECT_TRUE(printer.PrintToFile);
    EXPECT_TRUE(testfiles::ReadAll(path).startsWith("Table\r\n"));
}

}  // namespace

TEST_F(GridFixture, BorderFramesTheTableOnEveryPrintedPage)
{
    MakeRows(120);
    printer.SetColWidth(2, 20);
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::Frame), 0) << "no frame unless asked for";

    const auto frames = [](const RecordingCanvas& c) {
        QList<RecordingCanvas::Call> out;
        for (const auto& call : c.calls) {
            if (call.op == RecordingCanvas::Op::Frame) {
                out.append(call);
            }
        }
        return out;
    };
    // Columns: 500 + 4 and 200 + 4 wide, starting one pixel in; title row at 100, rows
    // from 167 with pitch 46; 55 rows on pages 1 and 2, 10 on page 3.
    RecordingCanvas framed;
    TPrintGrid2 border(framed, port, clock);
    border.AttachGrid(grid.get());
    border.SetColWidth(1, 50);
    border.SetColWidth(2, 20);
    border.DatePos = TPageNumberPos::pnNone;
    border.Border = true;
    border.Print();
    const auto drawn = frames(framed);
    ASSERT_EQ(drawn.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(drawn[i].page, i + 1);
        EXPECT_EQ(drawn[i].clip.left(), 50);
        EXPECT_EQ(drawn[i].clip.top(), 100);
        EXPECT_EQ(drawn[i].clip.right(), 50 + 709);  // just right of the last column edge
    }
    EXPECT_EQ(drawn[0].clip.bottom(), 167 + 55 * 46);
    EXPECT_EQ(drawn[2].clip.bottom(), 167 + 10 * 46);
    EXPECT_EQ(framed.Find(QStringLiteral("Zeile 1"))->x, 50 + 1 + 4) << "text clear of the frame";

    // Full page: down to the bottom margin; only pages in the range get one.
    RecordingCanvas full;
    TPrintGrid2 fullPage(full, port, clock);
    fullPage.AttachGrid(grid.get());
    fullPage.SetColWidth(1, 50);
    fullPage.DatePos = TPageNumberPos::pnNone;
    fullPage.Border = true;
    fullPage.FullPage = true;
    fullPage.FromPage = 2;
    fullPage.EndPage = 2;
    fullPage.Print();
    const auto one = frames(full);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].clip.bottom(), 2970 - 200);
}

#include <gtest/gtest.h>

#include "printing/PrintDialogPort.h"
#include "printing/TPrintStrList.h"
#include "support/RecordingCanvas.h"
#include "support/SamplePrintJobs.h"
#include "support/ScriptedPrintDialog.h"
#include "support/ScriptedUserPort.h"

// Recording canvas: 10 pixels per millimetre, a font of s points is 4·s pixels high and
// every character 2·s pixels wide. With the default margins the printable width is 2000,
// the body line pitch 46 (9 pt: 36 pixels) and the text sits 5 pixels below a line's top.
namespace {

QStringList Lines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines.append(QStringLiteral("Zeile %1").arg(i));
    }
    return lines;
}

struct Fixture : ::testing::Test {
    RecordingCanvas canvas;
    ScriptedUserPort port;
    TPrintStrList printer{canvas, port};
};

using SenderLineTest = ::testing::Test;

TEST(SenderLineTest, DropsDesignationAndEverythingFromTheTelephone)
{
    EXPECT_EQ(
        TPrintStrList::SenderLine(
            {QStringLiteral("Tierarztpraxis am Stadtpark"), QStringLiteral("Tel. 0123"), {}, {}}),
        QStringLiteral("am Stadtpark"));
    // Rows apply in table order, each once: "Praxis " goes before "Tierärztliche ".
    EXPECT_EQ(
        TPrintStrList::SenderLine(
            {QStringLiteral("Tierärztliche Praxis Dr. Muster"), {}, QStringLiteral("Weg 1"), {}}),
        QStringLiteral("Dr. Muster"));
    // "Tel." at the very start leaves the text alone; the comma before an empty firm line
    // goes, so practice data left empty for pre-printed paper prints no sender line.
    EXPECT_EQ(TPrintStrList::SenderLine({QStringLiteral("Tel. 1"), {}, {}, {}}),
              QStringLiteral("Tel. 1"));
    EXPECT_EQ(TPrintStrList::SenderLine({{}, {}, {}, {}}), QString());
}

TEST(SenderLineTest, TwentyFiveCharactersKeepTheShortFormTwentySixTakeTheName)
{
    const QString street = QStringLiteral("Hauptstr. 1");
    const QString town = QStringLiteral("12345 Ort");
    // "Anna Maria Berger Hunde x" is 25 characters once "Praxis " is gone.
    EXPECT_EQ(TPrintStrList::SenderLine({QStringLiteral("Praxis Anna Maria Berger"),
                                         QStringLiteral("Hunde x"), street, town}),
              QStringLiteral("Anna Maria Berger Hunde x, Hauptstr. 1, 12345 Ort"));
    EXPECT_EQ(TPrintStrList::SenderLine({QStringLiteral("Praxis Anna Maria Berger"),
                                         QStringLiteral("Hunde xx"), street, town}),
              QStringLiteral("Praxis Anna Maria Berger, Hauptstr. 1, 12345 Ort"));
    // Only one of street and town: no address appended.
    EXPECT_EQ(TPrintStrList::SenderLine({QStringLiteral("Dr. Berger"), {}, street, {}}),
              QStringLiteral("Dr. Berger"));
}

TEST_F(Fixture, LetterheadPlacesPracticeAddresseeBankDateAndSubject)
{
    printer.Kopf = samples::LetterKopf();
    printer.KopfPrint = true;
    printer.DateLabel = QStringLiteral("15.03.2024");
    printer.StringList = {QStringLiteral("Sehr geehrte Frau Mustermann,")};
    printer.Print();

    const auto* name = canvas.Find(QStringLiteral("Tierarztpraxis Dr. Berger"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->x, 50);
    EXPECT_EQ(name->font.size, 12);
    EXPECT_TRUE(name->font.bold);
    // 12 pt: 48 pixels high, pitch 62, centred 7 below the top margin.
    EXPECT_EQ(name->y, 107);

    // Right column: widest line "Sparkasse Musterstadt" (21 × 16 pixels) plus 5.
    const auto* street = canvas.Find(QStringLiteral("Hauptstr. 1"));
    ASSERT_NE(street, nullptr);
    EXPECT_EQ(street->x, 50 + 2000 - 336 - 5);
    EXPECT_EQ(street->clip.right() + 1, 50 + 2000);
    // On the firm line's row (162), small font 32 high, pitch 41.
    EXPECT_EQ(street->y, 162 + 4);
    EXPECT_EQ(canvas.Find(QStringLiteral("www.praxis.de"))->y, 162 + 5 * 41 + 4);

    // Firm line: clipped before the street.
    const auto* firm = canvas.Find(QStringLiteral("Fachtierarzt für Kleintiere"));
    EXPECT_EQ(firm->font.size, 10);
    EXPECT_EQ(firm->clip.right() + 1, 50 + 2000 - 11 * 16 - 15);

    // Addressee at 10 points (pitch 52) two lines below the header distance (450).
    EXPECT_EQ(canvas.Find(QStringLiteral("Frau"))->y, 554 + 6);
    EXPECT_EQ(canvas.Find(QStringLiteral("Gartenweg 5"))->y, 658 + 6);
    EXPECT_EQ(canvas.Find(QStringLiteral("54321 Beispielort"))->y, 736 + 6);
    EXPECT_EQ(canvas.Find(QStringLiteral("Frau"))->font.size, 10);

    // Bank below the address column bottom (after slot 16: 408 + 41 = 449, below 554).
    EXPECT_EQ(canvas.Find(QStringLiteral("Sparkasse Musterstadt"))->y, 554 + 4);
    EXPECT_EQ(canvas.Find(QStringLiteral("Kto 123456"))->y, 636 + 4);
    EXPECT_EQ(canvas.Find(QStringLiteral("15.03.2024"))->y, 636 + 123 + 4);

    // Subject: bold 11 points, not above the addressee bottom (736 + 156 = 892).
    const auto* subject = canvas.Find(QStringLiteral("Erinnerung"));
    EXPECT_TRUE(subject->font.bold);
    EXPECT_EQ(subject->font.size, 11);
    EXPECT_EQ(subject->y, 923 + 6);
    EXPECT_EQ(subject->clip.right() + 1, 50 + 2000 - 336 - 15);
    EXPECT_EQ(canvas.Find(QStringLiteral("Ihre Rechnung vom 01.02.2024"))->y, 923 + 92 + 5);
    // Body starts two lines below the second subject line.
    EXPECT_EQ(canvas.Find(QStringLiteral("Sehr geehrte Frau Mustermann,"))->y, 1015 + 92 + 5);

    const auto* sender =
        canvas.Find(QStringLiteral("Tierarztpraxis Dr. Berger, Hauptstr. 1, 12345 Musterstadt"));
    ASSERT_NE(sender, nullptr) << canvas.TextStrings().join('|').toStdString();
    EXPECT_EQ(sender->font.size, 8);
}

TEST_F(Fixture, FirmLineShrinksTwiceWhenWiderThanFortyFivePercent)
{
    // 10 points: 20 pixels a character; 45 % of 2100 is 945.
    printer.Kopf = samples::LetterKopf();
    printer.Kopf[1] = QString(47, QLatin1Char('F'));
    printer.KopfPrint = true;
    printer.Print();
    EXPECT_EQ(canvas.Find(printer.Kopf[1])->font.size, 10);

    RecordingCanvas wide;
    TPrintStrList wider(wide, port);
    wider.Kopf = samples::LetterKopf();
    wider.Kopf[1] = QString(48, QLatin1Char('F'));
    wider.KopfPrint = true;
    wider.Print();
    EXPECT_EQ(wide.Find(wider.Kopf[1])->font.size, 8);
}

TEST_F(Fixture, LongSenderLineGetsASmallerFont)
{
    printer.Kopf = samples::LetterKopf();
    printer.Kopf[0] = QString(63, QLatin1Char('S'));  // 8 pt: 63 × 16 > 1000
    printer.Kopf[1] = QStringLiteral("x");
    printer.Kopf[2].clear();
    printer.Kopf[3].clear();
    printer.KopfPrint = true;
    printer.Print();
    const auto* sender = canvas.Find(printer.Kopf[0] + QStringLiteral(", x"));
    ASSERT_NE(sender, nullptr);
    EXPECT_EQ(sender->font.size, 7);
}

TEST_F(Fixture, MahnungFormDropsSecondSubjectAndWidensTheFirst)
{
    printer.Kopf = samples::LetterKopf();
    printer.KopfPrint = true;
    printer.Mahnung = true;
    printer.Print();
    EXPECT_EQ(canvas.Find(QStringLiteral("Ihre Rechnung vom 01.02.2024")), nullptr);
    EXPECT_EQ(canvas.Find(QStringLiteral("Erinnerung"))->clip.right() + 1, 2050);
}

TEST_F(Fixture, EmptyBodyPrintsLetterheadWithoutPageNumber)
{
    printer.Kopf = samples::LetterKopf();
    printer.KopfPrint = true;
    printer.PageNumberLabel = QStringLiteral("Seite ");
    printer.Print();
    EXPECT_EQ(canvas.jobs, 1);
    EXPECT_NE(canvas.Find(QStringLiteral("Erinnerung")), nullptr);
    EXPECT_FALSE(canvas.TextStrings().join('|').contains(QStringLiteral("Seite")));
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::EndDoc), 1);
    EXPECT_FALSE(port.busy);
}

TEST_F(Fixture, PagesBreakByTheFullTestAndCarryPageNumbers)
{
    printer.StringList = Lines(120);
    printer.PageNumberLabel = QStringLiteral("Seite ");
    printer.Print();
    // (n + 2) × 46 + 100 ≥ 2770 first holds for n = 57.
    EXPECT_EQ(canvas.pages, 3);
    EXPECT_EQ(canvas.Texts(1).size(), 57 + 1);
    EXPECT_EQ(canvas.Texts(3).size(), 120 - 114 + 1);
    const auto* number = canvas.Find(QStringLiteral("Seite 2"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->page, 2);
    EXPECT_EQ(number->y, 2970 - 200 + 8);
    EXPECT_EQ(number->x, 50 + 1000 - 63);
    const auto* first = canvas.Find(QStringLiteral("Zeile 58"));
    EXPECT_EQ(first->page, 2);
    EXPECT_EQ(first->y, 105);
    EXPECT_EQ(first->clip, QRect(50, 105, 2000, 41));
    EXPECT_EQ(printer.LinesPerPage(false), 57);
}

TEST_F(Fixture, ExactlyFullPageDoesNotStartAnEmptyOne)
{
    printer.StringList = Lines(57);
    printer.Print();
    EXPECT_EQ(canvas.pages, 1);
}

TEST_F(Fixture, PageRangeTwoToTwoOutputsOnlyPageTwoOnOneSheet)
{
    RecordingCanvas full;
    TPrintStrList all(full, port);
    for (TPrintStrList* p : {&all, &printer}) {
        p->Kopf = samples::LetterKopf();
        p->KopfPrint = true;
        p->DateLabel = QStringLiteral("15.03.2024");
        p->StringList = Lines(150);
    }
    all.Print();
    printer.FromPage = 2;
    printer.EndPage = 2;
    printer.Print();

    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::NewPage), 0);
    QStringList expected;
    for (const auto& c : full.Texts(2)) {
        expected.append(c.text);
    }
    EXPECT_EQ(canvas.TextStrings(), expected);
    EXPECT_EQ(canvas.Find(QStringLiteral("Tierarztpraxis Dr. Berger")), nullptr);
}

TEST_F(Fixture, TabbedLineLosesItsEndUntilItFitsPlainLineIsClipped)
{
    // Tab stops every 8 × 18 = 144 pixels; 144 + 103 × 18 = 1998 fits in 2000.
    printer.StringList = {QStringLiteral("Name\t") + QString(120, QLatin1Char('x')),
                          QString(150, QLatin1Char('y'))};
    printer.Print();
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 3);  // two lines and the page number
    EXPECT_EQ(texts[1].op, RecordingCanvas::Op::Tabbed);
    EXPECT_EQ(texts[1].text, QStringLiteral("Name\t") + QString(103, QLatin1Char('x')));
    EXPECT_EQ(texts[2].op, RecordingCanvas::Op::Text);
    EXPECT_EQ(texts[2].text.size(), 150);
    EXPECT_EQ(texts[2].clip.right() + 1, 2050);

    RecordingCanvas plain;
    TPrintStrList noTabs(plain, port);
    noTabs.WriteTabStop = false;
    noTabs.StringList = {QStringLiteral("a\tb")};
    noTabs.Print();
    EXPECT_EQ(plain.Texts()[1].op, RecordingCanvas::Op::Text);
}

TEST_F(Fixture, PrePrintedPaperContinuesAtTheDateLine)
{
    QStringList kopf(17);
    kopf[6] = QStringLiteral("Frau");
    kopf[7] = QStringLiteral("Erika Mustermann");
    kopf[8] = QStringLiteral("Gartenweg 5");
    kopf[9] = QStringLiteral("54321 Beispielort");
    kopf[13] = QStringLiteral("Betreff");
    printer.Kopf = kopf;
    printer.KopfPrint = true;
    printer.DateLabel = QStringLiteral("15.03.2024");
    printer.StringList = Lines(40);
    printer.Print();
    // Date line: address column bottom 326 < addressee top 554; 554 + 3 × 41 = 677.
    EXPECT_EQ(canvas.Find(QStringLiteral("15.03.2024"))->y, 677 + 4);
    // Letterhead bottom 1076: 35 lines fit on page 1.
    EXPECT_EQ(canvas.Find(QStringLiteral("Zeile 35"))->page, 1);
    const auto* next = canvas.Find(QStringLiteral("Zeile 36"));
    EXPECT_EQ(next->page, 2);
    EXPECT_EQ(next->y, 677 + 5);

    // With a practice name the next page starts at the top margin again.
    RecordingCanvas other;
    TPrintStrList named(other, port);
    named.Kopf = kopf;
    named.Kopf[0] = QStringLiteral("Praxis");
    named.KopfPrint = true;
    named.DateLabel = QStringLiteral("15.03.2024");
    named.StringList = Lines(40);
    named.Print();
    EXPECT_EQ(other.Find(QStringLiteral("Zeile 36"))->y, 105);

    // Without a date line there is no height to keep: the top margin, not the paper's edge.
    RecordingCanvas undated;
    TPrintStrList plain(undated, port);
    plain.Kopf = kopf;
    plain.KopfPrint = true;
    plain.StringList = Lines(60);
    plain.Print();
    int k = 1;
    while (undated.Find(QStringLiteral("Zeile %1").arg(k))->page == 1) {
        ++k;
    }
    EXPECT_EQ(undated.Find(QStringLiteral("Zeile %1").arg(k))->y, 105);
}

TEST_F(Fixture, RowRulesAndBorder)
{
    printer.StringList = Lines(7);
    printer.RowLines = true;
    printer.RowLinesCount = 3;
    printer.Border = true;
    printer.FullPage = true;
    printer.Print();
    QList<int> ys;
    for (const auto& c : canvas.calls) {
        if (c.op == RecordingCanvas::Op::Line) {
            ys.append(c.y);
        }
    }
    EXPECT_EQ(ys, (QList<int>{100, 100 + 3 * 46, 100 + 6 * 46}));
    ASSERT_EQ(canvas.Count(RecordingCanvas::Op::Frame), 1);
    EXPECT_EQ(canvas.calls[canvas.calls.size() - 2].clip, QRect(50, 100, 2000, 2670));
}

TEST_F(Fixture, MeasuresLinesAndCharactersWithoutAJob)
{
    printer.Kopf = samples::LetterKopf();
    printer.DateLabel = QStringLiteral("heute");
    EXPECT_EQ(printer.CharsPerLine(), 111);  // 111 × 18 = 1998 of 2000
    const int withHead = printer.LinesPerPage(true);
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_EQ(printer.DateLabel, QStringLiteral("heute"));
    EXPECT_EQ(printer.LeftMargin, 5);

    // A full letterhead with a date: page 1 holds exactly that many lines.
    printer.KopfPrint = true;
    printer.StringList = Lines(100);
    printer.Print();
    int onFirst = 0;
    for (const auto& c : canvas.Texts(1)) {
        onFirst += c.text.startsWith(QStringLiteral("Zeile")) ? 1 : 0;
    }
    EXPECT_EQ(onFirst, withHead);
}

TEST_F(Fixture, SecondPrintWithoutResettingMarginsLooksTheSame)
{
    printer.StringList = Lines(3);
    printer.Print();
    const QStringList once = canvas.TextStrings();
    const int firstY = canvas.Texts()[1].y;
    canvas.calls.clear();
    printer.Print();
    EXPECT_EQ(canvas.TextStrings(), once);
    EXPECT_EQ(canvas.Texts()[1].y, firstY);
    EXPECT_EQ(printer.TopMargin, 10);
}

TEST_F(Fixture, PrintWithDialogRunsOneJobPerCopyWithTheChosenRange)
{
    ScriptedPrintDialog dialog;
    printer.StringList = Lines(150);
    printer.Orientation = PrinterOrientation::poLandscape;
    EXPECT_FALSE(printer.PrintWithDialog(dialog));
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_EQ(dialog.seen.orientation, PrinterOrientation::poLandscape);
    EXPECT_EQ(dialog.seen.maxPage, 1000);

    PrintDialogChoice choice;
    choice.copies = 2;
    choice.pageRange = true;
    choice.fromPage = 2;
    choice.toPage = 2;
    dialog.choice = choice;
    EXPECT_TRUE(printer.PrintWithDialog(dialog));
    EXPECT_EQ(canvas.jobs, 2);
    EXPECT_EQ(printer.FromPage, 2);
    EXPECT_EQ(printer.Orientation, PrinterOrientation::poPortrait);
    EXPECT_EQ(canvas.Count(RecordingCanvas::Op::NewPage), 0);
}

}  // namespace

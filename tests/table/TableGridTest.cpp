#include <QRandomGenerator>
#include <string>

#include "TableFixture.h"
#include "common/Collation.h"
#include "table/SortKey.h"

namespace {

using TableGrid = TableFixture;

QStringList Numbered(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("r%1\t%2\t").arg(i).arg(i * 10);
    return lines;
}

TEST_F(TableGrid, RowCountFollowsRecordsUpToTheCapacity)
{
    auto grid = MakeGrid(2, 12);
    EXPECT_EQ(grid->VisibleCapacity(), 12);
    grid->SetLines(Numbered(3));
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->VisibleDataRows(), 3);
    EXPECT_EQ(grid->ScrollBy(5), 2);  // nothing hidden: only the selection moves
    EXPECT_EQ(grid->WindowTop(), 0);
    EXPECT_EQ(grid->Row(), 3);

    grid->SetLines(Numbered(500));
    EXPECT_EQ(grid->RowCount(), 12);
    EXPECT_EQ(grid->VisibleDataRows(), 11);
    EXPECT_EQ(grid->Cells(1, 11), "r10");
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);

    // Without horizontal lines a row takes the row height only.
    grid->SetOptions(grid->Options() & ~goHorzLine);
    EXPECT_EQ(grid->VisibleCapacity(), 12 * 21 / 20);
}

TEST_F(TableGrid, ScrollingMovesTheWindowFirstAndTheSelectionByTheRest)
{
    auto grid = MakeGrid(2, 12);
    grid->SetLines(Numbered(500));
    grid->SetSelection(1, 11);
    EXPECT_EQ(grid->ScrollBy(1), 11);
    EXPECT_EQ(grid->WindowTop(), 1);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_EQ(grid->Cells(1, 1), "r1");

    grid->SetSelection(1, 5);
    EXPECT_EQ(grid->ScrollBy(-3), 2);  // window 1 -> 0, selection 5 - 3 + 1 = 3
    EXPECT_EQ(grid->WindowTop(), 0);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->ScrollBy(-10), 0);
    EXPECT_EQ(grid->Row(), 1);

    EXPECT_EQ(grid->ScrollBy(10000), 499);  // window stops at the end
    EXPECT_EQ(grid->WindowTop(), 489);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_EQ(grid->Cells(1, 11), "r499");

    EXPECT_EQ(grid->GotoRecord(9, 100), 100);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->CurrentRecord(), 100);
    EXPECT_EQ(grid->GotoRecord(1, 105), 100);  // already visible: the window stays
    EXPECT_EQ(grid->Row(), 6);
}

TEST_F(TableGrid, AddInsertAndDeleteKeepTheWindowOnTheTable)
{
    auto grid = MakeGrid(2, 5);
    EXPECT_EQ(grid->AddRecord(0), 0);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->RecordLine(0), "\t\t");
    EXPECT_EQ(grid->AddRecord(4), 1);
    EXPECT_EQ(grid->RecordLine(1), "\t\t\t\t");
    for (int i = 0; i < 6; ++i)
        grid->AddRecord(2);
    EXPECT_EQ(grid->RecordCount(), 8);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->WindowTop(), 4);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->CurrentRecord(), 7);

    grid->SetCell(1, 4, "last");
    grid->InsertRecord(2);
    EXPECT_EQ(grid->CurrentRecord(), 2);
    EXPECT_EQ(grid->RecordLine(8), "last\t\t");

    // Deleting at the end pulls the window back.
    grid->GotoRecord(1, 8);
    grid->DeleteRecord(8);
    EXPECT_EQ(grid->RecordCount(), 8);
    EXPECT_EQ(grid->WindowTop(), 4);
    EXPECT_EQ(grid->CurrentRecord(), 7);
    while (grid->RecordCount() > 1)
        grid->DeleteRecord(0);
    EXPECT_EQ(grid->RowCount(), 2);
    grid->SetRecordCell(1, 0, "x");
    grid->DeleteRecord(0);
    EXPECT_EQ(grid->VisibleDataRows(), 0);
    EXPECT_EQ(grid->Cells(1, 1), "");
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TableGrid, ResizeRefitsRowsTitleHeightAndSelection)
{
    auto grid = MakeGrid(2, 12);
    grid->SetLines(Numbered(500));
    grid->SetSelection(1, 10);
    int resized = 0;
    grid->OnResize = [&resized](TSGrid&) { ++resized; };
    grid->Resize(6 * 21 + 5);  // room for 6 rows, 5 pixels to spare
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->RowHeight(0), 6 * 21 + 5 - 5 * 21);
    EXPECT_EQ(grid->CurrentRecord(), 9);  // the selection moved up, the window down
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->WindowTop(), 5);

    // At the end of the table a larger view pulls the window back.
    grid->ScrollBy(1000);
    grid->Resize(12 * 21);
    EXPECT_EQ(grid->WindowTop(), 489);
    EXPECT_EQ(grid->CurrentRecord(), 499);

    // All records fit: the window goes to the top and keeps the current record.
    grid->SetLines(Numbered(4));
    grid->SetSelection(1, 3);
    grid->Resize(30 * 21);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->WindowTop(), 0);
    EXPECT_EQ(grid->CurrentRecord(), 2);
}

TEST_F(TableGrid, PriceCellsAreStoredWithFiveAndShownWithTwoDecimals)
{
    auto grid = MakeGrid(3);
    grid->PriceCol1 = 3;
    grid->SetColumnAlignment(3, 1);
    grid->SetLines({"Bello\t\t\t"});
    grid->SetCell(3, 1, "12,5");
    EXPECT_EQ(grid->RecordLine(0), "Bello\t\t12,50000\t");
    // Padded while the text is not wider than the column less one digit (70 - 7).
    EXPECT_EQ(grid->Cells(3, 1), QString(5, ' ') + "12,50");
    grid->SetCell(3, 1, "gratis");
    EXPECT_EQ(grid->RecordLine(0), "Bello\t\tgratis\t");

    // By record index the text is stored as given.
    grid->SetRecordCell(3, 0, "1,00");
    EXPECT_EQ(grid->RecordLine(0), "Bello\t\t1,00\t");
    EXPECT_EQ(grid->Cells(3, 1).trimmed(), "1,00");
    EXPECT_TRUE(grid->IsModified());

    // The grid's font decides the padding.
    grid->SetTextWidth([](const QString& t) { return 10 * static_cast<int>(t.size()); });
    grid->SetCell(2, 1, "x");
    EXPECT_EQ(grid->Cells(2, 1), "x");  // left aligned
    grid->SetCell(3, 1, "7");
    EXPECT_EQ(grid->Cells(3, 1), QString(3, ' ') + "7,00");
    grid->SetColumnAlignment(1, 1);
    grid->SetCell(1, 1, "a");
    EXPECT_EQ(grid->Cells(1, 1), "a");  // column 1 is never padded
}

TEST_F(TableGrid, LongCellTextIsStoredInFull)
{
    auto grid = MakeGrid(3);
    grid->SetLines({"a\tb\tc\t"});
    const QString longText(300, 'x');
    grid->SetCell(2, 1, longText);
    EXPECT_EQ(grid->RecordLine(0), "a\t" + longText + "\tc\t");
    grid->SetCell(3, 1, "d");
    EXPECT_EQ(grid->GetRecordCell(2, 0), longText);
    EXPECT_EQ(grid->GetRecordCell(3, 0), "d");
}

TEST_F(TableGrid, VisibleCellsOfAnEmptyTableAndTitlesAreNotStored)
{
    auto grid = MakeGrid(2);
    grid->SetLines({});
    grid->SetTitles({"", "Name", "Preis"});
    grid->SetCell(1, 1, "typed");
    EXPECT_EQ(grid->Cells(1, 1), "typed");
    EXPECT_EQ(grid->Cells(2, 0), "Preis");
    EXPECT_EQ(grid->RecordCount(), 0);

    grid->SetLines({"a\tb\t"});
    grid->SetWriteThrough(false);
    grid->SetCell(1, 1, "shown");
    EXPECT_EQ(grid->RecordLine(0), "a\tb\t");
    grid->SetWriteThrough(true);
}

TEST_F(TableGrid, IndexErrorsShowTheirMessagesAndChangeNothing)
{
    auto grid = MakeGrid(2);
    grid->SetLines(Numbered(3));
    port.busy = true;
    grid->SetRecordCell(1, 3, "x");
    EXPECT_EQ(port.LastText(), "Index-Überlauf(1): 4 > 3 !");
    EXPECT_FALSE(port.busyWhileMessage);
    EXPECT_EQ(grid->GetRecordCell(1, 5), "");
    EXPECT_EQ(port.LastText(), "Index-Überlauf(2): 6 > 3 !");
    grid->DeleteRecord(3);
    EXPECT_EQ(port.LastText(), "Index-Fehler(3)!");
    grid->DeleteRecordQuiet(7);
    EXPECT_EQ(port.LastText(), "Index-Fehler(4)");
    grid->PadRecord(5, 3);
    EXPECT_EQ(port.LastText(), "Index-Fehler(5)!");
    EXPECT_EQ(grid->CountTabs(3), 0);
    EXPECT_EQ(port.messages.size(), 6);
    EXPECT_EQ(grid->RecordCount(), 3);
    EXPECT_FALSE(grid->IsModified());

    grid->GetRecordCell(1, -1);
    EXPECT_EQ(port.messages.last().title, "Fehler");
    EXPECT_EQ(port.LastText(), "Fehler beim Zugriff auf Daten!");

    grid->PadRecord(5, 1);
    EXPECT_EQ(grid->CountTabs(1), 5);
    grid->DeleteRecordQuiet(0);
    EXPECT_EQ(grid->RecordCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), "r0");  // the quiet delete leaves the rows alone

    grid->SetRecordLine(1, "neu\t1\t");
    EXPECT_EQ(grid->Cells(1, 2), "neu");
    EXPECT_TRUE(grid->IsModified());
}

TEST_F(TableGrid, SearchesReturnTheLastMatch)
{
    auto grid = MakeGrid(3);
    grid->SetLines({"Meier\tBonn\t1\t", "Maier\tKöln\t2\t", "Meier\tBonn\t3\t", "x\tbonn\t4\t"});
    EXPECT_EQ(grid->FindExact("Meier", 1), 2);
    EXPECT_EQ(grid->FindExact("meier", 1), -1);
    EXPECT_EQ(grid->FindContains("onn", 2), 3);
    EXPECT_EQ(grid->FindContains("Bon", 2), 2);
    EXPECT_EQ(grid->FindContains("zz", 2), -1);
    EXPECT_EQ(grid->FindConcat("MaierKöln2"), 1);
    EXPECT_EQ(grid->FindConcat("MeierBonn"), -1);
}

TEST_F(TableGrid, SortPutsUmlautsBeforeTheBaseLetterFollowedByALetter)
{
    auto grid = MakeGrid(1);
    grid->SetLines({"Muller\t", "Mueller\t", QString::fromUtf8("Müller\t")});
    grid->SortAll();
    EXPECT_EQ(grid->Lines(), QStringList({QString::fromUtf8("Müller\t"), "Mueller\t", "Muller\t"}));
    int pos = -1;
    EXPECT_TRUE(grid->FindSorted("Mueller\t", pos));
    EXPECT_EQ(pos, 1);
    EXPECT_FALSE(grid->FindSorted("Mz\t", pos));
    EXPECT_EQ(pos, 2);  // clamped to the last record
    EXPECT_FALSE(grid->FindSorted("A\t", pos));
    EXPECT_EQ(pos, 0);
}

TEST_F(TableGrid, SortKeepsTheCurrentRecordSelected)
{
    auto grid = MakeGrid(2, 5);
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("%1\tz\t").arg((i * 17) % 40, 3, 10, QLatin1Char('0'));
    grid->SetLines(lines);
    grid->GotoRecord(1, 1);  // "017"
    grid->SortAll();
    EXPECT_EQ(grid->CurrentRecord(), 17);
    EXPECT_EQ(grid->GetRecordCell(1, grid->CurrentRecord()), "017");
    for (int i = 1; i < grid->RecordCount(); ++i)
        EXPECT_LE(CompareUmlaut(grid->Lines()[i - 1], grid->Lines()[i]), 0);

    grid->SetLines({"1\tb\t", "2\tc\t", "3\ta\t"});
    grid->SortFrom(3);
    EXPECT_EQ(grid->Lines(), QStringList({"3\ta\t", "1\tb\t", "2\tc\t"}));
}

TEST_F(TableGrid, EqualCollatingLinesEndInTheExchangeSortOrder)
{
    auto grid = MakeGrid(1);
    grid->SetLines({"B", "b", "a"});
    grid->SortAll();
    EXPECT_EQ(grid->Lines(), QStringList({"a", "b", "B"}));  // not a stable sort

    // Past ten lines the quicksort partitions around the middle line.
    grid->SetLines({"x", "X", "c", "C", "b", "a", "A", "B", "y", "Y", "z", "Z"});
    grid->SortAll();
    EXPECT_EQ(grid->Lines(),
              QStringList({"A", "a", "b", "B", "c", "C", "x", "X", "y", "Y", "z", "Z"}));
}

TEST_F(TableGrid, SortKeysOrderLikeTheCollation)
{
    const QString alphabet = QString::fromUtf8("aAuUüÜöÖäÄ ßz[_^`{~€é\t1");
    auto* rng = QRandomGenerator::global();
    auto randomText = [&](int maxLength) {
        QString s;
        const int length = static_cast<int>(rng->bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            s.append(alphabet[static_cast<int>(rng->bounded(alphabet.size()))]);
        return s;
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (int i = 0; i < 20000; ++i) {
        const int maxLength = i % 10 == 0 ? 260 : 6;
        const QString a = randomText(maxLength);
        const QString b = i % 3 == 0 ? a.left(a.size() - 1) + randomText(2) : randomText(maxLength);
        const std::string key = sortkey::Of(a);
        const int keyOrder = sign(key.compare(sortkey::Of(b)));
        ASSERT_EQ(keyOrder, sign(CompareUmlaut(a, b)))
            << a.toStdString() << " / " << b.toStdString();

        // A head is the key's beginning, and whole exactly when it is all of it.
        const qsizetype bytes = 1 + static_cast<qsizetype>(rng->bounded(60));
        std::string head(static_cast<size_t>(bytes) + 8, '\0');
        bool whole = false;
        head.resize(
            static_cast<size_t>(WriteCollationKeyHead(a, bytes, head.data(), whole) - head.data()));
        ASSERT_GE(head.size(), std::min(key.size(), static_cast<size_t>(bytes)));
        ASSERT_EQ(key.compare(0, head.size(), head), 0) << a.toStdString();
        ASSERT_EQ(whole, head == key) << a.toStdString();
    }
}

// The quicksort as the table files have always been sorted, comparing the texts themselves.
void ModelSort(QStringList& v, int a, int b)
{
    while (b - a >= 10) {
        const QString pivot = v[(a + b) / 2];
        int i = a;
        int j = b;
        do {
            while (CompareUmlaut(v[i], pivot) < 0)
                ++i;
            while (CompareUmlaut(v[j], pivot) > 0)
                --j;
            if (i <= j)
                v.swapItemsAt(i++, j--);
        } while (i <= j);
        if (j - a < b - i) {
            ModelSort(v, a, j);
            a = i;
        } else {
            ModelSort(v, i, b);
            b = j;
        }
    }
    for (int i = a; i < b; ++i)
        for (int j = i + 1; j <= b; ++j)
            if (CompareUmlaut(v[i], v[j]) > 0)
                v.swapItemsAt(i, j);
}

// Short lines, long ones, shared beginnings and lines equal but for case: the key heads
// decide alone, tie, or run out before the line does.
TEST_F(TableGrid, SortGivesTheOrderOfTheQuicksortOnTheCollation)
{
    const QStringList parts = {"M",
                               "m",
                               QString::fromUtf8("ü"),
                               "u ",
                               "u",
                               "Ue",
                               "ller\t",
                               "\t",
                               "",
                               QString::fromUtf8("ß"),
                               "Meier\tAnna\t",
                               "~",
                               QString::fromUtf8("Schäfer\tJürgen\tAm Mühlbach 12\t50667 Köln\t"),
                               QString(120, 'x') + QString::fromUtf8("ä")};
    auto* rng = QRandomGenerator::global();
    QStringList lines;
    for (int i = 0; i < 3000; ++i) {
        QString line;
        for (int n = static_cast<int>(rng->bounded(6)); n > 0; --n)
            line += parts[static_cast<int>(rng->bounded(parts.size()))];
        lines << line;
    }
    for (const int from : {0, 3}) {
        auto grid = MakeGrid(1);
        grid->SetLines(lines);
        from == 0 ? grid->SortAll() : grid->SortFrom(from);
        QStringList expected = lines;
        if (from == 0) {
            ModelSort(expected, 0, static_cast<int>(expected.size()) - 1);
            EXPECT_EQ(grid->Lines(), expected);
        }
        for (qsizetype i = 1; i < grid->Lines().size(); ++i) {
            const QStringView prev =
                QStringView(grid->Lines()[i - 1])
                    .mid(std::min<qsizetype>(from ? from - 1 : 0, grid->Lines()[i - 1].size()),
                         256);
            const QStringView next =
                QStringView(grid->Lines()[i])
                    .mid(std::min<qsizetype>(from ? from - 1 : 0, grid->Lines()[i].size()), 256);
            ASSERT_LE(CompareUmlaut(prev, next), 0) << i;
        }
    }
}

TEST_F(TableGrid, ClearTableGivesTenBlankRecords)
{
    auto grid = MakeGrid(3);
    grid->SetLines(Numbered(2));
    grid->SetModified(true);
    grid->ClearTable();
    EXPECT_EQ(grid->RecordCount(), 10);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(grid->RecordLine(9), "\t\t\t\t");
    EXPECT_FALSE(grid->IsModified());
    EXPECT_EQ(grid->Cells(1, 1), "");
}

TEST_F(TableGrid, AlignmentListIsFilledWithLeftJustify)
{
    auto grid = MakeGrid(3);
    EXPECT_EQ(grid->ColumnAlignment(2), 0);
    EXPECT_EQ(grid->Alignments(), QStringList(4, "taLeftJustify"));
    grid->SetColumnAlignment(2, 1);
    grid->SetColumnAlignment(3, 2);
    EXPECT_EQ(grid->Alignments(),
              QStringList({"taLeftJustify", "taLeftJustify", "taRightJustify", "taCenter"}));
    EXPECT_EQ(grid->ColumnAlignment(3), 2);
    grid->SetLines({"a\tb\tc\t"});
    EXPECT_EQ(grid->Cells(3, 1), "c");  // centred columns are not padded
}

TEST_F(TableGrid, ViewIsToldAboutChanges)
{
    auto grid = MakeGrid(2);
    QList<GridChange> changes;
    grid->SetChangeHandler([&changes](GridChange c) { changes << c; });
    grid->SetLines(Numbered(30));
    EXPECT_TRUE(changes.contains(GridChange::Layout));
    EXPECT_EQ(changes.count(GridChange::Cells), 1);  // one refill, one notification
    changes.clear();
    grid->ScrollBy(20);
    EXPECT_TRUE(changes.contains(GridChange::Cells));
    EXPECT_TRUE(changes.contains(GridChange::Selection));
    changes.clear();
    grid->SetCell(1, 1, "x");
    EXPECT_EQ(changes, QList<GridChange>({GridChange::Cells}));
}

}  // namespace

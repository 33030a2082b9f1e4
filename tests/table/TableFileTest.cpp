#include <QFile>
#include <QFileInfo>

#include "TableFixture.h"
#include "common/CodePage.h"
#include "table/TableFile.h"

namespace {

const QString kEnds = QStringLiteral("\r  Das Programm wird beendet!");

using TableFile = TableFixture;

TEST_F(TableFile, LineEndsCrLfLoneCrLoneLfAndFinalLineWithoutEnd)
{
    testfiles::WriteAll(Path("T.DBF"), "a1\ta2\t\r\nb1\tb2\t\rc1\tc2\t\nd1\td2\t");
    auto grid = MakeGrid(2);
    EXPECT_TRUE(grid->LoadTable(Path("T.DBF")));
    ASSERT_EQ(grid->RecordCount(), 4);
    EXPECT_EQ(grid->GetRecordCell(1, 1), "b1");
    EXPECT_EQ(grid->GetRecordCell(2, 2), "c2");
    EXPECT_EQ(grid->GetRecordCell(2, 3), "d2");
    EXPECT_FALSE(grid->IsModified());
}

TEST_F(TableFile, ZeroByteFileIsAnEmptyTableShownAsOneEmptyRow)
{
    testfiles::WriteAll(Path("T.DBF"), "");
    auto grid = MakeGrid(3);
    ASSERT_TRUE(grid->LoadTable(Path("T.DBF")));
    EXPECT_EQ(grid->RecordCount(), 0);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->VisibleDataRows(), 0);
    EXPECT_EQ(grid->Cells(1, 1), "");
    EXPECT_EQ(grid->GetRecordCell(1, 0), "");
    EXPECT_EQ(grid->CountTabs(0), 0);
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TableFile, ShortLinesReadEmptyCellsAndTextAfterTheLastColumnIsIgnored)
{
    testfiles::WriteLines(Path("T.DBF"), {"x\t", "a\tb\tc\td\te\t", "only"});
    auto grid = MakeGrid(3);
    grid->LoadTable(Path("T.DBF"));
    EXPECT_EQ(grid->GetRecordCell(1, 0), "x");
    EXPECT_EQ(grid->GetRecordCell(2, 0), "");
    EXPECT_EQ(grid->GetRecordCell(3, 1), "c");
    EXPECT_EQ(grid->Cells(3, 2), "c");
    EXPECT_EQ(grid->Cells(1, 3), "");  // no TAB: not even cell 1
    EXPECT_EQ(grid->FindConcat("abc"), 1);
    // A cell set through the grid rebuilds the line from cells 1 ... N.
    grid->SetCell(2, 2, "B");
    EXPECT_EQ(grid->RecordLine(1), "a\tB\tc\t");
}

TEST_F(TableFile, CodePage1252RoundTripsUmlautsSharpSAndEuro)
{
    const QByteArray bytes("M\xFC\x6C\x6C\x65r\t\xC4rger \xDF\t12 \x80\t\r\n");
    testfiles::WriteAll(Path("T.DBF"), bytes);
    auto grid = MakeGrid(3);
    grid->LoadTable(Path("T.DBF"));
    EXPECT_EQ(grid->GetRecordCell(1, 0), QString::fromUtf8("Müller"));
    EXPECT_EQ(grid->GetRecordCell(2, 0), QString::fromUtf8("Ärger ß"));
    EXPECT_EQ(grid->GetRecordCell(3, 0), QString::fromUtf8("12 €"));
    ASSERT_TRUE(grid->SaveTable(Path("T.DBF")));
    EXPECT_EQ(testfiles::ReadAll(Path("T.DBF")), bytes);
}

TEST_F(TableFile, SaveEndsEveryLineWithCrLfAndLeavesNoTemporaryFile)
{
    auto grid = MakeGrid(2);
    grid->SetLines({"a\tb\t", "c\td\t"});
    grid->SetModified(true);
    ASSERT_TRUE(grid->SaveTable(Path("KUNDE.DBF")));
    EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), "a\tb\t\r\nc\td\t\r\n");
    EXPECT_FALSE(QFileInfo::exists(Path("KUNDE.~DB")));
    EXPECT_FALSE(grid->IsModified());

    grid->SetLines({});
    ASSERT_TRUE(grid->SaveTable(Path("KUNDE.DBF")));
    EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), "");
}

TEST_F(TableFile, NamesAreFoundWhateverTheirCase)
{
    testfiles::WriteLines(Path("KUNDE.DBF"), {"a\t"});
    auto grid = MakeGrid(1);
    ASSERT_TRUE(grid->LoadTable(Path("kunde.dbf")));
    EXPECT_EQ(grid->RecordCount(), 1);
    grid->AddRecord(1);
    ASSERT_TRUE(grid->SaveTable(Path("kunde.dbf")));
    EXPECT_FALSE(QFileInfo::exists(Path("kunde.dbf")));
    EXPECT_EQ(testfiles::ReadAll(Path("KUNDE.DBF")), "a\t\r\n\t\r\n");
}

// ---- Journals ----

TEST_F(TableFile, JournalPlusLinesMoveBehindTheLastLineOfTheSameOrAnEarlierDate)
{
    testfiles::WriteLines(
        Path("Z.ZAE"), {"01.03.2024\tA\t", "10.03.2024\tB\t", "kein Datum\tX\t", "+05.03.2024\tC\t",
                        "+10.03.2024\tD\t", "+01.02.2024\tE\t", "+01.03.2024\tF\t"});
    auto grid = MakeGrid(2);
    ASSERT_TRUE(grid->LoadJournal(Path("Z.ZAE")));
    QStringList cells;
    for (int i = 0; i < grid->RecordCount(); ++i)
        cells << grid->GetRecordCell(2, i);
    // E is earlier than everything: position 0. Same dates keep file order (A F, B D).
    EXPECT_EQ(cells, QStringList({"E", "A", "F", "C", "B", "D", "X"}));
    // The merged file is written at once and holds no change lines.
    EXPECT_EQ(testfiles::ReadAll(Path("Z.ZAE")),
              cp1252::JoinLines({"01.02.2024\tE\t", "01.03.2024\tA\t", "01.03.2024\tF\t",
                                 "05.03.2024\tC\t", "10.03.2024\tB\t", "10.03.2024\tD\t",
                                 "kein Datum\tX\t"}));
    EXPECT_FALSE(grid->IsModified());
}

TEST_F(TableFile, JournalMinusLineRemovesEarlierRecordsWhoseCell2IsTheKey)
{
    testfiles::WriteLines(Path("Z.ZAE"),
                          {"01.03.2024\t17\ta\t", "02.03.2024\t170\tb\t", "03.03.2024\t17\tc\t",
                           "17\t17x\td\t", "-17\t", "04.03.2024\t17\te\t"});
    auto grid = MakeGrid(3);
    grid->LoadJournal(Path("Z.ZAE"));
    ASSERT_EQ(grid->RecordCount(), 3);
    EXPECT_EQ(grid->GetRecordCell(3, 0), "b");
    EXPECT_EQ(grid->GetRecordCell(3, 1), "d");
    EXPECT_EQ(grid->GetRecordCell(3, 2), "e");  // later lines stay
}

TEST_F(TableFile, JournalInMemoryKeepsTheFileAndDisplayFillsTheRows)
{
    const QStringList lines{"10.03.2024\tB\t", "+05.03.2024\tC\t"};
    testfiles::WriteLines(Path("Z.ZAE"), lines);
    auto grid = MakeGrid(2);
    ASSERT_TRUE(grid->LoadJournalInMemory(Path("Z.ZAE")));
    EXPECT_EQ(grid->Cells(2, 1), "C");
    EXPECT_TRUE(grid->IsModified());
    EXPECT_EQ(testfiles::ReadAll(Path("Z.ZAE")), cp1252::JoinLines(lines));

    ASSERT_TRUE(grid->LoadJournalDisplay(Path("Z.ZAE")));
    EXPECT_EQ(grid->Cells(2, 2), "B");
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(testfiles::ReadAll(Path("Z.ZAE")),
              cp1252::JoinLines({"05.03.2024\tC\t", "10.03.2024\tB\t"}));
}

TEST_F(TableFile, MissingJournalIsCreatedEmpty)
{
    auto grid = MakeGrid(7);
    ASSERT_TRUE(grid->LoadJournalDisplay(Path("Z32024EE.ZAE")));
    EXPECT_TRUE(QFileInfo(Path("Z32024EE.ZAE")).isFile());
    EXPECT_EQ(grid->RecordCount(), 0);
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TableFile, JournalThatCanNeitherBeReadNorCreatedEndsTheProgram)
{
    auto grid = MakeGrid(7);
    const QString path = Path("fehlt/Z.ZAE");
    try {
        grid->LoadJournalInMemory(path);
        FAIL() << "program should end";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.exitCode, 1);
    }
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(port.LastText(), path + "\r\r- Datei kann nicht erzeugt werden!" + kEnds);
    EXPECT_THROW(grid->LoadJournal(path), ProgramEnded);
    EXPECT_EQ(port.LastText(), path + "\r\r- Datei kann nicht geladen werden!" + kEnds);
}

// ---- Registers and cards ----

TEST_F(TableFile, RegisterPlusLineReplacesEarlierLinesOfItsKeyInPlace)
{
    testfiles::WriteLines(Path("ST_RECHN.DBF"),
                          {"0001/001\talt\t", "0002/001\tx\t", "+0001/001\tneu\t", "0003/001\ty\t",
                           "+0001/001\tneuer\t", "-0002/001\t", "0002/001\tspäter\t"});
    auto grid = MakeGrid(2);
    ASSERT_TRUE(grid->LoadRegister(Path("ST_RECHN.DBF")));
    EXPECT_EQ(grid->Lines(), QStringList({"0003/001\ty\t", "0001/001\tneuer\t",
                                          QString::fromUtf8("0002/001\tspäter\t")}));
    EXPECT_EQ(testfiles::ReadAll(Path("ST_RECHN.DBF")), cp1252::JoinLines(grid->Lines()));
    EXPECT_EQ(grid->Cells(2, 2), "neuer");
}

// The changed-on-disk check rests on it: one bit anywhere, a longer file, or two blocks
// swapped must all give another checksum.
TEST(TableChecksum, EveryBitTheLengthAndTheOrderCount)
{
    for (const int size : {0, 1, 7, 8, 9, 31, 32, 33, 64, 71}) {
        QByteArray data(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            data[i] = char(i * 37 + 5);
        const quint64 base = table::Checksum(data);
        for (int i = 0; i < size; ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                QByteArray changed = data;
                changed[i] = char(changed[i] ^ (1 << bit));
                ASSERT_NE(table::Checksum(changed), base) << size << " " << i << " " << bit;
            }
        }
        EXPECT_NE(table::Checksum(data + '\0'), base) << size;
    }
    const QByteArray a(8, 'a'), b(8, 'b'), c(16, 'c');
    EXPECT_NE(table::Checksum(a + b + c + c), table::Checksum(b + a + c + c));
    EXPECT_NE(table::Checksum(c + c + a + b), table::Checksum(c + c + b + a));
}

TEST_F(TableFile, CardSplitsRowsAtTheLastMarker)
{
    testfiles::WriteLines(Path("K0001001.KAR"), {"r1\t", "r2\t", "---KOPF---", "h1", "h2"});
    auto grid = MakeGrid(1);
    QStringList header{"alt"};
    ASSERT_TRUE(grid->LoadCard(Path("K0001001.KAR"), header));
    EXPECT_EQ(grid->Lines(), QStringList({"r1\t", "r2\t"}));
    EXPECT_EQ(header, QStringList({"h1", "h2"}));

    header << "h3";
    ASSERT_TRUE(grid->SaveCard(Path("K0001001.KAR"), header));
    EXPECT_EQ(grid->Lines(), QStringList({"r1\t", "r2\t"}));
    EXPECT_EQ(testfiles::ReadAll(Path("K0001001.KAR")),
              cp1252::JoinLines({"r1\t", "r2\t", "---KOPF---", "h1", "h2", "h3"}));
    EXPECT_FALSE(QFileInfo::exists(Path("K0001001.~KA")));

    testfiles::WriteLines(Path("K0001002.KAR"), {"a", "b"});
    grid->LoadCard(Path("K0001002.KAR"), header);
    EXPECT_EQ(grid->RecordCount(), 0);
    EXPECT_EQ(header, QStringList({"a", "b"}));
}

TEST_F(TableFile, EmptyCardFileBecomesABlankCardThatIsNotMirrored)
{
    QTemporaryDir backup;
    testfiles::WriteAll(Path("K0001001.KAR"), "");
    auto grid = MakeGrid(2, 5);  // 4 visible data rows
    grid->ClearTable();
    grid->Resize(5 * 21);
    grid->BackupFilePath = backup.path();
    QStringList header{"- - -", "kopf"};
    ASSERT_TRUE(grid->LoadCard(Path("K0001001.KAR"), header));
    EXPECT_EQ(header, QStringList({"- - -", "kopf"}));
    EXPECT_EQ(grid->RecordCount(), 4);
    EXPECT_EQ(
        testfiles::ReadAll(Path("K0001001.KAR")),
        cp1252::JoinLines({"\t\t\t", "\t\t\t", "\t\t\t", "\t\t\t", "---KOPF---", "- - -", "kopf"}));
    EXPECT_FALSE(QFileInfo::exists(backup.path() + "/K0001001.KAR"));

    grid->SetRecordCell(1, 0, "Impfung");
    header << "x"
           << "y"
           << "z";
    ASSERT_TRUE(grid->SaveCard(Path("K0001001.KAR"), header));
    EXPECT_EQ(testfiles::ReadAll(backup.path() + "/K0001001.KAR"),
              testfiles::ReadAll(Path("K0001001.KAR")));
}

// ---- Failures ----

TEST_F(TableFile, UnreadableOrMissingTableEndsTheProgram)
{
    QDir(dir.path()).mkdir("KUNDE.DBF");  // a folder cannot be read as a file
    auto grid = MakeGrid(2);
    for (const QString& name : {QStringLiteral("KUNDE.DBF"), QStringLiteral("MED.DBF")}) {
        port.messages.clear();
        port.busy = true;
        try {
            grid->LoadTable(Path(name));
            FAIL() << "program should end";
        } catch (const ProgramEnded& e) {
            EXPECT_EQ(e.exitCode, 1);
        }
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(port.LastText(), Path(name) + "\r\r- Datei kann nicht geladen werden!" + kEnds);
        EXPECT_FALSE(port.busyWhileMessage);
    }
    EXPECT_THROW(grid->LoadRegister(Path("ST_MAHN.DBF")), ProgramEnded);
    QStringList header;
    EXPECT_THROW(grid->LoadCard(Path("K0001001.KAR"), header), ProgramEnded);
}

TEST_F(TableFile, UnreachableDriveNamesTheMountPointAndEndsTheProgram)
{
    env->volumeOf = [](const QString&) {
        VolumeInfo v;
        v.mountPoint = "/mnt/praxis";
        return v;
    };
    testfiles::WriteLines(Path("MED.DBF"), {"a\t"});
    auto grid = MakeGrid(1);
    const QString text =
        "Laufwerk bzw. Rechner (/mnt/praxis) kann nicht erreicht werden.\rDas Programm wird "
        "beendet.\rStellen Sie sicher, dass der Hauptrechner eingeschaltet\rund alle "
        "Netzlaufwerke verbunden sind.";
    EXPECT_FALSE(grid->CheckDriveReachable(Path("MED.DBF")));
    EXPECT_EQ(port.LastText(), text);
    EXPECT_THROW(grid->LoadTable(Path("MED.DBF")), ProgramEnded);
    EXPECT_THROW(grid->SaveTable(Path("MED.DBF")), ProgramEnded);
    EXPECT_EQ(port.messages.size(), 3);
    EXPECT_EQ(testfiles::ReadAll(Path("MED.DBF")), "a\t\r\n");
}

TEST_F(TableFile, ReadOnlyTableIsRepairedOnLoad)
{
    testfiles::WriteLines(Path("MED.DBF"), {"a\t"});
    QFile::setPermissions(Path("MED.DBF"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    auto grid = MakeGrid(1);
    EXPECT_TRUE(grid->LoadTable(Path("MED.DBF")));
    EXPECT_TRUE(QFile::permissions(Path("MED.DBF")) & QFileDevice::WriteOwner);

    QFile::setPermissions(Path("MED.DBF"), QFileDevice::ReadOwner);
    grid->AddRecord(1);
    EXPECT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_EQ(testfiles::ReadAll(Path("MED.DBF")), "a\t\r\n\t\r\n");
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TableFile, ReadOnlyMediumIsNeitherRepairedNorMirrored)
{
    QTemporaryDir backup;
    env->readOnlyMedium = true;
    testfiles::WriteLines(Path("MED.DBF"), {"a\t"});
    QFile::setPermissions(Path("MED.DBF"), QFileDevice::ReadOwner);
    auto grid = MakeGrid(1);
    grid->BackupFilePath = backup.path();
    EXPECT_TRUE(grid->LoadTable(Path("MED.DBF")));
    EXPECT_FALSE(QFile::permissions(Path("MED.DBF")) & QFileDevice::WriteOwner);
    EXPECT_TRUE(grid->RepairReadOnly(Path("MED.DBF")));
    EXPECT_TRUE(grid->RepairReadOnly(Path("fehlt.DBF")));
    QFile::setPermissions(Path("MED.DBF"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_FALSE(QFileInfo::exists(backup.path() + "/MED.DBF"));
}

TEST_F(TableFile, ReadOnlyAttributeThatCannotBeClearedWarnsOnLoadAndEndsOnSave)
{
    testfiles::WriteLines(Path("MED.DBF"), {"a\t", "b\t"});
    QFile::setPermissions(Path("MED.DBF"), QFileDevice::ReadOwner);
    ImmutableGuard guard(Path("MED.DBF"));
    if (!SetImmutable(Path("MED.DBF"), true))
        GTEST_SKIP() << "file system without immutable files";
    auto grid = MakeGrid(1);
    EXPECT_FALSE(grid->LoadTable(Path("MED.DBF")));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(
        port.LastText(),
        Path("MED.DBF") + "\r\r- WINDOWS I/O-Fehler -\r  Datei kann nicht berichtigt werden!");
    EXPECT_EQ(grid->RecordCount(), 2);
    EXPECT_EQ(grid->Cells(1, 2), "b");

    EXPECT_THROW(grid->SaveTable(Path("MED.DBF")), ProgramEnded);
    EXPECT_EQ(port.messages.last().kind, MsgKind::Error);
    EXPECT_EQ(port.LastText(), Path("MED.DBF") +
                                   "\r\r- WINDOWS I/O-Fehler -\r  Datei kann nicht berichtigt "
                                   "werden!" +
                                   kEnds);
}

TEST_F(TableFile, FailedSaveKeepsTheOldFileAndTheRecordsAndSaysSo)
{
    testfiles::WriteLines(Path("LEISTUNG.DBF"), {"alt\t"});
    ImmutableGuard guard(Path("LEISTUNG.DBF"));
    if (!SetImmutable(Path("LEISTUNG.DBF"), true))
        GTEST_SKIP() << "file system without immutable files";
    auto grid = MakeGrid(1);
    grid->SetLines({"neu\t"});
    EXPECT_FALSE(grid->SaveTable(Path("LEISTUNG.DBF")));
    EXPECT_EQ(port.LastText(), "Fehler beim Schreiben auf den Datenträger.\r(" + dir.path() +
                                   "/)\rBitte prüfen, ob der Datenträger beschreibbar ist!");
    EXPECT_EQ(testfiles::ReadAll(Path("LEISTUNG.DBF")), "alt\t\r\n");
    EXPECT_FALSE(QFileInfo::exists(Path("LEISTUNG.~DB")));
    EXPECT_TRUE(grid->IsModified());
    EXPECT_EQ(grid->RecordLine(0), "neu\t");

    EXPECT_FALSE(grid->SaveCard(Path("LEISTUNG.DBF"), {}));
    EXPECT_TRUE(port.LastText().endsWith("beschreibbar ist"));
}

TEST_F(TableFile, SaveIntoAMissingFolderFailsWithTheMessage)
{
    auto grid = MakeGrid(1);
    grid->SetLines({"x\t"});
    EXPECT_FALSE(grid->SaveTable(Path("fehlt/MED.DBF")));
    EXPECT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(port.LastText().startsWith("Fehler beim Schreiben auf den Datenträger.\r(" +
                                           dir.path() + "/fehlt/)"));
    EXPECT_FALSE(QFileInfo::exists(Path("fehlt")));
}

}  // namespace

#include <QFile>
#include <QFileInfo>

#include "TableFixture.h"

namespace {

class TableBackup : public TableFixture {
protected:
    // The medium: a folder that stands for a mounted volume; the backup folder is its DATEN.
    QString Medium() const { return medium.path(); }
    QString BackupFolder() const { return medium.path() + "/DATEN/"; }

    QTemporaryDir medium;
};

TEST_F(TableBackup, SaveMirrorsTheTableIntoTheBackupFolder)
{
    QDir(Medium()).mkdir("DATEN");
    auto grid = MakeGrid(2);
    grid->BackupFilePath = BackupFolder();
    grid->SetLines({"a\tb\t"});
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "MED.DBF"), "a\tb\t\r\n");
    EXPECT_FALSE(QFileInfo::exists(BackupFolder() + "MED.~DB"));
    EXPECT_TRUE(port.messages.isEmpty());

    // An empty table is saved, but not mirrored.
    grid->SetLines({});
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "MED.DBF"), "a\tb\t\r\n");
}

TEST_F(TableBackup, NewBackupFolderIsCreatedAndFilledFromTheDataFolder)
{
    env->dataFolder = dir.path();
    testfiles::WriteAll(Path("TLV.INI"), "[Optionen]\r\n");
    testfiles::WriteAll(Path("Kunde.dbf"), "k\t\r\n");
    testfiles::WriteAll(Path("MAHNUNG1.TLV"), "Mahnung\r\n");
    auto grid = MakeGrid(1);
    grid->BackupFilePath = BackupFolder();
    grid->SetLines({"m\t"});
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(port.LastText(),
              "Daten auf dem Backupdatenträger müssen aktualisiert werden!\r\rKlicken Sie auf "
              "die Schaltfläche OK und warten Sie einen\rAugenblick, bis der Vorgang beendet "
              "ist.");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "TLV.INI"), "[Optionen]\r\n");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "Kunde.dbf"), "k\t\r\n");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "MAHNUNG1.TLV"), "Mahnung\r\n");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "MED.DBF"), "m\t\r\n");
    EXPECT_EQ(QFileInfo(BackupFolder() + "TLV.INI").lastModified().toSecsSinceEpoch(),
              QFileInfo(Path("TLV.INI")).lastModified().toSecsSinceEpoch());
}

TEST_F(TableBackup, UnreachableMediumIsTriedTwiceThenGivenUp)
{
    auto grid = MakeGrid(1);
    grid->BackupFilePath = Medium() + "/nicht/eingelegt/DATEN/";
    grid->SetLines({"m\t"});
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_EQ(port.Texts(),
              QStringList({"Backup-Medium nicht erreichbar.\rÜberprüfen Sie den Datenträger!",
                           "Backup-Speicherung abgebrochen.\rKeine Sicherungskopie angelegt!"}));
    EXPECT_FALSE(QFileInfo::exists(Medium() + "/nicht"));
    EXPECT_EQ(testfiles::ReadAll(Path("MED.DBF")), "m\t\r\n");
}

TEST_F(TableBackup, BackupWriteFailureAsksAndRetriesUntilCancelled)
{
    QDir(Medium()).mkdir("DATEN");
    testfiles::WriteAll(BackupFolder() + "MED.DBF", "alt\r\n");
    ImmutableGuard guard(BackupFolder() + "MED.DBF");
    if (!SetImmutable(BackupFolder() + "MED.DBF", true))
        GTEST_SKIP() << "file system without immutable files";
    auto grid = MakeGrid(1);
    grid->BackupFilePath = BackupFolder();
    grid->SetLines({"neu\t"});
    port.QueueAnswer(Answer::Ok);
    port.QueueAnswer(Answer::Cancel);
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(port.LastText(),
              "Fehler beim Schreiben auf den Datenträger,\r(" + BackupFolder() +
                  ")\rKeine Sicherungskopie angelegt.\r\rÜberprüfen Sie, ob der Datenträger voll "
                  "ist, und\rlegen Sie ggf. einen neuen Datenträger ein!");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "MED.DBF"), "alt\r\n");
    EXPECT_FALSE(QFileInfo::exists(BackupFolder() + "MED.~DB"));
    EXPECT_EQ(testfiles::ReadAll(Path("MED.DBF")), "neu\t\r\n");
}

TEST_F(TableBackup, SmallMediumTakesNoLargeTableExceptTheCustomers)
{
    QDir(Medium()).mkdir("DATEN");
    env->volumeOf = [](const QString&) {
        VolumeInfo v;
        v.reachable = true;
        v.totalBytes = 1457664;  // a floppy disk
        v.mountPoint = "/media/floppy";
        return v;
    };
    testfiles::WriteAll(BackupFolder() + "MED.DBF", "alt\r\n");
    auto grid = MakeGrid(1);
    grid->BackupFilePath = BackupFolder();
    QStringList many;
    for (int i = 0; i < 1001; ++i)
        many << QString::number(i) + "\t";
    grid->SetLines(many);
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_FALSE(QFileInfo::exists(BackupFolder() + "MED.DBF"));
    ASSERT_TRUE(grid->SaveTable(Path("KUNDE.DBF")));
    EXPECT_TRUE(QFileInfo::exists(BackupFolder() + "KUNDE.DBF"));
    many.removeLast();
    grid->SetLines(many);
    ASSERT_TRUE(grid->SaveTable(Path("MED.DBF")));
    EXPECT_TRUE(QFileInfo::exists(BackupFolder() + "MED.DBF"));
}

// ---- Change lines ----

TEST_F(TableBackup, ChangeLineIsAppendedOnlyToAnExistingFile)
{
    auto grid = MakeGrid(2);
    grid->AppendChangeLine(Path("ST_MAHN.DBF"), "+x\t");
    EXPECT_FALSE(QFileInfo::exists(Path("ST_MAHN.DBF")));

    testfiles::WriteAll(Path("ST_MAHN.DBF"), "a\tb\t\r\n");
    grid->AppendChangeLine(Path("ST_MAHN.DBF"), QString::fromUtf8("+Müller\t€\t"));
    EXPECT_EQ(testfiles::ReadAll(Path("ST_MAHN.DBF")), "a\tb\t\r\n+M\xFCller\t\x80\t\r\n");
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TableBackup, ChangeLineGoesToTheBackupCopyOrCopiesTheWholeFile)
{
    QDir(Medium()).mkdir("DATEN");
    env->autoBackup = true;
    env->autoBackupFolder = BackupFolder();
    auto grid = MakeGrid(2);
    testfiles::WriteAll(Path("ST_MAHN.DBF"), "a\t\r\n");
    grid->AppendChangeLine(Path("ST_MAHN.DBF"), "+b\t");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "ST_MAHN.DBF"), "a\t\r\n+b\t\r\n");

    testfiles::WriteAll(BackupFolder() + "ST_MAHN.DBF", "alt\r\n");
    grid->AppendChangeLine(Path("ST_MAHN.DBF"), "-a\t");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "ST_MAHN.DBF"), "alt\r\n-a\t\r\n");
    EXPECT_EQ(testfiles::ReadAll(Path("ST_MAHN.DBF")), "a\t\r\n+b\t\r\n-a\t\r\n");

    // A missing backup folder is created on the medium.
    QDir(BackupFolder()).removeRecursively();
    grid->AppendChangeLine(Path("ST_MAHN.DBF"), "+c\t");
    EXPECT_EQ(testfiles::ReadAll(BackupFolder() + "ST_MAHN.DBF"),
              testfiles::ReadAll(Path("ST_MAHN.DBF")));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(TableBackup, UnreachableBackupDriveIsAskedForUntilAbort)
{
    int lookups = 0;
    env->autoBackup = true;
    env->autoBackupFolder = "/media/stick/DATEN/";
    env->volumeOf = [&lookups](const QString& path) {
        VolumeInfo v;
        v.reachable = !path.startsWith("/media/stick");
        v.mountPoint = v.reachable ? "/" : "/media/stick";
        lookups += !v.reachable;
        return v;
    };
    auto grid = MakeGrid(2);
    testfiles::WriteAll(Path("ST_MAHN.DBF"), "");
    port.QueueAnswer(Answer::Ok);
    port.QueueAnswer(Answer::Abort);
    grid->AppendChangeLine(Path("ST_MAHN.DBF"), "+b\t");
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[0].buttons, Buttons::OkAbort);
    EXPECT_EQ(port.LastText(),
              "Auf das Backup-Laufwerk /media/stick kann nicht zugegriffen werden.\rBitte "
              "überprüfen Sie den Datenträger!");
    EXPECT_EQ(lookups, 2);
    EXPECT_EQ(testfiles::ReadAll(Path("ST_MAHN.DBF")), "+b\t\r\n");
}

}  // namespace

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shell/Backup.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

namespace {

// Wednesday, 15 May 2024.
const QDate kWednesdayInMay(2024, 5, 15);

class BackupTest : public ::testing::Test {
protected:
    BackupTest() : m_clock(QDateTime(kWednesdayInMay, QTime(18, 0)))
    {
        QDir(m_dir.path()).mkpath("DATEN/Texte");
        QDir(m_dir.path()).mkpath("medium");
        for (const char* name : {"KUNDE.DBF", "MED.DBF", "LEISTUNG.DBF", "ST_RECHN.DBF",
                                 "ST_MAHN.DBF", "FAVORITE.DBF", "TLV.INI"})
            Data(name, QByteArray(name) + " neu\r\n");
        testfiles::WriteAll(Data() + "Texte/MAHNUNG1.TLV", "Mahnung 1\r\n");
        testfiles::WriteAll(Data() + "Texte/MAHNUNG2.TLV", "Mahnung 2\r\n");
    }

    QString Data() const { return m_dir.path() + "/DATEN/"; }
    QString Medium() const { return m_dir.path() + "/medium/DATEN/"; }
    void Data(const QString& name, const QByteArray& bytes)
    {
        testfiles::WriteAll(Data() + name, bytes);
    }

    BackupSettings Settings(bool autoBackup)
    {
        BackupSettings s;
        s.dataFolder = Data();
        s.autoBackup = autoBackup;
        s.backupFolder = Medium();
        s.volumeOf = [this](const QString& path) {
            VolumeInfo v = VolumeOf(path);
            if (path.startsWith(m_dir.path() + "/medium")) {
                v.reachable = mediumReachable;
                v.mountPoint = m_dir.path() + "/medium";
            }
            return v;
        };
        return s;
    }

    QTemporaryDir m_dir;
    FixedClock m_clock;
    ScriptedUserPort m_port;
    bool mediumReachable = true;
};

}  // namespace

TEST_F(BackupTest, CloseOnAWednesdayInMayRefreshesItsWeekdayAndMonthSets)
{
    Data("Z52024.ZAE", "Mai Einnahmen\r\n");
    Data("Z52024.AUE", "Mai Ausgaben\r\n");
    Data("Z42024.ZAE", "April\r\n");
    // The set of the last Wednesday holds April's journals and an older customer table.
    QDir(Data()).mkdir("BAK_Mi");
    testfiles::WriteAll(Data() + "BAK_Mi/Z42024.ZAE", "April\r\n");
    testfiles::WriteAll(Data() + "BAK_Mi/z42024.aue", "April\r\n");
    testfiles::WriteAll(Data() + "BAK_Mi/KUNDE.DBF", "alt\r\n");
    Data("ST_MAHN.DBF", "");  // an empty register is not copied

    Backup(m_port, m_clock, Settings(false)).BackupOnExit();

    for (const char* set : {"BAK_Mi", "BAK02"}) {
        const QString folder = Data() + set + "/";
        SCOPED_TRACE(set);
        EXPECT_EQ(testfiles::ReadAll(folder + "KUNDE.DBF"), "KUNDE.DBF neu\r\n");
        for (const char* name : {"MED.DBF", "LEISTUNG.DBF", "ST_RECHN.DBF", "FAVORITE.DBF",
                                 "Z52024.ZAE", "Z52024.AUE"})
            EXPECT_TRUE(QFileInfo::exists(folder + name)) << name;
        EXPECT_FALSE(QFileInfo::exists(folder + "ST_MAHN.DBF"));
        EXPECT_FALSE(QFileInfo::exists(folder + "TLV.INI"));
        EXPECT_FALSE(QFileInfo::exists(folder + "Z42024.ZAE"));
        EXPECT_FALSE(QFileInfo::exists(folder + "z42024.aue"));
    }
    for (const char* other : {"BAK_Di", "BAK_Do", "BAK01", "BAK03"})
        EXPECT_FALSE(QFileInfo::exists(Data() + other)) << other;
    EXPECT_TRUE(m_port.messages.isEmpty());
    EXPECT_FALSE(m_port.busy);
    // Nothing went to the medium with automatic backup off.
    EXPECT_FALSE(QFileInfo::exists(Medium()));
}

TEST_F(BackupTest, WeekdayAndMonthFoldersFollowTheCalendar)
{
    EXPECT_EQ(Backup::WeekdayFolder(Qt::Sunday), "BAK_So");
    EXPECT_EQ(Backup::WeekdayFolder(Qt::Monday), "BAK_Mo");
    EXPECT_EQ(Backup::WeekdayFolder(Qt::Saturday), "BAK_Sa");
    EXPECT_EQ(Backup::MonthFolder(1), "BAK01");
    EXPECT_EQ(Backup::MonthFolder(10), "BAK01");
    EXPECT_EQ(Backup::MonthFolder(11), "BAK02");
    EXPECT_EQ(Backup::MonthFolder(6), "BAK03");
    EXPECT_EQ(Backup::MonthFolder(12), "BAK03");
}

TEST_F(BackupTest, AutomaticBackupCopiesWhatTheMediumLacksAndAlwaysTheRegisters)
{
    QDir().mkpath(Medium());
    testfiles::WriteAll(Medium() + "KUNDE.DBF", "gespiegelt\r\n");
    testfiles::WriteAll(Medium() + "ST_RECHN.DBF", "alt\r\n");
    testfiles::WriteAll(Medium() + "ST_MAHN.DBF", "alt\r\n");

    Backup(m_port, m_clock, Settings(true)).BackupOnExit();

    EXPECT_EQ(testfiles::ReadAll(Medium() + "KUNDE.DBF"), "gespiegelt\r\n");
    EXPECT_EQ(testfiles::ReadAll(Medium() + "ST_RECHN.DBF"), "ST_RECHN.DBF neu\r\n");
    EXPECT_EQ(testfiles::ReadAll(Medium() + "ST_MAHN.DBF"), "ST_MAHN.DBF neu\r\n");
    for (const char* name : {"TLV.INI", "MED.DBF", "LEISTUNG.DBF", "FAVORITE.DBF",
                             "Texte/MAHNUNG1.TLV", "Texte/MAHNUNG2.TLV"})
        EXPECT_TRUE(QFileInfo::exists(Medium() + name)) << name;
    EXPECT_TRUE(QFileInfo::exists(Data() + "BAK_Mi/KUNDE.DBF"));
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(BackupTest, ReadOnlyProgramMediumMakesNoCopies)
{
    BackupSettings s = Settings(true);
    s.readOnlyMedium = true;
    Backup backup(m_port, m_clock, s);
    backup.BackupOnExit();
    EXPECT_FALSE(backup.CopyToBackup("KUNDE.DBF"));
    EXPECT_FALSE(QFileInfo::exists(Data() + "BAK_Mi"));
    EXPECT_FALSE(QFileInfo::exists(Data() + "BAK02"));
    EXPECT_FALSE(QFileInfo::exists(Medium()));
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(BackupTest, UnreachableMediumAsksUntilAbortAndTheLocalSetsStillFollow)
{
    mediumReachable = false;
    m_port.QueueAnswer(Answer::Ok);
    m_port.QueueAnswer(Answer::Abort);
    Backup(m_port, m_clock, Settings(true)).BackupOnExit();

    ASSERT_EQ(m_port.messages.size(), 2);
    EXPECT_EQ(m_port.messages[0].text, "Auf das Backup-Laufwerk " + m_dir.path() +
                                           "/medium kann nicht zugegriffen werden.\r"
                                           "Bitte überprüfen Sie den Datenträger!");
    EXPECT_EQ(m_port.messages[0].buttons, Buttons::OkAbort);
    EXPECT_FALSE(QFileInfo::exists(Medium()));
    EXPECT_TRUE(QFileInfo::exists(Data() + "BAK_Mi/KUNDE.DBF"));
}

TEST_F(BackupTest, MissingMediumFolderThatCannotBeMadeSkipsTheWholeExitBackup)
{
    BackupSettings s = Settings(true);
    s.backupFolder = m_dir.path() + "/medium/nicht/da/";
    Backup(m_port, m_clock, s).BackupOnExit();
    EXPECT_EQ(m_port.Texts(), QStringList{"Backup-Verzeichnis kann nicht erzeugt werden"});
    EXPECT_EQ(m_port.messages[0].kind, MsgKind::Warning);
    EXPECT_FALSE(QFileInfo::exists(Data() + "BAK_Mi"));
}

TEST_F(BackupTest, TextsGoToTheBackupTextsFolderOnlyOnce)
{
    Backup backup(m_port, m_clock, Settings(true));
    testfiles::WriteAll(Data() + "Texte/ImpfErg.TLV", "Impfung\r\n");
    ASSERT_TRUE(backup.BackupTexts());
    EXPECT_EQ(testfiles::ReadAll(Medium() + "Texte/ImpfErg.TLV"), "Impfung\r\n");

    // A changed text is refreshed only through CopyToBackup.
    testfiles::WriteAll(Data() + "Texte/MAHNUNG1.TLV", "geändert\r\n");
    ASSERT_TRUE(backup.BackupTexts());
    EXPECT_EQ(testfiles::ReadAll(Medium() + "Texte/MAHNUNG1.TLV"), "Mahnung 1\r\n");
    ASSERT_TRUE(backup.CopyToBackup("MAHNUNG1.TLV"));
    EXPECT_EQ(testfiles::ReadAll(Medium() + "Texte/MAHNUNG1.TLV"), "geändert\r\n");
    ASSERT_TRUE(backup.CopyToBackup("TLV.INI"));
    EXPECT_EQ(testfiles::ReadAll(Medium() + "TLV.INI"), "TLV.INI neu\r\n");

    // Automatic backup off: nothing to do, success.
    EXPECT_TRUE(Backup(m_port, m_clock, Settings(false)).BackupTexts());
}

TEST_F(BackupTest, InitialFillShowsTheNoticeAndCopiesTheCoreFiles)
{
    QDir().mkpath(Medium());
    Data("MAHNUNG1.TLV", "M1\r\n");
    Backup backup(m_port, m_clock, Settings(true));
    ASSERT_TRUE(backup.InitialFill());
    EXPECT_EQ(m_port.Texts(),
              QStringList{"Daten auf dem Backupdatenträger müssen aktualisiert werden!\r\r"
                          "Klicken Sie auf die Schaltfläche OK und warten Sie einen\r"
                          "Augenblick, bis der Vorgang beendet ist."});
    for (const char* name : {"TLV.INI", "KUNDE.DBF", "MAHNUNG1.TLV", "MED.DBF", "LEISTUNG.DBF",
                             "ST_RECHN.DBF", "ST_MAHN.DBF"})
        EXPECT_TRUE(QFileInfo::exists(Medium() + name)) << name;
    EXPECT_FALSE(QFileInfo::exists(Medium() + "FAVORITE.DBF"));
}

TEST_F(BackupTest, CopyFileReportsAnUnreadableSourceAndSkipsLargeFilesOnAFloppy)
{
    Backup backup(m_port, m_clock, Settings(true));
    EXPECT_FALSE(backup.CopyFile(Data() + "FEHLT.DBF", Data() + "X.DBF"));
    EXPECT_EQ(m_port.LastText(), "Fehler beim Laden von " + Data() + "FEHLT.DBF");

    BackupSettings s = Settings(true);
    s.volumeOf = [](const QString&) {
        VolumeInfo v;
        v.reachable = true;
        v.totalBytes = 1440 * 1024;
        v.freeBytes = 1000 * 1024;
        return v;
    };
    Backup floppy(m_port, m_clock, s);
    QDir().mkpath(Medium());
    Data("MED.DBF", QByteArray(154624, 'x'));
    Data("KUNDE.DBF", QByteArray(154624, 'k'));
    EXPECT_TRUE(floppy.CopyFile(Data() + "MED.DBF", Medium() + "MED.DBF"));
    EXPECT_FALSE(QFileInfo::exists(Medium() + "MED.DBF"));
    EXPECT_TRUE(floppy.CopyFile(Data() + "KUNDE.DBF", Medium() + "KUNDE.DBF"));
    EXPECT_EQ(QFileInfo(Medium() + "KUNDE.DBF").size(), 154624);
}

TEST(WritableDriveTest, ReasonsAndTheirMessages)
{
    ScriptedUserPort port;
    VolumeInfo v;
    v.mountPoint = "/media/stick";
    auto lookup = [&v](const QString&) { return v; };

    EXPECT_EQ(CheckWritableDrive("", lookup, &port), DriveCheck::InvalidName);
    EXPECT_EQ(port.LastText(), "Datenträger-Name ungültig");

    EXPECT_EQ(CheckWritableDrive("/media/stick/DATEN/", lookup, &port), DriveCheck::Unreachable);
    EXPECT_EQ(port.LastText(),
              "Auf /media/stick kann nicht zugegriffen werden.\rBitte überprüfen Sie den "
              "Datenträger!");

    v.reachable = true;
    v.readOnly = true;
    EXPECT_EQ(CheckWritableDrive("/media/stick/DATEN/", lookup, &port), DriveCheck::ReadOnly);
    EXPECT_EQ(port.LastText(), "Datenträger /media/stick\rnicht beschreibbar !");

    v.readOnly = false;
    v.freeBytes = 9999;
    EXPECT_EQ(CheckWritableDrive("/media/stick/DATEN/", lookup, &port), DriveCheck::NoSpace);
    EXPECT_EQ(
        port.LastText(),
        "Auf /media/stick ist zu wenig Speicherplatz.\rBitte überprüfen Sie den Datenträger!");

    v.freeBytes = 10000;
    const int shown = int(port.messages.size());
    EXPECT_EQ(CheckWritableDrive("/media/stick/DATEN/", lookup, &port), DriveCheck::Ok);
    v.freeBytes = 0;
    EXPECT_EQ(CheckWritableDrive("/media/stick/DATEN/", lookup, nullptr), DriveCheck::NoSpace);
    EXPECT_EQ(port.messages.size(), shown);
}

TEST_F(BackupTest, FoldersThatWouldKeepTheCopiesInsideTheDataAreRefused)
{
    ASSERT_TRUE(QFile::link(Data(), m_dir.path() + "/link"));
    const std::pair<QString, const char*> cases[] = {
        {"", "Fehler: Kein Backup-Pfad angegeben!\rBitte wählen Sie den Backup-Datenträger."},
        {"A:\\DATEN\\",
         "Fehler: Backup-Pfad \"A:\\DATEN\\\" ist kein vollständiger Pfad!\rBitte wählen Sie "
         "den Backup-Datenträger."},
        {Data(), "Fehler: Backup-Pfad entspricht Standardpfad!"},
        {m_dir.path() + "/link/", "Fehler: Backup-Pfad entspricht Standardpfad!"},
        {Data() + "BAK/",
         "Fehler: Backup-Pfad liegt im Datenordner!\rBitte wählen Sie den Backup-Datenträger."},
        {Medium(), ""},
        {m_dir.path() + "/DATEN2/", ""},
    };
    for (const auto& [folder, refusal] : cases)
        EXPECT_EQ(BackupFolderRefusal(folder, Data()).toStdString(), refusal)
            << folder.toStdString();

    // Nothing is made in the data folder (the current folder while the program runs) for a
    // drive letter, not even by the exit backup.
    BackupSettings s = Settings(true);
    s.backupFolder = "a:\\";
    QDir::setCurrent(Data());
    Backup(m_port, m_clock, s).BackupOnExit();
    QDir::setCurrent(QDir::tempPath());
    EXPECT_FALSE(QFileInfo::exists(Data() + "a:"));
}

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/Files.h"
#include "shell/StartUp.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

namespace {

class RecordingHooks : public StartUpHooks {
public:
    void PrepareStatisticsSelectors(const QDate&) override { calls << "statistics"; }
    bool CleanUpOldBookings() override
    {
        calls << "bookings";
        return false;
    }
    void RecalculateStock() override { calls << "stock"; }
    bool CleanUpStockFiles() override
    {
        calls << "stockfiles";
        return false;
    }
    void LoadTextPageLayout() override { calls << "pagelayout"; }
    void StartEmptyDispensingRecord() override { calls << "dispensing"; }
    void LoadMedicationAndServiceTables() override { calls << "medication"; }
    void LoadCustomerTable() override { calls << "customers"; }
    void AppointmentStartCheck() override { calls << "appointments"; }
    int RecordCardFontSize() override { return 7; }
    void ApplyTableFont(int size) override { calls << QStringLiteral("font%1").arg(size); }
    void ReadBankSettings() override { calls << "bank"; }

    QStringList calls;
};

class StartUpTest : public ::testing::Test {
protected:
    QString Program() const { return m_dir.path() + "/"; }
    QString Data() const { return Program() + "DATEN/"; }
    void MakeData(const QByteArray& ini)
    {
        ASSERT_TRUE(QDir(Program()).mkdir("DATEN"));
        testfiles::WriteAll(Data() + "TLV.INI", ini);
    }
    StartUp Make()
    {
        return StartUp(m_port, m_clock, Program(), [] { return QStringList{}; });
    }

    void TearDown() override
    {
        files::ClearReadOnly(Data() + "TLV.INI");
        QDir::setCurrent(QDir::tempPath());
    }

    QTemporaryDir m_dir;
    ScriptedUserPort m_port;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 15), QTime(9, 0))};
    RecordingHooks m_hooks;
};

}  // namespace

TEST_F(StartUpTest, MissingDataFolderAnsweredYesCreatesFourEmptyFiles)
{
    m_port.QueueAnswer(Answer::Yes);
    StartUp s = Make();
    s.CheckDataFolder();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_EQ(m_port.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(m_port.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(m_port.messages[0].text, "Fehler beim Zugriff auf Daten im Ordner\r\"" + Data() +
                                           "\".\r\rSoll ein neuer leerer Ordner erzeugt werden?");
    for (const char* name : {"TLV.INI", "MED.DBF", "LEISTUNG.DBF", "KUNDE.DBF"}) {
        const QFileInfo f(Data() + name);
        EXPECT_TRUE(f.exists()) << name;
        EXPECT_EQ(f.size(), 0) << name;
    }
    EXPECT_EQ(QDir::currentPath() + "/", QDir(Data()).canonicalPath() + "/");
    EXPECT_EQ(s.WorkFolder(), Program());
    EXPECT_FALSE(m_port.busy);

    s.ShowHandler(m_hooks, 1280);
    EXPECT_EQ(m_port.messages.size(), 1) << "no warning about TLV.INI, it exists now";
    EXPECT_EQ(s.VatLabel(), "19,0");
    EXPECT_TRUE(QFileInfo(Data() + "Texte").isDir());
}

TEST_F(StartUpTest, MissingDataFolderAnsweredNoEndsWithCodeOne)
{
    m_port.QueueAnswer(Answer::No);
    StartUp s = Make();
    try {
        s.CheckDataFolder();
        FAIL() << "the program must end";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.exitCode, 1);
    }
    EXPECT_EQ(m_port.LastText(), "Reaktivieren Sie ihre Daten und\rstarten Sie TALVEN neu.");
    EXPECT_FALSE(QFileInfo::exists(Program() + "DATEN"));
}

TEST_F(StartUpTest, WriteProtectedOptionsFileEndsBeforeAnyTable)
{
    MakeData("[Optionen]\r\n");
    QFile::setPermissions(Data() + "TLV.INI", QFileDevice::ReadOwner);
    StartUp s = Make();
    EXPECT_THROW(s.CheckDataFolder(), ProgramEnded);
    EXPECT_EQ(m_port.LastText(), "TALVEN-Daten schreibgeschützt,\rTALVEN wird beendet !");
    EXPECT_EQ(m_port.messages.last().kind, MsgKind::Error);
    EXPECT_TRUE(m_hooks.calls.isEmpty());
}

TEST_F(StartUpTest, MissingOptionsFileIsCreatedWithZeroRates)
{
    ASSERT_TRUE(QDir(Program()).mkdir("DATEN"));
    StartUp s = Make();
    s.CheckDataFolder();
    ASSERT_EQ(m_port.messages.size(), 1);
    EXPECT_EQ(m_port.messages[0].kind, MsgKind::Warning);
    EXPECT_EQ(m_port.messages[0].text,
              "Datei " + Data() +
                  "TLV.INI existiert nicht! Datei wird jetzt angelegt. \rSystemoptionen von "
                  "TALVEN bitte neu editieren.");
    EXPECT_TRUE(QFileInfo::exists(Data() + "TLV.INI"));
    s.ShowHandler(m_hooks, 1280);
    EXPECT_EQ(s.VatLabel(), "0,0");
    EXPECT_EQ(s.Vat().previous[0], 0.0L);
}

TEST_F(StartUpTest, CorruptVatRateZeroesAllSix)
{
    MakeData("[Optionen]\r\nMwst1Edit=19\r\nMwst2Edit=7\r\nMwst3Edit=abc\r\n");
    StartUp s = Make();
    s.CheckDataFolder();
    s.ShowHandler(m_hooks, 1280);
    EXPECT_EQ(m_port.LastText(), "Fehler: MwSt-Sätze ungültig");
    EXPECT_EQ(s.VatLabel(), "0,0");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.Vat().current[i], 0.0L);
        EXPECT_EQ(s.Vat().previous[i], 0.0L);
    }
}

TEST_F(StartUpTest, StoredGeometryWithANegativeValueIsCentred)
{
    MakeData("[Optionen]\r\nwsMax=0\r\nwHeight=400\r\nwWidth=600\r\nwLeft=-1\r\nwTop=10\r\n");
    StartUp s = Make();
    s.CheckDataFolder();
    EXPECT_EQ(s.WindowBounds(QSize(1280, 1024)), QRect(267, 227, 745, 570));
    EXPECT_FALSE(s.WindowMaximised());

    testfiles::WriteAll(Data() + "TLV.INI",
                        "[Optionen]\r\nwHeight=400\r\nwWidth=600\r\nwLeft=0\r\nwTop=10\r\n");
    StartUp t = Make();
    t.CheckDataFolder();
    EXPECT_EQ(t.WindowBounds(QSize(1280, 1024)), QRect(0, 10, 600, 400));
    EXPECT_TRUE(t.WindowMaximised());
}

TEST_F(StartUpTest, ShowHandlerLoadsInOrderAndLeavesTheWelcomeState)
{
    MakeData(
        "[Optionen]\r\nSicherungChk1=TRUE\r\nBkDir=/media/stick/DATEN/\r\n[TLVDateien]\r\nDatei1=/"
        "t/A.TLV\r\nDatei3=/t/C.TLV\r\n"
        "[LetzteKundenNr]\r\nNr=0042\r\n[Zeilenstop]\r\nZeilenstopChk=TRUE\r\n"
        "[EraseInvYear]\r\nMed=2024\r\n");
    testfiles::WriteAll(Data() + "MAHNUNG1.TLV", "Mahnung");
    StartUp s = Make();
    s.CheckDataFolder();
    EXPECT_TRUE(s.RecentSeparatorVisible());
    EXPECT_EQ(s.RecentMenu()[0].caption, "&1 /t/A.TLV");
    EXPECT_FALSE(s.RecentMenu()[1].visible);
    EXPECT_EQ(s.RecentMenu()[1].caption, "err");
    EXPECT_EQ(s.RecentMenu()[2].caption, "&3 /t/C.TLV");

    s.ShowHandler(m_hooks, 1280);
    EXPECT_EQ(m_hooks.calls,
              (QStringList{"statistics", "bookings", "stockfiles", "pagelayout", "dispensing",
                           "medication", "customers", "appointments", "font8", "bank"}));
    EXPECT_EQ(s.Greeting(), "Heute ist Freitag, 15. März 2024.");
    EXPECT_EQ(s.StatusText(), "Talven   15.03.2024 ");
    EXPECT_EQ(s.CurrencyLabel(), "Euro");
    EXPECT_TRUE(s.Switches().Get(MainSwitch::Zeilenstop));
    EXPECT_FALSE(s.Ini().SectionExists("LetzteKundenNr"));
    EXPECT_EQ(s.Ini().ReadInteger("EraseBuYear", "Year", 0), 2024);
    EXPECT_EQ(s.Ini().ReadSection("Dokumente").size(), 12);
    EXPECT_EQ(testfiles::ReadAll(Data() + "Texte/MAHNUNG1.TLV"), QByteArray("Mahnung"));
    EXPECT_TRUE(s.BackupIndicator());
    EXPECT_FALSE(s.PasswordIndicator());
    EXPECT_TRUE(s.IndicatorTimerStarted());
    EXPECT_TRUE(s.TableFontMenuVisible());
    EXPECT_TRUE(m_port.messages.isEmpty());
}

TEST_F(StartUpTest, NarrowScreenUsesTheRecordCardFont)
{
    MakeData("[Optionen]\r\nTabFontSize=11\r\n");
    StartUp s = Make();
    s.CheckDataFolder();
    s.ShowHandler(m_hooks, 1000);
    EXPECT_EQ(s.TableFontSize(), 7);
    EXPECT_FALSE(s.TableFontMenuVisible());
    EXPECT_FALSE(s.IndicatorTimerStarted());
}

// A copied folder keeps DATEN beside the program; the installed package (its marker beside
// the program) uses the user's data location unless a DATEN folder lies beside it.
TEST_F(StartUpTest, DataFolderOfCopiedFolderAndInstalledPackage)
{
    const QString user = m_dir.path() + "/user";
    const struct {
        const char* name;
        bool installed;
        const char* beside;  // folder beside the program, or none
        QString expected;
    } cases[] = {
        {"copied, new", false, nullptr, Program() + "DATEN/"},
        {"copied from Windows", false, "Daten", Program() + "Daten/"},
        {"installed", true, nullptr, user + "/DATEN/"},
        {"installed beside data", true, "DATEN", Program() + "DATEN/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(Program() + "DATEN").removeRecursively();
        QDir(Program() + "Daten").removeRecursively();
        QFile::remove(Program() + kInstalledMarker);
        if (c.installed)
            testfiles::WriteAll(Program() + kInstalledMarker, {});
        if (c.beside)
            QDir(Program()).mkdir(c.beside);
        EXPECT_EQ(DataFolderFor(Program(), user), c.expected);
    }
}

TEST_F(StartUpTest, InstalledPackageStartsItsUserFolderWithoutAsking)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(user + "/DATEN").removeRecursively();
    testfiles::WriteAll(Program() + kInstalledMarker, {});
    StartUp s = Make();
    EXPECT_EQ(s.DataFolder(), user + "/DATEN/");
    EXPECT_EQ(s.WorkFolder(), user + "/");
    s.CheckDataFolder();
    for (const auto& m : m_port.messages)
        EXPECT_NE(m.buttons, Buttons::YesNo) << m.text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(user + "/DATEN/KUNDE.DBF"));
    EXPECT_FALSE(QFileInfo::exists(Program() + "DATEN"));
    QDir(user + "/DATEN").removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

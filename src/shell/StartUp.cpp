#include "shell/StartUp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "help/HelpTopics.h"
#include "platform/Files.h"
#include "platform/Volume.h"
#include "settings/TableFont.h"
#include "shell/Backup.h"
#include "shell/CopyFile.h"
#include "shell/ServiceCode.h"
#include "table/TableFile.h"
#include "texts/TextFiles.h"

namespace {

const QString kTlvIni = QStringLiteral("TLV.INI");

bool CreateEmptyFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

// The write check of the options file: the read-only bit counts even where the
// process could write anyway.
bool CanWrite(const QString& path)
{
    if (files::IsReadOnly(path))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite);
}

}  // namespace

QString DataFolderFor(const QString& programFolder, const QString& userDataLocation)
{
    QString program = programFolder;
    if (!program.endsWith(QLatin1Char('/')))
        program += QLatin1Char('/');
    // A folder copied from Windows may be spelt "Daten"; a new one is "DATEN".
    const QString beside = files::FindCaseInsensitive(program, QStringLiteral("DATEN"));
    if (QFileInfo(beside).isDir() || !QFileInfo::exists(program + kInstalledMarker) ||
        userDataLocation.isEmpty())
        return beside + QLatin1Char('/');
    return QDir(userDataLocation).filePath(QStringLiteral("DATEN")) + QLatin1Char('/');
}

QString StartUp::WorkFolder() const
{
    return QFileInfo(QDir::cleanPath(m_dataFolder)).path() + QLatin1Char('/');
}

StartUp::StartUp(UserPort& port, const Clock& clock, QString programFolder,
                 std::function<QStringList()> printers)
    : m_port(port),
      m_clock(clock),
      m_programFolder(std::move(programFolder)),
      m_printers(std::move(printers)),
      m_ini(std::make_unique<IniFile>())
{
    if (!m_programFolder.endsWith(QLatin1Char('/')))
        m_programFolder += QLatin1Char('/');
    m_dataFolder = DataFolderFor(m_programFolder,
                                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    for (int i = 0; i < 4; ++i)
        m_recentMenu.append({false, QStringLiteral("err")});
}

void StartUp::CheckDataFolder()
{
    m_port.SetBusy(true);
    m_helpAvailable = help::HelpAvailable(m_programFolder);

    // A network drive that is not connected leaves an empty mount point, or none: that is
    // not the practice's data, and no new data folder may take its place.
    const QString unmounted = UnmountedMountPoint(m_dataFolder);
    if (!unmounted.isEmpty()) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, table::UnreachableText(unmounted));
        m_port.EndProgram(1);
    }

    // The installed package starts its user's data folder without asking.
    const bool userFolder = !m_dataFolder.startsWith(m_programFolder);
    if (!QDir::setCurrent(m_dataFolder)) {
        m_port.SetBusy(false);
        const QString question =
            QStringLiteral("Fehler beim Zugriff auf Daten im Ordner\r\"") + m_dataFolder +
            QStringLiteral("\".\r\rSoll ein neuer leerer Ordner erzeugt werden?");
        if (!userFolder &&
            m_port.Message(MsgKind::Error, question, Buttons::YesNo) != Answer::Yes) {
            m_port.Message(
                MsgKind::Information,
                QStringLiteral("Reaktivieren Sie ihre Daten und\rstarten Sie TALVEN neu."));
            m_port.EndProgram(1);
        }
        bool ok = QDir().mkpath(m_dataFolder) && QDir::setCurrent(m_dataFolder);
        for (const char* name : {"TLV.INI", "MED.DBF", "LEISTUNG.DBF", "KUNDE.DBF"})
            ok = ok && CreateEmptyFile(m_dataFolder + QString::fromLatin1(name));
        if (!ok) {
            m_port.Message(
                MsgKind::Error,
                QStringLiteral("Fehler: Kann Ordner nicht erzeugen\rÜberprüfen Sie ihren "
                               "Datenträger und \rstarten Sie TALVEN neu."));
        }
        m_port.SetBusy(true);
    }

    m_readOnlyMedium = VolumeOf(m_programFolder).readOnly;
    // Temporary files of saves that this host's crashed runs left behind.
    if (!m_readOnlyMedium)
        files::RemoveStaleTemporaries(m_dataFolder);
    const QString iniPath = files::FindCaseInsensitive(m_dataFolder, kTlvIni);
    const QString readOnlyText = QStringLiteral(
        "TALVEN startet auf nicht beschreibbarem Datenträger.\rSpeicherung von Daten nicht "
        "möglich !");
    if (QFileInfo::exists(iniPath)) {
        if (m_readOnlyMedium) {
            m_port.SetBusy(false);
            m_port.Message(MsgKind::Information, readOnlyText);
        } else if (!CanWrite(iniPath)) {
            m_port.SetBusy(false);
            m_port.Message(MsgKind::Error,
                           QStringLiteral("TALVEN-Daten schreibgeschützt,\rTALVEN wird beendet !"));
            m_port.EndProgram(1);
        }
        m_ini = std::make_unique<IniFile>(iniPath);
        ReadRecentMenu();
    } else if (m_readOnlyMedium) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Information, readOnlyText);
    } else {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Warning,
                       QStringLiteral("Datei ") + m_dataFolder + kTlvIni +
                           QStringLiteral(" existiert nicht! Datei wird jetzt angelegt. \r"
                                          "Systemoptionen von TALVEN bitte neu editieren."));
        if (!CreateEmptyFile(iniPath)) {
            m_port.Message(
                MsgKind::Error,
                QStringLiteral("TALVEN-Datenordner schreibgeschützt,\rTALVEN wird beendet !"));
            m_port.EndProgram(1);
        }
        m_ini = std::make_unique<IniFile>(iniPath);
        m_iniCreated = true;
    }
    m_port.SetBusy(false);

    m_geometry = ReadWindowGeometry(*m_ini);
    m_columnWidths = ReadColumnWidths(*m_ini);
}

void StartUp::ReadRecentMenu()
{
    const QStringList entries = ReadRecentFiles(*m_ini);
    for (int i = 0; i < 4; ++i) {
        const bool present =
            m_ini->ValueExists(QStringLiteral("TLVDateien"), QStringLiteral("Datei%1").arg(i + 1));
        m_recentMenu[i].visible = present;
        m_recentMenu[i].caption =
            present ? QStringLiteral("&%1 ").arg(i + 1) + entries[i] : QStringLiteral("err");
    }
    m_recentSeparator = m_recentMenu[0].visible;
}

QRect StartUp::WindowBounds(const QSize& screen) const
{
    const QSize initial(745, 570);
    if (!m_geometry.HasStoredBounds()) {
        return QRect((screen.width() - initial.width()) / 2,
                     (screen.height() - initial.height()) / 2, initial.width(), initial.height());
    }
    return QRect(m_geometry.left, m_geometry.top, m_geometry.width, m_geometry.height);
}

void StartUp::LoadOptionsAndTables(StartUpHooks& hooks, int screenWidth)
{
    const QDate today = m_clock.Today();
    hooks.PrepareStatisticsSelectors(today);

    m_goBdVisible = GoBdSwitchVisible(
        m_ini->ReadString(QString::fromLatin1(kOptionen), QStringLiteral("NameEdit")));

    m_mailPrinter = LoadMailPrinter(m_dataFolder, m_printers ? m_printers() : QStringList());

    YearChangeWork work;
    work.cleanUpBookings = [&hooks] { return hooks.CleanUpOldBookings(); };
    work.recalculateStock = [&hooks] { hooks.RecalculateStock(); };
    work.cleanUpStockFiles = [&hooks] { return hooks.CleanUpStockFiles(); };
    RunYearChangeHousekeeping(*m_ini, today.year(), work);

    m_statusText = QStringLiteral("Talven   ") + dates::Format(today) + QLatin1Char(' ');
    m_greeting = QStringLiteral("Heute ist ") + dates::LongGerman(today) + QLatin1Char('.');

    m_options = ReadOrderedOptions(*m_ini);
    m_documents = LoadDocumentTexts(*m_ini);
    if (m_iniCreated) {
        // A new options file starts at 0 % until the rates are edited.
        for (const char* key : {"Mwst1Edit", "Mwst2Edit", "Mwst3Edit", "AlteMwst1Edit",
                                "AlteMwst2Edit", "AlteMwst3Edit"})
            m_options.SetValue(QString::fromLatin1(key), QStringLiteral("0"));
    }
    if (!ParseVatRates(m_options, &m_vat)) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: MwSt-Sätze ungültig"));
    }
    RefuseUnusableBackupFolder();
    m_vatLabel = FormatFloat(QStringLiteral("0.0"), m_vat.current[0]);
    m_currencyLabel =
        m_options.Flag(QStringLiteral("EuroChk")) ? QStringLiteral("Euro") : QStringLiteral("DM");

    hooks.LoadTextPageLayout();
    CheckTextsFolder();
    hooks.StartEmptyDispensingRecord();
    hooks.LoadMedicationAndServiceTables();
    hooks.LoadCustomerTable();

    m_switches = ReadMainSwitches(*m_ini);
    if (!m_readOnlyMedium)
        m_ini->EraseSection(QStringLiteral("LetzteKundenNr"));
    hooks.AppointmentStartCheck();

    if (screenWidth < 1001) {
        m_tableFontSize = hooks.RecordCardFontSize();
        m_tableFontMenu = false;
    } else {
        m_tableFontSize = ReadTabFontSize(*m_ini);
        m_tableFontMenu = true;
    }
    hooks.ApplyTableFont(m_tableFontSize);
    hooks.ReadBankSettings();
}

void StartUp::RefuseUnusableBackupFolder()
{
    const QString flag = QStringLiteral("SicherungChk1");
    if (m_readOnlyMedium || !m_options.Flag(flag))
        return;
    const QString refusal =
        BackupFolderRefusal(m_options.Value(QStringLiteral("BkDir")), m_dataFolder);
    if (refusal.isEmpty())
        return;
    m_port.SetBusy(false);
    m_port.Message(MsgKind::Warning,
                   refusal + QStringLiteral("\r\rDie automatische Sicherung bleibt aus, bis in "
                                            "den Systemoptionen ein gültiger Backup-Pfad "
                                            "gewählt ist."));
    // Off for this run only: the options file keeps what it holds.
    m_options.SetFlag(flag, false);
}

void StartUp::SetTableFontSize(int size)
{
    m_tableFontSize = tablefont::Sanitize(size);
}

void StartUp::CheckTextsFolder()
{
    const QString texts = TextsFolder();
    if (QFileInfo(texts).isDir()) {
        WriteDefaultTexts();
        return;
    }
    bool ok = QDir(m_dataFolder).mkpath(QStringLiteral("Texte"));
    for (const char* name : {"MAHNUNG1.TLV", "MAHNUNG2.TLV", "ImpfErg.TLV"}) {
        if (!ok)
            break;
        const QString source = files::FindCaseInsensitive(m_dataFolder, QString::fromLatin1(name));
        const QString target = files::FindCaseInsensitive(texts, QString::fromLatin1(name));
        // A text that a new data folder does not hold yet is nothing to copy.
        if (QFileInfo::exists(target) || !QFileInfo::exists(source))
            continue;
        CopyEnvironment env;
        env.readOnlyMedium = m_readOnlyMedium;
        ok = TForm1_CopyFile(m_port, source, target, env);
    }
    if (ok)
        ok = WriteDefaultTexts();
    if (!ok) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Schreiben auf Datenräger!"));
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Pfad für Texte ist ungültig!"));
    }
}

bool StartUp::WriteDefaultTexts()
{
    // Reminders and appointment letters need their texts from the first day on.
    return m_readOnlyMedium || textfiles::WriteMissingDefaultTexts(TextsFolder());
}

void StartUp::ShowHandler(StartUpHooks& hooks, int screenWidth)
{
    LoadOptionsAndTables(hooks, screenWidth);
    m_timerStarted = BackupIndicator() || PasswordIndicator();
}

#include "shell/Backup.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Clock.h"
#include "common/UserPort.h"
#include "platform/Files.h"

namespace {

const QString kCheckHint = QStringLiteral("\rBitte überprüfen Sie den Datenträger!");

QString Bare(const QString& folder)
{
    QString bare = folder;
    while (bare.size() > 1 && bare.endsWith(QLatin1Char('/')))
        bare.chop(1);
    return bare;
}

// The name a message gives the volume of a path.
QString VolumeName(const VolumeInfo& v, const QString& path)
{
    return v.mountPoint.isEmpty() ? path : v.mountPoint;
}

bool NotEmptyFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

}  // namespace

QString WithFolderSlash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    if (path.endsWith(QLatin1Char('\\')))
        return path.left(path.size() - 1) + QLatin1Char('/');
    return path + QLatin1Char('/');
}

namespace {

// The folder as the file system sees it: symbolic links resolved where the folder exists.
QString Resolved(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

QString BackupFolderRefusal(const QString& folder, const QString& dataFolder)
{
    const QString choose = QStringLiteral("\rBitte wählen Sie den Backup-Datenträger.");
    const QString path = folder.trimmed();
    if (path.isEmpty())
        return QStringLiteral("Fehler: Kein Backup-Pfad angegeben!") + choose;
    if (QDir::isRelativePath(path))
        return QStringLiteral("Fehler: Backup-Pfad \"") + path +
               QStringLiteral("\" ist kein vollständiger Pfad!") + choose;
    const QString backup = Resolved(path);
    const QString data = Resolved(dataFolder);
    if (backup == data)
        return QStringLiteral("Fehler: Backup-Pfad entspricht Standardpfad!");
    if (backup.startsWith(data + QLatin1Char('/')))
        return QStringLiteral("Fehler: Backup-Pfad liegt im Datenordner!") + choose;
    return {};
}

DriveCheck CheckWritableDrive(const QString& path, const VolumeLookup& volumeOf, UserPort* port)
{
    auto fail = [port](DriveCheck why, const QString& text) {
        if (port) {
            port->SetBusy(false);
            port->Message(MsgKind::Error, text);
        }
        return why;
    };
    if (path.trimmed().isEmpty())
        return fail(DriveCheck::InvalidName, QStringLiteral("Datenträger-Name ungültig"));
    const VolumeInfo v = volumeOf ? volumeOf(path) : VolumeOf(path);
    const QString name = VolumeName(v, path);
    if (v.reachable && v.readOnly) {
        return fail(DriveCheck::ReadOnly, QStringLiteral("Datenträger ") + name +
                                              QStringLiteral("\rnicht beschreibbar !"));
    }
    if (!v.reachable) {
        return fail(DriveCheck::Unreachable, QStringLiteral("Auf ") + name +
                                                 QStringLiteral(" kann nicht zugegriffen werden.") +
                                                 kCheckHint);
    }
    if (v.freeBytes <= 9999) {
        return fail(DriveCheck::NoSpace, QStringLiteral("Auf ") + name +
                                             QStringLiteral(" ist zu wenig Speicherplatz.") +
                                             kCheckHint);
    }
    return DriveCheck::Ok;
}

Backup::Backup(UserPort& port, const Clock& clock, BackupSettings settings)
    : m_port(port), m_clock(clock), m_settings(std::move(settings))
{
    m_settings.dataFolder = WithFolderSlash(m_settings.dataFolder);
    m_settings.backupFolder = WithFolderSlash(m_settings.backupFolder);
    m_settings.textsFolder = m_settings.textsFolder.isEmpty()
                                 ? m_settings.dataFolder + QStringLiteral("Texte/")
                                 : WithFolderSlash(m_settings.textsFolder);
}

QString Backup::WeekdayFolder(int dayOfWeek)
{
    static const char* const kNames[] = {"BAK_Mo", "BAK_Di", "BAK_Mi", "BAK_Do",
                                         "BAK_Fr", "BAK_Sa", "BAK_So"};
    return QString::fromLatin1(kNames[(dayOfWeek + 6) % 7]);
}

QString Backup::MonthFolder(int month)
{
    switch (month % 3) {
        case 1:
            return QStringLiteral("BAK01");
        case 2:
            return QStringLiteral("BAK02");
        default:
            return QStringLiteral("BAK03");
    }
}

VolumeInfo Backup::Volume(const QString& path) const
{
    return m_settings.volumeOf ? m_settings.volumeOf(path) : VolumeOf(path);
}

QString Backup::DataFile(const QString& name) const
{
    return files::FindCaseInsensitive(m_settings.dataFolder, name);
}

bool Backup::AccessBackupDrive()
{
    const QString folder = m_settings.backupFolder;
    // No medium to ask for: the start-up and the options dialog refuse such a folder.
    if (m_settings.readOnlyMedium || folder.isEmpty() || QDir::isRelativePath(folder))
        return false;
    while (CheckWritableDrive(folder, m_settings.volumeOf, nullptr) != DriveCheck::Ok) {
        m_port.SetBusy(false);
        const QString name = VolumeName(Volume(folder), Bare(folder));
        const Answer answer =
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Auf das Backup-Laufwerk ") + name +
                               QStringLiteral(" kann nicht zugegriffen werden.") + kCheckHint,
                           Buttons::OkAbort);
        if (answer != Answer::Ok)
            return false;
    }
    return true;
}

bool Backup::EnterBackupFolder(bool* created)
{
    if (created)
        *created = false;
    const QString folder = m_settings.backupFolder;
    // A relative folder would be made inside the current folder, the data folder.
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return false;
    if (QFileInfo(folder).isDir())
        return true;
    // Only the last component is made: a missing parent means the medium is not there,
    // and creating it would write to whatever volume holds the empty mount point's parent.
    const QFileInfo bare(Bare(folder));
    QDir parent(bare.absolutePath());
    if (!parent.exists() || !parent.mkdir(bare.fileName()))
        return false;
    if (created)
        *created = true;
    return true;
}

bool Backup::InitialFill()
{
    m_port.SetBusy(false);
    m_port.Message(MsgKind::Information,
                   QStringLiteral("Daten auf dem Backupdatenträger müssen aktualisiert werden!\r\r"
                                  "Klicken Sie auf die Schaltfläche OK und warten Sie einen\r"
                                  "Augenblick, bis der Vorgang beendet ist."));
    BusyScope busy(m_port);
    static const char* const kNames[] = {"TLV.INI", "KUNDE.DBF",    "MAHNUNG1.TLV", "MAHNUNG2.TLV",
                                         "MED.DBF", "LEISTUNG.DBF", "ST_RECHN.DBF", "ST_MAHN.DBF"};
    for (const char* name : kNames) {
        const QString source = DataFile(QString::fromLatin1(name));
        // A new data folder lacks the registers and texts; nothing to copy then.
        if (!QFileInfo(source).isFile())
            continue;
        if (!CopyFile(source, m_settings.backupFolder + QFileInfo(source).fileName()))
            return false;
    }
    return true;
}

bool Backup::CopyFile(const QString& source, const QString& target)
{
    if (m_settings.readOnlyMedium)
        return false;
    const QString sourceName = QFileInfo(source).fileName();
    const QString targetName = QFileInfo(target).fileName();
    if (sourceName == QLatin1String(".") || sourceName == QLatin1String("..") ||
        targetName == QLatin1String(".") || targetName == QLatin1String(".."))
        return true;

    const QString targetFolder = QFileInfo(target).absolutePath();
    VolumeInfo volume = Volume(targetFolder);
    while (!volume.reachable) {
        m_port.SetBusy(false);
        const Answer answer =
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Auf das Laufwerk ") + VolumeName(volume, targetFolder) +
                               QStringLiteral(" kann nicht zugegriffen werden.") + kCheckHint,
                           Buttons::OkAbort);
        if (answer != Answer::Ok)
            return false;
        volume = Volume(targetFolder);
    }
    const QFileInfo sourceInfo(source);
    if (volume.totalBytes < 1600 * 1024 && sourceInfo.isFile() &&
        sourceName.compare(QLatin1String("KUNDE.DBF"), Qt::CaseInsensitive) != 0 &&
        sourceInfo.size() >= 154624)
        return true;  // does not belong on a floppy disk

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Laden von ") + source);
        return false;
    }
    in.close();
    // The copy goes through a temporary file beside the target; it must be possible to
    // create it (two attempts) before the target is touched.
    const QString probePath = target + QStringLiteral(".~cp");
    bool creatable = false;
    for (int attempt = 0; attempt < 2 && !creatable; ++attempt) {
        QFile probe(probePath);
        creatable = probe.open(QIODevice::WriteOnly | QIODevice::Truncate);
        probe.close();
    }
    QFile::remove(probePath);
    if (!creatable) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler beim Erzeugen von ") + target);
        return false;
    }
    if (!files::CopyKeepingTime(source, target)) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler: Datenträger ist voll oder nicht beschreibbar!\r"
                                      "Backup-Datensicherung ist unvollständig beendet!"));
        return false;
    }
    return true;
}

bool Backup::CopyFiles(const QStringList& names, const QString& sourceFolder, const QString& folder,
                       bool onlyMissing)
{
    for (const QString& name : names) {
        const QString source = files::FindCaseInsensitive(sourceFolder, name);
        if (!NotEmptyFile(source))
            continue;
        const QString target = files::FindCaseInsensitive(folder, QFileInfo(source).fileName());
        if (onlyMissing && QFileInfo::exists(target))
            continue;
        if (!CopyFile(source, target))
            return false;
    }
    return true;
}

bool Backup::BackupTexts()
{
    if (!QFileInfo(m_settings.textsFolder).isDir() &&
        !QDir(m_settings.dataFolder).mkpath(QStringLiteral("Texte")))
        return false;
    if (!m_settings.autoBackup)
        return true;
    if (!AccessBackupDrive() || !EnterBackupFolder())
        return false;
    const QString backupTexts = BackupTextsFolder();
    if (QFileInfo(backupTexts).isDir())
        return true;
    if (!QDir(m_settings.backupFolder).mkdir(QStringLiteral("Texte")))
        return false;
    for (const char* name : {"MAHNUNG1.TLV", "MAHNUNG2.TLV", "ImpfErg.TLV"}) {
        const QString source =
            files::FindCaseInsensitive(m_settings.textsFolder, QString::fromLatin1(name));
        if (!QFileInfo(source).isFile())
            continue;
        const QString target =
            files::FindCaseInsensitive(backupTexts, QFileInfo(source).fileName());
        if (!QFileInfo::exists(target))
            CopyFile(source, target);
    }
    return true;
}

bool Backup::CopyToBackup(const QString& name)
{
    if (name.endsWith(QLatin1String(".TLV"), Qt::CaseInsensitive)) {
        if (!BackupTexts())
            return false;
        const QString source = files::FindCaseInsensitive(m_settings.textsFolder, name);
        return CopyFile(source, BackupTextsFolder() + QFileInfo(source).fileName());
    }
    const QString source = DataFile(name);
    return CopyFile(source, m_settings.backupFolder + QFileInfo(source).fileName());
}

void Backup::BackupOnExit()
{
    if (m_settings.readOnlyMedium)
        return;
    BusyScope busy(m_port);
    if (m_settings.autoBackup) {
        if (AccessBackupDrive()) {
            if (!EnterBackupFolder()) {
                m_port.SetBusy(false);
                m_port.Message(MsgKind::Warning,
                               QStringLiteral("Backup-Verzeichnis kann nicht erzeugt werden"));
                return;
            }
            const QString& data = m_settings.dataFolder;
            const QString& medium = m_settings.backupFolder;
            // The per-save mirror keeps these current; here only what the medium lacks.
            CopyFiles({QStringLiteral("TLV.INI"), QStringLiteral("KUNDE.DBF")}, data, medium, true);
            if (BackupTexts()) {
                CopyFiles({QStringLiteral("MAHNUNG1.TLV"), QStringLiteral("MAHNUNG2.TLV")},
                          m_settings.textsFolder, BackupTextsFolder(), true);
            }
            CopyFiles({QStringLiteral("MED.DBF"), QStringLiteral("LEISTUNG.DBF")}, data, medium,
                      true);
            // The registers take change lines that the mirror does not see: always.
            CopyFiles({QStringLiteral("ST_RECHN.DBF"), QStringLiteral("ST_MAHN.DBF")}, data, medium,
                      false);
            CopyFiles({QStringLiteral("FAVORITE.DBF")}, data, medium, true);
        }
    }
    const QDate today = m_clock.Today();
    RefreshLocalSet(MonthFolder(today.month()), today);
    RefreshLocalSet(WeekdayFolder(today.dayOfWeek()), today);
}

void Backup::RefreshLocalSet(const QString& folderName, const QDate& today)
{
    const QString& data = m_settings.dataFolder;
    QString folder = files::FindCaseInsensitive(data, folderName);
    if (!QFileInfo(folder).isDir() && !QDir(data).mkdir(folderName))
        return;
    folder = WithFolderSlash(folder);
    CopyFiles(
        {QStringLiteral("MED.DBF"), QStringLiteral("LEISTUNG.DBF"), QStringLiteral("KUNDE.DBF"),
         QStringLiteral("ST_RECHN.DBF"), QStringLiteral("ST_MAHN.DBF")},
        data, folder, false);
    CopyFiles({QStringLiteral("FAVORITE.DBF")}, data, folder, false);

    // The set holds the journals of the month of its last refresh only.
    const QDir dir(folder);
    for (const char* suffix : {".ZAE", ".AUE"}) {
        for (const QString& entry : dir.entryList(QDir::Files)) {
            if (entry.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
                QFile::remove(folder + entry);
        }
    }
    const QString base = QLatin1Char('Z') + QString::number(today.month()) +
                         QString::number(today.year()).rightJustified(4, QLatin1Char('0'));
    CopyFiles({base + QStringLiteral(".ZAE"), base + QStringLiteral(".AUE")}, data, folder, false);
}

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/Volume.h"

class Clock;
class UserPort;

using VolumeLookup = std::function<VolumeInfo(const QString& path)>;

// Why a drive cannot take data.
enum class DriveCheck { Ok, InvalidName, ReadOnly, Unreachable, NoSpace };

// The writable-drive check for the volume holding `path`: read-only media, volumes that do
// not answer and volumes with 9999 bytes or less free fail. With a port the reason is
// shown; the message names the mount point where a drive letter would stand.
DriveCheck CheckWritableDrive(const QString& path, const VolumeLookup& volumeOf, UserPort* port);

// A folder path as it is stored: ends in "/" (an empty path stays empty).
QString WithFolderSlash(const QString& path);

// The message that refuses a backup folder, empty when the folder can take the copies. A
// relative folder (a drive path such as "A:\DATEN\" from a Windows installation is one)
// would land inside the current folder, the data folder; the data folder itself or a
// folder inside it would keep the copies beside the data they are to save.
QString BackupFolderRefusal(const QString& folder, const QString& dataFolder);

// Where the backups go and where they come from.
struct BackupSettings {
    QString dataFolder;           // ends in "/"
    QString textsFolder;          // dataFolder + "Texte/" unless given
    bool readOnlyMedium = false;  // program on a read-only medium: no copies at all
    bool autoBackup = false;
    QString backupFolder;   // "BkDir", ends in "/"
    VolumeLookup volumeOf;  // empty: VolumeOf
};

// The copies of the data folder: the mirror medium and the weekday and month sets inside
// the data folder.
class Backup {
public:
    Backup(UserPort& port, const Clock& clock, BackupSettings settings);

    const BackupSettings& Settings() const { return m_settings; }
    QString BackupTextsFolder() const { return m_settings.backupFolder + QStringLiteral("Texte/"); }

    // Before every copy to the medium: while the backup drive fails the check, ask
    // (OK/Abort). False when the user gave up.
    bool AccessBackupDrive();
    // Makes sure the backup folder exists; a missing one is created when the folder above
    // it is there (its parent stands for the root of the chosen drive). `created` tells
    // whether it had to be made.
    bool EnterBackupFolder(bool* created = nullptr);
    // A new medium: the notice and the core files, stopping at the first failed copy.
    bool InitialFill();

    // Brings the backup texts folder up to date; succeeds without copying when automatic
    // backup is off.
    bool BackupTexts();
    // Copies one data file (a ".TLV" text from the texts folder) to the medium.
    bool CopyToBackup(const QString& name);
    // The copies made when the program closes.
    void BackupOnExit();

    // Byte copy keeping time stamp and permissions, with the messages of the program's file
    // copy: unreachable target volume (retry or abort), unreadable source, target that
    // cannot be created, full medium. Large files are skipped on a floppy-sized volume.
    bool CopyFile(const QString& source, const QString& target);

    static QString WeekdayFolder(int dayOfWeek);  // 1 = Monday ... 7 = Sunday
    static QString MonthFolder(int month);

private:
    VolumeInfo Volume(const QString& path) const;
    QString DataFile(const QString& name) const;
    // Copies data files into `folder` (each when present and not empty), stopping at the
    // first failure. With onlyMissing a file already in the folder is left alone.
    bool CopyFiles(const QStringList& names, const QString& sourceFolder, const QString& folder,
                   bool onlyMissing);
    void RefreshLocalSet(const QString& folderName, const QDate& today);

    UserPort& m_port;
    const Clock& m_clock;
    BackupSettings m_settings;
};

#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Files.h"
#include "platform/Volume.h"

// Where the table engine runs. One object is shared by all grids of the program (the shell
// keeps it up to date when the options change); each grid reads it when it needs it.
struct TableEnvironment {
    // The program runs from a read-only medium (the CD-ROM case): no read-only repair,
    // no backup mirror.
    bool readOnlyMedium = false;
    // Automatic backup on, and the folder it writes to. Used by AppendChangeLine; the
    // mirror of a save uses the grid's own BackupFilePath.
    bool autoBackup = false;
    QString autoBackupFolder;
    // The data folder; the first mirror into a new backup folder copies TLV.INI, the
    // dunning texts and the main tables from the table's own folder.
    QString dataFolder;
    // Volume look-up; empty means VolumeOf. Tests put unreachable, read-only or small
    // volumes here.
    std::function<VolumeInfo(const QString& path)> volumeOf;

    // The device that held the data folder when the program started. A folder that is gone
    // or lies on another device later (a network mount dropped, leaving its empty mount
    // point) is unreachable: nothing is created on the local disk in its place.
    std::optional<quint64> dataFolderDevice;
    // How long a lock held by another workstation is waited for before the person is asked.
    int lockWaitMs = 4000;
    // File calls of saves and appends; empty means the real ones. Tests inject faults here.
    std::shared_ptr<const files::FileIo> io;

    VolumeInfo Volume(const QString& path) const
    {
        return volumeOf ? volumeOf(path) : VolumeOf(path);
    }
    const files::FileIo& Io() const { return io ? *io : files::RealFileIo(); }
};

#pragma once

#include <QString>
#include <functional>

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

    VolumeInfo Volume(const QString& path) const
    {
        return volumeOf ? volumeOf(path) : VolumeOf(path);
    }
};

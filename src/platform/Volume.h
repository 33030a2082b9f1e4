#pragma once

#include <QString>

// The volume (mount) that holds a path; stands in for a drive letter.
struct VolumeInfo {
    bool reachable = false;  // the volume exists and answered for its size
    qint64 totalBytes = 0;
    qint64 freeBytes = 0;
    bool readOnly = false;  // a read-only medium (the CD-ROM case)
    QString mountPoint;     // named in messages where a drive letter would stand
};

// Looks up the volume of a path. A path that does not exist yet is resolved through its
// nearest existing parent folder.
VolumeInfo VolumeOf(const QString& path);

// The mounted volumes a backup can go to (mount points), sorted.
QStringList MountedVolumes();

// The mount point that the system's mount table (/etc/fstab) names for the path but that
// is not mounted now: the network drive of a data folder that is not connected, whose
// empty mount point must not be taken for the data. Empty when there is none.
QString UnmountedMountPoint(const QString& path);
// The same on a given mount table and list of mounted mount points.
QString UnmountedMountPoint(const QString& path, const QByteArray& fstab,
                            const QStringList& mounted);

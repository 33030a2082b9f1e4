#include "platform/Volume.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QString NearestExisting(const QString& path)
{
    QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

}  // namespace

VolumeInfo VolumeOf(const QString& path)
{
    VolumeInfo v;
    if (path.isEmpty())
        return v;
    const QStorageInfo storage(NearestExisting(path));
    if (!storage.isValid() || !storage.isReady())
        return v;
    v.mountPoint = storage.rootPath();
    v.totalBytes = storage.bytesTotal();
    v.freeBytes = storage.bytesAvailable();
    const QByteArray fs = storage.fileSystemType().toLower();
    v.readOnly = storage.isReadOnly() || fs == "iso9660" || fs == "udf";
    v.reachable = v.totalBytes > 0 || !v.mountPoint.isEmpty();
    return v;
}

QStringList MountedVolumes()
{
    QStringList out;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (s.isValid() && s.isReady())
            out << s.rootPath();
    }
    out.sort();
    out.removeDuplicates();
    return out;
}

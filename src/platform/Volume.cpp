#include "platform/Volume.h"

#include <QDir>
#include <QFile>
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

namespace {

// fstab writes blanks and tabs in paths as octal escapes ("\\040").
QString DecodeFstabField(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool ok = false;
        const int code = field[i] == '\\' ? field.mid(i + 1, 3).toInt(&ok, 8) : 0;
        if (ok && i + 3 < field.size() && code > 0 && code < 256) {
            out.append(char(code));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return QFile::decodeName(out);
}

bool Holds(const QString& mountPoint, const QString& path)
{
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

}  // namespace

QString UnmountedMountPoint(const QString& path, const QByteArray& fstab,
                            const QStringList& mounted)
{
    const QString where = QDir::cleanPath(QDir(path).absolutePath());
    QString best;
    for (const QByteArray& raw : fstab.split('\n')) {
        const QByteArray line = raw.simplified();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue;
        const QString point = QDir::cleanPath(DecodeFstabField(fields[1]));
        if (point == QLatin1String("/") || !point.startsWith(QLatin1Char('/')))
            continue;
        if (Holds(point, where) && point.size() > best.size())
            best = point;
    }
    if (best.isEmpty())
        return {};
    for (const QString& m : mounted) {
        const QString point = QDir::cleanPath(m);
        if (Holds(point, where) && point.size() >= best.size())
            return {};
    }
    return best;
}

QString UnmountedMountPoint(const QString& path)
{
    QFile table(QStringLiteral("/etc/fstab"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    QStringList mounted;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes())
        mounted << s.rootPath();
    return UnmountedMountPoint(path, table.readAll(), mounted);
}

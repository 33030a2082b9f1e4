#include "table/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/CodePage.h"
#include "common/UserPort.h"
#include "platform/Files.h"

namespace table {

QString ResolveExisting(const QString& path)
{
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    return files::FindCaseInsensitive(info.path(), info.fileName());
}

QString WithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ChangeExt(const QString& path, const QString& ext)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash && dot >= 0)
        return path.left(dot) + ext;
    return path + ext;
}

bool EnterBackupFolder(const QString& folder, bool& created)
{
    created = false;
    // A relative folder would be made inside the current folder, the data folder.
    if (QDir::isRelativePath(folder))
        return false;
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    QString bare = folder;
    while (bare.endsWith(QLatin1Char('/')) && bare.size() > 1)
        bare.chop(1);
    const QFileInfo bareInfo(bare);
    QDir parent(bareInfo.absolutePath());
    if (!parent.exists() || !parent.mkdir(bareInfo.fileName()))
        return false;
    created = true;
    return true;
}

void AppendChangeLine(const TableEnvironment& env, UserPort& port, const QString& path,
                      const QString& line)
{
    const QString local = ResolveExisting(path);
    if (!QFileInfo(local).isFile())
        return;
    const QByteArray bytes = cp1252::Encode(line) + QByteArrayLiteral("\r\n");
    {
        QFile file(local);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        file.write(bytes);
        if (!file.flush())
            return;
    }
    if (!env.autoBackup || env.autoBackupFolder.isEmpty())
        return;
    const QString folder = WithSlash(env.autoBackupFolder);
    for (;;) {
        QString bare = folder;
        bare.chop(1);
        const VolumeInfo medium = env.Volume(folder);
        if (medium.reachable && QFileInfo(QFileInfo(bare).absolutePath()).isDir())
            break;
        const QString name = medium.mountPoint.isEmpty() ? bare : medium.mountPoint;
        const Answer answer = port.Message(
            MsgKind::Error,
            QStringLiteral("Auf das Backup-Laufwerk ") + name +
                QStringLiteral(" kann nicht zugegriffen werden.\rBitte überprüfen Sie den "
                               "Datenträger!"),
            Buttons::OkAbort);
        if (answer == Answer::Abort)
            return;
    }
    bool created = false;
    if (!EnterBackupFolder(folder, created))
        return;
    if (QFileInfo(local).size() == 0)
        return;
    const QString copy = files::FindCaseInsensitive(folder, QFileInfo(local).fileName());
    if (QFileInfo(copy).isFile()) {
        QFile file(copy);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(bytes);
    } else {
        files::CopyKeepingTime(local, copy);
    }
}

}  // namespace table

#include "shell/CopyFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "common/UserPort.h"

namespace {

constexpr qint64 kFloppyTotal = 1600 * 1024;
constexpr qint64 kFloppyFileLimit = 154624;

bool IsDotName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return path == QLatin1String(".") || path == QLatin1String("..") ||
           name == QLatin1String(".") || name == QLatin1String("..");
}

}  // namespace

bool TForm1_CopyFile(UserPort& port, const QString& source, const QString& target,
                     const CopyEnvironment& env)
{
    if (env.readOnlyMedium)
        return false;
    if (IsDotName(source) || IsDotName(target))
        return true;

    const QString folder = QFileInfo(target).absolutePath();
    const auto volumeOf = [&env](const QString& path) {
        return env.volumeOf ? env.volumeOf(path) : VolumeOf(path);
    };
    VolumeInfo volume = volumeOf(folder);
    while (!volume.reachable) {
        const QString where = volume.mountPoint.isEmpty() ? folder : volume.mountPoint;
        port.SetBusy(false);
        const Answer answer = port.Message(
            MsgKind::Error,
            QStringLiteral("Auf das Laufwerk ") + where +
                QStringLiteral(" kann nicht zugegriffen werden.\rBitte überprüfen Sie den "
                               "Datenträger!"),
            Buttons::OkAbort);
        if (answer == Answer::Abort || answer == Answer::Cancel)
            return false;
        volume = volumeOf(folder);
    }

    const QFileInfo sourceInfo(source);
    // A floppy disk takes the customers always, other large tables not at all.
    if (volume.totalBytes < kFloppyTotal && sourceInfo.exists() &&
        sourceInfo.fileName().compare(QLatin1String("KUNDE.DBF"), Qt::CaseInsensitive) != 0 &&
        sourceInfo.size() >= kFloppyFileLimit)
        return true;

    QFile in(source);
    QByteArray data;
    if (in.open(QIODevice::ReadOnly))
        data = in.readAll();
    if (!in.isOpen() || in.error() != QFileDevice::NoError) {
        port.SetBusy(false);
        port.Message(MsgKind::Error, QStringLiteral("Fehler beim Laden von ") + source);
        return false;
    }
    in.close();

    const QString temp = target + QStringLiteral(".~CP");
    QFile out(temp);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        port.SetBusy(false);
        port.Message(MsgKind::Error, QStringLiteral("Fehler beim Erzeugen von ") + target);
        return false;
    }
    const bool written = out.write(data) == data.size() && out.flush();
    // Time stamp and permissions go onto the copy while it is still ours to write: a
    // read-only source makes a read-only copy that a normal user cannot open again. Media
    // that keep neither (FAT) still take the copy.
    if (written)
        out.setFileTime(sourceInfo.lastModified(), QFileDevice::FileModificationTime);
    out.close();
    if (written)
        QFile::setPermissions(temp, sourceInfo.permissions());
    if (!written || out.error() != QFileDevice::NoError ||
        std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) !=
            0) {
        QFile::remove(temp);
        port.SetBusy(false);
        port.Message(MsgKind::Error,
                     QStringLiteral("Fehler: Datenträger ist voll oder nicht beschreibbar!\r"
                                    "Backup-Datensicherung ist unvollständig beendet!"));
        return false;
    }
    return true;
}

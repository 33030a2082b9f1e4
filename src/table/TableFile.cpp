#include "table/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "common/CodePage.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "table/TableLock.h"

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

namespace {

// The occurrence of `block` in `lines` nearest to `near`, or -1.
qsizetype FindBlockNear(const QStringList& lines, const QStringList& block, qsizetype near)
{
    const auto at = [&](qsizetype i) {
        for (qsizetype k = 0; k < block.size(); ++k) {
            if (lines[i + k] != block[k])
                return false;
        }
        return true;
    };
    const qsizetype last = lines.size() - block.size();
    // Nearest first: usually the other workstation only added lines at the end.
    for (qsizetype d = 0; d <= std::max(near, last - near); ++d) {
        if (near - d >= 0 && near - d <= last && at(near - d))
            return near - d;
        if (d > 0 && near + d >= 0 && near + d <= last && at(near + d))
            return near + d;
    }
    return -1;
}

}  // namespace

std::optional<QStringList> ApplyAgain(const QStringList& base, const QStringList& mine,
                                      const QStringList& theirs)
{
    const qsizetype n = base.size();
    const qsizetype m = mine.size();
    qsizetype prefix = 0;
    while (prefix < n && prefix < m && base[prefix] == mine[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix &&
           base[n - 1 - suffix] == mine[m - 1 - suffix])
        ++suffix;
    const QStringList removed = base.mid(prefix, n - prefix - suffix);
    const QStringList added = mine.mid(prefix, m - prefix - suffix);
    if (removed.isEmpty() && added.isEmpty())
        return theirs;

    qsizetype from = 0;
    qsizetype length = removed.size();
    if (!removed.isEmpty()) {
        from = FindBlockNear(theirs, removed, prefix);
    } else if (prefix > 0) {
        from = FindBlockNear(theirs, {base[prefix - 1]}, prefix - 1);
        if (from >= 0)
            ++from;
    } else if (suffix > 0) {
        from = FindBlockNear(theirs, {base[n - suffix]}, 0);
    }
    if (from < 0)
        return std::nullopt;
    QStringList result = theirs.mid(0, from);
    result += added;
    result += theirs.mid(from + length);
    return result;
}

namespace {

constexpr quint64 kPrime1 = 11400714785074694791ull;
constexpr quint64 kPrime2 = 14029467366897019727ull;
constexpr quint64 kPrime3 = 1609587929392839161ull;

quint64 Rotl(quint64 x, int r)
{
    return (x << r) | (x >> (64 - r));
}

quint64 Mix(quint64 lane, quint64 word)
{
    return Rotl(lane + word * kPrime2, 31) * kPrime1;
}

quint64 Word(const char* p)
{
    quint64 w = 0;
    std::memcpy(&w, p, sizeof w);
    return w;
}

}  // namespace

// Four lanes of eight bytes, so that whole registers are summed at memory speed; every byte
// and the length reach the result. Only compared within one run, never stored.
quint64 Checksum(const QByteArray& data)
{
    const char* p = data.constData();
    const qsizetype n = data.size();
    quint64 lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    qsizetype i = 0;
    for (; i + 32 <= n; i += 32) {
        for (int k = 0; k < 4; ++k)
            lanes[k] = Mix(lanes[k], Word(p + i + 8 * k));
    }
    quint64 h = Rotl(lanes[0], 1) + Rotl(lanes[1], 7) + Rotl(lanes[2], 12) + Rotl(lanes[3], 18);
    for (const quint64 lane : lanes)
        h = (h ^ Mix(0, lane)) * kPrime1 + kPrime3;
    h += quint64(n);
    for (; i + 8 <= n; i += 8)
        h = Rotl(h ^ Mix(0, Word(p + i)), 27) * kPrime1 + kPrime3;
    for (; i < n; ++i)
        h = Rotl(h ^ (quint64(quint8(p[i])) * kPrime1), 11) * kPrime2;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

QString WriteErrorText(const QString& folder)
{
    return QStringLiteral("Fehler beim Schreiben auf den Datenträger.\r(") + folder +
           QStringLiteral(")\rBitte prüfen, ob der Datenträger beschreibbar ist!");
}

bool DataFolderGone(const TableEnvironment& env, const QString& path)
{
    if (env.dataFolder.isEmpty() || !env.dataFolderDevice)
        return false;
    const QString folder = QDir::cleanPath(QDir(env.dataFolder).absolutePath());
    const QString where = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (where != folder && !where.startsWith(folder + QLatin1Char('/')))
        return false;
    return files::DeviceOf(folder) != env.dataFolderDevice;
}

bool CreateIfMissing(const TableEnvironment& env, UserPort& port, const QString& path)
{
    if (QFileInfo(path).isFile())
        return true;
    if (DataFolderGone(env, path)) {
        port.SetBusy(false);
        port.Message(MsgKind::Error, UnreachableText(env.dataFolder));
        port.EndProgram(1);
    }
    QFile file(path);
    return file.open(QIODevice::NewOnly) || QFileInfo(path).isFile();
}

QString UnreachableText(const QString& name)
{
    return QStringLiteral("Laufwerk bzw. Rechner (") + name +
           QStringLiteral(
               ") kann nicht erreicht werden.\rDas Programm wird beendet.\r"
               "Stellen Sie sicher, dass der Hauptrechner eingeschaltet\r"
               "und alle Netzlaufwerke verbunden sind.");
}

namespace {

// The backup copy follows the local file; its failures are not the caller's (the next
// save mirrors the whole table).
void AppendToBackup(const TableEnvironment& env, UserPort& port, const QString& local,
                    const QByteArray& bytes)
{
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
    const TableLock lock(port, env, local);
    if (!lock.Held() || QFileInfo(local).size() == 0)
        return;
    const QString copy = files::FindCaseInsensitive(folder, QFileInfo(local).fileName());
    if (QFileInfo(copy).isFile())
        files::AppendAllOrNothing(copy, bytes, env.Io());
    else
        files::CopyKeepingTime(local, copy);
}

}  // namespace

bool AppendChangeLine(const TableEnvironment& env, UserPort& port, const QString& path,
                      const QString& line)
{
    const QString local = ResolveExisting(path);
    if (DataFolderGone(env, local)) {
        port.SetBusy(false);
        port.Message(MsgKind::Error, UnreachableText(env.dataFolder));
        port.EndProgram(1);
    }
    if (!QFileInfo(local).isFile())
        return false;
    const QByteArray bytes = cp1252::Encode(line) + QByteArrayLiteral("\r\n");
    {
        TableLock lock(port, env, local);
        if (!lock.Held())
            return false;
        const files::AppendResult result = files::AppendAllOrNothing(local, bytes, env.Io());
        lock.Release();
        if (result == files::AppendResult::Missing)
            return false;
        if (result == files::AppendResult::Failed) {
            port.SetBusy(false);
            port.Message(MsgKind::Error,
                         WriteErrorText(WithSlash(QFileInfo(local).absolutePath())));
            return false;
        }
    }
    if (env.autoBackup && !env.autoBackupFolder.isEmpty())
        AppendToBackup(env, port, local, bytes);
    return true;
}

}  // namespace table

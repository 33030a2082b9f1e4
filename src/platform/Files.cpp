#include "platform/Files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utime.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <cerrno>
#include <cstdio>

namespace files {
namespace {

QString Join(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool Sync(QFile& file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

// The host part of a temporary name: letters, digits and '_' only, so that the name
// splits again at its last '-'.
QString HostTag()
{
    QString host = QSysInfo::machineHostName().section(QLatin1Char('.'), 0, 0);
    for (QChar& c : host) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128))
            c = QLatin1Char('_');
    }
    return host.isEmpty() ? QStringLiteral("host") : host;
}

const QString& ProcessTag()
{
    static const QString tag = HostTag() + QLatin1Char('-') + QString::number(::getpid());
    return tag;
}

bool ProcessRuns(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

QString FindCaseInsensitive(const QString& folder, const QString& name)
{
    const QString exact = Join(folder, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return Join(folder, entry);
    return exact;
}

QString ResolveCaseInsensitive(const QString& base, const QString& relativePath)
{
    QString current = base;
    const QStringList parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        current = FindCaseInsensitive(current, part);
    return current;
}

std::unique_ptr<QFile> FileIo::Device(const QString& path) const
{
    return std::make_unique<QFile>(path);
}

bool FileIo::Rename(const QString& from, const QString& to) const
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

const FileIo& RealFileIo()
{
    static const FileIo io;
    return io;
}

QString UniqueTemporary(const QString& tempPath)
{
    const qsizetype slash = tempPath.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = tempPath.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1)
        return tempPath + QLatin1Char('.') + ProcessTag();
    return tempPath.left(dot) + QLatin1Char('.') + ProcessTag() + tempPath.mid(dot);
}

int RemoveStaleTemporaries(const QString& folder)
{
    static const QRegularExpression pattern(
        QStringLiteral("^.+\\.([A-Za-z0-9_]+)-([0-9]+)\\.~[^.]*$"));
    const QString host = HostTag();
    int removed = 0;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch() || m.captured(1) != host || ProcessRuns(m.captured(2).toLongLong()))
            continue;
        if (QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

bool ReplaceAtomically(const QString& target, const QString& tempPath, const QByteArray& data,
                       const FileIo& io)
{
    const QString temp = UniqueTemporary(tempPath);
    const std::unique_ptr<QFile> file = io.Device(temp);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    const bool written = file->write(data) == data.size() && Sync(*file);
    file->close();
    if (!written || file->error() != QFileDevice::NoError || !io.Rename(temp, target)) {
        QFile::remove(temp);
        return false;
    }
    SyncFolder(QFileInfo(target).absolutePath());
    return true;
}

AppendResult AppendAllOrNothing(const QString& path, const QByteArray& data, const FileIo& io)
{
    const std::unique_ptr<QFile> file = io.Device(path);
    if (!QFileInfo(path).isFile())
        return AppendResult::Missing;
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return AppendResult::Failed;
    const qint64 before = file->size();
    QByteArray bytes = data;
    if (before > 0 && file->seek(before - 1)) {
        char last = 0;
        if (file->read(&last, 1) == 1 && last != '\n' && last != '\r')
            bytes.prepend("\r\n");
    }
    struct statvfs room {};
    if (::fstatvfs(file->handle(), &room) == 0 &&
        quint64(room.f_bavail) * quint64(room.f_frsize) < quint64(bytes.size()))
        return AppendResult::Failed;
    bool ok = file->seek(before) && file->write(bytes) == bytes.size() && Sync(*file);
    if (ok) {
        ok = file->size() == before + bytes.size() && file->seek(before) &&
             file->read(bytes.size()) == bytes;
    }
    if (!ok) {
        file->resize(before);
        Sync(*file);
        return AppendResult::Failed;
    }
    file->close();
    if (file->error() == QFileDevice::NoError)
        return AppendResult::Appended;
    QFile cut(path);
    if (cut.open(QIODevice::ReadWrite))
        cut.resize(before);
    return AppendResult::Failed;
}

FileIdentity IdentityOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::optional<quint64> DeviceOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return quint64(st.st_dev);
}

bool CopyKeepingTime(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    in.close();

    struct stat st {};
    if (::stat(QFile::encodeName(source).constData(), &st) != 0)
        return false;
    const QString temp = target + QStringLiteral(".~cp");
    if (!ReplaceAtomically(target, temp, data))
        return false;
    const QByteArray t = QFile::encodeName(target);
    ::chmod(t.constData(), st.st_mode & 07777);
    struct utimbuf times {};
    times.actime = st.st_atime;
    times.modtime = st.st_mtime;
    return ::utime(t.constData(), &times) == 0;
}

namespace {

bool ReadFd(int fd, QByteArray& data)
{
    data.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        data.append(buffer, n);
    }
}

}  // namespace

bool ReadWhole(const QString& path, QByteArray& data)
{
    int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        const QFileInfo info(path);
        const QString found = FindCaseInsensitive(info.path(), info.fileName());
        if (found != path)
            fd = ::open(QFile::encodeName(found).constData(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0)
        return false;
    const bool ok = ReadFd(fd, data);
    ::close(fd);
    return ok;
}

// The read-only attribute is the owner's write bit (root may write anyway, so the
// bit is what counts, not the access check).
bool IsReadOnly(const QString& path)
{
    return QFileInfo::exists(path) && !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

bool ClearReadOnly(const QString& path)
{
    const QFileDevice::Permissions perms = QFile::permissions(path);
    if (!QFile::setPermissions(path, perms | QFileDevice::WriteOwner))
        return false;
    return !IsReadOnly(path);
}

}  // namespace files

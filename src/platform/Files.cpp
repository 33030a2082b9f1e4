#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

bool WriteAllAndSync(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return ::fsync(fd) == 0;
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

bool ReplaceAtomically(const QString& target, const QString& tempPath, const QByteArray& data)
{
    const QByteArray tmp = QFile::encodeName(tempPath);
    const int fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return false;
    const bool written = WriteAllAndSync(fd, data);
    if (::close(fd) != 0 || !written) {
        ::unlink(tmp.constData());
        return false;
    }
    if (::rename(tmp.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(tmp.constData());
        return false;
    }
    SyncFolder(QFileInfo(target).absolutePath());
    return true;
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

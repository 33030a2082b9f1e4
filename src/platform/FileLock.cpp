#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <mutex>

namespace files {
namespace {

// fcntl locks belong to the process and a close of any descriptor of the lock file drops
// all of them, so each lock file is opened once and its locks are counted here.
struct OpenLockFile {
    int fd = -1;
    QHash<qint64, int> held;  // byte -> nesting count
};

std::mutex& RegistryMutex()
{
    static std::mutex m;
    return m;
}

QHash<QString, OpenLockFile>& Registry()
{
    static QHash<QString, OpenLockFile> files;
    return files;
}

// FNV-1a of the upper-case name: one byte per file name, far below the 2 GB that the
// oldest network protocols can lock.
qint64 OffsetOf(const QString& fileName)
{
    quint32 h = 2166136261u;
    for (const char c : fileName.toUpper().toUtf8()) {
        h ^= quint8(c);
        h *= 16777619u;
    }
    return qint64(h & 0x3fffffffu);
}

int OpenShared(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        return ::open(name.constData(), O_RDWR | O_CLOEXEC);
    // Every user of the shared folder must be able to lock it, whatever the umask.
    if (fd >= 0)
        ::fchmod(fd, 0666);
    return fd;
}

bool SetLock(int fd, qint64 offset, short type)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = 1;
    for (;;) {
        if (::fcntl(fd, F_SETLK, &fl) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

}  // namespace

QString FileLock::LockFilePath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral(".talven.lck"));
}

FileLock::FileLock(const QString& path)
{
    const QFileInfo info(path);
    QString folder = info.absolutePath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty())
        folder = canonical;
    m_lockFile = LockFilePath(folder);
    m_offset = OffsetOf(info.fileName());
}

FileLock::~FileLock()
{
    Unlock();
}

FileLock::State FileLock::TryLock()
{
    if (m_held)
        return State::Locked;
    std::lock_guard<std::mutex> guard(RegistryMutex());
    OpenLockFile& entry = Registry()[m_lockFile];
    if (entry.fd < 0) {
        entry.fd = OpenShared(m_lockFile);
        if (entry.fd < 0) {
            Registry().remove(m_lockFile);
            return State::NoLockFile;
        }
    }
    int& count = entry.held[m_offset];
    if (count == 0 && !SetLock(entry.fd, m_offset, F_WRLCK)) {
        const int error = errno;
        entry.held.remove(m_offset);
        if (entry.held.isEmpty()) {
            ::close(entry.fd);
            Registry().remove(m_lockFile);
        }
        // ENOLCK: a mount without a lock service; nothing else can be done there.
        return error == EAGAIN || error == EACCES ? State::Busy : State::NoLockFile;
    }
    ++count;
    m_held = true;
    return State::Locked;
}

void FileLock::Unlock()
{
    if (!m_held)
        return;
    m_held = false;
    std::lock_guard<std::mutex> guard(RegistryMutex());
    auto it = Registry().find(m_lockFile);
    if (it == Registry().end())
        return;
    OpenLockFile& entry = *it;
    auto held = entry.held.find(m_offset);
    if (held != entry.held.end() && --*held == 0) {
        SetLock(entry.fd, m_offset, F_UNLCK);
        entry.held.erase(held);
    }
    if (entry.held.isEmpty()) {
        ::close(entry.fd);
        Registry().erase(it);
    }
}

}  // namespace files

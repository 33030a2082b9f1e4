#include "platform/Files.h"

#include <dirent.h>
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
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

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

namespace {

// The first match in name order, as a sorted listing gives it. Only for names that match
// more than one entry (a folder copied together from several places).
QString FirstSortedMatch(const QString& folder, const QString& name)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return Join(folder, entry);
    return Join(folder, name);
}

bool IsAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// What tells one state of a folder's list of names from the next.
struct FolderStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FolderStamp&) const = default;
};

std::optional<FolderStamp> StampOf(const QByteArray& folder)
{
    struct stat st {};
    if (::stat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FolderStamp{quint64(st.st_dev), quint64(st.st_ino),
                       qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                       qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

qint64 NowNs()
{
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A change within the tick of a folder's time stamp may leave the stamp as it was: a
// listing taken that soon after the last change is not kept. The tick is a whole second
// where stamps have no fraction (some network drives), else at most a few milliseconds.
qint64 StampTickNs(const FolderStamp& stamp)
{
    return stamp.modifiedNs % 1000000000 == 0 ? 2000000000LL : 50000000LL;
}

bool AsciiEqualFolded(const char* text, const std::string& folded)
{
    for (size_t i = 0; i < folded.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != folded[i])
            return false;
    }
    return true;
}

// The names a look-up compares: entries are compared as Qt compares names without case
// (each character folded on its own). An ASCII entry can only match a name whose folded
// characters are all ASCII, and then only one of the same length and letters.
struct Wanted {
    QString name;
    std::string asciiFolded;  // empty when some folded character is not ASCII
    explicit Wanted(const QString& n) : name(n)
    {
        for (const QChar c : name) {
            const char16_t f = c.toCaseFolded().unicode();
            if (f >= 0x80) {
                asciiFolded.clear();
                return;
            }
            asciiFolded.push_back(static_cast<char>(f >= 'A' && f <= 'Z' ? f + ('a' - 'A') : f));
        }
    }
    bool MatchesAscii(const char* entry, size_t length) const
    {
        return !asciiFolded.empty() && length == asciiFolded.size() &&
               AsciiEqualFolded(entry, asciiFolded);
    }
};

// Entry names of a folder, unsorted, each handed over once. False when it cannot be read.
template <typename Visit>
bool ListFolder(const QByteArray& folder, Visit visit)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    while (const struct dirent* entry = ::readdir(dir)) {
        const char* n = entry->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        if (!visit(n, std::strlen(n)))
            break;
    }
    ::closedir(dir);
    return true;
}

// The names of one folder by their folded form, kept for the run and listed again when the
// folder's stamp changes (a file added, removed or renamed, here or on another workstation).
// The first miss after a change lists the folder once without keeping it; only a second
// miss under the same stamp keeps an index, so a single look-up stays one pass.
class FolderIndex {
public:
    enum class Found { None, One, Several };

    void Reset(const FolderStamp& stamp)
    {
        m_stamp = stamp;
        m_misses = 0;
        m_built = false;
        m_names.clear();
        m_entries.clear();
        m_slots.clear();
        m_others.clear();
    }
    const FolderStamp& Stamp() const { return m_stamp; }
    bool Built() const { return m_built; }
    int CountMiss() { return ++m_misses; }

    // Lists the folder into the index; `visit` sees every name on the way.
    template <typename Visit>
    bool Build(const QByteArray& folder, Visit visit)
    {
        Reset(m_stamp);
        m_built = ListFolder(folder, [this, &visit](const char* n, size_t length) {
            visit(n, length);
            if (IsAscii(n, length)) {
                m_entries.push_back({Hash(n, length), quint32(m_names.size()), quint32(length)});
                m_names.append(n, length);
            } else {
                m_others.push_back(QFile::decodeName(QByteArray(n, qsizetype(length))));
            }
            return true;
        });
        if (m_built)
            FillSlots();
        return m_built;
    }
    bool Build(const QByteArray& folder)
    {
        return Build(folder, [](const char*, size_t) {});
    }

    Found Find(const Wanted& wanted, QString& entry) const
    {
        int count = 0;
        if (!wanted.asciiFolded.empty() && !m_slots.empty()) {
            const quint64 hash = Hash(wanted.asciiFolded.data(), wanted.asciiFolded.size());
            for (size_t s = hash & (m_slots.size() - 1); m_slots[s] != 0;
                 s = (s + 1) & (m_slots.size() - 1)) {
                const Entry& e = m_entries[m_slots[s] - 1];
                if (e.hash != hash || !wanted.MatchesAscii(m_names.data() + e.offset, e.length))
                    continue;
                if (++count > 1)
                    return Found::Several;
                entry = QFile::decodeName(QByteArray(m_names.data() + e.offset, e.length));
            }
        }
        for (const QString& name : m_others) {
            if (name.compare(wanted.name, Qt::CaseInsensitive) == 0) {
                entry = name;
                if (++count > 1)
                    return Found::Several;
            }
        }
        return count == 0 ? Found::None : Found::One;
    }

private:
    struct Entry {
        quint64 hash;  // of the name in lower case
        quint32 offset;
        quint32 length;
    };

    static quint64 Hash(const char* text, size_t length)
    {
        quint64 h = 1469598103934665603ULL;
        for (size_t i = 0; i < length; ++i) {
            char c = text[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        return h ^ (h >> 29);
    }

    // Open addressing over the entries, at most half full.
    void FillSlots()
    {
        size_t size = 16;
        while (size < m_entries.size() * 2)
            size *= 2;
        m_slots.assign(size, 0);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            size_t s = m_entries[i].hash & (size - 1);
            while (m_slots[s] != 0)
                s = (s + 1) & (size - 1);
            m_slots[s] = quint32(i + 1);
        }
    }

    FolderStamp m_stamp;
    int m_misses = 0;
    bool m_built = false;
    std::string m_names;  // the ASCII names one after the other
    std::vector<Entry> m_entries;
    std::vector<quint32> m_slots;   // entry + 1; 0 is free
    std::vector<QString> m_others;  // names that are not ASCII, as stored
};

// One pass over the folder without keeping it; stops at a second match.
FolderIndex::Found ScanFolder(const QByteArray& folder, const Wanted& wanted, QString& found)
{
    int count = 0;
    ListFolder(folder, [&](const char* n, size_t length) {
        bool match = false;
        if (IsAscii(n, length)) {
            match = wanted.MatchesAscii(n, length);
        } else {
            const QString entry = QFile::decodeName(QByteArray(n, qsizetype(length)));
            match = entry.compare(wanted.name, Qt::CaseInsensitive) == 0;
        }
        if (match) {
            found = QFile::decodeName(QByteArray(n, qsizetype(length)));
            ++count;
        }
        return count < 2;
    });
    return count == 0   ? FolderIndex::Found::None
           : count == 1 ? FolderIndex::Found::One
                        : FolderIndex::Found::Several;
}

std::mutex& IndexMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::unordered_map<std::string, FolderIndex>& Indexes()
{
    static std::unordered_map<std::string, FolderIndex> indexes;
    return indexes;
}

QByteArray FolderKey(const QString& folder)
{
    QString dirPath = folder.isEmpty() ? QStringLiteral(".") : folder;
    while (dirPath.size() > 1 && dirPath.endsWith(QLatin1Char('/')))
        dirPath.chop(1);
    return QFile::encodeName(dirPath);
}

bool Settled(const FolderStamp& stamp)
{
    return NowNs() - stamp.modifiedNs >= StampTickNs(stamp);
}

// Lists a folder for `visit` and keeps the listing for the look-ups that follow, when the
// folder has settled. False when the folder cannot be read.
template <typename Visit>
bool ListAndIndex(const QString& folder, Visit visit)
{
    const QByteArray encoded = FolderKey(folder);
    const std::optional<FolderStamp> stamp = StampOf(encoded);
    if (!stamp)
        return false;
    const std::lock_guard<std::mutex> guard(IndexMutex());
    FolderIndex& index = Indexes()[encoded.toStdString()];
    index.Reset(*stamp);
    if (Settled(*stamp))
        return index.Build(encoded, visit);
    return ListFolder(encoded, [&visit](const char* n, size_t length) {
        visit(n, length);
        return true;
    });
}

}  // namespace

QString FindCaseInsensitive(const QString& folder, const QString& name)
{
    const QString exact = Join(folder, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QByteArray encoded = FolderKey(folder);
    const std::optional<FolderStamp> stamp = StampOf(encoded);
    if (!stamp)
        return exact;
    const Wanted wanted(name);
    QString entry;
    FolderIndex::Found found = FolderIndex::Found::None;
    {
        const std::lock_guard<std::mutex> guard(IndexMutex());
        FolderIndex& index = Indexes()[encoded.toStdString()];
        if (!(index.Stamp() == *stamp))
            index.Reset(*stamp);
        if (index.Built() || (index.CountMiss() > 1 && Settled(*stamp) && index.Build(encoded)))
            found = index.Find(wanted, entry);
        else
            found = ScanFolder(encoded, wanted, entry);
    }
    switch (found) {
        case FolderIndex::Found::None:
            return exact;
        case FolderIndex::Found::One:
            return Join(folder, entry);
        case FolderIndex::Found::Several:
            break;
    }
    return FirstSortedMatch(folder, name);
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

bool FileIo::RenameNew(const QString& from, const QString& to) const
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    // File systems without it (some network shares): a hard link never replaces either.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (errno == EEXIST)
        return false;
    return !QFileInfo::exists(to) && Rename(from, to);
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
    // One unsorted pass (the data folder holds a file per record card), kept for the
    // look-ups of the start-up that follows.
    QStringList candidates;
    ListAndIndex(folder, [&candidates](const char* n, size_t length) {
        if (std::strstr(n, ".~"))
            candidates.append(QFile::decodeName(QByteArray(n, qsizetype(length))));
    });
    for (const QString& name : candidates) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch() || m.captured(1) != host || ProcessRuns(m.captured(2).toLongLong()))
            continue;
        if (QFileInfo(dir.filePath(name)).isFile() && QFile::remove(dir.filePath(name)))
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

NewFileBatch::~NewFileBatch()
{
    for (const Entry& entry : m_entries)
        QFile::remove(entry.temp);
}

bool NewFileBatch::Add(const QString& target, const QString& tempPath, const QByteArray& data)
{
    const QString temp = UniqueTemporary(tempPath);
    const std::unique_ptr<QFile> file = m_io->Device(temp);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    const bool written = file->write(data) == data.size();
    file->close();
    if (!written || file->error() != QFileDevice::NoError) {
        QFile::remove(temp);
        return false;
    }
    m_entries.push_back({target, temp});
    return true;
}

NewFileBatch::Result NewFileBatch::Commit()
{
    Result result;
    std::vector<Entry> entries;
    entries.swap(m_entries);
    // Every temporary reaches the disk before the first of them gets its name: a name that
    // survives a crash always comes with its whole content.
    QStringList folders;
    for (const Entry& entry : entries) {
        const QString folder = QFileInfo(entry.temp).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    bool synced = true;
    for (const QString& folder : folders) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        synced = synced && fd >= 0 && ::syncfs(fd) == 0;
        if (fd >= 0)
            ::close(fd);
    }
    for (const Entry& entry : entries) {
        if (synced && m_io->RenameNew(entry.temp, entry.target)) {
            result.placed.append(entry.target);
            continue;
        }
        QFile::remove(entry.temp);
        if (!synced || !QFileInfo::exists(entry.target))
            ++result.failed;
    }
    for (const QString& folder : folders)
        SyncFolder(folder);
    return result;
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

// Straight into the array, sized for the file as it stands (one byte more, so that the end
// is seen without growing); a file that grows meanwhile is read on to its end.
bool ReadFd(int fd, QByteArray& data)
{
    struct stat st {};
    const qsizetype expected =
        ::fstat(fd, &st) == 0 && st.st_size > 0 ? qsizetype(st.st_size) + 1 : 16384;
    data.resize(expected);
    qsizetype used = 0;
    for (;;) {
        if (used == data.size())
            data.resize(data.size() * 2);
        const ssize_t n = ::read(fd, data.data() + used, size_t(data.size() - used));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            data.clear();
            return false;
        }
        if (n == 0) {
            data.truncate(used);
            return true;
        }
        used += n;
    }
}

}  // namespace

// A path as the file system takes it. Paths of ASCII characters (nearly all in the data
// folder) are the same bytes in the file name encoding; they are written out without a
// conversion and its allocation, as searches open thousands of files.
class NativePath {
public:
    explicit NativePath(const QString& path)
    {
        const qsizetype size = path.size();
        if (size < qsizetype(sizeof m_ascii)) {
            const QChar* chars = path.constData();
            qsizetype i = 0;
            for (; i < size; ++i) {
                const char16_t c = chars[i].unicode();
                if (c == 0 || c >= 0x80)
                    break;
                m_ascii[i] = static_cast<char>(c);
            }
            if (i == size) {
                m_ascii[size] = 0;
                m_path = m_ascii;
                return;
            }
        }
        m_encoded = QFile::encodeName(path);
        m_path = m_encoded.constData();
    }
    const char* Get() const { return m_path; }

private:
    char m_ascii[1024];
    QByteArray m_encoded;
    const char* m_path = nullptr;
};

bool ReadWhole(const QString& path, QByteArray& data)
{
    int fd = ::open(NativePath(path).Get(), O_RDONLY | O_CLOEXEC);
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

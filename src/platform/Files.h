#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QFile;

// File helpers, the only place with OS-specific file calls.
namespace files {

// The file calls of saves and appends. Tests hand in one whose devices fail after some
// bytes or whose renames fail, to see that nothing is lost.
class FileIo {
public:
    virtual ~FileIo() = default;
    // A device for the path, not yet open.
    virtual std::unique_ptr<QFile> Device(const QString& path) const;
    virtual bool Rename(const QString& from, const QString& to) const;
    // As Rename, but fails when `to` exists: a file that appeared meanwhile is kept.
    virtual bool RenameNew(const QString& from, const QString& to) const;
};
const FileIo& RealFileIo();

// Finds an existing file or folder in `folder` whose name equals `name` ignoring case.
// Returns the full path of the exact name when it exists, else of a case-insensitive
// match, else folder + name (the path a new file should get). A miss lists the folder
// once, unsorted; the listing is kept for later misses until the folder's time stamp
// changes (a file added, removed or renamed, by this program or another workstation).
QString FindCaseInsensitive(const QString& folder, const QString& name);

// Resolves every component of a relative path below `base` case-insensitively.
QString ResolveCaseInsensitive(const QString& base, const QString& relativePath);

// Copies a file over the target, keeping its time stamp and permissions.
// Writes through a temporary file so that the target is never half written.
bool CopyKeepingTime(const QString& source, const QString& target);

// Writes data to a temporary file beside the target, flushes it to disk and renames it
// over the target in one step. The target is either the old or the new file, never
// missing or partial. `tempPath` names the temporary file; the process's tag is put
// before its extension (UniqueTemporary), so workstations saving the same file at once
// never write into each other's temporary file. A failed save removes its own.
bool ReplaceAtomically(const QString& target, const QString& tempPath, const QByteArray& data,
                       const FileIo& io = RealFileIo());

// Writes many new files, each of them complete or absent even when the machine stops
// half-way or the disk fills up: Add writes a temporary file without waiting for the disk,
// Commit waits once for all of them and only then gives each its name, never over a file
// that another workstation created meanwhile. Temporaries not committed are removed.
class NewFileBatch {
public:
    explicit NewFileBatch(const FileIo& io = RealFileIo()) : m_io(&io) {}
    ~NewFileBatch();
    NewFileBatch(const NewFileBatch&) = delete;
    NewFileBatch& operator=(const NewFileBatch&) = delete;

    // False, with nothing left behind, when the temporary file cannot be written.
    bool Add(const QString& target, const QString& tempPath, const QByteArray& data);
    bool IsEmpty() const { return m_entries.empty(); }

    struct Result {
        QStringList placed;  // the targets now on disk, in the order they were added
        int failed = 0;      // neither placed nor found created by someone else
    };
    Result Commit();

private:
    struct Entry {
        QString target;
        QString temp;
    };
    const FileIo* m_io;
    std::vector<Entry> m_entries;
};

// "KUNDE.~DB" -> "KUNDE.<host>-<pid>.~DB": this process's name for a temporary file.
QString UniqueTemporary(const QString& tempPath);
// Removes the temporary files in a folder that provably nobody will finish: written by a
// process of this host that no longer runs. Others' (other hosts, older versions) stay.
// Returns how many were removed. Its listing of the folder serves the look-ups after it.
int RemoveStaleTemporaries(const QString& folder);

// Appends data to the end of an existing file in one write, or leaves the file as it was:
// the room is checked first, the bytes are written, flushed and read back, and a failure
// cuts the file back to its old length. A file whose last line lacks its line end (an
// older program was interrupted) gets CR LF first, so the new line is never glued to it.
enum class AppendResult { Appended, Missing, Failed };
AppendResult AppendAllOrNothing(const QString& path, const QByteArray& data,
                                const FileIo& io = RealFileIo());

// The device (file system) that holds an existing path; nothing when it does not exist.
std::optional<quint64> DeviceOf(const QString& path);

// What tells one state of a file from the next: a replace by rename gives a new inode even
// when size and time stamp (whose clock may tick coarsely) stay the same.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
// An identity of size -1 for a file that does not exist.
FileIdentity IdentityOf(const QString& path);

// Reads a whole file with as few system calls as possible (searches read thousands of
// small files). A name that does not exist as written is looked up whatever its case.
bool ReadWhole(const QString& path, QByteArray& data);

bool IsReadOnly(const QString& path);
bool ClearReadOnly(const QString& path);

}  // namespace files

#pragma once

#include <QString>

namespace files {

// An advisory lock of one file against other processes, on this machine and on other
// workstations that share the folder (POSIX fcntl record locks, which NFS and SMB carry
// to the server). The lock is one byte, chosen by the file's name whatever its case, of
// a lock file in the file's folder: the file itself may be replaced by a rename while it
// is locked, and no read or close of it drops the lock. The system releases the lock
// when its process ends, however it ends, so there are no stale locks.
//
// Locks of one process on the same file nest. They do not exclude the threads of one
// process (the program has one).
class FileLock {
public:
    enum class State {
        Locked,      // held by this object
        Busy,        // another process holds it
        NoLockFile,  // the folder has no usable lock file (read-only, gone, no lock service)
    };

    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // One try without waiting; a lock already held stays held.
    State TryLock();
    void Unlock();
    bool Held() const { return m_held; }

    // The lock file of a folder; it is never removed (removing it would split waiters).
    static QString LockFilePath(const QString& folder);

private:
    QString m_lockFile;
    qint64 m_offset = 0;
    bool m_held = false;
};

}  // namespace files

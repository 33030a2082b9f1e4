#pragma once

#include <QString>

#include "platform/FileLock.h"

class UserPort;
struct TableEnvironment;

namespace table {

// Holds the lock of a table file while one process appends to it, or loads, merges and
// saves it again, so that no workstation's change line falls between another one's read
// and rename. Register, journal and table code that reads a file and writes it back takes
// one around the whole of it (locks of one process nest).
//
// A lock held elsewhere is waited for a few seconds (the window stays responsive), then
// the person is asked to try again or give up; there is no waiting for ever. Without a
// usable lock file (a read-only folder) the work goes on unlocked: it cannot write there
// anyway and reports that itself. The person is never asked anything while this process
// holds the lock.
class TableLock {
public:
    TableLock(UserPort& port, const TableEnvironment& env, const QString& path);
    // False when the person gave up.
    bool Held() const { return m_ok; }
    void Release() { m_lock.Unlock(); }

private:
    files::FileLock m_lock;
    bool m_ok = false;
};

}  // namespace table

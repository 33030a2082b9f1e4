#include "platform/SystemTime.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <time.h>
#endif

namespace systemtime {

#ifdef Q_OS_WIN

bool MaySetClock()
{
    return true;  // Windows refuses SetLocalTime itself without the privilege
}

bool SetLocalTime(const QDateTime& local)
{
    SYSTEMTIME st{};
    st.wYear = WORD(local.date().year());
    st.wMonth = WORD(local.date().month());
    st.wDay = WORD(local.date().day());
    st.wHour = WORD(local.time().hour());
    st.wMinute = WORD(local.time().minute());
    st.wSecond = WORD(local.time().second());
    return ::SetLocalTime(&st) != 0;
}

#else

bool MaySetClock()
{
    // CAP_SYS_TIME (25) among the effective capabilities of this process.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("CapEff:"))
            continue;
        bool ok = false;
        const qulonglong caps = line.mid(7).trimmed().toULongLong(&ok, 16);
        return ok && (caps >> 25) & 1u;
    }
    return false;
}

bool SetLocalTime(const QDateTime& local)
{
    if (!local.isValid() || !MaySetClock())
        return false;
    timespec ts{};
    ts.tv_sec = time_t(local.toSecsSinceEpoch());
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

#endif

}  // namespace systemtime

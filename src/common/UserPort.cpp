#include "common/UserPort.h"

#include <QDeadlineTimer>
#include <QThread>

void UserPort::Wait(int milliseconds, bool processMessages)
{
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        if (processMessages)
            ProcessEvents();
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(10, deadline.remainingTime())));
    }
}

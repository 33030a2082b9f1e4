#include "table/TableLock.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include "common/UserPort.h"
#include "table/TableEnvironment.h"

namespace table {

namespace {

constexpr int kPollMs = 20;

}  // namespace

TableLock::TableLock(UserPort& port, const TableEnvironment& env, const QString& path)
    : m_lock(path)
{
    for (;;) {
        QDeadlineTimer deadline(env.lockWaitMs);
        for (;;) {
            const files::FileLock::State state = m_lock.TryLock();
            if (state != files::FileLock::State::Busy) {
                m_ok = true;
                return;
            }
            if (deadline.hasExpired())
                break;
            port.Wait(kPollMs, true);
        }
        port.SetBusy(false);
        const Answer answer = port.Message(
            MsgKind::Warning,
            QStringLiteral("Die Datei ") + QFileInfo(path).fileName() +
                QStringLiteral(" wird gerade von einem anderen Arbeitsplatz bearbeitet.\r\r"
                               "OK: erneut versuchen\rAbbrechen: Vorgang abbrechen (die "
                               "Änderung wird nicht gespeichert)"),
            Buttons::OkCancel);
        if (answer != Answer::Ok)
            return;
    }
}

}  // namespace table

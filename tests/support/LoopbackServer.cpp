#include "LoopbackServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

LoopbackServer::LoopbackServer(const QString& kind, const QString& root, const QString& user,
                               const QString& password, const QStringList& flags)
    : m_kind(kind)
{
    m_process.setProgram(QStringLiteral("/usr/bin/python3"));
    m_process.setArguments(
        QStringList{QStringLiteral(TALVEN_LIST_SERVER), kind, root, user, password} + flags);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000))
        return;
    QByteArray out;
    QDeadlineTimer deadline(15000);
    while (!out.contains('\n') && !deadline.hasExpired() &&
           m_process.waitForReadyRead(int(deadline.remainingTime())))
        out += m_process.readAllStandardOutput();
    if (out.startsWith("PORT "))
        m_port = out.mid(5).trimmed().toInt();
}

LoopbackServer::~LoopbackServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();  // the server ends when its input does
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString LoopbackServer::Url(const QString& path) const
{
    return m_kind + QStringLiteral("://127.0.0.1:") + QString::number(m_port) + path;
}

void EnsureEventLoop()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "talven_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);  // lives for the rest of the test program
}

bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs)
{
    EnsureEventLoop();
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

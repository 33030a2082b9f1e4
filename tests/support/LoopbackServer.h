#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// A list server on 127.0.0.1 (tests/support/list_server.py): FTP or HTTP on a port the
// system picks. The constructor returns once the server accepts connections; the
// destructor stops it.
class LoopbackServer {
public:
    LoopbackServer(const QString& kind, const QString& root, const QString& user,
                   const QString& password, const QStringList& flags = {});
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return m_port; }  // 0 when the server did not start
    QString Url(const QString& path = QStringLiteral("/")) const;

private:
    QString m_kind;
    QProcess m_process;
    int m_port = 0;
};

// Creates the application object a core test needs for the event loop.
void EnsureEventLoop();

// Runs the event loop (a core test creates the application object it needs) until the
// condition holds or the time is up; returns the condition.
bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs = 20000);

#pragma once

#include <QString>
#include <QStringList>

enum class MsgKind { Error, Warning, Information, Confirmation, Plain };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, OkAbort };
enum class Answer { Ok, Cancel, Yes, No, Abort };

// Everything that reaches the person goes through this port: message boxes, the
// hourglass cursor, waits and the end of the program. Texts use "\r" as line break.
class UserPort {
public:
    virtual ~UserPort() = default;

    virtual Answer Message(MsgKind kind, const QString& text, Buttons buttons = Buttons::Ok,
                           const QString& title = {}) = 0;
    virtual void SetBusy(bool busy) = 0;  // hourglass on / normal cursor
    virtual void ProcessEvents() = 0;     // called inside waits
    [[noreturn]] virtual void EndProgram(int exitCode) = 0;

    // Input box: returns false when cancelled.
    virtual bool InputText(const QString& title, const QString& prompt, QString& value) = 0;
    // File and folder pickers: return an empty string when cancelled.
    virtual QString ChooseOpenFile(const QString& title, const QString& folder,
                                   const QString& filter) = 0;
    virtual QString ChooseSaveFile(const QString& title, const QString& folder,
                                   const QString& filter) = 0;
    // A save dialog that does not ask about an existing file: the caller asks in its own
    // words, so the person is asked once.
    virtual QString ChooseSaveTarget(const QString& title, const QString& folder,
                                     const QString& filter)
    {
        return ChooseSaveFile(title, folder, filter);
    }
    virtual QString ChooseFolder(const QString& title, const QString& folder) = 0;

    // Waits the given milliseconds, processing window messages when asked to.
    void Wait(int milliseconds, bool processMessages);
};

// Restores the normal cursor when it leaves scope, also on early returns.
class BusyScope {
public:
    explicit BusyScope(UserPort& port) : m_port(port) { m_port.SetBusy(true); }
    ~BusyScope() { m_port.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    UserPort& m_port;
};

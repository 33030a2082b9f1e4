#pragma once

#include <QList>
#include <QString>
#include <deque>
#include <stdexcept>

#include "common/UserPort.h"

// Thrown by ScriptedUserPort::EndProgram so a test can expect the end of the program.
struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int code) : std::runtime_error("program ended"), exitCode(code) {}
    int exitCode;
};

// A user port for tests: answers come from a queue (default: the first button),
// every message is recorded.
class ScriptedUserPort : public UserPort {
public:
    struct Shown {
        MsgKind kind;
        QString text;
        Buttons buttons;
        QString title;
    };

    Answer Message(MsgKind kind, const QString& text, Buttons buttons = Buttons::Ok,
                   const QString& title = {}) override;
    void SetBusy(bool busy) override;
    void ProcessEvents() override { ++processEventsCalls; }
    [[noreturn]] void EndProgram(int exitCode) override;
    bool InputText(const QString& title, const QString& prompt, QString& value) override;
    QString ChooseOpenFile(const QString&, const QString&, const QString&) override;
    QString ChooseSaveFile(const QString&, const QString&, const QString&) override;
    QString ChooseFolder(const QString&, const QString&) override;

    void QueueAnswer(Answer a) { answers.push_back(a); }
    void QueueInput(const QString& text) { inputs.push_back(text); }  // "\x1b" = cancel
    void QueueFile(const QString& path) { filePicks.push_back(path); }

    QStringList Texts() const;
    QString LastText() const { return messages.isEmpty() ? QString() : messages.last().text; }

    QList<Shown> messages;
    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::deque<QString> filePicks;
    bool busy = false;
    int busyOnCalls = 0;
    int processEventsCalls = 0;
    bool busyWhileMessage = false;  // set when a message appeared with the hourglass on
};

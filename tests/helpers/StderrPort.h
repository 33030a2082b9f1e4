#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>

#include "common/UserPort.h"

// The user port of a child process: every message goes to stderr and gets the one answer
// the child was made with; nothing is asked.
class StderrPort : public UserPort {
public:
    explicit StderrPort(Answer answer) : m_answer(answer) {}
    Answer Message(MsgKind, const QString& text, Buttons, const QString&) override
    {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return m_answer;
    }
    void SetBusy(bool) override {}
    void ProcessEvents() override {}
    [[noreturn]] void EndProgram(int exitCode) override { std::exit(exitCode); }
    bool InputText(const QString&, const QString&, QString&) override { return false; }
    QString ChooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseFolder(const QString&, const QString&) override { return {}; }

private:
    Answer m_answer;
};

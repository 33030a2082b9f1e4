#pragma once

#include <cstdlib>

#include "common/UserPort.h"

// Answers every question with OK and asks the person nothing, so a measurement never waits.
// Nothing a benchmark runs may end the program.
class QuietPort : public UserPort {
public:
    Answer Message(MsgKind, const QString&, Buttons, const QString&) override { return Answer::Ok; }
    void SetBusy(bool) override {}
    void ProcessEvents() override {}
    [[noreturn]] void EndProgram(int) override { std::abort(); }
    bool InputText(const QString&, const QString&, QString&) override { return false; }
    QString ChooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseFolder(const QString&, const QString&) override { return {}; }
};

#pragma once

#include "common/UserPort.h"

class QWidget;

// Message boxes, the hourglass and the pickers on Qt Widgets, with German buttons.
class QtUserPort : public UserPort {
public:
    // Dialogs are centred on `parent` when one is given (it may change later).
    explicit QtUserPort(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    Answer Message(MsgKind kind, const QString& text, Buttons buttons = Buttons::Ok,
                   const QString& title = {}) override;
    void SetBusy(bool busy) override;
    void ProcessEvents() override;
    [[noreturn]] void EndProgram(int exitCode) override;
    bool InputText(const QString& title, const QString& prompt, QString& value) override;
    QString ChooseOpenFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString ChooseSaveFile(const QString& title, const QString& folder,
                           const QString& filter) override;
    QString ChooseSaveTarget(const QString& title, const QString& folder,
                             const QString& filter) override;
    QString ChooseFolder(const QString& title, const QString& folder) override;

    // Texts of the program use "\r" as line break.
    static QString DisplayText(const QString& text);
    static QString DefaultTitle(MsgKind kind);

private:
    QWidget* m_parent = nullptr;
    bool m_busy = false;
};

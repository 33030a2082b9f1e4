#include "ScriptedUserPort.h"

Answer ScriptedUserPort::Message(MsgKind kind, const QString& text, Buttons buttons,
                                 const QString& title)
{
    messages.append({kind, text, buttons, title});
    if (busy)
        busyWhileMessage = true;
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
        case Buttons::OkAbort:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
    }
    return Answer::Ok;
}

void ScriptedUserPort::SetBusy(bool on)
{
    busy = on;
    if (on)
        ++busyOnCalls;
}

void ScriptedUserPort::EndProgram(int exitCode)
{
    throw ProgramEnded(exitCode);
}

bool ScriptedUserPort::InputText(const QString&, const QString&, QString& value)
{
    if (inputs.empty())
        return false;
    QString next = inputs.front();
    inputs.pop_front();
    if (next == QLatin1String("\x1b"))
        return false;
    value = next;
    return true;
}

static QString TakePick(std::deque<QString>& picks)
{
    if (picks.empty())
        return {};
    QString p = picks.front();
    picks.pop_front();
    return p;
}

QString ScriptedUserPort::ChooseOpenFile(const QString&, const QString&, const QString&)
{
    return TakePick(filePicks);
}

QString ScriptedUserPort::ChooseSaveFile(const QString&, const QString&, const QString&)
{
    return TakePick(filePicks);
}

QString ScriptedUserPort::ChooseFolder(const QString&, const QString&)
{
    return TakePick(filePicks);
}

QStringList ScriptedUserPort::Texts() const
{
    QStringList out;
    for (const Shown& s : messages)
        out << s.text;
    return out;
}

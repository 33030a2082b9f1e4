#include "common/qt/QtUserPort.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>

namespace {

struct ButtonSpec {
    const char* text;
    QMessageBox::ButtonRole role;
    Answer answer;
};

QList<ButtonSpec> ButtonsOf(Buttons buttons)
{
    switch (buttons) {
        case Buttons::Ok:
            return {{"OK", QMessageBox::AcceptRole, Answer::Ok}};
        case Buttons::OkCancel:
            return {{"OK", QMessageBox::AcceptRole, Answer::Ok},
                    {"Abbrechen", QMessageBox::RejectRole, Answer::Cancel}};
        case Buttons::YesNo:
            return {{"Ja", QMessageBox::YesRole, Answer::Yes},
                    {"Nein", QMessageBox::NoRole, Answer::No}};
        case Buttons::YesNoCancel:
            return {{"Ja", QMessageBox::YesRole, Answer::Yes},
                    {"Nein", QMessageBox::NoRole, Answer::No},
                    {"Abbrechen", QMessageBox::RejectRole, Answer::Cancel}};
        case Buttons::OkAbort:
            return {{"OK", QMessageBox::AcceptRole, Answer::Ok},
                    {"Abbrechen", QMessageBox::RejectRole, Answer::Abort}};
    }
    return {{"OK", QMessageBox::AcceptRole, Answer::Ok}};
}

QMessageBox::Icon IconOf(MsgKind kind)
{
    switch (kind) {
        case MsgKind::Error:
            return QMessageBox::Critical;
        case MsgKind::Warning:
            return QMessageBox::Warning;
        case MsgKind::Information:
            return QMessageBox::Information;
        case MsgKind::Confirmation:
            return QMessageBox::Question;
        case MsgKind::Plain:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString QtUserPort::DisplayText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QString QtUserPort::DefaultTitle(MsgKind kind)
{
    switch (kind) {
        case MsgKind::Error:
            return QStringLiteral("Fehler");
        case MsgKind::Warning:
            return QStringLiteral("Warnung");
        case MsgKind::Information:
            return QStringLiteral("Information");
        case MsgKind::Confirmation:
            return QStringLiteral("Bestätigen");
        case MsgKind::Plain:
            break;
    }
    return QStringLiteral("Talven");
}

Answer QtUserPort::Message(MsgKind kind, const QString& text, Buttons buttons, const QString& title)
{
    // A message never shows the hourglass, even when a caller forgot to restore it.
    const bool wasBusy = m_busy;
    if (wasBusy)
        SetBusy(false);
    QMessageBox box(IconOf(kind), title.isEmpty() ? DefaultTitle(kind) : title, DisplayText(text),
                    QMessageBox::NoButton, m_parent);
    QList<QPair<QAbstractButton*, Answer>> map;
    const QList<ButtonSpec> specs = ButtonsOf(buttons);
    for (const ButtonSpec& s : specs)
        map.append({box.addButton(QString::fromUtf8(s.text), s.role), s.answer});
    box.setDefaultButton(qobject_cast<QPushButton*>(map.first().first));
    box.setEscapeButton(map.last().first);
    box.exec();
    Answer answer = map.last().second;
    for (const auto& [button, a] : map) {
        if (box.clickedButton() == button)
            answer = a;
    }
    if (wasBusy)
        SetBusy(true);
    return answer;
}

void QtUserPort::SetBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUserPort::ProcessEvents()
{
    QApplication::processEvents();
}

void QtUserPort::EndProgram(int exitCode)
{
    // Every option and table write reached its file already.
    std::exit(exitCode);
}

bool QtUserPort::InputText(const QString& title, const QString& prompt, QString& value)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(DisplayText(prompt));
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (title.contains(QLatin1String("Passwort"), Qt::CaseInsensitive))
        dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString QtUserPort::ChooseOpenFile(const QString& title, const QString& folder,
                                   const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, folder, filter);
}

QString QtUserPort::ChooseSaveFile(const QString& title, const QString& folder,
                                   const QString& filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, folder, filter);
}

QString QtUserPort::ChooseSaveTarget(const QString& title, const QString& folder,
                                     const QString& filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, folder, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtUserPort::ChooseFolder(const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(m_parent, title, folder);
}

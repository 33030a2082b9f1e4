#pragma once

#include <QDialog>
#include <functional>

#include "appointments/TTerminEditDlgForm.h"
#include "common/qt/FormBinding.h"
#include "texts/TNotizDlgForm.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;
class UserPort;

// "Patienten": opens the notes of the appointment's customer; what is handed over there
// goes to the text block through the form.
using NotesOpener = std::function<void(TTerminEditDlgForm& form, QWidget* parent)>;

// What the notes hand over from the "Patienten" button: the marked cell becomes the text
// block, and the notes close.
class TextBlockHandOver : public NotesHandOver {
public:
    explicit TextBlockHandOver(TTerminEditDlgForm& form) : m_form(form) {}
    QString ButtonCaption() const override
    {
        return QStringLiteral("Markierte Zelle übernehmen...");
    }
    void TakeOver(const QString& text) override { m_form.TakeOverBlock(text); }
    bool ClosesNotes() const override { return true; }

private:
    TTerminEditDlgForm& m_form;
};

// The dialog "Termin" in every mode: it shows the fields the mode needs and leaves every
// rule to TTerminEditDlgForm.
class TTerminEditDlg : public QDialog {
    Q_OBJECT
public:
    TTerminEditDlg(TTerminEditDlgForm& form, UserPort& port, NotesOpener notes = {},
                   QWidget* parent = nullptr);

    QLineEdit* Editor(int id) const { return m_binding.Editor(id); }
    QCheckBox* ReminderBox() const { return m_reminderBox; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* NotesButton() const { return m_notes; }

private:
    void Refresh();
    void OkClicked();

    TTerminEditDlgForm& m_form;
    UserPort& m_port;
    NotesOpener m_openNotes;
    FormBinding m_binding;
    QCheckBox* m_reminderBox = nullptr;
    QToolButton* m_chooseFile = nullptr;
    QPushButton* m_notes = nullptr;
    QPushButton* m_ok = nullptr;
};

// The edit dialog as the core runs it.
class QtTerminEditRunner : public TerminEditRunner {
public:
    QtTerminEditRunner(UserPort& port, QWidget* parent, NotesOpener notes = {})
        : m_port(port), m_parent(parent), m_notes(std::move(notes))
    {
    }
    bool Run(TTerminEditDlgForm& form) override;

private:
    UserPort& m_port;
    QWidget* m_parent;
    NotesOpener m_notes;
};

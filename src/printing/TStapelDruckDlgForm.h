#pragma once

#include <QString>

// The batch print dialog ("Stapeldruck: ..."): whether the documents of a batch go to the
// standard printer or, for customers with an e-mail address, to the mail printer. Shared by
// the batch runs of invoices and reminders and by the appointment letters.
class TStapelDruckDlgForm {
public:
    struct Setup {
        QString caption;          // "Stapeldruck: Rechnungen", "Stapeldruck: Terminsache", ...
        QString standardPrinter;  // its name
        QString mailPrinter;      // empty: no mail printer installed
        // The mail choice's text when a mail printer is installed; empty gives "E-Mail auf "
        // + name + ", wenn Mail-Adresse hinterlegt ist".
        QString mailCaption;
    };

    explicit TStapelDruckDlgForm(Setup setup) : m_setup(std::move(setup)) {}

    QString Caption() const { return m_setup.caption; }
    QString PrintCaption() const { return QStringLiteral("Druck auf ") + m_setup.standardPrinter; }
    QString MailCaption() const;
    bool MailEnabled() const { return !m_setup.mailPrinter.isEmpty(); }
    // The note under a disabled mail choice.
    bool NoteVisible() const { return !MailEnabled(); }
    static QString Note()
    {
        return QStringLiteral(
            "( Der Versand als PDF-Datei per E-Mail ist nur mit optionaler Software möglich! )");
    }
    QString Hint() const;

    bool Mail() const { return m_mail; }
    void SetMail(bool on) { m_mail = on && MailEnabled(); }

private:
    Setup m_setup;
    bool m_mail = false;
};

// Shows the dialog; true for "Start", false for "Abbrechen".
class BatchPrintDialogRunner {
public:
    virtual ~BatchPrintDialogRunner() = default;
    virtual bool Run(TStapelDruckDlgForm& form) = 0;
};

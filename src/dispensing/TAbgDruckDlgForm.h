#pragma once

#include <QString>

// The print choice of a dispensing record (`TAbgDruckDlg`): twice on the standard printer,
// or as a PDF by e-mail through the mail printer with a duplicate on the standard printer.
class TAbgDruckDlgForm {
public:
    struct Setup {
        QString standardPrinter;
        QString mailPrinter;  // empty: no mail printer installed
        QString number;       // "0007"
        QString year;         // "2026"
        QString keeperLine;
        bool hasMedication = false;  // a data row names a medication (column 2)
        bool keeperHasEmail = false;
    };

    void Open(const Setup& setup);

    QString Label() const { return m_label; }
    QString StandardCaption() const { return m_standardCaption; }
    QString MailCaption() const { return m_mailCaption; }
    QString Note() const { return m_note; }
    bool StandardEnabled() const { return m_standardEnabled; }
    bool MailEnabled() const { return m_mailEnabled; }
    bool StandardChecked() const { return m_standardChecked; }
    bool MailChecked() const { return m_mailChecked; }
    // The two choices exclude each other; a disabled one cannot be chosen.
    void ChooseStandard();
    void ChooseMail();
    // OK: the mail flag.
    bool Ok() const { return m_mailChecked && m_mailEnabled; }

private:
    QString m_label, m_standardCaption, m_mailCaption, m_note;
    bool m_standardEnabled = true, m_mailEnabled = true;
    bool m_standardChecked = true, m_mailChecked = false;
};

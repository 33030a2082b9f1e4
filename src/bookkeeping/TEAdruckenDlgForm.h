#pragma once

#include <QString>

#include "bookkeeping/Journal.h"
#include "bookkeeping/JournalSelection.h"

// The print choice of the journal view: the month's list (printed or written to a file,
// with or without the balances) or the VAT pre-return, and what the selection covers.
class TEAdruckenDlgForm {
public:
    enum class Choice { List, VatReturn };

    // splitVatReturn: the practice and the pharmacy get a return each.
    TEAdruckenDlgForm(journal::Kind kind, const journal::JournalSelection& selection,
                      bool splitVatReturn, const QString& printerName);

    void SetChoice(Choice choice);
    Choice CurrentChoice() const { return m_choice; }

    QString Caption() const;   // "Drucken: Einnahmen" or "Drucken: Umsatzsteuer-Voranmeldung"
    QString ListText() const;  // "Einnahmen - Liste"
    static QString VatReturnText() { return QStringLiteral("Umsatzsteuer-Voranmeldung"); }
    QString PeriodLine() const;  // "15. März 2024", the return "März 2024"
    QString BusinessLine() const;
    QString AccountLine() const;  // empty for the return, which covers both
    QString PrinterLine() const;  // "(Druck auf " + printer + ")", shortened when long

    // Both off at opening and for the return.
    bool ToFile() const { return m_toFile; }
    bool WithBalances() const { return m_withBalances; }
    bool OptionsEnabled() const { return m_choice == Choice::List; }
    void SetToFile(bool on);
    void SetWithBalances(bool on);

private:
    journal::Kind m_kind;
    journal::JournalSelection m_selection;
    bool m_split;
    QString m_printer;
    Choice m_choice = Choice::List;
    bool m_toFile = false;
    bool m_withBalances = false;
};

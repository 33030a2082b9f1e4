#pragma once

#include <QString>
#include <QStringList>

class KeyValueSettings;

// Letterhead data of one business from the options (section "Optionen"), the bank lines
// labelled for the print.
struct BusinessData {
    QString name, firm, street, town, phone, fax;
    QString bank, iban, bic;
    QString extra1, extra2;
    // The payment code reads the account as typed, not as labelled for the print.
    QString accountIban, accountBic, holder;
};
BusinessData BusinessFromOptions(const KeyValueSettings& options, bool pharmacy);
// The pharmacy is set up as a second business once its name is set.
bool PharmacySetUp(const KeyValueSettings& options);

// The undecided form of address that the customer and letterhead dialogs start with
// ("Frau / Herrn / Firma" and its variants) names nobody: letters and invoices print no
// salutation line for it. Any other text prints as it stands.
bool IsUndecidedSalutation(const QString& salutation);
QString PrintedSalutation(const QString& salutation);

// The bank lines as printed: a bare IBAN or BIC gets its label ("IBAN: ", "BIC: "); a
// line that is no IBAN or BIC, or that names itself already, stays as typed.
QString LabelledIban(const QString& line);
QString LabelledBic(const QString& line);

// The name line of a letter: first name, a blank and the name, one leading blank removed
// so that a missing first name leaves no gap.
QString AddresseeNameLine(const QString& firstName, const QString& name);

// What goes into the 17 letterhead slots of a letter on TPrintStrList. The switches leave
// the firm line, the telephone lines (with the further lines) and the bank data empty.
struct LetterSlotsInput {
    BusinessData business;
    bool firmLine = true;
    bool phoneLines = true;
    bool bankData = true;
    QStringList addressee;  // up to four lines: first, second, street, town
    QString subject;
    QString subject2;
};
QStringList LetterSlots(const LetterSlotsInput& input);

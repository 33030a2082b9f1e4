#pragma once

#include <QString>
#include <QStringList>

class KeyValueSettings;

// Letterhead data of one business from the options (section "Optionen").
struct BusinessData {
    QString name, firm, street, town, phone, fax;
    QString bank, iban, bic;
    QString holder;  // account holder of the payment code
    QString extra1, extra2;
};
BusinessData BusinessFromOptions(const KeyValueSettings& options, bool pharmacy);
// The pharmacy is set up as a second business once its name is set.
bool PharmacySetUp(const KeyValueSettings& options);

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

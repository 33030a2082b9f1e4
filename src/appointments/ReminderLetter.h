#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class KeyValueSettings;

// The reminder letter of an appointment: a letter of the texts folder whose "TTT" is the
// appointment's text block, with the practice letterhead and the customer's address.
namespace reminders {

inline const QString kPlaceholder = QStringLiteral("TTT");
// The letter proposed when the reminder box is ticked.
inline const QString kDefaultLetter = QStringLiteral("ImpfErg.tlv");

struct Letter {
    QStringList lines;
    QString subject;  // field 7 of the header line; empty without one
};
// The file's lines without the header line, the first "TTT" of every line replaced.
Letter Compose(const QStringList& fileLines, const QString& block);

// The customer record for an appointment's customer number (compared as integers; a
// number that is no integer counts as 0, which is nobody); -1 when there is none.
int FindCustomer(const QStringList& customerLines, const QString& number);

// The 17 letterhead slots: practice data (the pharmacy's for a customer marked "(A)"),
// the customer's salutation, name line, street and town, bank data, the subject and the
// further lines. Without a customer the addressee slots stay empty.
QStringList Slots(const KeyValueSettings& options, const QString& customerLine,
                  const QString& subject);

// What the mail printer reads at the top of the first page.
QString MailControlSequence(const QHash<QString, QString>& codes, const QString& address);

}  // namespace reminders

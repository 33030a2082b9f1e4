#pragma once

#include <QString>
#include <QStringList>

// The letterhead of a letter: sender, addressee, date, subject and the three print
// switches, as the letterhead dialog edits it and the header line stores it.
struct LetterHead {
    bool pharmacy = false;  // the pharmacy set of the practice data is the sender
    QString salutation = DefaultSalutation();
    QString firstName;
    QString name;
    QString street;
    QString town;
    QString date;  // empty: none set
    QString title;
    bool bank = true;
    bool phone = true;
    bool firm = true;

    static QString DefaultSalutation() { return QStringLiteral("Frau / Herrn / Firma"); }
    bool operator==(const LetterHead&) const = default;
};

// The header line of a ".tlv" document: the marker bytes 0x85 0x86 0x85, ten fields each
// followed by 0x85 (the last by 0x86). In code page 1252 these bytes are '…' and '†'.
namespace tlvheader {

inline constexpr QChar kField = QChar(0x2026);  // 0x85
inline constexpr QChar kEnd = QChar(0x2020);    // 0x86
QString Marker();

bool IsHeaderLine(const QString& line);
QString Build(const LetterHead& head);
LetterHead Parse(const QString& line);
// Field n (1-based) of a header line; the appointment letters read field 7 as subject.
QString Field(const QString& line, int n);

// "Name, Vorname, Straße, PLZ Ort" as the workspace shows a set letterhead, without the
// parts that are empty; "Titel: " + subject when only the subject is set.
QString Label(const LetterHead& head);

// The salutation stands above the name line (slot 6) when it is one of the usual forms of
// address or begins with "An"; any other text is a second address line below the name.
bool SalutationFirst(const QString& salutation);
// Slots 6 and 7 of the letter: salutation and name line in the order of the rule above.
QStringList AddresseeLines(const LetterHead& head);

}  // namespace tlvheader

#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

#include "printing/Letterhead.h"
#include "printing/PrintCanvas.h"

class KeyValueSettings;

// The payment code of invoices and reminders: a SEPA credit transfer as a banking app reads
// it from paper (the European Payments Council's QR code, version 002, UTF-8).
namespace girocode {

// The IBAN without blanks, in capitals.
QString CompactIban(const QString& text);
// True when the text (blanks and lower case allowed) is an IBAN whose check digits hold
// (ISO 7064 mod 97-10).
bool IbanValid(const QString& text);

inline const QString kIbanInvalid = QStringLiteral(
    "Die IBAN ist ungültig: die Prüfziffern stimmen nicht.\r"
    "Bitte prüfen Sie die Eingabe. Ohne gültige IBAN wird kein GiroCode gedruckt.");

struct Transfer {
    QString holder;  // account holder, at most 70 characters
    QString iban;    // compact
    QString bic;     // may be empty
    QString amount;  // "123.45"
    QString remittance;
};

// The code's text: the fields in their fixed order, one a line (LF), nothing after the
// remittance text.
QByteArray Payload(const Transfer& transfer);

// The transfer for an open amount in the card's currency; none when the switch is off,
// the currency is not Euro, nothing is open or the business has no valid IBAN.
std::optional<Transfer> TransferFor(const BusinessData& business, bool enabled,
                                    const QString& currency, long double open,
                                    const QString& cardKey, const QString& invoiceDate);

// The switch "GiroCode drucken" of the options (on unless switched off).
bool Enabled(const KeyValueSettings& options);

// The QR symbol of a text (byte mode, error correction level M), one entry per module;
// empty when the text does not fit.
MonoBitmap Encode(const QByteArray& data);

// Printed edge of the code, millimetres (the quiet zone included).
inline constexpr int kSizeMm = 30;

}  // namespace girocode

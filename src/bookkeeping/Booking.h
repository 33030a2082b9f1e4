#pragma once

#include <QDate>
#include <QString>
#include <optional>

// One record of an income or expense journal.
namespace journal {

struct Booking {
    // "E" Euro or "D" DM: the currency of the amounts. The record cards name it when they
    // hand a booking over; a record read from a file is in the file's currency.
    QString currency;
    QDate date;
    QString receipt;   // card key of a system booking, or a voucher; "*" ends a manual one
    QString customer;  // customer text or description; "(A) " at its start: the pharmacy's
    long double net = 0;
    QString rate;  // VAT rate in percent as the booking names it; rates are grouped by this text
    long double gross = 0;
    QString kind;  // "B" cash, "S" cheque, "Ü" transfer

    bool operator==(const Booking&) const = default;
};

// Amounts as bookings are handed over, and as a conversion into another currency keeps them.
inline const QString kCentsFormat = QStringLiteral("0.00");
inline const QString kExactFormat = QStringLiteral("0.00000");

// The journal line: the seven cells, each followed by a TAB (the currency is the file's).
QString FormatBookingLine(const Booking& booking, const QString& amountFormat = kCentsFormat);
// A journal line as a booking without currency; nothing when its date or an amount cannot be
// read.
std::optional<Booking> ParseBookingLine(const QString& line);

}  // namespace journal

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "bookkeeping/Booking.h"

class UserPort;

// The income and expense journals: one file per month and kind, "Z" + month + year + kind
// + currency letter ("Z32026.zae", "Z122026.aud").
namespace journal {

enum class Kind { Income, Expense };

// The file of a month: an existing Euro file, else an existing DM file, else a new name
// with the upper-case letter of the current currency. Existing names keep their case.
QString JournalFileName(const QString& dataFolder, int month, int year, Kind kind,
                        const QString& currentCurrency);

// Converts gross and net of the booking into the currency of the file (its last letter):
// the gross times the DM rate (or its reciprocal), the net from it by the rate. False, and
// the booking unchanged, when the currencies agree or the rate is no number.
bool ConvertBookingCurrency(const QString& fileName, Booking& booking, long double dmRate);

// Converts every record of a month by the factor: the gross times the factor, the net from
// it by the record's rate, both with five decimals. Returns the index of the first record
// whose rate or gross is no number, leaving all lines as they were; -1 when all converted.
int ConvertMonthLines(QStringList& lines, long double factor);

// Appends a line to an existing file (the table engine's AppendChangeLine); false when the
// line did not arrive.
using AppendLineFn = std::function<bool(const QString& path, const QString& line)>;

// Hands a booking of the record cards to the income journal of its date's month: the file
// is created empty when missing, the booking converted to the file's currency and "+" +
// record appended, its amounts in cents as handed over or with five decimals when converted.
// False when the date is no date, the file cannot be created or the line did not arrive
// (then nothing was written).
bool AppendBooking(const QString& dataFolder, const Booking& booking,
                   const QString& currentCurrency, long double dmRate,
                   const AppendLineFn& appendChangeLine);

// Once a year at start-up: journals of the years eleven to sixteen back are offered for
// deletion. True when there were none, or the person agreed (they are deleted then); false
// when the person declined, so the question comes again at the next start.
bool OfferJournalDeletion(const QString& dataFolder, int currentYear, UserPort& port);

}  // namespace journal

#pragma once

#include <QString>
#include <functional>

// The income and expense journals: one file per month and kind, "Z" + month + year + kind
// + currency letter ("Z32026.zae", "Z122026.aud").
namespace journal {

enum class Kind { Income, Expense };

// The file of a month: an existing Euro file, else an existing DM file, else a new name
// with the upper-case letter of the current currency. Existing names keep their case.
QString JournalFileName(const QString& dataFolder, int month, int year, Kind kind,
                        const QString& currentCurrency);

// A booking is a currency letter ("E" or "D") followed by the seven cells, each ended by a
// TAB. Converts gross and net into the currency of the file (its last letter); a booking
// whose rate or gross is no number is returned unchanged.
QString ConvertBookingCurrency(const QString& fileName, const QString& booking, long double dmRate);

// Appends a line to an existing file (the table engine's AppendChangeLine).
using AppendLineFn = std::function<void(const QString& path, const QString& line)>;

// Hands a booking to the income journal of its date's month: the file is created empty
// when missing, the booking converted to the file's currency, its letter dropped, and
// "+" + record appended. False (and nothing written) when the date is no date or the file
// cannot be created.
bool AppendBooking(const QString& dataFolder, const QString& booking,
                   const QString& currentCurrency, long double dmRate,
                   const AppendLineFn& appendChangeLine);

}  // namespace journal

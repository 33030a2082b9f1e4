#pragma once

#include <QDate>
#include <QString>

// Dates are "dd.MM.yyyy" throughout the program.
namespace dates {

QString Format(const QDate& date);  // dd.MM.yyyy, empty for an invalid date

// Reads a date typed or stored as day.month.year: one- or two-digit day and month,
// two- or four-digit year (two-digit years below 80 are 20yy, from 80 on 19yy), blanks
// around. Returns false for anything else, including impossible dates.
bool TryParse(const QString& text, QDate* date);

// A typed date normalised to "dd.MM.yyyy"; an empty string when it is no date.
QString Normalize(const QString& text);

// German long date, e.g. "Dienstag, 8. Dezember 2026".
QString LongGerman(const QDate& date);
QString WeekdayName(int dayOfWeek);  // 1 = Montag
QString MonthName(int month);        // 1 = Januar

}  // namespace dates

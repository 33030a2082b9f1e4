#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The appointments of one month as record lines (columns in table/RecordLine.h), and the
// rules every scan over them shares: a record whose date or time cannot be read neither
// counts nor stops a search.
namespace appointments {

inline const QString kFolder = QStringLiteral("Termin");
inline constexpr int kFirstYear = 1980;
inline constexpr int kLastYear = 2099;

// "T3_2026.ter" for March 2026: month and year without leading zeros.
QString MonthFileName(int month, int year);

// One appointment as the edit dialog fills it.
struct Appointment {
    QString date;
    QString time;
    QString text;
    QString customer;
    QString reminder;
    QString block;
    QString printed;
    bool operator==(const Appointment&) const = default;
};
Appointment FromLine(const QString& line);
QString LineOf(const Appointment& a);

// Where an appointment starts; an empty time is the start of its day. False when the
// date or the time cannot be read.
bool StartOf(const QString& line, QDateTime* start);

// Index for a new appointment: right after the last record, scanning from the end, that is
// not later than `start` (so equal ones stay first), at the top when all are later.
int InsertPosition(const QStringList& lines, const QDateTime& start);
// The first appointment at or after `reference`; the last when none is; -1 when there are
// no readable records.
int FirstAtOrAfter(const QStringList& lines, const QDateTime& reference);
// Appointments on the day, whatever their time.
int CountOn(const QStringList& lines, const QDate& day);
// The main window's button: "Heute liegt 1 Termin vor ...", "Heute liegen n Termine vor
// ..."; empty for none (the button is hidden).
QString TodayButtonText(int count);

// The grid's marker column: "E" with a reminder letter set, "E!" once it was printed.
QString Marker(const QString& line);

// A typed time: "9" becomes "09:00", "14:5" becomes "14:05". False for anything that is no
// time of day (25:00, 9.30, 14:).
bool NormalizeTime(const QString& typed, QString* normalized);

// Month and year navigation of the calendar. The day is lowered where the target month is
// shorter; a date that still cannot be formed (29 February, one year on) stays where it is
// and `error` says so. The calendar keeps to the years 1980 to 2099.
struct Step {
    QDate date;     // the new calendar date (the old one when nothing changed)
    QString error;  // shown when the date could not be formed
};
Step StepMonth(const QDate& from, int delta);
Step StepYear(const QDate& from, int delta);

}  // namespace appointments

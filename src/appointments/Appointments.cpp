#include "appointments/Appointments.h"

#include <algorithm>

#include "common/DateUtil.h"
#include "table/RecordLine.h"

using namespace recordline;

namespace appointments {

QString MonthFileName(int month, int year)
{
    return QStringLiteral("T%1_%2.ter").arg(month).arg(year);
}

Appointment FromLine(const QString& line)
{
    const QStringList c = Split(line, kAppointmentCells);
    return {c[kTermDate - 1],     c[kTermTime - 1],  c[kTermText - 1],   c[kTermCustomer - 1],
            c[kTermReminder - 1], c[kTermBlock - 1], c[kTermPrinted - 1]};
}

QString LineOf(const Appointment& a)
{
    return Join({a.date, a.time, a.text, a.customer, a.reminder, a.block, a.printed});
}

namespace {

bool ParseTime(QStringView text, QTime* time)
{
    const QList<QStringView> parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i];
        if (part.isEmpty() || part.size() > 2)
            return false;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        numbers[i] = part.toInt();
    }
    const QTime parsed(numbers[0], numbers[1], numbers[2]);
    if (!parsed.isValid())
        return false;
    *time = parsed;
    return true;
}

}  // namespace

bool StartOf(const QString& line, QDateTime* start)
{
    QDate date;
    if (!dates::TryParse(CellView(line, kTermDate).toString(), &date))
        return false;
    const QStringView timeText = CellView(line, kTermTime).trimmed();
    QTime time(0, 0);
    if (!timeText.isEmpty() && !ParseTime(timeText, &time))
        return false;
    *start = QDateTime(date, time);
    return true;
}

int InsertPosition(const QStringList& lines, const QDateTime& start)
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        QDateTime at;
        if (StartOf(lines[i], &at) && at <= start)
            return int(i + 1);
    }
    return 0;
}

int FirstAtOrAfter(const QStringList& lines, const QDateTime& reference)
{
    int last = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QDateTime at;
        if (!StartOf(lines[i], &at))
            continue;
        if (at >= reference)
            return int(i);
        last = int(i);
    }
    return last;
}

int CountOn(const QStringList& lines, const QDate& day)
{
    int count = 0;
    for (const QString& line : lines) {
        QDateTime at;
        if (StartOf(line, &at) && at.date() == day)
            ++count;
    }
    return count;
}

QString TodayButtonText(int count)
{
    if (count <= 0)
        return {};
    if (count == 1)
        return QStringLiteral("Heute liegt 1 Termin vor ...");
    return QStringLiteral("Heute liegen %1 Termine vor ...").arg(count);
}

QString Marker(const QString& line)
{
    if (CellView(line, kTermReminder).isEmpty())
        return {};
    return CellView(line, kTermPrinted).isEmpty() ? QStringLiteral("E") : QStringLiteral("E!");
}

bool NormalizeTime(const QString& typed, QString* normalized)
{
    QString text = typed.trimmed();
    if (!text.contains(QLatin1Char(':')))
        text += QStringLiteral(":00");
    QTime time;
    if (!ParseTime(text, &time))
        return false;
    *normalized = time.toString(QStringLiteral("HH:mm"));
    return true;
}

namespace {

Step Form(const QDate& from, int day, int month, int year)
{
    const QDate to(year, month, day);
    if (!to.isValid()) {
        return {from,
                QStringLiteral("%1.%2.%3 ist keine gültiges Datum!").arg(day).arg(month).arg(year)};
    }
    return {to, {}};
}

}  // namespace

Step StepMonth(const QDate& from, int delta)
{
    int month = from.month() + (delta < 0 ? -1 : 1);
    int year = from.year();
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    if (year < kFirstYear || year > kLastYear)
        return {from, {}};
    int day = from.day();
    if (month == 2)
        day = std::min(day, 28);
    else if (month == 4 || month == 6 || month == 9 || month == 11)
        day = std::min(day, 30);
    return Form(from, day, month, year);
}

Step StepYear(const QDate& from, int delta)
{
    const int year = from.year() + (delta < 0 ? -1 : 1);
    if (year < kFirstYear || year > kLastYear)
        return {from, {}};
    return Form(from, from.day(), from.month(), year);
}

}  // namespace appointments

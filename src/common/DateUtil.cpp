#include "common/DateUtil.h"

#include <QStringList>

namespace dates {

QString Format(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

bool TryParse(const QString& text, QDate* date)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 3)
        return false;
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part.size() > (i == 2 ? 4 : 2))
            return false;
        // A year of one or three digits is a typing error, not the years 2 or 202.
        if (i == 2 && part.size() != 2 && part.size() != 4)
            return false;
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        numbers[i] = part.toInt();
    }
    int year = numbers[2];
    if (parts[2].size() <= 2)
        year += year < 80 ? 2000 : 1900;
    const QDate parsed(year, numbers[1], numbers[0]);
    if (!parsed.isValid())
        return false;
    *date = parsed;
    return true;
}

QString Normalize(const QString& text)
{
    QDate d;
    return TryParse(text, &d) ? Format(d) : QString();
}

QString WeekdayName(int dayOfWeek)
{
    static const char* const kNames[] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                         "Freitag", "Samstag",  "Sonntag"};
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return {};
    return QString::fromLatin1(kNames[dayOfWeek - 1]);
}

QString MonthName(int month)
{
    static const char16_t* const kNames[] = {u"Januar",    u"Februar", u"März",     u"April",
                                             u"Mai",       u"Juni",    u"Juli",     u"August",
                                             u"September", u"Oktober", u"November", u"Dezember"};
    if (month < 1 || month > 12)
        return {};
    return QString::fromUtf16(kNames[month - 1]);
}

QString LongGerman(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1, %2. %3 %4")
        .arg(WeekdayName(date.dayOfWeek()))
        .arg(date.day())
        .arg(MonthName(date.month()))
        .arg(date.year());
}

}  // namespace dates

#include "bookkeeping/Journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "platform/Files.h"

namespace journal {

namespace {

QString BaseName(int month, int year, Kind kind)
{
    return QLatin1Char('Z') + QString::number(month) + FormatFloat(QStringLiteral("0000"), year) +
           (kind == Kind::Income ? QStringLiteral(".za") : QStringLiteral(".au"));
}

bool IsFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

}  // namespace

QString JournalFileName(const QString& dataFolder, int month, int year, Kind kind,
                        const QString& currentCurrency)
{
    const QString base = BaseName(month, year, kind);
    const QString euro = files::FindCaseInsensitive(dataFolder, base + QLatin1Char('e'));
    if (IsFile(euro))
        return euro;
    const QString dm = files::FindCaseInsensitive(dataFolder, base + QLatin1Char('d'));
    if (IsFile(dm))
        return dm;
    return QDir(dataFolder).filePath(base + currentCurrency.left(1).toUpper());
}

QString ConvertBookingCurrency(const QString& fileName, const QString& booking, long double dmRate)
{
    const QString fileLetter = fileName.right(1).toUpper();
    const QString bookingLetter = booking.left(1).toUpper();
    if (fileLetter == bookingLetter)
        return booking;
    long double factor = 1;
    if (fileLetter == QStringLiteral("D") && bookingLetter == QStringLiteral("E"))
        factor = dmRate;
    else if (fileLetter == QStringLiteral("E") && bookingLetter == QStringLiteral("D"))
        factor = 1 / dmRate;

    QStringList cells = booking.split(QLatin1Char('\t'));
    if (cells.size() < 7)
        return booking;
    long double rate = 0;
    long double gross = 0;
    if (!TryStrToFloat(cells[4], &rate) || !TryStrToFloat(cells[5], &gross))
        return booking;
    const long double newGross = gross * factor;
    cells[5] = FormatFloat(QStringLiteral("0.00000"), newGross);
    cells[3] = FormatFloat(QStringLiteral("0.00000"), newGross / (rate / 100 + 1));
    return cells.join(QLatin1Char('\t'));
}

bool AppendBooking(const QString& dataFolder, const QString& booking,
                   const QString& currentCurrency, long double dmRate,
                   const AppendLineFn& appendChangeLine)
{
    QDate date;
    if (!dates::TryParse(booking.mid(1).section(QLatin1Char('\t'), 0, 0), &date))
        return false;
    const QString path =
        JournalFileName(dataFolder, date.month(), date.year(), Kind::Income, currentCurrency);
    if (!IsFile(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    const QString record = ConvertBookingCurrency(path, booking, dmRate).mid(1);
    appendChangeLine(path, QLatin1Char('+') + record);
    return true;
}

}  // namespace journal

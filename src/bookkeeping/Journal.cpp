#include "bookkeeping/Journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool ConvertBookingCurrency(const QString& fileName, Booking& booking, long double dmRate)
{
    const QString fileLetter = fileName.right(1).toUpper();
    const QString bookingLetter = booking.currency.toUpper();
    if (fileLetter == bookingLetter)
        return false;
    long double factor = 1;
    if (fileLetter == QStringLiteral("D") && bookingLetter == QStringLiteral("E"))
        factor = dmRate;
    else if (fileLetter == QStringLiteral("E") && bookingLetter == QStringLiteral("D"))
        factor = 1 / dmRate;
    long double rate = 0;
    if (!TryStrToFloat(booking.rate, &rate))
        return false;
    booking.gross *= factor;
    booking.net = booking.gross / (rate / 100 + 1);
    return true;
}

bool AppendBooking(const QString& dataFolder, const Booking& booking,
                   const QString& currentCurrency, long double dmRate,
                   const AppendLineFn& appendChangeLine)
{
    if (!booking.date.isValid())
        return false;
    const QString path = JournalFileName(dataFolder, booking.date.month(), booking.date.year(),
                                         Kind::Income, currentCurrency);
    if (!IsFile(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    Booking record = booking;
    const bool converted = ConvertBookingCurrency(path, record, dmRate);
    appendChangeLine(path, QLatin1Char('+') +
                               FormatBookingLine(record, converted ? kExactFormat : kCentsFormat));
    return true;
}

}  // namespace journal

#include "bookkeeping/Journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "table/RecordLine.h"

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

int ConvertMonthLines(QStringList& lines, long double factor)
{
    using namespace recordline;
    QStringList converted = lines;
    for (qsizetype i = 0; i < converted.size(); ++i) {
        QString& line = converted[i];
        long double rate = 0;
        long double gross = 0;
        if (!TryStrToFloat(Cell(line, kJourRate), &rate) ||
            !TryStrToFloat(Cell(line, kJourGross), &gross))
            return int(i);
        const long double newGross = gross * factor;
        if (!ReplaceCell(line, kJourGross, FormatFloat(kExactFormat, newGross)) ||
            !ReplaceCell(line, kJourNet, FormatFloat(kExactFormat, newGross / (rate / 100 + 1))))
            return int(i);
    }
    lines = converted;
    return -1;
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
    return appendChangeLine(
        path,
        QLatin1Char('+') + FormatBookingLine(record, converted ? kExactFormat : kCentsFormat));
}

bool OfferJournalDeletion(const QString& dataFolder, int currentYear, UserPort& port)
{
    QStringList old;
    for (int year = currentYear - 11; year >= currentYear - 16; --year) {
        for (int month = 1; month <= 12; ++month) {
            for (const char* ext : {".zae", ".zad", ".aue", ".aud"}) {
                const QString name = QLatin1Char('Z') + QString::number(month) +
                                     QString::number(year) + QLatin1String(ext);
                const QString path = files::FindCaseInsensitive(dataFolder, name);
                if (IsFile(path))
                    old << path;
            }
        }
    }
    if (old.isEmpty())
        return true;
    const QString text = QStringLiteral(
                             "Um die Datenmenge auf Ihrem Speichermedium zu begrenzen,\r"
                             "sollten Sie die E/A-Buchungsdaten älter als 10 Jahre löschen.\r\r"
                             "Alle Buchungsdaten ab ") +
                         QString::number(currentYear - 10) + QStringLiteral(" bleiben erhalten !");
    if (port.Message(MsgKind::Information, text, Buttons::OkCancel) != Answer::Ok)
        return false;
    for (const QString& path : old)
        QFile::remove(path);
    return true;
}

}  // namespace journal

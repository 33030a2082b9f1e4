// Journal records and the numbers in them: a line that reads as a booking is written back
// so that it reads as the same booking; numbers read only in the program's own form.
#include "FuzzSupport.h"
#include "bookkeeping/Booking.h"
#include "common/CodePage.h"
#include "common/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        cp1252::SplitLines(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& line : lines) {
        long double value = 0;
        if (TryStrToFloat(line, &value)) {
            // Only blanks, a sign, digits and one comma are numbers: no exponent, no point.
            fuzz::Check(!line.contains(QLatin1Char('e'), Qt::CaseInsensitive) &&
                            !line.contains(QLatin1Char('.')) && !line.contains(QLatin1Char('\t')),
                        "a number is only digits, sign and one comma");
        }
        const std::optional<journal::Booking> booking = journal::ParseBookingLine(line);
        if (!booking)
            continue;
        for (const QString& format : {journal::kCentsFormat, journal::kExactFormat}) {
            const QString written = journal::FormatBookingLine(*booking, format);
            const std::optional<journal::Booking> again = journal::ParseBookingLine(written);
            fuzz::Check(again.has_value(), "a written booking reads again");
            fuzz::Check(again->date == booking->date && again->receipt == booking->receipt &&
                            again->rate == booking->rate && again->kind == booking->kind,
                        "writing a booking keeps its date, receipt, rate and kind");
            fuzz::Check(journal::FormatBookingLine(*again, format) == written,
                        "a written booking is written the same way again");
        }
    }
    return 0;
}

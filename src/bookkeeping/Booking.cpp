#include "bookkeeping/Booking.h"

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "table/RecordLine.h"

namespace journal {

QString FormatBookingLine(const Booking& booking, const QString& amountFormat)
{
    return recordline::Join({dates::Format(booking.date), booking.receipt, booking.customer,
                             FormatFloat(amountFormat, booking.net), booking.rate,
                             FormatFloat(amountFormat, booking.gross), booking.kind});
}

std::optional<Booking> ParseBookingLine(const QString& line)
{
    using namespace recordline;
    Booking booking;
    if (!dates::TryParse(Cell(line, kJourDate), &booking.date) ||
        !TryStrToFloat(Cell(line, kJourNet), &booking.net) ||
        !TryStrToFloat(Cell(line, kJourGross), &booking.gross))
        return std::nullopt;
    booking.receipt = Cell(line, kJourReceipt);
    booking.customer = Cell(line, kJourCustomer);
    booking.rate = Cell(line, kJourRate);
    booking.kind = Cell(line, kJourKind);
    return booking;
}

}  // namespace journal

#pragma once

#include <QDate>
#include <QString>

#include "bookkeeping/Booking.h"
#include "cards/CardFile.h"
#include "cards/CardHeader.h"

// The invoice register ST_RECHN.DBF (open cards awaiting an invoice) and the dunning
// register ST_MAHN.DBF (invoiced cards with an open amount). A card save keeps both up to
// date with change lines keyed by the card key.
namespace card {

inline const QString kInvoiceRegister = QStringLiteral("ST_RECHN.DBF");
inline const QString kDunningRegister = QStringLiteral("ST_MAHN.DBF");

// "-" + key + TAB: removes the card's record on the next load.
QString RegisterRemoveLine(const QString& key);

// An amount of the card in the system currency: unchanged when the currencies agree,
// else converted with the DM rate and written with five decimals.
QString InSystemCurrency(const QString& amount, const QString& cardCurrency,
                         const QString& systemCurrency, long double dmRate);

// The date of the last dated treatment line, or today.
QDate LastTreatmentDate(const Rows& rows, const QDate& today);
// The last line's remark marks a card closed as a quote.
bool IsQuote(const Rows& rows);

// Six fields: key, customer, customer number, date, invoice gross, batch mark.
QString InvoiceRegisterRecord(const CardState& state, const QDate& date,
                              const QString& systemCurrency, long double dmRate);
// Nine fields: key, customer, customer number, invoice date, invoice gross, open amount,
// reminder marks, batch mark.
QString DunningRegisterRecord(const CardState& state, const QString& systemCurrency,
                              long double dmRate);

// The change lines a save appends to the two registers.
struct RegisterChanges {
    QString invoiceLine;
    QString dunningLine;
};
RegisterChanges RegisterChangesFor(const CardState& state, const Rows& rows, const QDate& today,
                                   const QString& systemCurrency, long double dmRate);

// A payment booking waiting for the next save of its card, in the card's currency.
using PendingBooking = journal::Booking;

}  // namespace card

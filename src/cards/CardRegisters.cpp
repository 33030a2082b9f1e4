#include "cards/CardRegisters.h"

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "table/RecordLine.h"

namespace card {

QString RegisterRemoveLine(const QString& key)
{
    return QLatin1Char('-') + key + QLatin1Char('\t');
}

QString InSystemCurrency(const QString& amount, const QString& cardCurrency,
                         const QString& systemCurrency, long double dmRate)
{
    const QString card = cardCurrency.left(1).toUpper();
    const QString system = systemCurrency.left(1).toUpper();
    long double value = 0;
    if (card == system || !TryStrToFloat(amount, &value) || dmRate == 0)
        return amount;
    if (card == QStringLiteral("D"))
        value /= dmRate;
    else
        value *= dmRate;
    return FormatFloat(QStringLiteral("0.00000"), value);
}

QDate LastTreatmentDate(const Rows& rows, const QDate& today)
{
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        QDate date;
        if (dates::TryParse(it->Cell(kColDate), &date))
            return date;
    }
    return today;
}

bool IsQuote(const Rows& rows)
{
    return !rows.empty() && rows.back().Cell(kColRemark).contains(QStringLiteral("Angebot am "));
}

QString InvoiceRegisterRecord(const CardState& state, const QDate& date,
                              const QString& systemCurrency, long double dmRate)
{
    return recordline::Join(
        {state.key, state.customerText, state.customerNumber, dates::Format(date),
         InSystemCurrency(state.invoiceGross, state.currency, systemCurrency, dmRate), QString()});
}

QString DunningRegisterRecord(const CardState& state, const QString& systemCurrency,
                              long double dmRate)
{
    const QString mark = QStringLiteral("X");
    return recordline::Join(
        {state.key, state.customerText, state.customerNumber, state.invoiceDate,
         InSystemCurrency(state.invoiceGross, state.currency, systemCurrency, dmRate),
         InSystemCurrency(state.openAmountExact, state.currency, systemCurrency, dmRate),
         state.reminder1 ? mark : QString(), state.reminder2 ? mark : QString(), QString()});
}

RegisterChanges RegisterChangesFor(const CardState& state, const Rows& rows, const QDate& today,
                                   const QString& systemCurrency, long double dmRate)
{
    RegisterChanges changes;
    const QString remove = RegisterRemoveLine(state.key);
    if (state.IsInvoiced()) {
        long double open = 0;
        const bool owes = TryStrToFloat(state.openAmountExact, &open) && RoundCents(open) != 0;
        changes.dunningLine =
            owes ? QLatin1Char('+') + DunningRegisterRecord(state, systemCurrency, dmRate) : remove;
        changes.invoiceLine = remove;
    } else {
        long double gross = 0;
        const bool billable = TryStrToFloat(state.invoiceGross, &gross) && gross > 0;
        changes.invoiceLine =
            billable && !IsQuote(rows)
                ? QLatin1Char('+') + InvoiceRegisterRecord(state, LastTreatmentDate(rows, today),
                                                           systemCurrency, dmRate)
                : remove;
        changes.dunningLine = remove;
    }
    return changes;
}

}  // namespace card

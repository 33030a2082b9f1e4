#include "bookkeeping/VatReturn.h"

#include "common/DateUtil.h"
#include "common/NumberFormat.h"

namespace journal {

namespace {

// The amount as printed, and as it counts in the totals.
long double Printed(long double value, QString* text)
{
    *text = FormatFloat(QStringLiteral("0.00"), value);
    long double back = 0;
    TryStrToFloat(*text, &back);
    return back;
}

}  // namespace

QStringList VatReturnSheet(const QStringList& income, const QStringList& expenses,
                           const VatSheetHeader& header,
                           const std::array<long double, 5>& rateOrder, bool* tooManyRates)
{
    QStringList sheet(kVatSheetLines);
    const QString currency = QLatin1Char(' ') + header.currency;
    sheet[kVatTitleLine] = QStringLiteral("Umsatzsteuer-Voranmeldung ") +
                           QString::number(header.year) + QStringLiteral("  -  ") +
                           dates::MonthName(header.month);
    sheet[kVatDateLine] = dates::Format(header.today);
    sheet[kVatBusinessLine] = header.businessLine;

    long double totalTax = 0;
    const JournalSums turnover = SumJournal(income, rateOrder);
    for (int k = 1; k <= kRateSlots; ++k) {
        const RateSlot& slot = turnover.rates[size_t(k - 1)];
        if (!slot.used || slot.net == 0)
            continue;
        const long double base = Trunc(slot.net);
        QString tax;
        totalTax += Printed(base * slot.rateValue / 100, &tax);
        sheet[VatTurnoverLine(k)] = QStringLiteral("zum Steuersatz von ") + slot.Label();
        sheet[VatTurnoverLine(k) + 1] =
            FormatFloat(QStringLiteral("0"), base) + QStringLiteral(",-");
        sheet[VatTurnoverLine(k) + 2] = tax + currency;
    }

    long double totalInput = 0;
    const JournalSums input = SumJournal(expenses, rateOrder);
    for (int k = 1; k <= kRateSlots; ++k) {
        const RateSlot& slot = input.rates[size_t(k - 1)];
        if (!slot.used || slot.net == 0)
            continue;
        QString tax;
        totalInput += Printed(slot.net * slot.rateValue / 100, &tax);
        sheet[VatInputTaxLine(k)] = QStringLiteral("zum Steuersatz von ") + slot.Label();
        sheet[VatInputTaxLine(k) + 1] = tax + currency;
    }

    if (tooManyRates)
        *tooManyRates = turnover.tooManyRates || input.tooManyRates;
    QString text;
    Printed(totalTax, &text);
    sheet[kVatTotalTaxLine] = text + currency;
    Printed(totalInput, &text);
    sheet[kVatTotalInputTaxLine] = text + currency;
    Printed(totalTax - totalInput, &text);
    sheet[kVatRemainingLine] = text + currency;
    return sheet;
}

}  // namespace journal

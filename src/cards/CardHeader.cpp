#include "cards/CardHeader.h"

#include "cards/CardFile.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"

namespace card {

namespace {

const QString kTrue = QStringLiteral("TRUE");
const QString kFalse = QStringLiteral("FALSE");
const QString kZero = QStringLiteral("0,00");

bool IsNumber(const QString& text)
{
    long double value = 0;
    return TryStrToFloat(text, &value);
}

bool IsInteger(const QString& text)
{
    int value = 0;
    return TryStrToInt(text, &value);
}

}  // namespace

bool CardState::IsInvoiced() const
{
    QDate date;
    return dates::TryParse(invoiceDate, &date);
}

bool CardState::HasFrozenSummary() const
{
    return IsInvoiced() && summary.size() >= kFixedSummaryLines &&
           IsNumber(summary[kSumInvoiceGross]);
}

int CardState::CardNumber() const
{
    int number = 0;
    return TryStrToInt(key.mid(5, 3), &number) ? number : 0;
}

bool IsDispensingCustomer(const QString& remark)
{
    return remark.startsWith(QStringLiteral("(A)"));
}

QString NewCardCustomerText(const QString& name, const QString& firstName, const QString& town)
{
    return name + QLatin1Char(' ') + firstName + QStringLiteral(", ") + town;
}

QString CustomerText(const QString& name, const QString& firstName, const QString& town,
                     const QString& remark)
{
    QString text = NewCardCustomerText(name, firstName, town);
    if (!remark.isEmpty())
        text += QStringLiteral(",    Bem.: ") + remark;
    if (IsDispensingCustomer(remark))
        text.prepend(QStringLiteral("(A) "));
    return text;
}

QStringList NewCardHeader(const QString& customerNumber, int cardNumber,
                          const QString& customerText, const QString& currency)
{
    return {Key(customerNumber, cardNumber),
            customerText,
            customerNumber,
            kZero,
            kZero,
            kZero,
            kZero,
            kZero,
            kUnset,
            kUnset,
            currency,
            QStringLiteral("Netto"),
            kFalse,
            kFalse};
}

bool ValidateHeader(const QStringList& header)
{
    if (header.size() < kHdrFirstSummary)
        return false;
    const QString& key = header[kHdrKey];
    if (!IsInteger(key.mid(0, 4)) || !IsInteger(key.mid(5, 3)))
        return false;
    for (int line = kHdrCustomerNumber; line <= kHdrInvoiceGross; ++line) {
        if (!IsNumber(header[line]))
            return false;
    }
    return true;
}

bool ApplyHeader(const QStringList& header, CardState& state)
{
    if (!ValidateHeader(header))
        return false;
    state.key = header[kHdrKey];
    state.customerText = header[kHdrCustomerText];
    state.customerNumber = header[kHdrCustomerNumber];
    state.totalNet = header[kHdrTotalNet];
    state.totalVat = header[kHdrTotalVat];
    state.totalGross = header[kHdrTotalGross];
    state.cashGross = header[kHdrCashGross];
    state.invoiceGross = header[kHdrInvoiceGross];
    state.invoiceDate = header[kHdrInvoiceDate];

    long double open = 0;
    const bool hasOpen = TryStrToFloat(header[kHdrOpenAmount], &open);
    if (hasOpen) {
        state.openAmount = FormatFloat(QStringLiteral("0.00"), open);
        state.openAmountExact = header[kHdrOpenAmount];
    } else {
        state.openAmount = kUnset;
        state.openAmountExact = kUnset;
    }
    state.currency = header[kHdrCurrency];
    state.amountMode = header[kHdrAmountMode];
    state.reminder1 = header[kHdrReminder1] == kTrue;
    state.reminder2 = header[kHdrReminder2] == kTrue;
    state.summary = header.mid(kHdrFirstSummary);

    state.remindersEnabled = hasOpen && !(open > -0.01L && open < 0.01L);
    const bool allFixed = state.summary.size() >= kFixedSummaryLines;
    state.reminder1Hint = allFixed ? state.summary[kSumDate1] : QString();
    state.reminder2Hint = allFixed ? state.summary[kSumDate2] : QString();
    if (allFixed && state.reminder2)
        state.reminderLabel = QStringLiteral("2 am   ") + state.summary[kSumDate2];
    else if (allFixed && state.reminder1)
        state.reminderLabel = QStringLiteral("1 am   ") + state.summary[kSumDate1];
    else
        state.reminderLabel = QStringLiteral("        - - - ");
    return true;
}

QStringList BuildHeader(const CardState& state)
{
    QStringList header{state.key,
                       state.customerText,
                       state.customerNumber,
                       state.totalNet,
                       state.totalVat,
                       state.totalGross,
                       state.cashGross,
                       state.invoiceGross,
                       state.invoiceDate,
                       state.openAmountExact,
                       state.currency,
                       state.IsGross() ? QStringLiteral("Brutto") : QStringLiteral("Netto"),
                       state.reminder1 ? kTrue : kFalse,
                       state.reminder2 ? kTrue : kFalse};
    header += state.summary;
    return header;
}

bool CorrectHeaderKey(QStringList& header, int cardNumber)
{
    if (header.isEmpty())
        return false;
    const QString corrected = header[kHdrKey].left(5) + NumberText(cardNumber);
    if (corrected == header[kHdrKey])
        return false;
    header[kHdrKey] = corrected;
    return true;
}

void PadSummary(QStringList& summary)
{
    if (summary.size() >= kFixedSummaryLines)
        return;
    while (summary.size() < kFixedSummaryLines)
        summary << QString();
    for (int line = kSumFee1; line <= kSumDate2; ++line)
        summary[line] = kUnset;
}

QDate PaymentDate(const QString& line)
{
    if (line.contains(QStringLiteral("ausgebucht")))
        return {};
    const qsizetype am = line.indexOf(QStringLiteral("am"));
    if (am < 0)
        return {};
    const qsizetype comma = line.indexOf(QLatin1Char(','), am);
    const QString dateText = line.mid(am + 2, comma < 0 ? -1 : comma - am - 2);
    QDate date;
    if (!dates::TryParse(dateText, &date))
        return {};
    return date;
}

QStringList PaymentLines(const QStringList& summary)
{
    QStringList lines;
    for (qsizetype i = kSumFirstPayment; i < summary.size(); ++i) {
        if (PaymentDate(summary[i]).isValid())
            lines << summary[i];
    }
    return lines;
}

QList<QDate> PaymentMonths(const QStringList& paymentLines)
{
    QList<QDate> months;
    for (const QString& line : paymentLines) {
        const QDate date = PaymentDate(line);
        const QDate month(date.year(), date.month(), 1);
        if (!months.contains(month))
            months << month;
    }
    return months;
}

bool ParsePaymentLine(const QString& line, PaymentLine* payment)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    long double amount = 0;
    if (!TryStrToFloat(words[0], &amount))
        return false;
    payment->amount = amount;
    payment->currency = words.size() > 1 ? words[1] : QStringLiteral("Euro");
    payment->cash = line.right(3).toUpper() == QStringLiteral("BAR");
    return true;
}

}  // namespace card

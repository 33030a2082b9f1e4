#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The header block of a record card (the lines after "---KOPF---") and the state it gives
// the card. Line 14 and following hold the invoice summary lines.
namespace card {

enum HeaderLine {
    kHdrKey = 0,
    kHdrCustomerText = 1,
    kHdrCustomerNumber = 2,
    kHdrTotalNet = 3,
    kHdrTotalVat = 4,
    kHdrTotalGross = 5,
    kHdrCashGross = 6,
    kHdrInvoiceGross = 7,
    kHdrInvoiceDate = 8,
    kHdrOpenAmount = 9,
    kHdrCurrency = 10,
    kHdrAmountMode = 11,
    kHdrReminder1 = 12,
    kHdrReminder2 = 13,
    kHdrFirstSummary = 14,
};

enum SummaryLine {
    kSumInvoiceNet = 12,
    kSumInvoiceVat = 13,
    kSumInvoiceGross = 14,
    kSumOtherCurrency = 15,
    kSumFee1 = 16,
    kSumDate1 = 17,
    kSumFee2 = 18,
    kSumDate2 = 19,
    kSumFirstPayment = 20,
};
inline constexpr int kFixedSummaryLines = 20;

// What the card shows of its header.
struct CardState {
    QString key;  // "0012/007"
    QString customerText;
    QString customerNumber;  // 4 digits
    // The sums as displayed ("0.00").
    QString totalNet;
    QString totalVat;
    QString totalGross;
    QString cashGross;
    QString invoiceGross;
    QString invoiceDate;      // "- - -" while open
    QString openAmount;       // shown: "0.00" or "- - -"
    QString openAmountExact;  // kept unformatted; header line 9 is written from it
    QString currency;         // "Euro" or "DM"
    QString amountMode;       // caption of column 4: "Netto" or "Brutto"
    bool reminder1 = false;
    bool reminder2 = false;
    QStringList summary;

    // Derived when a header is applied.
    bool remindersEnabled = false;  // off while less than a cent is open
    QString reminder1Hint;
    QString reminder2Hint;
    QString reminderLabel;

    bool IsInvoiced() const;
    // An invoice with its summary lines (an invoice gross among them): the summation no
    // longer changes them.
    bool HasFrozenSummary() const;
    bool IsGross() const { return amountMode.contains(QStringLiteral("Brutto")); }
    bool IsDispensing() const { return customerText.startsWith(QStringLiteral("(A)")); }
    int CardNumber() const;  // from the key; 0 when unreadable
};

// A customer whose remark begins with "(A)" is a dispensing-medication (pharmacy) customer.
bool IsDispensingCustomer(const QString& remark);
// Header line 1 as the card shows it, rebuilt from the customer table.
QString CustomerText(const QString& name, const QString& firstName, const QString& town,
                     const QString& remark);
// Header line 1 of a new card.
QString NewCardCustomerText(const QString& name, const QString& firstName, const QString& town);

// Lines 0..13 of a new card.
QStringList NewCardHeader(const QString& customerNumber, int cardNumber,
                          const QString& customerText, const QString& currency);

// Line 0 holds digits at 1..4 and 6..8 and lines 2..7 are numbers. A header shorter than
// the fourteen fixed lines is refused too: the card cannot be shown from it.
bool ValidateHeader(const QStringList& header);
// Validates and fills the state; the state is untouched when the header is invalid.
bool ApplyHeader(const QStringList& header, CardState& state);
// Lines 0..13 from the state, then the summary lines.
QStringList BuildHeader(const CardState& state);
// Points line 0 at the card number the file name gives (a copied file).
bool CorrectHeaderKey(QStringList& header, int cardNumber);

// Pads the summary to the fixed lines; the reminder lines of a fresh pad are unset.
void PadSummary(QStringList& summary);

// A payment or write-off line of the summary, taken apart for a release.
struct PaymentLine {
    long double amount = 0;
    QString currency;  // "Euro" when the line names none
    bool cash = false;
};
bool ParsePaymentLine(const QString& line, PaymentLine* payment);
// The date of a payment line ("am " + date before the next ","); invalid for write-offs.
QDate PaymentDate(const QString& line);
// The payment lines of a summary: from line 20 on, those with a payment date. The summary is
// the one record of a card's payments, the one entered in this session included.
QStringList PaymentLines(const QStringList& summary);
// The first days of the months of payment lines: a release removes the card's bookings from
// those months' income journals.
QList<QDate> PaymentMonths(const QStringList& paymentLines);

}  // namespace card

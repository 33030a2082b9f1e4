#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

#include "bookkeeping/JournalSums.h"

// The monthly VAT pre-return of one business: its 36 sheet lines from the month's income and
// expense records.
namespace journal {

inline constexpr int kVatSheetLines = 36;
// Where the sheet keeps its values.
inline constexpr int kVatTitleLine = 0;
inline constexpr int kVatDateLine = 1;
inline constexpr int kVatBusinessLine = 2;
inline constexpr int kVatTotalTaxLine = 21;
inline constexpr int kVatTotalInputTaxLine = 34;
inline constexpr int kVatRemainingLine = 35;
// Slot k = 1 ... 6: rate label, base and tax of the turnover; rate label and input tax.
constexpr int VatTurnoverLine(int k)
{
    return 3 * k;
}
constexpr int VatInputTaxLine(int k)
{
    return 2 * k + 20;
}

struct VatSheetHeader {
    int month = 1;
    int year = 2000;
    QDate today;
    QString businessLine;  // name + " " + title of the business
    QString currency;      // "Euro" or "DM", the view's
};

// Turnover per rate: the net sum cut to whole units is the base, the tax is the base times
// the rate; input tax per rate from the expenses' net sum as it is. The records are those of
// the business, in the sheet's currency. Slots without a net sum stay empty; with more than
// six rates in either journal there are no rows (tooManyRates tells it).
QStringList VatReturnSheet(const QStringList& income, const QStringList& expenses,
                           const VatSheetHeader& header,
                           const std::array<long double, 5>& rateOrder,
                           bool* tooManyRates = nullptr);

}  // namespace journal

#pragma once

#include <QDate>
#include <array>

#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardSettings.h"

class UserPort;

namespace card {

// The sums of a card per VAT group: groups 1..3 hold the current rates, 4..6 the old rates
// (lines dated before the key date). Index 0 is group 1.
struct CardSums {
    bool ok = false;  // false: a line without a date stopped the summation
    long double totalNet = 0;
    long double totalVat = 0;
    long double totalGross = 0;
    long double cashGross = 0;  // lines marked "B"
    long double bsVat = 0;      // VAT of the lines marked "B" or "S"
    long double invoiceNet = 0;
    long double invoiceVat = 0;
    long double invoiceGross = 0;
    std::array<long double, 6> groupNet{};
    std::array<long double, 6> groupVat{};
};

// Keep: an invoice's summary stays as the close wrote it. Recompute: the card's amounts
// themselves changed (the currency switch).
enum class FrozenSummary { Keep, Recompute };

// Sums the card. Rows after the limit date (when valid) are left out. Amounts are rewritten
// with five decimals, a bad amount clears amount and VAT code, a bad code becomes "1", and
// empty rows beyond the tenth are dropped from the end. Equal rates are merged into the lower
// group. On success the displayed sums and the summary lines 0..15 of the state are set
// (padded to 20 lines), except on an invoice with its summary (CardState::HasFrozenSummary),
// whose state is left as stored unless `frozen` says Recompute. A line without any date at or
// above it is reported; all sums are then zero and the state keeps its sums.
CardSums SumCard(Rows& rows, CardState& state, const CardSettings& settings, UserPort& port,
                 const QDate& limit = {}, FrozenSummary frozen = FrozenSummary::Keep);

// Empty rows beyond the tenth are dropped from the end.
void TrimEmptyRows(Rows& rows);

// The nearest valid date in column 1 at or above the row; invalid when there is none.
QDate RowDate(const Rows& rows, int row);

}  // namespace card

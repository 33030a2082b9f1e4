#include "bookkeeping/JournalSums.h"

#include "common/NumberFormat.h"
#include "table/RecordLine.h"

namespace journal {

namespace {

// Moves each configured rate into its slot. A slot that received its rate keeps it, so a
// rate configured twice (7 % now and before) stays in its first place.
void OrderSlots(std::array<RateSlot, kRateSlots>& rates, const std::array<long double, 5>& order)
{
    std::array<bool, kRateSlots> placed{};
    for (size_t k = 0; k < order.size(); ++k) {
        for (size_t j = 0; j < rates.size(); ++j) {
            if (!placed[j] && rates[j].used && rates[j].rateValue == order[k]) {
                std::swap(rates[k], rates[j]);
                placed[k] = true;
                break;
            }
        }
    }
}

}  // namespace

JournalSums SumJournal(const QStringList& lines, const std::array<long double, 5>& rateOrder)
{
    using namespace recordline;
    JournalSums sums;
    int slotCount = 0;
    for (const QString& line : lines) {
        const QStringView rate = CellView(line, kJourRate);
        long double gross = 0;
        long double rateValue = 0;
        if (!TryStrToFloat(CellView(line, kJourGross).toString(), &gross) ||
            !TryStrToFloat(rate.toString(), &rateValue)) {
            ++sums.unreadable;
            continue;
        }
        int slot = 0;
        while (slot < slotCount && sums.rates[size_t(slot)].rate != rate)
            ++slot;
        if (slot == slotCount) {
            if (slotCount == kRateSlots) {
                JournalSums none;
                none.tooManyRates = true;
                return none;
            }
            RateSlot& fresh = sums.rates[size_t(slotCount++)];
            fresh.used = true;
            fresh.rate = rate.toString();
            fresh.rateValue = rateValue;
        }
        const long double cents = RoundCents(gross);
        sums.rates[size_t(slot)].gross += cents;
        sums.totalGross += cents;
    }
    OrderSlots(sums.rates, rateOrder);
    for (RateSlot& slot : sums.rates) {
        if (slot.used && slot.gross != 0) {
            slot.net = RoundCents(slot.gross / (slot.rateValue / 100 + 1));
            sums.totalNet += slot.net;
        }
    }
    return sums;
}

}  // namespace journal

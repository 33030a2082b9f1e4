#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The sums of the journal rows shown: per VAT rate and in total.
namespace journal {

inline constexpr int kRateSlots = 6;

struct RateSlot {
    bool used = false;
    QString rate;  // the rate text of the bookings, grouped as written
    long double rateValue = 0;
    long double gross = 0;  // the bookings' grosses, each rounded to cents
    long double net = 0;    // from the gross sum, rounded to cents

    QString Label() const { return rate + QStringLiteral(" %"); }
};

struct JournalSums {
    // At most six rates; slot k holds the k-th configured rate when it occurs, so slots in
    // between may be empty.
    std::array<RateSlot, kRateSlots> rates;
    long double totalNet = 0;  // the sum of the rounded nets per rate
    long double totalGross = 0;
    bool tooManyRates = false;  // more than six rates: no sums at all
    int unreadable = 0;         // rows left out because an amount or the rate is no number
};

// rateOrder: current rates 1, 2, 3, then old rates 1, 2. Each takes its slot (1 to 5) when
// a booking has a rate of its value; the other rates keep the order they first appear in.
JournalSums SumJournal(const QStringList& lines, const std::array<long double, 5>& rateOrder);

}  // namespace journal

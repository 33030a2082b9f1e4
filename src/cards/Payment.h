#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <vector>

#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardRegisters.h"
#include "cards/CardSettings.h"

class UserPort;

// Applying a confirmed payment to an invoiced card: the new open amount, the split of the
// payment over the VAT groups as pending bookings, the fee booking, the payment and
// write-off lines of the summary.
namespace card {

enum class PaymentKind { Cash, Cheque, Transfer };

// "bar", "scheck", "ueberw" as the options store the kind; unknown text is cash.
QString PaymentKindKey(PaymentKind kind);
PaymentKind PaymentKindFromKey(const QString& key);
// "bar", "Scheck", "Überw." as the payment line names it.
QString PaymentKindWord(PaymentKind kind);
// "B", "S", "Ü" as the journal stores it.
QString PaymentKindLetter(PaymentKind kind);

// The exact open amount of a card (header line 9); "- - -" or no number is 0. Less than a
// cent either way counts as 0.
long double ExactOpenAmount(const CardState& state);
// Sum of the reminder fees that are set.
long double ReminderFees(const CardState& state);

// What the payment dialog hands over on OK.
struct PaymentEntry {
    long double amount = 0;  // the amount as shown ("0.00")
    QDate date;
    PaymentKind kind = PaymentKind::Cash;
    long double newOpen = 0;  // open − amount, less than a cent counts as 0
    bool writeOff = false;    // "Rest ausbuchen" checked
    long double rest = 0;     // the rest the dialog showed, rounded to cents
};

// One part of a payment: the group it was booked to, with its gross.
struct PaymentSplit {
    std::array<long double, 6> groupGross{};  // the group grosses, rounded to cents
    std::array<long double, 6> parts{};       // what this payment books per group
    long double feePart = 0;                  // booked as reminder fee
};

// Splits a payment over the group grosses (index 0 is group 1), consuming what was paid
// before from group 6 down to group 1, then the payment in the same order. The parts are in
// cents and add up exactly to groupTarget: rounding leftovers go to the last group that
// received a part, else to the lowest group that holds an amount.
std::array<long double, 6> SplitOverGroups(const std::array<long double, 6>& groupGross,
                                           long double alreadyPaid, long double groupTarget);

// Applies the entry to the card: open amount, bookings appended to `pending`, summary lines,
// reminder switches. An amount is split over the VAT groups as the summation gives them; on
// a frozen invoice as its stored summary holds them, so an invoice keeps the rates it was
// printed with. Returns false (card unchanged but for the summation's own rewrite) when the
// summation stops on a line without a date on a card without a frozen summary.
bool ApplyPayment(Rows& rows, CardState& state, const CardSettings& settings, UserPort& port,
                  const PaymentEntry& entry, std::vector<PendingBooking>& pending,
                  PaymentSplit* split = nullptr);

}  // namespace card

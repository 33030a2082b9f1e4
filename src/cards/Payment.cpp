#include "cards/Payment.h"

#include <algorithm>
#include <cmath>

#include "cards/CardSums.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"

namespace card {

namespace {

const QString k2 = QStringLiteral("0.00");
const QString k5 = QStringLiteral("0.00000");

long double NumberOrZero(const QString& text)
{
    long double value = 0;
    return TryStrToFloat(text, &value) ? value : 0;
}

void SetOpenAmount(CardState& state, long double open)
{
    if (std::fabs(open) < 0.01L)
        open = 0;
    state.openAmountExact = FormatFloat(k5, open);
    state.openAmount = FormatFloat(k2, open);
}

PendingBooking MakeBooking(const CardState& state, const PaymentEntry& entry,
                           const QString& rateText, long double gross, bool fee)
{
    PendingBooking booking;
    booking.currency = state.currency.left(1).toUpper();
    booking.date = entry.date;
    booking.receipt = state.key;
    booking.customer = state.customerText;
    if (fee)
        booking.customer += QStringLiteral(" (Mahngebühr)");
    booking.rate = rateText;
    booking.gross = gross;
    booking.net = RoundCents(gross / (1 + NumberOrZero(rateText) / 100));
    booking.kind = PaymentKindLetter(entry.kind);
    return booking;
}

// The group grosses a payment is split over: each group's VAT and net, both rounded to
// cents. A frozen invoice is split as its summary stands: the summation's nets serve only
// while it gives the stored rates and VATs. Otherwise (the rates changed since the invoice,
// or its summary was written before equal rates were merged) each net is read back from the
// group's stored VAT and rate, and the first 0 % group takes what the invoice net leaves.
std::array<long double, 6> GroupGrosses(const CardState& state, const CardSums& sums,
                                        const CardSettings& settings)
{
    const QStringList& summary = state.summary;
    bool fromSums = sums.ok;
    if (state.HasFrozenSummary()) {
        for (int g = 1; g <= 6 && fromSums; ++g) {
            fromSums = summary[2 * g - 2] == settings.GroupRateText(g) &&
                       summary[2 * g - 1] == FormatFloat(k5, sums.groupVat[size_t(g - 1)]);
        }
    }
    std::array<long double, 6> gross{};
    if (fromSums) {
        for (size_t g = 0; g < 6; ++g)
            gross[g] = RoundCents(sums.groupVat[g]) + RoundCents(sums.groupNet[g]);
        return gross;
    }
    long double rest = RoundCents(NumberOrZero(summary[kSumInvoiceNet]));
    int zeroGroup = -1;
    for (int g = 0; g < 6; ++g) {
        const long double rate = NumberOrZero(summary[2 * g]);
        if (rate <= 0) {
            if (zeroGroup < 0)
                zeroGroup = g;
            continue;
        }
        const long double vat = NumberOrZero(summary[2 * g + 1]);
        const long double net = RoundCents(vat * 100 / rate);
        gross[size_t(g)] = RoundCents(vat) + net;
        rest = RoundCents(rest - net);
    }
    if (zeroGroup >= 0 && rest > 0)
        gross[size_t(zeroGroup)] = rest;
    return gross;
}

}  // namespace

QString PaymentKindKey(PaymentKind kind)
{
    switch (kind) {
        case PaymentKind::Cheque:
            return QStringLiteral("scheck");
        case PaymentKind::Transfer:
            return QStringLiteral("ueberw");
        case PaymentKind::Cash:
            break;
    }
    return QStringLiteral("bar");
}

PaymentKind PaymentKindFromKey(const QString& key)
{
    if (key == QStringLiteral("scheck"))
        return PaymentKind::Cheque;
    if (key == QStringLiteral("ueberw"))
        return PaymentKind::Transfer;
    return PaymentKind::Cash;
}

QString PaymentKindWord(PaymentKind kind)
{
    switch (kind) {
        case PaymentKind::Cheque:
            return QStringLiteral("Scheck");
        case PaymentKind::Transfer:
            return QStringLiteral("Überw.");
        case PaymentKind::Cash:
            break;
    }
    return QStringLiteral("bar");
}

QString PaymentKindLetter(PaymentKind kind)
{
    switch (kind) {
        case PaymentKind::Cheque:
            return QStringLiteral("S");
        case PaymentKind::Transfer:
            return QStringLiteral("Ü");
        case PaymentKind::Cash:
            break;
    }
    return QStringLiteral("B");
}

long double ExactOpenAmount(const CardState& state)
{
    const long double open = NumberOrZero(state.openAmountExact);
    return std::fabs(open) < 0.01L ? 0 : open;
}

long double ReminderFees(const CardState& state)
{
    long double fees = 0;
    if (state.reminder1 && state.summary.size() > kSumFee1)
        fees += NumberOrZero(state.summary[kSumFee1]);
    if (state.reminder2 && state.summary.size() > kSumFee2)
        fees += NumberOrZero(state.summary[kSumFee2]);
    return fees;
}

std::array<long double, 6> SplitOverGroups(const std::array<long double, 6>& groupGross,
                                           long double alreadyPaid, long double groupTarget)
{
    // Everything in cents; a credit group (negative gross) neither takes nor gives.
    std::array<long double, 6> left{};
    for (size_t g = 0; g < 6; ++g)
        left[g] = std::max<long double>(0, RoundCents(groupGross[g]));
    long double paid = std::max<long double>(0, RoundCents(alreadyPaid));
    for (int g = 5; g >= 0 && paid > 0; --g) {
        const long double take = std::min(paid, left[size_t(g)]);
        left[size_t(g)] = RoundCents(left[size_t(g)] - take);
        paid = RoundCents(paid - take);
    }

    std::array<long double, 6> parts{};
    const long double target = std::max<long double>(0, RoundCents(groupTarget));
    long double remaining = target;
    int lastPart = -1;
    for (int g = 5; g >= 0 && remaining > 0; --g) {
        const long double part = std::min(remaining, left[size_t(g)]);
        if (part <= 0)
            continue;
        parts[size_t(g)] = part;
        remaining = RoundCents(remaining - part);
        lastPart = g;
    }
    // Group grosses rounded one by one may fall short of the invoice gross by a cent or two;
    // that remainder is still money paid and must reach the journal.
    if (remaining > 0) {
        int into = lastPart;
        for (int g = 0; g < 6 && into < 0; ++g) {
            if (RoundCents(groupGross[size_t(g)]) > 0)
                into = g;
        }
        if (into < 0)
            into = 0;
        parts[size_t(into)] = RoundCents(parts[size_t(into)] + remaining);
    }
    return parts;
}

bool ApplyPayment(Rows& rows, CardState& state, const CardSettings& settings, UserPort& port,
                  const PaymentEntry& entry, std::vector<PendingBooking>& pending,
                  PaymentSplit* split)
{
    const long double fees = ReminderFees(state);
    const long double oldOpen = ExactOpenAmount(state);
    PaymentSplit result;
    // Only an amount is split over the groups: a bare write-off leaves a frozen invoice as it
    // is, and only gives a card without a summary yet its summary.
    if (entry.amount > 0 || !state.HasFrozenSummary()) {
        const CardSums sums = SumCard(rows, state, settings, port);
        if (!sums.ok && !state.HasFrozenSummary())
            return false;
        if (entry.amount > 0)
            result.groupGross = GroupGrosses(state, sums, settings);
    }
    SetOpenAmount(state, entry.newOpen);

    bool writeOff = entry.writeOff;
    const QString date = dates::Format(entry.date);
    if (entry.amount > 0) {
        const long double amount = RoundCents(entry.amount);
        const long double invoiceGross = RoundCents(NumberOrZero(state.summary[kSumInvoiceGross]));
        const long double alreadyPaid = RoundCents(invoiceGross - oldOpen + fees);

        // Fees are paid after the invoice: what the payment covers beyond the new open
        // amount's share of the fees.
        const long double feeShare = std::min(entry.amount, fees - entry.newOpen);
        if (feeShare > 0)
            result.feePart = std::min(amount, RoundCents(feeShare));
        result.parts =
            SplitOverGroups(result.groupGross, alreadyPaid, RoundCents(amount - result.feePart));

        for (int g = 6; g >= 1; --g) {
            const long double part = result.parts[size_t(g - 1)];
            if (part > 0)
                pending.push_back(MakeBooking(state, entry, state.summary[2 * g - 2], part, false));
        }
        state.summary << FormatFloat(k2, entry.amount) + QLatin1Char(' ') + state.currency +
                             QStringLiteral("   am ") + date + QStringLiteral(",  ") +
                             PaymentKindWord(entry.kind);
        // Every paid fee cent is booked; only a fee share above 0,10 writes off the rest.
        if (result.feePart > 0)
            pending.push_back(MakeBooking(state, entry, state.summary[4], result.feePart, true));
        if (feeShare > 0.10L)
            writeOff = true;
    }

    if (writeOff && entry.rest > 0) {
        state.summary << FormatFloat(k2, entry.rest) + QLatin1Char(' ') + state.currency +
                             QStringLiteral("  ausgebucht am ") + date;
        SetOpenAmount(state, 0);
    }
    state.remindersEnabled = ExactOpenAmount(state) != 0;
    if (split)
        *split = result;
    return true;
}

}  // namespace card

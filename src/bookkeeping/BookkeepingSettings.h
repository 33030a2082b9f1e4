#pragma once

#include <QString>
#include <array>

#include "masterdata/PriceRules.h"

class OptionValues;

// What the journals, the balances and the VAT return read from the options.
struct BookkeepingSettings {
    PriceSettings prices;  // the six rates, currency and DM rate, as the booking panel needs them
    // The journal sums order their rates by these: current rates 1, 2, 3, then old 1, 2.
    std::array<long double, 5> rateOrder{};
    bool euro = true;
    long double dmRate = 1.95583L;  // DM per Euro
    // The pharmacy's bookings move its own balances (name and a differing account).
    bool secondBusinessDefined = false;
    // The balance dialog shows the pharmacy's pair (a differing account).
    bool separatePharmacyAccount = false;
    // The VAT return is printed per business (a differing account or a pharmacy name).
    bool splitVatReturn = false;
    // Line 2 of the VAT return sheet: name + " " + title of each business.
    QString practiceLine;
    QString pharmacyLine;
    // The heading of the printed result: name + ", " + title of the practice.
    QString practiceHeading;

    QString CurrencyWord() const { return euro ? QStringLiteral("Euro") : QStringLiteral("DM"); }
};

BookkeepingSettings BookkeepingSettingsFromOptions(const OptionValues& options);

#include "bookkeeping/BookkeepingSettings.h"

#include "masterdata/MasterWorkspace.h"
#include "settings/Options.h"

BookkeepingSettings BookkeepingSettingsFromOptions(const OptionValues& options)
{
    BookkeepingSettings s;
    s.prices = PriceSettingsFromOptions(options);
    s.rateOrder = {s.prices.currentVat[0], s.prices.currentVat[1], s.prices.currentVat[2],
                   s.prices.previousVat[0], s.prices.previousVat[1]};
    s.euro = s.prices.euro;
    s.dmRate = s.prices.dmRate;
    const PharmacyAccount pharmacy = PharmacyAccountSetting(options);
    s.secondBusinessDefined = pharmacy.SecondBusinessDefined();
    s.separatePharmacyAccount = pharmacy.separateAccount;
    s.splitVatReturn = pharmacy.SplitsVatReturn();
    s.practiceLine = options.Value(QStringLiteral("NameEdit")) + QLatin1Char(' ') +
                     options.Value(QStringLiteral("FirmaEdit"));
    s.pharmacyLine = options.Value(QStringLiteral("NameEdit2")) + QLatin1Char(' ') +
                     options.Value(QStringLiteral("FirmaEdit2"));
    s.practiceHeading = options.Value(QStringLiteral("NameEdit")) + QStringLiteral(", ") +
                        options.Value(QStringLiteral("FirmaEdit"));
    // A pharmacy with only an account of its own trades under the practice's name.
    if (s.pharmacyLine.trimmed().isEmpty())
        s.pharmacyLine = s.practiceLine;
    return s;
}

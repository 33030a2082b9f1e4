#include "cards/CardOptions.h"

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "settings/Options.h"

CardSettings CardSettingsFromOptions(const OptionValues& values, const IniFile& ini)
{
    CardSettings s;
    VatRates rates;
    ParseVatRates(values, &rates);
    for (int i = 0; i < 3; ++i) {
        s.currentVat[size_t(i)] = rates.current[i];
        s.oldVat[size_t(i)] = rates.previous[i];
    }
    QDate keyDate;
    s.keyDate = dates::TryParse(values.Value(QStringLiteral("StichtagsDatumEdit")), &keyDate)
                    ? keyDate
                    : QDate(1990, 1, 1);
    s.currency =
        values.Flag(QStringLiteral("EuroChk")) ? QStringLiteral("Euro") : QStringLiteral("DM");
    long double rate = 0;
    if (TryStrToFloat(values.Value(QStringLiteral("DmEdit")), &rate) && rate > 0)
        s.dmRate = rate;

    // The take-over switches as the menu shows them.
    const MainSwitches switches = ReadMainSwitches(ini);
    s.menge1Druck = switches.Get(MainSwitch::Menge1Druck);
    s.menge2Druck = switches.Get(MainSwitch::Menge2Druck);
    s.tierDruck = switches.Get(MainSwitch::TierDruck);
    s.gotDruck = switches.Get(MainSwitch::GotDruck);
    s.faktorDruck = switches.Get(MainSwitch::FaktorDruck);
    s.remarkAlwaysEditable =
        ini.ReadBool(QStringLiteral("Optionen"), QStringLiteral("Bemerkungsfreigabe"), false);
    s.secondBusinessDefined = PharmacyAccountSetting(values).SecondBusinessDefined();
    return s;
}

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "QtPrinters.h"

#include "TestFiles.h"
#include "bookkeeping/Balances.h"
#include "cards/CardOptions.h"
#include "common/NumberFormat.h"
#include "settings/IniFile.h"
#include "settings/IniSettings.h"
#include "settings/Options.h"

TEST(CardOptions, ReadFromTheOptionsFile)
{
    QTemporaryDir dir;
    testfiles::WriteLines(dir.filePath("TLV.INI"),
                          {"[Menge1Druck]", "Menge1DruckChk=TRUE", "[TierDruck]",
                           "TierDruckChk=true", "[Optionen]", "Bemerkungsfreigabe=TRUE"});
    IniFile ini(dir.filePath("TLV.INI"));
    OptionValues values;
    values.SetValue("Mwst1Edit", "19");
    values.SetValue("AlteMwst1Edit", "16");
    values.SetValue("StichtagsDatumEdit", "01.01.2007");
    values.SetFlag("EuroChk", false);
    values.SetValue("DmEdit", "2,00000");
    values.SetValue("NameEdit2", "Apotheke");
    values.SetValue("BLZEdit2", "DE02");

    const CardSettings s = CardSettingsFromOptions(values, ini);
    EXPECT_EQ(s.currentVat[0], 19);
    EXPECT_EQ(s.oldVat[0], 16);
    EXPECT_EQ(s.keyDate, QDate(2007, 1, 1));
    EXPECT_EQ(s.currency, "DM");
    EXPECT_EQ(s.dmRate, 2);
    EXPECT_TRUE(s.menge1Druck);
    EXPECT_FALSE(s.tierDruck);  // only "TRUE" switches on
    EXPECT_TRUE(s.remarkAlwaysEditable);
    EXPECT_TRUE(s.secondBusinessDefined);

    // A pharmacy with the practice's own account is no second business.
    values.SetValue("BLZEdit", "DE02");
    EXPECT_FALSE(PharmacyAccountSetting(values).SecondBusinessDefined());
    values.SetValue("BLZEdit2", "");
    values.SetValue("BLZEdit", "");
    EXPECT_FALSE(PharmacyAccountSetting(values).SecondBusinessDefined());
}

TEST(CardOptions, BalancesLiveInTheOptionsFile)
{
    QTemporaryDir dir;
    testfiles::WriteLines(dir.filePath("TLV.INI"),
                          {"[Kontostand]", "Kasse=195,583", "Waehrung=DM"});
    IniFile ini(dir.filePath("TLV.INI"));
    IniSettings settings(ini);
    balances::AddToBank(settings, balances::Business::Practice, "E", 50, 1.95583L);
    IniFile reread(dir.filePath("TLV.INI"));
    EXPECT_EQ(reread.ReadString("Kontostand", "Waehrung"), "Euro");
    EXPECT_EQ(reread.ReadString("Kontostand", "Bank"), "50");
    EXPECT_EQ(FormatFloat("0.00", reread.ReadFloat("Kontostand", "Kasse", -1)), "100,00");
}

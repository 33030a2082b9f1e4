#include <gtest/gtest.h>

#include "IniFileFixture.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "settings/Options.h"
#include "support/TestFiles.h"

namespace {

class OptionsTest : public IniFileFixture {};

}  // namespace

TEST_F(OptionsTest, DefaultsOfAFreshFile)
{
    IniFile ini(Path());
    const OptionValues v = ReadOrderedOptions(ini);
    EXPECT_EQ(v.Value("Mwst1Edit"), "19");
    EXPECT_EQ(v.Value("Mwst2Edit"), "7");
    EXPECT_EQ(v.Value("Mwst3Edit"), "0");
    EXPECT_EQ(v.Value("AlteMwst1Edit"), "16");
    EXPECT_EQ(v.Value("AlteMwst2Edit"), "5");
    EXPECT_EQ(v.Value("StichtagsDatumEdit"), "01.01.2021");
    EXPECT_EQ(v.Value("ZzRechEdit"), "14");
    EXPECT_EQ(v.Value("ZzMa2Edit"), "14");
    EXPECT_EQ(v.Value("MaGeb1Edit"), "5,00");
    EXPECT_EQ(v.Value("MaGeb2Edit"), "10,00");
    EXPECT_EQ(v.Value("DmEdit"), "1,95583");
    EXPECT_TRUE(v.Flag("EuroChk"));
    EXPECT_TRUE(v.Flag("LogoChk"));
    EXPECT_FALSE(v.Flag("SicherungChk1"));
    EXPECT_FALSE(v.Flag("PW_SysChk"));
    EXPECT_EQ(v.Password(), kDefaultPassword);
    EXPECT_EQ(v.Value("NameEdit"), "");

    VatRates rates;
    ASSERT_TRUE(ParseVatRates(v, &rates));
    EXPECT_EQ(rates.current[0], 19.0L);
    EXPECT_EQ(rates.previous[1], 5.0L);

    const WindowGeometry g = ReadWindowGeometry(ini);
    EXPECT_FALSE(g.HasStoredBounds());
    EXPECT_TRUE(g.maximised);
    EXPECT_EQ(ReadTabFontSize(ini), 8);
}

TEST_F(OptionsTest, OrderedReadingFindsKeysOnlyInTableOrder)
{
    // "Mwst1Edit" stands before "UebMa1Edit": from the misplaced key up to the next match
    // everything takes its default; keys after that are found again.
    Write(
        "[Optionen]\r\nNameEdit=Praxis\r\nMwst1Edit=20\r\nUebMa1Edit=Mahnung\r\n"
        "Mwst2Edit=8\r\nEuroChk=FALSE\r\nPreisAuszChk=TRUE\r\nNetzwerkChk=TRUE\r\n"
        "SonstEdit1=mail\r\nwHeight=600\r\n");
    IniFile ini(Path());
    const OptionValues v = ReadOrderedOptions(ini);
    EXPECT_EQ(v.Value("NameEdit"), "Praxis");
    EXPECT_EQ(v.Value("UebMa1Edit"), "") << "not at the cursor";
    EXPECT_EQ(v.Value("Mwst1Edit"), "20");
    EXPECT_EQ(v.Value("Mwst2Edit"), "7") << "the cursor stood on UebMa1Edit";
    EXPECT_TRUE(v.Flag("EuroChk"));
    EXPECT_FALSE(v.Flag("PreisAuszChk"));
    EXPECT_EQ(v.Value("SonstEdit1"), "");
}

TEST_F(OptionsTest, SectionStartingWithWindowKeysGivesDefaults)
{
    Write("[Optionen]\r\nwHeight=600\r\nNameEdit=Praxis\r\nMwst1Edit=20\r\n");
    IniFile ini(Path());
    const OptionValues v = ReadOrderedOptions(ini);
    EXPECT_EQ(v.Value("NameEdit"), "");
    EXPECT_EQ(v.Value("Mwst1Edit"), "19");
    EXPECT_EQ(ReadWindowGeometry(ini).height, 600);
}

TEST_F(OptionsTest, EraseAndRewriteInTableOrderSkippingEmptyTexts)
{
    Write("[Optionen]\r\nwHeight=600\r\nMedInvAutom=TRUE\r\n[Other]\r\nk=v\r\n");
    IniFile ini(Path());
    OptionValues v;
    v.SetValue("NameEdit", QString::fromUtf8("Dr. Bär"));
    v.SetValue("MaGeb1Edit", "");
    v.SetValue("DmEdit", "");
    v.SetValue("BkDir", "/media/stick/DATEN");
    v.SetValue("TextEdit", "old head text");
    v.SetFlag("PW_SysChk", true);
    v.SetPassword("geheim1");
    ASSERT_TRUE(WriteOrderedOptions(ini, v));

    const QStringList keys = ini.ReadSection("Optionen");
    EXPECT_EQ(keys.first(), "NameEdit");
    EXPECT_FALSE(keys.contains("wHeight")) << "window keys go with the erase";
    EXPECT_FALSE(keys.contains("MedInvAutom"));
    EXPECT_FALSE(keys.contains("MaGeb1Edit"));
    EXPECT_FALSE(keys.contains("TextEdit"));
    EXPECT_FALSE(keys.contains("NetzwerkChk"));
    EXPECT_FALSE(keys.contains("StrasseEdit"));
    EXPECT_TRUE(keys.contains("PW_MedChk")) << "flags are always written";
    EXPECT_EQ(ini.ReadString("Optionen", "DmEdit"), "1,95583");
    EXPECT_EQ(ini.ReadString("Optionen", "BkDir"), "/media/stick/DATEN/");
    EXPECT_EQ(ini.ReadString("Other", "k"), "v");
    EXPECT_TRUE(Read().contains("NameEdit=Dr. B\xe4r\r\n"));

    const OptionValues back = ReadOrderedOptions(ini);
    EXPECT_EQ(back.Value("NameEdit"), QString::fromUtf8("Dr. Bär"));
    EXPECT_EQ(back.Value("MaGeb1Edit"), "5,00");
    EXPECT_EQ(back.Password(), "geheim1");
    EXPECT_TRUE(back.Flag("PW_SysChk"));
    EXPECT_EQ(back.Value("BarsoiInternetAdresse"), kDefaultDownloadAddress);
}

TEST(OptionsPassword, ScrambledForm)
{
    EXPECT_EQ(ScramblePassword("abcdef"), "hgfepdc");
    EXPECT_EQ(UnscramblePassword("hgfepdc"), "abcdef");
    EXPECT_EQ(ScramblePassword(kDefaultPassword), kDefaultPassword);
    EXPECT_EQ(UnscramblePassword(ScramblePassword(QString::fromUtf8("Kätzchen"))),
              QString::fromUtf8("Kätzchen"));
}

TEST(OptionsVat, CorruptRateZeroesAllSix)
{
    OptionValues v;
    v.SetValue("AlteMwst2Edit", "5x");
    VatRates rates;
    rates.current[0] = 99;
    EXPECT_FALSE(ParseVatRates(v, &rates));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rates.current[i], 0.0L);
        EXPECT_EQ(rates.previous[i], 0.0L);
    }
}

TEST_F(OptionsTest, ColumnWidthsDefaultsAndMinimums)
{
    Write("[Optionen]\r\nwMed=10\r\nwKName=49\r\nwLeist=51\r\nwBeh=20\r\n");
    IniFile ini(Path());
    const QHash<QString, int> w = ReadColumnWidths(ini, 70);
    EXPECT_EQ(w.value("wMed"), 60);
    EXPECT_EQ(w.value("wKName"), 50);
    EXPECT_EQ(w.value("wLeist"), 51);
    EXPECT_EQ(w.value("wBeh"), 70);
    EXPECT_EQ(w.value("wMedBem"), 516);
    EXPECT_EQ(w.value("wKMail"), 100);
    EXPECT_FALSE(w.contains("L2GridBemW"));
}

TEST_F(OptionsTest, CloseWritesGeometryWidthsAndQuantity)
{
    IniFile ini(Path());
    CloseState state;
    state.geometry = {500, 700, 10, 20, false};
    state.columnWidths = ReadColumnWidths(ini);
    state.medInvAutom = true;
    state.standardQuantity = "1,00";
    state.screenWidth = 1000;
    ASSERT_NO_FATAL_FAILURE(WriteOnClose(ini, state));
    const QStringList keys = ini.ReadSection("Optionen");
    ASSERT_GE(keys.size(), 6);
    EXPECT_EQ(keys.mid(0, 6), (QStringList{"wsMax", "wHeight", "wWidth", "wLeft", "wTop", "wBeh"}));
    EXPECT_EQ(keys.last(), "MedInvAutom");
    EXPECT_FALSE(keys.contains("TabFontSize")) << "narrow screen";
    EXPECT_EQ(ini.ReadString("Optionen", "wsMax"), "0");
    EXPECT_EQ(ini.ReadString("StdMenge", "Leistung"), "1,00");

    const WindowGeometry g = ReadWindowGeometry(ini);
    EXPECT_EQ(g.height, 500);
    EXPECT_EQ(g.left, 10);
    EXPECT_FALSE(g.maximised);

    state.screenWidth = 1280;
    state.tabFontSize = 10;
    WriteOnClose(ini, state);
    EXPECT_EQ(ReadTabFontSize(ini), 10);
}

TEST_F(OptionsTest, SwitchesOnOnlyWhenExactlyTrue)
{
    Write("[Zeilenstop]\r\nZeilenstopChk=TRUE\r\n[TierDruck]\r\nTierDruckChk=True\r\n");
    IniFile ini(Path());
    MainSwitches s = ReadMainSwitches(ini);
    EXPECT_TRUE(s.Get(MainSwitch::Zeilenstop));
    EXPECT_FALSE(s.Get(MainSwitch::TierDruck));
    WriteMainSwitch(ini, MainSwitch::GotSuche, true);
    WriteMainSwitch(ini, MainSwitch::InvMedMarkieren, true);
    EXPECT_EQ(ini.ReadString("GotSuche", "MGotSucheChk"), "TRUE");
    EXPECT_EQ(ini.ReadString("Optionen", "InvMedMarkieren"), "TRUE");
    s = ReadMainSwitches(ini);
    EXPECT_TRUE(s.Get(MainSwitch::GotSuche));
    // The quantity switches are on until a value is stored, which is kept.
    EXPECT_TRUE(s.Get(MainSwitch::Menge1Druck));
    WriteMainSwitch(ini, MainSwitch::Menge2Druck, false);
    EXPECT_FALSE(ReadMainSwitches(ini).Get(MainSwitch::Menge2Druck));

    const MainSwitches none = ReadMainSwitches(IniFile());
    EXPECT_TRUE(none.Get(MainSwitch::Zeilenstop));
    EXPECT_TRUE(none.Get(MainSwitch::TierDruck));
    EXPECT_FALSE(none.Get(MainSwitch::GotDruck));
}

TEST_F(OptionsTest, DocumentsFreshSectionGetsTheTwelveDefaults)
{
    IniFile ini(Path());
    const QStringList texts = LoadDocumentTexts(ini);
    EXPECT_EQ(texts, DefaultDocumentTexts());
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(ini.ReadSection("Dokumente").size(), 12);
    EXPECT_EQ(ini.ReadString("Dokumente", "D9"),
              QString::fromUtf8("Folgende tierärzliche Leistungen werden angeboten:"));
    EXPECT_EQ(ini.ReadString("Dokumente", "D3"), "");
}

TEST_F(OptionsTest, DocumentsOlderSectionsAreCompleted)
{
    // Eight entries: the offer is appended.
    Write("[Dokumente]\r\nD0=R\r\nD1=a\r\nD2=b\r\nD3=c\r\nD4=Q\r\nD5=d\r\nD6=e\r\nD7=f\r\n");
    {
        IniFile ini(Path());
        const QStringList texts = LoadDocumentTexts(ini);
        ASSERT_EQ(texts.size(), 12);
        EXPECT_EQ(texts[0], "R");
        EXPECT_EQ(texts[8], "ANGEBOT");
    }
    // Nine entries: the old ninth entry becomes the offer's second foot text.
    Write(
        "[Dokumente]\r\nD0=R\r\nD1=a\r\nD2=b\r\nD3=c\r\nD4=Q\r\nD5=d\r\nD6=e\r\nD7=f\r\nD8=g\r\n");
    IniFile ini(Path());
    const QStringList texts = LoadDocumentTexts(ini);
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(texts[8], "ANGEBOT");
    EXPECT_EQ(texts[11], "g");
    EXPECT_EQ(ini.ReadString("Dokumente", "D11"), "g");
}

TEST_F(OptionsTest, RecentFilesMoveToTheTop)
{
    Write(
        "[TLVDateien]\r\nDatei1=/t/A.TLV\r\nDatei2=/t/B.TLV\r\nDatei3=/t/C.TLV\r\n"
        "Datei4=/t/D.TLV\r\n");
    IniFile ini(Path());
    AddRecentFile(ini, "/t/b.tlv");
    EXPECT_EQ(ReadRecentFiles(ini), (QStringList{"/t/b.tlv", "/t/A.TLV", "/t/C.TLV", "/t/D.TLV"}));
    AddRecentFile(ini, "/t/E.TLV");
    EXPECT_EQ(ReadRecentFiles(ini), (QStringList{"/t/E.TLV", "/t/b.tlv", "/t/A.TLV", "/t/C.TLV"}));
    AddRecentFile(ini, "/t/E.TLV");
    EXPECT_EQ(ReadRecentFiles(ini).first(), "/t/E.TLV");

    IniFile fresh(m_dir.filePath("other.ini"));
    AddRecentFile(fresh, "/x/1.TLV");
    AddRecentFile(fresh, "/x/2.TLV");
    EXPECT_EQ(ReadRecentFiles(fresh), (QStringList{"/x/2.TLV", "/x/1.TLV", "", ""}));
}

TEST_F(OptionsTest, YearChangeHousekeeping)
{
    Write("[EraseBuYear]\r\nYear=2023\r\n[EraseInvYear]\r\nMed=2023\r\nYear=2023\r\n");
    IniFile ini(Path());
    int calls[3] = {};
    YearChangeWork work;
    work.cleanUpBookings = [&] {
        ++calls[0];
        return false;
    };
    work.recalculateStock = [&] { ++calls[1]; };
    work.cleanUpStockFiles = [&] {
        ++calls[2];
        return true;
    };
    RunYearChangeHousekeeping(ini, 2024, work);
    EXPECT_EQ(ini.ReadInteger("EraseBuYear", "Year", 0), 2023) << "clean-up did not run";
    EXPECT_EQ(ini.ReadInteger("EraseInvYear", "Med", 0), 2024);
    EXPECT_EQ(ini.ReadInteger("EraseInvYear", "Year", 0), 2024);
    RunYearChangeHousekeeping(ini, 2024, work);
    EXPECT_EQ(calls[0], 2);
    EXPECT_EQ(calls[1], 1);
    EXPECT_EQ(calls[2], 1);

    IniFile fresh(m_dir.filePath("fresh.ini"));
    RunYearChangeHousekeeping(fresh, 2024, {});
    EXPECT_EQ(fresh.ReadInteger("EraseBuYear", "Year", 0), 2024) << "absent key is stored";
    EXPECT_EQ(fresh.ReadInteger("EraseInvYear", "Year", 0), 2024);
}

TEST(MailPrinter, ResolutionAgainstInstalledPrinters)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/";
    // No file: the default name is looked for.
    EXPECT_EQ(LoadMailPrinter(data, {"HP", "DOCSENDER Pro"}).printerName, "DOCSENDER Pro");
    EXPECT_EQ(LoadMailPrinter(data, {"HP", "docsender"}).printerName, "")
        << "names compare with case";

    testfiles::WriteAll(dir.filePath("mailpr.ini"),
                        "[MailPrinter]\r\nMailPrinterName=PDFMail\r\n[ControlCode]\r\n"
                        "MailPrBetreff=@@sub\r\nMailPrBodyDatei=C:\\x.txt\r\n");
    MailPrinterSettings s = LoadMailPrinter(data, {"HP", "My PDFMail 2"});
    EXPECT_EQ(s.printerName, "My PDFMail 2");
    EXPECT_EQ(s.controlCodes.value("MailPrBetreff"), "@@sub");
    EXPECT_EQ(s.controlCodes.value("MailPrBodyDatei"), "@@mb" + data + "Texte/MailText.txt");
    EXPECT_EQ(s.controlCodes.value("MailPrSystem"), "");

    // Stored printer gone: DOCSENDER is taken and its full name stored.
    s = LoadMailPrinter(data, {"HP", "DOCSENDER 3"});
    EXPECT_EQ(s.printerName, "DOCSENDER 3");
    IniFile mail(dir.filePath("mailpr.ini"));
    EXPECT_EQ(mail.ReadString("MailPrinter", "MailPrinterName"), "DOCSENDER 3");

    EXPECT_EQ(LoadMailPrinter(data, {"HP"}).printerName, "");
}

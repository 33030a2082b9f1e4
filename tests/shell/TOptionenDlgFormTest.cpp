#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "masterdata/MasterWorkspace.h"
#include "printing/GiroCode.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "shell/TOptionenDlgForm.h"
#include "support/FixedClock.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

using F = TOptionenDlgForm;

class RecordingHooks : public OptionenHooks {
public:
    void ShowBackupIndicator(bool on) override { backupIndicator = on; }
    void PasswordProtectionSet() override { ++passwordSet; }
    void SetBackupFilePath(const QString& folder) override { backupPath = folder; }
    void RecalculateGross(QStringList& rates) override { recalculated << rates; }
    void OptionsApplied() override { ++applied; }

    bool backupIndicator = false;
    int passwordSet = 0;
    QString backupPath = "unset";
    QList<QStringList> recalculated;
    int applied = 0;
};

class TOptionenDlgFormTest : public ::testing::Test {
protected:
    TOptionenDlgFormTest() : m_clock(QDateTime(QDate(2024, 5, 15), QTime(9, 0)))
    {
        QDir(m_dir.path()).mkpath("DATEN/Texte");
        testfiles::WriteAll(IniPath(), "");
        m_ini = std::make_unique<IniFile>(IniPath());
        m_options = ReadOrderedOptions(*m_ini);
        m_form = std::make_unique<TOptionenDlgForm>(Context());
        m_form->Open();
    }

    QString Data() const { return m_dir.path() + "/DATEN/"; }
    QString IniPath() const { return Data() + "TLV.INI"; }

    OptionenContext Context()
    {
        OptionenContext c;
        c.port = &m_port;
        c.clock = &m_clock;
        c.ini = m_ini.get();
        c.options = &m_options;
        c.dataFolder = Data();
        c.hooks = &m_hooks;
        c.volumes = [this] { return QStringList{m_dir.path() + "/stick", "/"}; };
        return c;
    }

    // Types a text into a field as a person would, key by key; returns the refused keys.
    QString Type(int id, const QString& text, bool replace = true)
    {
        if (replace)
            m_form->Field(id).SelectAll();
        QString refused;
        for (QChar c : text)
            if (!m_form->KeyPress(id, c))
                refused += c;
        return refused;
    }

    QTemporaryDir m_dir;
    FixedClock m_clock;
    ScriptedUserPort m_port;
    RecordingHooks m_hooks;
    std::unique_ptr<IniFile> m_ini;
    OptionValues m_options;
    std::unique_ptr<TOptionenDlgForm> m_form;
};

}  // namespace

TEST_F(TOptionenDlgFormTest, VatRatesAcceptOneCommaAndAtMostFourFormattedCharacters)
{
    EXPECT_EQ(Type(F::Mwst1Edit, "19"), "");
    EXPECT_TRUE(m_form->Leave(F::Mwst1Edit));
    EXPECT_EQ(m_form->Text(F::Mwst1Edit), "19,0");
    EXPECT_TRUE(m_form->RatesChanged());

    EXPECT_EQ(Type(F::Mwst2Edit, "7,5,a"), ",a");
    EXPECT_EQ(Type(F::Mwst2Edit, "100"), "0");    // 100,0 would be five characters
    EXPECT_EQ(Type(F::Mwst2Edit, "99,96"), "6");  // 99,96 rounds to 100,0
    Type(F::Mwst2Edit, "7.25");
    m_form->Leave(F::Mwst2Edit);
    EXPECT_EQ(m_form->Text(F::Mwst2Edit), "7,3");

    Type(F::AlteMwst3Edit, "");
    m_form->Field(F::AlteMwst3Edit).SetText("");
    EXPECT_TRUE(m_form->Leave(F::AlteMwst3Edit));
    EXPECT_EQ(m_form->Text(F::AlteMwst3Edit), "0,0");
}

TEST_F(TOptionenDlgFormTest, PreviousRatesDoNotCountAsAChangeOfTheCurrentRates)
{
    Type(F::AlteMwst1Edit, "16");
    EXPECT_FALSE(m_form->RatesChanged());
    ASSERT_TRUE(m_form->Ok());
    EXPECT_TRUE(m_hooks.recalculated.isEmpty());

    m_form->Open(F::MwSt);
    Type(F::Mwst1Edit, "16");
    ASSERT_TRUE(m_form->Ok(F::Mwst1Edit));
    ASSERT_EQ(m_hooks.recalculated.size(), 1);
    EXPECT_EQ(m_hooks.recalculated[0], (QStringList{"16,0", "7,0", "0,0", "16,0", "5,0", "0,0"}));
}

TEST_F(TOptionenDlgFormTest, TermsAndFeesFillInTheirDefaultsWhenLeftEmpty)
{
    EXPECT_EQ(Type(F::ZzRechEdit, "3a145"), "a5");
    EXPECT_EQ(m_form->Text(F::ZzRechEdit), "314");
    m_form->Field(F::ZzMa1Edit).SetText("");
    m_form->Leave(F::ZzMa1Edit);
    EXPECT_EQ(m_form->Text(F::ZzMa1Edit), "1");

    m_form->Field(F::MaGeb1Edit).SetText("");
    m_form->Leave(F::MaGeb1Edit);
    EXPECT_EQ(m_form->Text(F::MaGeb1Edit), "5,00");
    m_form->Field(F::MaGeb2Edit).SetText("");
    m_form->Leave(F::MaGeb2Edit);
    EXPECT_EQ(m_form->Text(F::MaGeb2Edit), "10,00");
    EXPECT_EQ(Type(F::MaGeb2Edit, "7,5x"), "x");
    m_form->Leave(F::MaGeb2Edit);
    EXPECT_EQ(m_form->Text(F::MaGeb2Edit), "7,50");
}

TEST_F(TOptionenDlgFormTest, CutOffDateIsNormalisedAndMayNotLieInTheFuture)
{
    Type(F::StichtagsDatumEdit, "1.7.20");
    m_form->Leave(F::StichtagsDatumEdit);
    EXPECT_EQ(m_form->Text(F::StichtagsDatumEdit), "01.07.2020");
    Type(F::StichtagsDatumEdit, "1.7.83");
    m_form->Leave(F::StichtagsDatumEdit);
    EXPECT_EQ(m_form->Text(F::StichtagsDatumEdit), "01.07.1983");
    m_form->Field(F::StichtagsDatumEdit).SetText("");
    m_form->Leave(F::StichtagsDatumEdit);
    EXPECT_EQ(m_form->Text(F::StichtagsDatumEdit), "01.01.1990");

    // Tomorrow refuses OK and shows the VAT page; today is accepted.
    Type(F::StichtagsDatumEdit, "16.5.2024");
    m_form->SetActivePage(F::Praxis);
    EXPECT_FALSE(m_form->Ok());
    EXPECT_EQ(m_port.LastText(),
              "Fehler: Stichtagsdatum liegt in der Zukunft!\r"
              "Neue USt erst am Tag der Änderung eingeben!");
    EXPECT_EQ(m_form->TakePageRequest(), F::MwSt);
    EXPECT_EQ(m_form->TakeFocusRequest(), F::StichtagsDatumEdit);
    EXPECT_FALSE(m_ini->ValueExists(kOptionen, "StichtagsDatumEdit"));

    Type(F::StichtagsDatumEdit, "1.2.202");  // a three-digit year
    EXPECT_FALSE(m_form->Ok(F::StichtagsDatumEdit));
    EXPECT_EQ(m_port.LastText(), "Fehler: Stichtagsdatum ungültig!");

    Type(F::StichtagsDatumEdit, "15.5.24");
    EXPECT_TRUE(m_form->Ok(F::StichtagsDatumEdit));
    EXPECT_EQ(m_ini->ReadString(kOptionen, "StichtagsDatumEdit"), "15.05.2024");
}

TEST_F(TOptionenDlgFormTest, CurrencyRateFieldsAreReciprocal)
{
    Type(F::DMEdit, "2");
    EXPECT_EQ(m_form->Text(F::EuroEdit), "0,50000");
    m_form->Leave(F::DMEdit);
    EXPECT_EQ(m_form->Text(F::DMEdit), "2,00000");
    Type(F::EuroEdit, "0,4");
    EXPECT_EQ(m_form->Text(F::DMEdit), "2,50000");
    Type(F::DMEdit, "0");
    EXPECT_EQ(m_form->Text(F::EuroEdit), "0,00000");
    m_form->Field(F::DMEdit).SetText("");
    m_form->Leave(F::DMEdit);
    EXPECT_EQ(m_form->Text(F::DMEdit), "0,00000");
}

TEST_F(TOptionenDlgFormTest, WorkspaceProtectionLocksTheSystemOptionsBox)
{
    EXPECT_TRUE(m_form->CheckEnabled(F::PW_SysChk));
    m_form->SetChecked(F::PW_KarteiChk, true);
    EXPECT_TRUE(m_form->Checked(F::PW_SysChk));
    EXPECT_FALSE(m_form->CheckEnabled(F::PW_SysChk));
    m_form->SetChecked(F::PW_SysChk, false);  // locked
    EXPECT_TRUE(m_form->Checked(F::PW_SysChk));

    m_form->SetChecked(F::PW_KarteiChk, false);
    EXPECT_TRUE(m_form->CheckEnabled(F::PW_SysChk));
    m_form->SetChecked(F::PW_SysChk, false);
    EXPECT_FALSE(m_form->Checked(F::PW_SysChk));
}

TEST_F(TOptionenDlgFormTest, PasswordRulesWhenTheSystemOptionsAreProtected)
{
    m_form->SetChecked(F::PW_TextChk, true);
    Type(F::PasswortEdit, "abcde");
    Type(F::PasswortEdit2, "abcde");

    // The set-up question first; No keeps the dialog open on the password page.
    m_port.QueueAnswer(Answer::No);
    EXPECT_FALSE(m_form->Ok());
    EXPECT_EQ(m_port.LastText(), "Wollen Sie den Passwortschutz wirklich einrichten?");
    EXPECT_EQ(m_port.messages.last().buttons, Buttons::YesNo);
    EXPECT_EQ(m_form->TakePageRequest(), F::Passwort);

    m_port.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(m_form->Ok());
    EXPECT_EQ(m_port.LastText(), "Passwort mindestens 6 Zeichen!");
    EXPECT_EQ(m_form->TakeFocusRequest(), F::PasswortEdit);

    Type(F::PasswortEdit, "geheim1");
    EXPECT_TRUE(m_form->Leave(F::PasswortEdit));
    EXPECT_EQ(m_form->TakeFocusRequest(), F::PasswortEdit2);
    Type(F::PasswortEdit2, "geheim2");
    m_port.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(m_form->Ok());
    EXPECT_EQ(m_port.LastText(), "Fehler bei Eingabe des Passwortes !");

    Type(F::PasswortEdit2, "geheim1");
    m_port.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(m_form->Ok());
    EXPECT_EQ(m_hooks.passwordSet, 1);
    // Reversed, every code raised by 2, a "p" after the fourth character.
    EXPECT_EQ(m_ini->ReadString(kOptionen, "PasswortEdit"), "3okgpjgi");
    EXPECT_EQ(ReadOrderedOptions(IniFile(IniPath())).Password(), "geheim1");
    EXPECT_EQ(m_options.Password(), "geheim1");

    // Protected already when opened: no question the next time.
    const int shown = int(m_port.messages.size());
    m_form->Open();
    EXPECT_TRUE(m_form->Ok());
    EXPECT_EQ(m_port.messages.size(), shown);
}

TEST(PasswordStoreTest, ShortPasswordsSurviveTheStoredForm)
{
    for (const QString& pw : {QString(), QString("a"), QString("abc"), QString("abcd"),
                              QString("abcde"), QString("Tierarzt2024")})
        EXPECT_EQ(UnscramblePassword(ScramblePassword(pw)), pw) << pw.toStdString();
    EXPECT_EQ(ScramblePassword(kDefaultPassword), kDefaultPassword);
}

TEST_F(TOptionenDlgFormTest, OkWritesTheOrderedPartThatTheNextStartReadsBack)
{
    // A close wrote window keys before the dialog was ever confirmed.
    m_ini->WriteString(kOptionen, "wHeight", "600");
    Type(F::NameEdit, "Tierarztpraxis Dr. Möller");
    Type(F::PLZEdit, "24103 Kiel");
    Type(F::BLZEdit, "DE12 3456");
    Type(F::Mwst1Edit, "19");
    Type(F::Mwst2Edit, "7");
    Type(F::ZzRechEdit, "30");
    Type(F::MaGeb1Edit, "3");
    m_form->SetChecked(F::LogoChk, false);
    m_form->SetEuro(false);
    m_form->Field(F::MaGeb2Edit).SetText("");  // fills in 10,00

    ASSERT_TRUE(m_form->Ok(F::MaGeb1Edit));
    EXPECT_TRUE(m_port.messages.isEmpty()) << m_port.LastText().toStdString();

    const OptionValues back = ReadOrderedOptions(IniFile(IniPath()));
    EXPECT_EQ(back.Value("NameEdit"), "Tierarztpraxis Dr. Möller");
    EXPECT_EQ(back.Value("PLZEdit"), "24103 Kiel");
    EXPECT_EQ(back.Value("BLZEdit"), "DE12 3456");
    EXPECT_EQ(back.Value("Mwst1Edit"), "19,0");
    EXPECT_EQ(back.Value("Mwst2Edit"), "7,0");
    EXPECT_EQ(back.Value("ZzRechEdit"), "30");
    EXPECT_EQ(back.Value("MaGeb1Edit"), "3,00");
    EXPECT_EQ(back.Value("MaGeb2Edit"), "10,00");
    EXPECT_FALSE(back.Flag("EuroChk"));
    EXPECT_FALSE(back.Flag("LogoChk"));
    // The section was erased and rewritten in table order: no window keys, name first.
    const QStringList keys = IniFile(IniPath()).ReadSection(kOptionen);
    EXPECT_EQ(keys.first(), "NameEdit");
    EXPECT_FALSE(keys.contains("wHeight"));
    EXPECT_FALSE(keys.contains("StrasseEdit"));  // empty text fields are not written
    EXPECT_FALSE(keys.contains("NetzwerkChk"));
    EXPECT_EQ(keys.indexOf("Mwst1Edit") + 1, keys.indexOf("Mwst2Edit"));
    // The documents were written too; the program's options follow the dialog.
    EXPECT_EQ(IniFile(IniPath()).ReadString("Dokumente", "D0"), "RECHNUNG");
    EXPECT_EQ(m_options.Value("NameEdit"), "Tierarztpraxis Dr. Möller");
    EXPECT_EQ(m_hooks.applied, 1);
    EXPECT_EQ(m_hooks.backupPath, "");
    EXPECT_FALSE(m_hooks.backupIndicator);
}

// Leaving an IBAN field checks its check digits (blanks and lower case allowed) and only
// warns: the text stays as typed. The account holder and the code switch are kept.
TEST_F(TOptionenDlgFormTest, IbanIsCheckedWhenLeftAndTheCodeOptionsAreWritten)
{
    const struct {
        int field;
        const char* text;
        bool warned;
    } cases[] = {
        {F::BLZEdit, "de45 6835 0048 0001 2345 67", false},
        {F::BLZEdit, "DE45 6835 0048 0001 2345 68", true},
        {F::BLZEdit2, "DE89370400440532013001", true},
        {F::BLZEdit2, "", false},
        {F::BLZEdit2, "DE89370400440532013000", false},
    };
    for (const auto& c : cases) {
        m_port.messages.clear();
        m_form->Field(c.field).SetText(c.text);
        EXPECT_TRUE(m_form->Leave(c.field));
        EXPECT_EQ(m_form->Text(c.field), QString(c.text));
        EXPECT_EQ(m_port.Texts(), c.warned ? QStringList{girocode::kIbanInvalid} : QStringList{})
            << c.text;
    }
    Type(F::KontoinhaberEdit2, "Markt-Apotheke OHG");
    m_form->SetChecked(F::GiroCodeChk, false);
    ASSERT_TRUE(m_form->Ok(F::NameEdit));
    const OptionValues back = ReadOrderedOptions(IniFile(IniPath()));
    EXPECT_EQ(back.Value("KontoinhaberEdit2"), "Markt-Apotheke OHG");
    EXPECT_FALSE(back.Flag("GiroCodeChk"));
}

TEST_F(TOptionenDlgFormTest, CancelWritesNothingAndForgetsTheEdits)
{
    const QByteArray before = testfiles::ReadAll(IniPath());
    Type(F::NameEdit, "Praxis Neu");
    m_form->ChooseDocument(1);
    EXPECT_EQ(m_form->Text(F::RechFuss1Edit),
              "Betrag bar / mit EC-Karte / per Scheck dankend erhalten!");
    Type(F::RechKopfEdit, "Quittung für:");
    EXPECT_EQ(m_form->Documents()[5], "Quittung für:");
    EXPECT_EQ(m_form->Documents()[1], "Für tierärztliche Bemühungen erlaube ich mir zu berechnen:");
    m_form->Cancel();

    EXPECT_EQ(m_form->Documents()[5], "Für tierärztliche Bemühungen erlaube ich mir zu berechnen:");
    EXPECT_EQ(testfiles::ReadAll(IniPath()), before);
    EXPECT_EQ(m_options.Value("NameEdit"), "");
    m_form->Open();
    EXPECT_EQ(m_form->Text(F::NameEdit), "");
    EXPECT_EQ(m_form->DocumentTitles(), (QStringList{"RECHNUNG", "QUITTUNG", "ANGEBOT"}));
}

TEST_F(TOptionenDlgFormTest, EditedDocumentTextIsStoredOnOk)
{
    m_form->ChooseDocument(2);
    Type(F::RechFuss2Edit, "Gültig 4 Wochen.");
    ASSERT_TRUE(m_form->Ok());
    EXPECT_EQ(IniFile(IniPath()).ReadString("Dokumente", "D11"), "Gültig 4 Wochen.");
    EXPECT_EQ(IniFile(IniPath()).ReadSection("Dokumente").size(), 12);
}

TEST_F(TOptionenDlgFormTest, BackupFolderFieldAndDriveBox)
{
    m_form->ChooseDrive(0);  // disabled without automatic backup
    EXPECT_EQ(m_form->Text(F::BackupPathEdit), "") << "no medium until one is chosen";
    m_form->SetChecked(F::SicherungChk1, true);
    EXPECT_TRUE(m_form->DriveBoxEnabled());
    m_form->ChooseDrive(1);
    EXPECT_EQ(m_form->Text(F::BackupPathEdit), "/DATEN/");
    m_form->ChooseDrive(0);
    EXPECT_EQ(m_form->Text(F::BackupPathEdit), m_dir.path() + "/stick/DATEN/");

    Type(F::BackupPathEdit, "/media/Stick");
    m_form->Leave(F::BackupPathEdit);
    EXPECT_EQ(m_form->Text(F::BackupPathEdit), "/media/Stick/");  // case kept
    m_form->Field(F::BackupPathEdit).SetText("");
    m_form->Leave(F::BackupPathEdit);
    EXPECT_EQ(m_form->Text(F::BackupPathEdit), "");  // the stored folder
}

TEST_F(TOptionenDlgFormTest, BackupPathMayNotBeTheDataFolder)
{
    m_form->SetChecked(F::SicherungChk1, true);
    Type(F::BackupPathEdit, Data());
    EXPECT_FALSE(m_form->Ok());
    EXPECT_EQ(m_port.LastText(), "Fehler: Backup-Pfad entspricht Standardpfad!");
    EXPECT_EQ(m_form->TakePageRequest(), F::BackupPage);
    EXPECT_FALSE(m_ini->ValueExists(kOptionen, "SicherungChk1"));
}

TEST_F(TOptionenDlgFormTest, NewBackupMediumIsFilledAndTheOptionsCopiedToIt)
{
    QDir(m_dir.path()).mkdir("stick");
    testfiles::WriteAll(Data() + "KUNDE.DBF", "Kunde\t\r\n");
    testfiles::WriteAll(Data() + "Texte/MAHNUNG1.TLV", "Mahnung\r\n");
    m_form->SetChecked(F::SicherungChk1, true);
    m_form->ChooseDrive(0);
    Type(F::NameEdit, "Praxis am Deich");
    ASSERT_TRUE(m_form->Ok());

    const QString medium = m_dir.path() + "/stick/DATEN/";
    EXPECT_EQ(m_port.Texts(),
              QStringList{"Daten auf dem Backupdatenträger müssen aktualisiert werden!\r\r"
                          "Klicken Sie auf die Schaltfläche OK und warten Sie einen\r"
                          "Augenblick, bis der Vorgang beendet ist."});
    EXPECT_EQ(testfiles::ReadAll(medium + "KUNDE.DBF"), "Kunde\t\r\n");
    EXPECT_TRUE(QFileInfo::exists(medium + "Texte/MAHNUNG1.TLV"));
    // The options copied after they were written.
    EXPECT_EQ(IniFile(medium + "TLV.INI").ReadString(kOptionen, "NameEdit"), "Praxis am Deich");
    EXPECT_EQ(m_hooks.backupPath, medium);
    EXPECT_TRUE(m_hooks.backupIndicator);
    EXPECT_TRUE(m_options.Flag("SicherungChk1"));
}

TEST_F(TOptionenDlgFormTest, UnwritableBackupDriveKeepsTheDialogOpen)
{
    OptionenContext c = Context();
    c.volumeOf = [](const QString&) {
        VolumeInfo v;
        v.reachable = true;
        v.readOnly = true;
        v.mountPoint = "/media/cdrom";
        return v;
    };
    TOptionenDlgForm form(c);
    form.Open();
    form.SetChecked(F::SicherungChk1, true);
    form.Field(F::BackupPathEdit).SetText("/media/cdrom/DATEN/");
    EXPECT_FALSE(form.Ok());
    EXPECT_EQ(m_port.LastText(), "Datenträger /media/cdrom\rnicht beschreibbar !");
    EXPECT_EQ(form.TakePageRequest(), F::BackupPage);
}

TEST_F(TOptionenDlgFormTest, LogoIsCheckedAgainstThePrintableWidth)
{
    RecordingCanvas canvas;  // 2100 pixels wide at 288 pixels per inch
    OptionenContext c = Context();
    c.canvas = &canvas;
    TOptionenDlgForm form(c);
    form.Open();
    ASSERT_TRUE(form.Checked(F::LogoChk));
    form.SetActivePage(F::Kopf);  // no Logo.bmp: unchecked silently
    EXPECT_FALSE(form.Checked(F::LogoChk));
    EXPECT_TRUE(m_port.messages.isEmpty());

    const QString logo = Data() + "Logo.bmp";
    canvas.bitmaps.append({logo, QSize(1400, 200)});  // printed 2100 wide: fits
    form.SetChecked(F::LogoChk, true);
    EXPECT_TRUE(form.Checked(F::LogoChk));
    canvas.bitmaps[0].second = QSize(1401, 200);
    form.SetChecked(F::LogoChk, true);
    EXPECT_FALSE(form.Checked(F::LogoChk));
    EXPECT_EQ(m_port.LastText(), "Logo: Bildbreite > Druckseite!");
}

TEST_F(TOptionenDlgFormTest, ExternalDocumentsFolderIsChosenOrRefused)
{
    m_port.QueueFile(m_dir.path() + "/fehlt");
    m_form->BrowseExtFolder();
    EXPECT_EQ(m_port.LastText(), "Pfad ist ungültig!");
    EXPECT_EQ(m_form->Text(F::StdExtPathEdit), "");
    m_port.QueueFile(Data() + "Texte");
    m_form->BrowseExtFolder();
    EXPECT_EQ(m_form->Text(F::StdExtPathEdit), Data() + "Texte/");
}

TEST(PharmacyAccountTest, SecondBusinessNeedsItsOwnAccount)
{
    OptionValues v;
    v.SetValue("NameEdit", "Praxis");
    v.SetValue("BLZEdit", "DE01 2345");
    v.SetValue("KtoEdit", "BIC-1");
    EXPECT_EQ(PharmacyAccountSetting(v).name, "");
    EXPECT_FALSE(PharmacyAccountSetting(v).separateAccount);

    // The same account written differently is no second account.
    v.SetValue("NameEdit2", "Praxis");
    v.SetValue("BLZEdit2", "DE012345");
    v.SetValue("KtoEdit2", "BIC 1");
    EXPECT_EQ(PharmacyAccountSetting(v).name, "");

    v.SetValue("KtoEdit2", "BIC 2");
    EXPECT_TRUE(PharmacyAccountSetting(v).separateAccount);
    EXPECT_EQ(PharmacyAccountSetting(v).name, "Praxis");
    v.SetValue("NameEdit2", "");
    EXPECT_EQ(PharmacyAccountSetting(v).name, "Praxis");  // the practice's name stands in
    v.SetValue("NameEdit2", "Apotheke am Markt");
    EXPECT_EQ(PharmacyAccountSetting(v).name, "Apotheke am Markt");
}

namespace {

// The main window's wiring: the hook runs the recalculation over the two master grids.
class GrossHooks : public OptionenHooks {
public:
    GrossHooks(UserPort& port, prices::VatRecalcTarget& target) : m_port(port), m_target(target) {}
    void RecalculateGross(QStringList& rates) override
    {
        prices::RecalculateAllGross(m_port, rates, m_target);
    }

private:
    UserPort& m_port;
    prices::VatRecalcTarget& m_target;
};

}  // namespace

TEST_F(TOptionenDlgFormTest, ChangedCurrentRateRecalculatesTheGrossPricesOfBothTables)
{
    // Service: text, species, fee net, factor, net, gross, code, number, remark.
    testfiles::WriteLines(Data() + "LEISTUNG.DBF",
                          {"Impfung\tHund\t10,00\t1,0\t10,00\t11,90\t1\t1\t\t"});
    // Medication: name, unit, net, gross, code, ...
    testfiles::WriteLines(Data() + "MED.DBF", {"Salbe\tTube\t5,00\t5,35\t2\t\t\t\t\t\t",
                                               "Tabletten\tSt\t2,00\t2,38\t1\t\t\t\t\t\t"});
    TSGrid services(m_port);
    TSGrid medications(m_port);
    ASSERT_TRUE(services.LoadTable(Data() + "LEISTUNG.DBF"));
    ASSERT_TRUE(medications.LoadTable(Data() + "MED.DBF"));
    GridVatRecalcTarget target(services, Data() + "LEISTUNG.DBF", medications, Data() + "MED.DBF");
    QString shownRate;
    target.showCurrentRate = [&](const QString& r) { shownRate = r; };
    GrossHooks hooks(m_port, target);
    OptionenContext c = Context();
    c.hooks = &hooks;
    TOptionenDlgForm form(c);
    form.Open(F::MwSt);

    for (auto [id, text] : {std::pair{F::Mwst1Edit, "16"}, std::pair{F::Mwst2Edit, "5"}}) {
        form.Field(id).SelectAll();
        for (const char* c = text; *c; ++c)
            form.KeyPress(id, QChar::fromLatin1(*c));
    }
    ASSERT_TRUE(form.Ok(F::Mwst1Edit));

    EXPECT_EQ(m_port.Texts(), QStringList{"Brutto-Preise in den Tabellen\rMedikamente/ Leistungen "
                                          "werden neu berechnet!"});
    EXPECT_EQ(shownRate, "16,0");
    EXPECT_EQ(testfiles::ReadAll(Data() + "LEISTUNG.DBF"),
              "Impfung\tHund\t10,00\t1,0\t10,00\t11,60\t1\t1\t\t\r\n");
    EXPECT_EQ(
        testfiles::ReadAll(Data() + "MED.DBF"),
        "Salbe\tTube\t5,00\t5,25\t2\t\t\t\t\t\t\r\nTabletten\tSt\t2,00\t2,32\t1\t\t\t\t\t\t\r\n");
}

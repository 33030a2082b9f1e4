#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/CodePage.h"
#include "settings/IniFile.h"
#include "support/FixedClock.h"
#include "support/QtPrinters.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "texts/TKreditorDlgForm.h"
#include "texts/TMakroDlgForm.h"
#include "texts/TextFiles.h"
#include "texts/TextWorkspace.h"

namespace {

TEST(TMakroDlgForm, ThirtyMacrosDisableAddAndLettersStayUnique)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("TLV.INI"));
    ScriptedUserPort port;
    TMakroDlgForm form(TMakroDlgForm::Mode::Macros, port);
    form.LoadMacros(macros::Read(ini));
    EXPECT_EQ(form.Caption(), "Makros definieren");
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(form.CanAdd());
        const int row = form.Add();
        form.SetLetter(row, QString(QChar('A' + i % 26)) + (i < 26 ? "" : "x"));
        form.SetText(row, QStringLiteral("Text %1").arg(i));
    }
    EXPECT_FALSE(form.CanAdd());
    EXPECT_EQ(form.Add(), -1);
    // Rows 26..29 tried the letters A..D again (upper case of a stored key too).
    EXPECT_EQ(port.messages.size(), 4);
    EXPECT_EQ(port.LastText(), "Makro mit diesem Buchstaben existiert bereits!");
    EXPECT_FALSE(form.SetLetter(29, "a"));
    EXPECT_TRUE(form.SetLetter(29, "7"));
    EXPECT_FALSE(form.SetLetter(28, "="));  // no key of the options file

    ASSERT_TRUE(macros::Write(ini, form.Macros()));
    EXPECT_EQ(macros::Read(ini).size(), 27);  // rows without a letter are not written
    IniFile again(dir.filePath("TLV.INI"));
    EXPECT_EQ(macros::Lookup(again, 'b'), QStringLiteral("Text 1"));
    EXPECT_EQ(macros::Lookup(again, '7'), QStringLiteral("Text 29"));
    EXPECT_FALSE(macros::Lookup(again, '#'));

    // Macro mode in the editor: the letter's text, the letter itself never.
    FixedClock clock;
    TextWorkspace ws(port, clock, again, {});
    ws.StartMacro();
    EXPECT_TRUE(ws.MacroMode());
    EXPECT_EQ(ws.MacroKey('c'), QStringLiteral("Text 2"));
    EXPECT_FALSE(ws.MacroMode());

    TMakroDlgForm favorites(TMakroDlgForm::Mode::Favorites, port);
    favorites.LoadFavorites({"Impfung", "Röntgen"});
    EXPECT_FALSE(favorites.CanAdd());
    favorites.Delete(0);
    EXPECT_EQ(favorites.FavoriteNames(), QStringList{"Röntgen"});
}

TEST(TKreditorDlgForm, DateFieldPrefillAndCancel)
{
    ScriptedUserPort port;
    FixedClock clock;
    TKreditorDlgForm form(TKreditorDlgForm::Mode::Letterhead, port, clock);
    EXPECT_EQ(form.Caption(), "(Brief-)Kopf");
    EXPECT_EQ(form.Text(TKreditorDlgForm::Anrede), "Frau / Herrn / Firma");

    // The date takes digits and points; a comma becomes a point; it is checked when left.
    for (QChar ch : QStringLiteral("1,2x.24"))
        form.KeyPress(TKreditorDlgForm::Datum, ch);
    EXPECT_EQ(form.Text(TKreditorDlgForm::Datum), "1.2.24");
    EXPECT_TRUE(form.Leave(TKreditorDlgForm::Datum));
    EXPECT_EQ(form.Text(TKreditorDlgForm::Datum), "01.02.2024");
    form.SetText(TKreditorDlgForm::Datum, "31.02.2024");
    EXPECT_FALSE(form.Ok(TKreditorDlgForm::Datum));
    EXPECT_EQ(port.LastText(), "Fehler: Datum ungültig!");
    form.InsertToday();
    EXPECT_EQ(form.Head().date, "15.03.2024");

    // Prefill from a pharmacy customer: the pharmacy sender only once it is set up.
    const QString customer = QString::fromUtf8(
        "Weißenböck\tJürgen\tAm Grüttpark 14\t79540 Lörrach\t0007\t\tHerrn\t(A) Hofapotheke\t");
    form.Begin();
    form.PrefillFromCustomer(customer);
    EXPECT_FALSE(form.Pharmacy());
    form.SetPharmacyAvailable(true);
    form.PrefillFromCustomer(customer);
    EXPECT_TRUE(form.Pharmacy());
    EXPECT_EQ(tlvheader::AddresseeLines(form.Head()),
              (QStringList{"Herrn", QString::fromUtf8("Jürgen Weißenböck")}));
    EXPECT_EQ(form.KeeperLine(),
              QString::fromUtf8("(A) Jürgen Weißenböck, Am Grüttpark 14, 79540 Lörrach"));

    // Cancel restores every field and the switches.
    form.SetBank(false);
    form.KeyPress(TKreditorDlgForm::Titel, 'X');
    EXPECT_TRUE(form.Changed());
    form.Cancel();
    EXPECT_FALSE(form.Changed());
    EXPECT_EQ(form.Text(TKreditorDlgForm::Name), "");
    EXPECT_TRUE(form.Bank());
    EXPECT_EQ(form.Head().date, "15.03.2024");
}

TEST(TKreditorDlgForm, KeeperOfTheDispensingRecord)
{
    ScriptedUserPort port;
    FixedClock clock;
    // The keeper dialog of the dispensing record: the subject is the VVVO number.
    TKreditorDlgForm keeper(TKreditorDlgForm::Mode::Keeper, port, clock);
    EXPECT_EQ(keeper.Caption(), "Tierhalter");
    EXPECT_EQ(keeper.TitleGroupCaption(), "VVVO-Nr.");
    const QStringList customers = {"Huber\tAnna\tHof 1\t1 A\t0001\t\tFrau\t\t",
                                   "Meier\tOtto\tWeg 2\t2 B\t0002\t\tHerrn\t\t"};
    keeper.SetCustomers(&customers);
    for (QChar ch : QStringLiteral("Mei"))
        keeper.KeyPress(TKreditorDlgForm::KundenSuche, ch);
    keeper.SetText(TKreditorDlgForm::Titel, "276091234567890");
    EXPECT_EQ(keeper.KeeperLine(), "Otto Meier, Weg 2, 2 B  (VVVO-Nr.: 276091234567890)");

    // A stored record brings its own VVVO number and pharmacy mark; the next record shown
    // keeps nothing of them, and a record begun empty has no keeper.
    keeper.SetPharmacyAvailable(true);
    keeper.LoadKeeper("(A) Anna Huber, Hof 1, 1 A  (VVVO-Nr.: 0815)", "Anna", "Huber", "Hof 1",
                      "1 A");
    EXPECT_EQ(keeper.VvvoNumber(), "0815");
    EXPECT_EQ(keeper.KeeperLine(), "(A) Anna Huber, Hof 1, 1 A  (VVVO-Nr.: 0815)");
    keeper.LoadKeeper("Otto Meier, Weg 2, 2 B", "Otto", "Meier", "Weg 2", "2 B");
    EXPECT_EQ(keeper.VvvoNumber(), "");
    EXPECT_EQ(keeper.KeeperLine(), "Otto Meier, Weg 2, 2 B");
    EXPECT_FALSE(keeper.Changed());
    keeper.ClearKeeper();
    EXPECT_EQ(keeper.KeeperLine(), "- - -");
}

TEST(DefaultTexts, WrittenWhenMissingAndReadyForDunningAndReminders)
{
    QTemporaryDir dir;
    const QString texts = dir.path() + "/";
    testfiles::WriteAll(texts + "ImpfErg.TLV", "eigener Text\r\n");
    ASSERT_TRUE(textfiles::WriteMissingDefaultTexts(texts));
    EXPECT_EQ(testfiles::ReadAll(texts + "ImpfErg.TLV"), "eigener Text\r\n");
    EXPECT_FALSE(QFileInfo::exists(texts + "IMPFERG.TLV"));

    const QString first = cp1252::Decode(testfiles::ReadAll(texts + "MAHNUNG1.TLV"));
    const QString second = cp1252::Decode(testfiles::ReadAll(texts + "MAHNUNG2.TLV"));
    for (const char* placeholder : {"FFF", "DDD", "BBB", "MMM"}) {
        EXPECT_TRUE(first.contains(placeholder)) << placeholder;
        EXPECT_TRUE(second.contains(placeholder)) << placeholder;
    }
    EXPECT_FALSE(tlvheader::IsHeaderLine(first));
    EXPECT_TRUE(second.contains("gerichtlich"));

    const QStringList reminder = textfiles::DefaultText("IMPFERG.TLV");
    ASSERT_TRUE(tlvheader::IsHeaderLine(reminder[0]));
    EXPECT_EQ(tlvheader::Field(reminder[0], 7), "Erinnerung an die Impfung Ihres Tieres");
    EXPECT_TRUE(reminder.contains("TTT"));
    // Its letterhead is a subject alone; the workspace shows that, not a row of commas.
    EXPECT_EQ(tlvheader::Label(tlvheader::Parse(reminder[0])),
              "Titel: Erinnerung an die Impfung Ihres Tieres");
    // Every line fits the printed line of a letter with the standard layout.
    for (const QString& name : textfiles::DefaultTextNames()) {
        for (const QString& line : textfiles::DefaultText(name).mid(1))
            EXPECT_LE(line.size(), 72) << line.toStdString();
    }
}

}  // namespace

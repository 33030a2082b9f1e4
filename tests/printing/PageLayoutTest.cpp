#include <gtest/gtest.h>

#include "printing/PageLayout.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintGrid2.h"
#include "printing/TPrintStrList.h"
#include "printing/TSeiteEinrichtenDlgForm.h"
#include "support/FixedClock.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"

namespace {

using Memo = TMemoSeiteEinrichtenDlgForm;
using Table = TSeiteEinrichtenDlgForm;

TEST(PageLayoutTest, CentimetresBecomeWholeMillimetres)
{
    EXPECT_EQ(pagelayout::CmToMm(QStringLiteral("1,5"), 0), 15);
    EXPECT_EQ(pagelayout::CmToMm(QStringLiteral("3,1"), 0), 31);
    EXPECT_EQ(pagelayout::CmToMm(QStringLiteral("0,7"), 0), 7);
    EXPECT_EQ(pagelayout::CmToMm(QStringLiteral("4,56"), 0), 45);
    EXPECT_EQ(pagelayout::CmToMm(QStringLiteral("zwei"), 20), 20);
    EXPECT_TRUE(pagelayout::AcceptsMeasureChar(QLatin1Char('7')));
    EXPECT_TRUE(pagelayout::AcceptsMeasureChar(QLatin1Char(',')));
    EXPECT_FALSE(pagelayout::AcceptsMeasureChar(QLatin1Char('.')));
    EXPECT_FALSE(pagelayout::AcceptsMeasureChar(QLatin1Char('a')));
}

TEST(PageLayoutTest, KeysAreMatchedInTheirFixedOrder)
{
    MemoryLayoutStore store;
    const QString s = QStringLiteral("EditorOptionen");
    // First key missing: its default, and the following keys still load.
    store.Write(s, QStringLiteral("UntenEdit"), QStringLiteral("4"));
    store.Write(s, QStringLiteral("LinksEdit"), QStringLiteral("1,5"));
    store.Write(s, QStringLiteral("RechtsEdit"), QStringLiteral("1"));
    store.Write(s, QStringLiteral("SeitenNrChk"), QStringLiteral("FALSE"));
    store.Write(s, QStringLiteral("KopfAbstandEdit"), QStringLiteral("5"));
    Memo form(store);
    form.ObenEdit = QStringLiteral("9");
    form.Load(Memo::Workspace::TextEditor);
    EXPECT_EQ(form.TopMm(), 20);
    EXPECT_EQ(form.BottomMm(), 40);
    EXPECT_EQ(form.LeftMm(), 15);
    EXPECT_EQ(form.PageNumberPos(), TPageNumberPos::pnNone);
    EXPECT_EQ(form.KopfAbstandMm(), 50);
    EXPECT_EQ(form.EinzugEdit, 1);

    // Keys in another order fall back to defaults from the first mismatch on.
    MemoryLayoutStore swapped;
    swapped.Write(s, QStringLiteral("UntenEdit"), QStringLiteral("4"));
    swapped.Write(s, QStringLiteral("ObenEdit"), QStringLiteral("1,5"));
    swapped.Write(s, QStringLiteral("LinksEdit"), QStringLiteral("1"));
    Memo other(swapped);
    other.Load(Memo::Workspace::TextEditor);
    EXPECT_EQ(other.TopMm(), 20);     // "ObenEdit" was not first
    EXPECT_EQ(other.BottomMm(), 40);  // "UntenEdit" matched at position 0
    EXPECT_EQ(other.LeftMm(), 20);    // position 1 holds "ObenEdit", not "LinksEdit"
}

TEST(PageLayoutTest, EmptySectionLeavesFieldsAsTheyAre)
{
    MemoryLayoutStore store;
    Memo form(store);
    form.ObenEdit = QStringLiteral("1,5");
    form.Load(Memo::Workspace::RecordCard);
    EXPECT_EQ(form.TopMm(), 15);
    EXPECT_EQ(form.Caption(), QStringLiteral("Druckbild - Karteikarte/Rechnung"));
    EXPECT_EQ(form.Section(), QStringLiteral("RechnDruckOptionen"));
    EXPECT_TRUE(form.IndentationVisible());
}

TEST(PageLayoutTest, DocumentLayoutRoundTripsWithFontsInTheirOwnSections)
{
    MemoryLayoutStore store;
    store.Write(QStringLiteral("EditorOptionen"), QStringLiteral("Alt"), QStringLiteral("x"));
    Memo form(store);
    form.Load(Memo::Workspace::TextEditor);
    form.ObenEdit = QStringLiteral("1,5");
    form.SeitenNrChk = false;
    form.EinzugEdit = 2;
    form.EditorFont = PrintFont{QStringLiteral("Courier New"), 10, false, true};
    int applied = 0;
    form.OnApplied = [&](Memo::Workspace) { ++applied; };
    form.Ok();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(store.SectionKeys(QStringLiteral("EditorOptionen")),
              (QStringList{"ObenEdit", "UntenEdit", "LinksEdit", "RechtsEdit", "SeitenNrChk",
                           "KopfAbstandEdit", "EinzugEdit"}));
    const QString fonts = QStringLiteral("EditorOptionenFontsEditorFont");
    EXPECT_EQ(store.SectionKeys(fonts),
              (QStringList{"Name", "Size", "Color", "StyleBold", "StyleItalic", "StyleUnderline",
                           "StyleStrikeOut"}));
    EXPECT_EQ(store.Read(fonts, QStringLiteral("StyleItalic"), {}), QStringLiteral("TRUE"));

    Memo again(store);
    again.Load(Memo::Workspace::TextEditor);
    EXPECT_EQ(again.TopMm(), 15);
    EXPECT_FALSE(again.SeitenNrChk);
    EXPECT_EQ(again.EinzugEdit, 2);
    EXPECT_EQ(again.EditorFont, form.EditorFont);

    // Cancel throws the edits away.
    again.ObenEdit = QStringLiteral("7");
    again.Cancel();
    EXPECT_EQ(again.TopMm(), 15);

    RecordingCanvas canvas;
    ScriptedUserPort port;
    TPrintStrList printer(canvas, port);
    again.ApplyTo(printer);
    EXPECT_EQ(printer.TopMargin, 15);
    EXPECT_EQ(printer.BottomMargin, 30);
    EXPECT_EQ(printer.KopfAbstand, 45);
    EXPECT_EQ(printer.PageNumberPos, TPageNumberPos::pnNone);
    EXPECT_EQ(printer.LinesFont.name, QStringLiteral("Courier New"));
}

// Document tables (invoices) take the same page as letters, their column titles in 8 pt.
TEST(PageLayoutTest, DocumentLayoutOnATableJob)
{
    MemoryLayoutStore store;
    Memo form(store);
    form.Load(Memo::Workspace::TextEditor);
    form.ObenEdit = QStringLiteral("1,5");
    form.UntenEdit = QStringLiteral("2");
    form.LinksEdit = QStringLiteral("2,5");
    form.RechtsEdit = QStringLiteral("1");
    form.KopfAbstandEdit = QStringLiteral("5");
    form.SeitenNrChk = true;
    form.EditorFont = PrintFont{QStringLiteral("Courier New"), 11};
    form.TitelFontGross.size = 16;

    RecordingCanvas canvas;
    ScriptedUserPort port;
    FixedClock clock;
    TPrintGrid2 printer(canvas, port, clock);
    form.ApplyTo(printer);
    EXPECT_EQ(printer.TopMargin, 15);
    EXPECT_EQ(printer.BottomMargin, 20);
    EXPECT_EQ(printer.LeftMargin, 25);
    EXPECT_EQ(printer.RightMargin, 10);
    EXPECT_EQ(printer.KopfAbstand, 50);
    EXPECT_EQ(printer.PageNumberPos, TPageNumberPos::pnBotCenter);
    EXPECT_EQ(printer.LinesFont, form.EditorFont);
    EXPECT_EQ(printer.ColHeaderFont.name, QStringLiteral("Courier New"));
    EXPECT_EQ(printer.ColHeaderFont.size, 8);
    EXPECT_EQ(printer.TitleFontGr, form.TitelFontGross);
    EXPECT_EQ(printer.TitleFontKl, form.TitelFontKlein);
}

TEST(PageLayoutTest, TableDefaultsAndSwitchesGiveColumnWidths)
{
    MemoryLayoutStore store;
    Table form(store);
    form.Load(Table::List::Medikamente);
    EXPECT_EQ(form.Caption(), QStringLiteral("Druckbild - Medikamente"));
    TablePrintSetup setup = form.Setup();
    EXPECT_EQ(setup.heading, QStringLiteral("Talven - Medikamente"));
    EXPECT_EQ(setup.topMm, 20);
    EXPECT_EQ(setup.bottomMm, 30);
    EXPECT_EQ(setup.columnWidthsMm.value(1), 80);
    EXPECT_EQ(setup.columnWidthsMm.value(9), 15);
    EXPECT_EQ(setup.columnWidthsMm.value(7), 0);  // batch number off by default
    EXPECT_EQ(setup.columnWidthsMm.value(5), 0);  // VAT code off by default
    EXPECT_EQ(setup.titles.value(6), QStringLiteral("WZ"));
    EXPECT_TRUE(setup.rowLines);
    EXPECT_EQ(setup.datePos, TPageNumberPos::pnTopRight);

    form.Switches[4] = true;  // "ChargeChk"
    form.Widths[5] = QStringLiteral("2,5");
    form.DatumChk = false;
    form.Ok();
    Table again(store);
    again.Load(Table::List::Medikamente);
    setup = again.Setup();
    EXPECT_EQ(setup.columnWidthsMm.value(7), 25);
    EXPECT_EQ(setup.datePos, TPageNumberPos::pnNone);
    EXPECT_EQ(store.SectionKeys(QStringLiteral("TabSeitenOptionen")).value(10),
              QStringLiteral("EinkNettoChk"));
    EXPECT_FALSE(store.SectionKeys(QStringLiteral("TabSeitenOptionenFontsZellenFont")).isEmpty());
}

TEST(PageLayoutTest, ListSectionsHaveTheirOwnDefaults)
{
    MemoryLayoutStore store;
    Table form(store);
    form.Load(Table::List::Kunden);
    EXPECT_EQ(form.Section(), QStringLiteral("KundeSeitenOptionen"));
    EXPECT_EQ(form.Setup().columnWidthsMm.value(6), 0);  // telephone off
    EXPECT_EQ(form.Setup().columnWidthsMm.value(5), 15);

    form.Load(Table::List::Leistungen);
    EXPECT_EQ(form.Setup().columnWidthsMm.value(8), 0);  // fee-schedule number off
    EXPECT_EQ(form.Setup().titles.value(7), QStringLiteral("USt(%)"));

    form.Load(Table::List::Einnahmen, true);
    TablePrintSetup journal = form.Setup();
    EXPECT_FALSE(journal.colLines);
    EXPECT_EQ(journal.leftMm, 15);
    EXPECT_EQ(journal.rightMm, 15);
    EXPECT_EQ(journal.heading, QStringLiteral("Einnahmen"));
    EXPECT_FALSE(form.KontostaendeChk);

    form.Load(Table::List::Abgabebeleg);
    EXPECT_EQ(form.Setup().leftMm, 5);
    EXPECT_EQ(form.TotalWidthLabel(), QStringLiteral("Breite aller Spalten: 18,7"));
    form.Widths[0] = QString();
    form.WidthLeft(0);
    EXPECT_EQ(form.Widths[0], QStringLiteral("3,1"));
}

}  // namespace

#include <QTemporaryDir>

#include "printing/IniLayoutStore.h"
#include "settings/IniFile.h"

namespace {

TEST(PageLayoutTest, LayoutsLiveInTheOptionsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TLV.INI"));
    {
        IniFile ini(path);
        IniLayoutStore store(ini);
        TSeiteEinrichtenDlgForm form(store);
        form.Load(TSeiteEinrichtenDlgForm::List::Leistungen);
        form.ObenEdit = QStringLiteral("1,5");
        form.Switches[4] = true;
        form.Ok();
    }
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("LeistungSeitenOptionen"), QStringLiteral("ObenEdit")),
              QStringLiteral("1,5"));
    IniLayoutStore store(ini);
    TSeiteEinrichtenDlgForm again(store);
    again.Load(TSeiteEinrichtenDlgForm::List::Leistungen);
    EXPECT_EQ(again.Setup().topMm, 15);
    EXPECT_EQ(again.Setup().columnWidthsMm.value(8), 20);
}

}  // namespace

#include <QDir>

#include "printing/TPrintGrid2.h"
#include "support/FixedClock.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"

namespace {

TEST(PageLayoutTest, BatchNumberSwitchDecidesTheMedicationPrintAndExport)
{
    ScriptedUserPort port;
    TSGrid grid(port);
    grid.SetColCount(11);
    grid.Resize(12 * 21);
    grid.SetLines({QStringLiteral("Amoxi\t1,00000\t2,00000\t2,38000\t1\t28 T\tCH-17\t\t12\tM1\t")});
    grid.PriceCol1 = 2;
    grid.PriceCol2 = 3;
    grid.PriceCol3 = 4;
    RecordingCanvas canvas;
    FixedClock clock;
    TPrintGrid2 printer(canvas, port, clock);
    printer.AttachGrid(&grid);

    MemoryLayoutStore store;
    TSeiteEinrichtenDlgForm form(store);
    form.Load(TSeiteEinrichtenDlgForm::List::Medikamente);
    form.Switches[4] = true;  // "ChargeChk"
    ApplyTableSetup(form.Setup(), printer);
    EXPECT_EQ(printer.ExportLines(),
              (QStringList{QStringLiteral("Table"),
                           QStringLiteral("Medikament\tEinkNetto\tVerkNetto\tVerkMitSt\tWZ\t"
                                          "Charge\tBestand\t"),
                           QStringLiteral("Amoxi\t1,00\t2,00\t2,38\t28 T\tCH-17\t12\t")}));
    EXPECT_EQ(printer.Title, QStringList{QStringLiteral("Talven - Medikamente")});

    form.Switches[4] = false;
    ApplyTableSetup(form.Setup(), printer);
    EXPECT_EQ(printer.ExportLines().value(2),
              QStringLiteral("Amoxi\t1,00\t2,00\t2,38\t28 T\t12\t"));
    printer.DatePos = TPageNumberPos::pnNone;
    printer.Print();
    EXPECT_EQ(canvas.Find(QStringLiteral("CH-17")), nullptr);
    EXPECT_NE(canvas.Find(QStringLiteral("28 T")), nullptr);
}

}  // namespace

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/CodePage.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintStrList.h"
#include "settings/IniFile.h"
#include "settings/OptionSections.h"
#include "support/FixedClock.h"
#include "support/MemorySettings.h"
#include "support/QtPrinters.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "texts/TextWorkspace.h"

namespace {

struct TextWorkspaceTest : ::testing::Test {
    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock;
    IniFile ini{dir.filePath("TLV.INI")};
    VolumeInfo volume{true, 1 << 30, 1 << 30, false, QStringLiteral("/daten")};
    TextWorkspace ws{port, clock, ini, MakeSetup()};

    QString Texts() const { return dir.path() + "/Texte/"; }
    TextWorkspaceSetup MakeSetup()
    {
        QDir(dir.path()).mkpath("Texte");
        TextWorkspaceSetup s;
        s.textsFolder = Texts();
        s.dataFolder = dir.path() + "/";
        s.volumeOf = [this](const QString&) { return volume; };
        return s;
    }
};

// Bytes of a letter with letterhead as the editor on Windows writes it.
QByteArray LetterBytes()
{
    QByteArray head(
        "\x85\x86\x85(A) Frau\x85J\xfcrgen\x85Wei\xdf"
        "enb\xf6"
        "ck\x85"
        "Am Gr\xfcttpark 14\x85"
        "79540 L\xf6rrach\x85"
        "08.12.2026\x85"
        "Impfung \x84"
        "Bello\x93\x85T\x85"
        "F\x85T\x86");
    return head +
           "\r\nSehr geehrte Frau Wei\xdf"
           "enb\xf6"
           "ck,\r\n\r\n\tmit Tab \x80 5\r\n";
}

TEST_F(TextWorkspaceTest, LetterWithHeaderLineRoundTripsByteForByte)
{
    testfiles::WriteAll(Texts() + "BRIEF.TLV", LetterBytes());
    ASSERT_TRUE(ws.Open(Texts() + "brief.tlv"));  // found whatever the case
    const LetterHead& h = ws.Head();
    EXPECT_TRUE(ws.HasLetterhead());
    EXPECT_TRUE(h.pharmacy);
    EXPECT_EQ(h.salutation, "Frau");
    EXPECT_EQ(h.name, QString::fromUtf8("Weißenböck"));
    EXPECT_EQ(h.title, QString::fromUtf8("Impfung „Bello“"));
    EXPECT_TRUE(h.bank);
    EXPECT_FALSE(h.phone);
    EXPECT_EQ(ws.LetterheadLabel(),
              QString::fromUtf8("Weißenböck, Jürgen, Am Grüttpark 14, 79540 Lörrach"));
    EXPECT_FALSE(ws.Text().startsWith(QChar(0x2026)));  // the header line is never shown
    EXPECT_EQ(ws.Caption(), "Talven-Textverarbeitung: BRIEF.TLV");
    EXPECT_EQ(ReadRecentFiles(ini).value(0), Texts() + "BRIEF.TLV");

    ws.Edited(ws.Text() + QStringLiteral("x"));
    ws.Edited(ws.Text().chopped(1));
    ASSERT_TRUE(ws.Save());
    EXPECT_EQ(testfiles::ReadAll(Texts() + "BRIEF.TLV"), LetterBytes());
    EXPECT_FALSE(ws.Modified());

    // A marker character typed into a field would shift the fields after it.
    LetterHead typed = h;
    typed.title = QString::fromUtf8("Befund… folgt");
    ws.ApplyLetterhead(typed, true);
    ASSERT_TRUE(ws.Save());
    ASSERT_TRUE(ws.Open(Texts() + "BRIEF.TLV"));
    EXPECT_EQ(ws.Head().title, "Befund... folgt");
    EXPECT_FALSE(ws.Head().phone);
}

TEST_F(TextWorkspaceTest, PlainFileResetsTheLetterheadAndIsSavedWithoutHeaderLine)
{
    testfiles::WriteAll(Texts() + "BRIEF.TLV", LetterBytes());
    testfiles::WriteAll(Texts() + "NOTIZ.TLV", "Nur Text\r\n");
    ASSERT_TRUE(ws.Open(Texts() + "BRIEF.TLV"));
    ASSERT_TRUE(ws.Open(Texts() + "NOTIZ.TLV"));
    EXPECT_FALSE(ws.HasLetterhead());
    EXPECT_EQ(ws.Head(), LetterHead());
    EXPECT_EQ(ws.Head().salutation, "Frau / Herrn / Firma");
    EXPECT_TRUE(ws.Head().bank && ws.Head().phone && ws.Head().firm);
    EXPECT_EQ(ws.LetterheadLabel(), "- - -");
    ws.Edited("Nur Text\nmehr");
    ASSERT_TRUE(ws.Save());
    EXPECT_EQ(testfiles::ReadAll(Texts() + "NOTIZ.TLV"), "Nur Text\r\nmehr\r\n");
    // Both files in the recent list, newest first.
    EXPECT_EQ(ws.RecentFiles(), (QStringList{Texts() + "NOTIZ.TLV", Texts() + "BRIEF.TLV"}));
}

TEST_F(TextWorkspaceTest, NameProposalFromTheAddressee)
{
    testfiles::WriteAll(Texts() + "MUSTERM1.TLV", "");
    struct Case {
        const char* name;
        const char* first;
        const char* proposal;
    } cases[] = {
        {"Mustermann", "Erika", "Musterm2.tlv"},  // 1 exists (upper case) already
        {"Li", "Bo", "Li_Bo1.tlv"},
        {"Dr. Ey", "", "Dr__Ey_1.tlv"},
        {"Hof/Weg", "A", "Hof_Weg1.tlv"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textfiles::ProposeFileName(Texts(), QString::fromUtf8(c.name),
                                             QString::fromUtf8(c.first)),
                  QString::fromUtf8(c.proposal))
            << c.name;
    }
    for (int i = 2; i <= 9; ++i)
        testfiles::WriteAll(Texts() + QStringLiteral("Musterm%1.tlv").arg(i), "");
    EXPECT_EQ(textfiles::ProposeFileName(Texts(), "Mustermann", "Erika"), "Musterm.tlv");
}

TEST_F(TextWorkspaceTest, SaveAsQuestionsAndFailuresKeepTheDocument)
{
    LetterHead head;
    head.name = QStringLiteral("Mustermann");
    ws.ApplyLetterhead(head, true);
    ws.Edited("Brief");

    // Cancelled dialog: nothing written, still modified, New stops at the question.
    EXPECT_FALSE(ws.Save());
    EXPECT_TRUE(ws.Modified());
    port.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(ws.New());
    EXPECT_EQ(port.LastText(), "Möchten Sie die Änderungen abspeichern?");
    EXPECT_EQ(ws.Text(), "Brief");

    // An existing target is replaced only on Yes.
    testfiles::WriteAll(Texts() + "ALT.TLV", "alt\r\n");
    port.QueueFile(Texts() + "alt");
    port.QueueAnswer(Answer::No);
    EXPECT_FALSE(ws.SaveAs());
    EXPECT_EQ(testfiles::ReadAll(Texts() + "ALT.TLV"), "alt\r\n");

    // A full volume: the message, the file unwritten, the document still modified.
    volume.freeBytes = 10;
    port.QueueFile(Texts() + "neu");
    EXPECT_FALSE(ws.SaveAs());
    EXPECT_TRUE(port.LastText().startsWith("Datenträger ist voll oder nicht beschreibbar ("));
    EXPECT_FALSE(QFileInfo::exists(Texts() + "NEU.TLV"));
    EXPECT_TRUE(ws.Modified());

    // An unreachable drive is asked about until it answers; then the save goes through.
    int asked = 0;
    TextWorkspaceSetup setup = MakeSetup();
    setup.volumeOf = [&asked](const QString&) {
        return VolumeInfo{asked++ > 0, 1 << 30, 1 << 30, false, QStringLiteral("/daten")};
    };
    TextWorkspace other(port, clock, ini, setup);
    other.ApplyLetterhead(head, true);
    port.QueueFile(Texts() + "neu");
    ASSERT_TRUE(other.Save());
    EXPECT_EQ(port.LastText(),
              "Auf das Laufwerk /daten kann nicht zugegriffen werden.\rBitte überprüfen Sie den "
              "Datenträger!");
    EXPECT_FALSE(other.Modified());
    EXPECT_EQ(other.FilePath(), Texts() + "NEU.TLV");
    EXPECT_TRUE(
        tlvheader::IsHeaderLine(cp1252::SplitLines(testfiles::ReadAll(other.FilePath()))[0]));
}

TEST(TextKeys, LimitAndOverwriteRules)
{
    EXPECT_TRUE(TextWorkspace::KeyFits(29998, 0));
    EXPECT_FALSE(TextWorkspace::KeyFits(29999, 0));
    EXPECT_TRUE(TextWorkspace::KeyFits(29999, 1));  // typing over a selection
    ScriptedUserPort port;
    FixedClock clock;
    IniFile none;
    TextWorkspace ws(port, clock, none, {});
    EXPECT_TRUE(ws.PasteFits(20000, 0, 10000));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(ws.PasteFits(20000, 0, 10001));
    EXPECT_EQ(port.LastText(), "Der Text in der Zwischenablage ist zu groß!");

    struct Case {
        QChar typed;
        QChar next;
        bool atEnd;
        bool replaces;
    } cases[] = {
        {'x', 'a', false, true},     {'x', '\n', false, false},  // a line end is never joined
        {'x', QChar(), true, false}, {'\t', 'a', false, false},
        {'\n', 'a', false, false},   {'\b', 'a', false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextWorkspace::OverwriteReplaces(c.typed, c.next, c.atEnd), c.replaces)
            << int(c.typed.unicode());

    // Macro mode without an options file: the message, the key dropped, the mode ended.
    ws.StartMacro();
    EXPECT_FALSE(ws.MacroKey('a'));
    EXPECT_FALSE(ws.MacroMode());
    EXPECT_EQ(port.LastText(), "Datei TLV.INI existiert nicht! ");
}

TEST_F(TextWorkspaceTest, LetterPrintFillsTheSlotsByTheSwitchesAndSalutationRule)
{
    MemorySettings options;
    for (const auto& [key, value] : {std::pair{"NameEdit", "Praxis Berger"},
                                     {"FirmaEdit", "Kleintiere"},
                                     {"TelEdit", "Tel 1"},
                                     {"BankEdit", "Sparkasse"},
                                     {"SonstEdit1", "www"},
                                     {"NameEdit2", "Tier-Apotheke"}})
        options.Write("Optionen", key, value);
    MemoryLayoutStore store;
    TMemoSeiteEinrichtenDlgForm layout(store);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
    RecordingCanvas canvas;
    TPrintStrList printer(canvas, port);
    ws.Edited("Zeile 1\nZeile 2");

    ws.PrepareLetter(printer, layout, options);
    EXPECT_FALSE(printer.KopfPrint);
    EXPECT_EQ(printer.StringList, (QStringList{"Zeile 1", "Zeile 2"}));
    EXPECT_EQ(printer.PrintMgrTitle, "Talven - Textdatei");
    EXPECT_EQ(printer.LeftMargin, 20);

    LetterHead head;
    head.name = "Muster";
    head.firstName = "Eva";
    head.town = "12345 Ort";
    head.title = "Betreff";
    head.phone = false;
    struct Case {
        const char* salutation;
        const char* slot6;
        const char* slot7;
    } cases[] = {{"Frau", "Frau", "Eva Muster"},
                 {" Familie ", " Familie ", "Eva Muster"},
                 {"An die Praxis", "An die Praxis", "Eva Muster"},
                 {"c/o Huber", "Eva Muster", "c/o Huber"}};
    for (const Case& c : cases) {
        head.salutation = QString::fromUtf8(c.salutation);
        ws.ApplyLetterhead(head, false);
        ws.PrepareLetter(printer, layout, options);
        ASSERT_EQ(printer.Kopf.size(), TPrintStrList::kKopfSlots);
        EXPECT_EQ(printer.Kopf[6], QString::fromUtf8(c.slot6));
        EXPECT_EQ(printer.Kopf[7], QString::fromUtf8(c.slot7));
    }
    EXPECT_TRUE(printer.KopfPrint);
    EXPECT_EQ(printer.Kopf[0], "Praxis Berger");
    EXPECT_EQ(printer.Kopf[1], "Kleintiere");
    EXPECT_EQ(printer.Kopf[4], "");   // telephone switch off
    EXPECT_EQ(printer.Kopf[15], "");  // further lines go with it
    EXPECT_EQ(printer.Kopf[10], "Sparkasse");
    EXPECT_EQ(printer.Kopf[13], "Betreff");
    EXPECT_EQ(printer.DateLabel, "15.03.2024");  // no date set: today

    head.pharmacy = true;
    head.date = "01.02.2024";
    ws.ApplyLetterhead(head, false);
    ws.PrepareLetter(printer, layout, options);
    EXPECT_EQ(printer.Kopf[0], "Tier-Apotheke");
    EXPECT_EQ(printer.DateLabel, "01.02.2024");

    TextWorkspace::AfterPrint(printer);
    EXPECT_TRUE(printer.StringList.isEmpty());
    EXPECT_FALSE(printer.KopfPrint);
}

TEST_F(TextWorkspaceTest, PageDisplayCountsTheLetterheadOnPageOne)
{
    MemoryLayoutStore store;
    TMemoSeiteEinrichtenDlgForm layout(store);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
    RecordingCanvas canvas;
    TPrintStrList printer(canvas, port);
    const TextWorkspace::PageMetrics plain = ws.Measure(printer, layout);
    ws.ApplyLetterhead(LetterHead(), false);
    const TextWorkspace::PageMetrics letter = ws.Measure(printer, layout);
    EXPECT_LT(letter.firstPage, plain.firstPage);
    EXPECT_EQ(letter.nextPages, plain.firstPage);
    EXPECT_GT(plain.charsPerLine, 0);

    const TextWorkspace::PageMetrics m{10, 20, 0};
    for (const auto& [line, page] : {std::pair{1, 1}, {10, 1}, {11, 2}, {30, 2}, {31, 3}})
        EXPECT_EQ(TextWorkspace::PageOfLine(line, m), page) << line;
}

}  // namespace

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "appointments/TTerminEditDlgForm.h"
#include "common/CodePage.h"
#include "masterdata/MasterWorkspace.h"
#include "masterdata/TEditDlgForm.h"
#include "printing/LayoutStore.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintGrid2.h"
#include "settings/IniFile.h"
#include "support/FixedClock.h"
#include "support/QtPrinters.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedPrintDialog.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "texts/Favorites.h"
#include "texts/TNotizDlgForm.h"

namespace {

const QString kCustomer =
    QString::fromUtf8("Müller\tAnna\tWeg 1\t12345 Dorf\t0012\t\tFrau\t\t003\t\t");

// Fills the patient panel as the person would and clicks OK.
struct PatientDialog : RecordDialogRunner {
    QStringList values;
    bool Run(TEditDlgForm& form, const MasterTableView*) override
    {
        for (int i = 0; i < values.size(); ++i)
            form.Patient().SetText(i, values[i]);
        return true;
    }
};

struct Opened : DocumentOpener {
    QStringList opened;
    bool desktopHasAProgram = true;
    bool Open(const QString& path) override
    {
        opened << path;
        return desktopHasAProgram;
    }
    bool OpenWith(const QString&) override { return false; }
};

// The favourite's name dialog: each name queued is typed and OK clicked until it is taken;
// none left is Cancel.
struct NameDialog : TerminEditRunner {
    UserPort& port;
    QStringList typed;
    explicit NameDialog(UserPort& p) : port(p) {}
    bool Run(TTerminEditDlgForm& form) override
    {
        EXPECT_EQ(form.GetMode(), TTerminEditDlgForm::Mode::FavoriteName);
        while (!typed.isEmpty()) {
            form.EditText(TTerminEditDlgForm::TerminEdit, typed.takeFirst());
            if (form.Ok(port))
                return true;
        }
        return false;
    }
};

struct PatientNotesTest : ::testing::Test {
    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock;
    IniFile ini{dir.filePath("TLV.INI")};
    NotesClipboard clipboard;

    QString Data() const { return dir.path() + "/"; }
    std::unique_ptr<TNotizDlgForm> Open(const QString& documents = {})
    {
        NotesSetup setup;
        setup.dataFolder = Data();
        setup.defaultDocumentFolder = documents;
        auto form = std::make_unique<TNotizDlgForm>(port, clock, ini, setup, clipboard);
        form->Open(kCustomer);
        return form;
    }
    static QString Text(const TNotizDlgForm& form, int record)
    {
        return recordline::Cell(form.Notes().RecordLine(record), 2);
    }
};

TEST_F(PatientNotesTest, CustomerWithoutFileGetsOneOnTheFirstSave)
{
    auto form = Open();
    EXPECT_EQ(form->Header(), QString::fromUtf8("Müller Anna, 12345 Dorf"));
    EXPECT_EQ(form->Notes().RecordCount(), 10);
    EXPECT_FALSE(form->Changed());
    form->Close();  // nothing changed: no question, no file
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Data() + "P0012.PAT"));

    form->InsertDate();
    form->Notes().SetRecordCell(2, 0, "Impfung SHPPi+L");
    EXPECT_TRUE(form->Changed());
    form->Close();  // "Yes" saves
    EXPECT_EQ(port.LastText(), "Möchten Sie die Änderungen abspeichern?");
    const QStringList lines = cp1252::SplitLines(testfiles::ReadAll(Data() + "P0012.PAT"));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "15.03.2024\tImpfung SHPPi+L\t\t");

    // Opened again: the cursor waits on the first blank row after the last one used.
    auto again = Open();
    EXPECT_EQ(again->Notes().CurrentRecord(), 1);
    EXPECT_FALSE(again->Changed());
}

TEST_F(PatientNotesTest, PatientBlockLeavesAtLeastOneBlankRowOfTen)
{
    testfiles::WriteLines(Data() + "P0012.PAT", {"01.02.2024\tAltes\t\t", "\t\t\t", "\t\t\t"});
    auto form = Open();
    PatientDialog dialog;
    dialog.values = {"Bello", "Hund"};
    ASSERT_TRUE(form->NewPatient(dialog));
    const TSGrid& notes = form->Notes();
    ASSERT_EQ(notes.RecordCount(), 11);
    EXPECT_EQ(Text(*form, 1), QString(92, '-'));
    EXPECT_EQ(recordline::Cell(notes.RecordLine(2), 1), "Patient:");
    EXPECT_EQ(Text(*form, 2), "Hund Bello");
    for (int r = 3; r < 11; ++r)
        EXPECT_TRUE(notes::IsBlank(notes.RecordLine(r))) << r;
    EXPECT_EQ(notes.CurrentRecord(), 2);  // shows the patient row
    EXPECT_FALSE(form->Changed());        // and is saved

    dialog.values = {"Mia", "Katze", "EKH", "grau", "01.05.2020", "W", "J", "276098106543210"};
    ASSERT_TRUE(form->NewPatient(dialog));
    const QStringList expected = {"Katze Mia",
                                  "Rasse: EKH",
                                  "Sex: W",
                                  "Farbe: grau",
                                  "Kastration: J",
                                  "Geburt: 01.05.2020",
                                  "Tier-/Pass-Nr.: 276098106543210"};
    const int patient = notes.CurrentRecord();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Text(*form, patient + i), expected[i]);
    EXPECT_TRUE(notes::IsBlank(notes.RecordLine(notes.RecordCount() - 1)));
    EXPECT_FALSE(notes::IsBlank(notes.RecordLine(notes.RecordCount() - 3)));

    // The patient block is cut with all its rows, and pasted into another customer.
    port.QueueAnswer(Answer::Yes);
    form->CutPatient();
    EXPECT_EQ(clipboard.lines.size(), 8);
    EXPECT_EQ(notes.RecordCount(), 5);
    EXPECT_EQ(Text(*form, 2), "Hund Bello");
}

TEST_F(PatientNotesTest, ParagraphsSearchAndTheNotesClipboard)
{
    testfiles::WriteLines(Data() + "P0012.PAT",
                          {"01.02.2024\tRöntgen Hüfte\t\t", "\tBefund unauffällig\t\t", "  \t \t\t",
                           "03.03.2024\tImpfung\t\t"});
    auto form = Open();
    const QStringList lines = form->Notes().Lines();
    struct Case {
        int row, first, last;
    } cases[] = {{0, 0, 1}, {1, 0, 1}, {2, 2, 2}, {3, 3, 3}};
    for (const Case& c : cases) {
        const notes::Span span = notes::Paragraph(lines, c.row);
        EXPECT_EQ(span.first, c.first) << c.row;
        EXPECT_EQ(span.last, c.last) << c.row;
    }

    port.QueueAnswer(Answer::No);
    form->Search("befund");
    EXPECT_EQ(form->Notes().CurrentRecord(), 1);
    EXPECT_EQ(port.LastText(), "Wollen Sie weitersuchen?");
    form->Search("zzz");
    EXPECT_EQ(port.LastText(), "Keinen Eintrag gefunden!");
    port.QueueAnswer(Answer::Yes);
    form->Search("2024");
    EXPECT_EQ(port.LastText(), "Keinen weiteren Eintrag gefunden!");
    EXPECT_EQ(form->Notes().CurrentRecord(), 3);

    form->Notes().GotoRecord(2, 1);
    port.QueueAnswer(Answer::No);
    form->CutParagraph();
    EXPECT_EQ(form->Notes().RecordCount(), 14);
    port.QueueAnswer(Answer::Yes);
    form->CutParagraph();
    EXPECT_EQ(clipboard.lines.size(), 2);
    EXPECT_EQ(Text(*form, 0), " ");
    form->Notes().GotoRecord(2, 2);
    form->Paste();
    EXPECT_EQ(Text(*form, 2), QString::fromUtf8("Röntgen Hüfte"));
    EXPECT_EQ(Text(*form, 3), QString::fromUtf8("Befund unauffällig"));
    EXPECT_EQ(Text(*form, 1), "Impfung");

    // Printed as a document; a printer that fails the job is reported.
    RecordingCanvas canvas;
    TPrintGrid2 printer(canvas, port, clock);
    MemoryLayoutStore store;
    TMemoSeiteEinrichtenDlgForm layout(store);
    ScriptedPrintDialog dialog;
    dialog.choice = PrintDialogChoice{};
    form->PrintNotes(printer, layout, dialog);
    EXPECT_EQ(canvas.title, "Talven - Notiz");
    EXPECT_TRUE(canvas.Find(QString::fromUtf8("Befund unauffällig")));
    EXPECT_TRUE(canvas.Find("03.03.2024"));
    canvas.failJobs = true;
    form->PrintClipboard(printer, layout, dialog);
    EXPECT_EQ(port.LastText(), "Fehler beim Ausdruck der Notiz!");
    clipboard.lines.clear();
    form->PrintClipboard(printer, layout, dialog);
    EXPECT_EQ(port.LastText(), "Zwischenablage ist leer!");
}

TEST_F(PatientNotesTest, ThirtyFavoritesAtMostWithUniqueNames)
{
    QStringList lines;
    favorites::Append(lines, "Impfung", {"Zeile 1", "Zeile 2"});
    struct Case {
        const char* typed;
        const char* name;
        const char* error;
    } cases[] = {{"  Röntgen", "Röntgen", ""},
                 {"impfung", "impfung", "Fehler: Name existiert bereits!"},
                 {"   ", "", "Fehler: Name ungültig!"}};
    for (const Case& c : cases) {
        const favorites::NameCheck check = favorites::CheckName(lines, QString::fromUtf8(c.typed));
        EXPECT_EQ(check.name.trimmed(), QString::fromUtf8(c.name)) << c.typed;
        EXPECT_EQ(check.error, QString::fromUtf8(c.error)) << c.typed;
    }

    testfiles::WriteLines(Data() + "P0012.PAT",
                          {"\tSHPPi+L jährlich\t\t", "\tTollwut alle 3 Jahre\t\t"});
    auto form = Open();
    form->Notes().GotoRecord(2, 1);
    NameDialog dialog(port);
    TerminFavoriteNameAsker asker(dialog);
    dialog.typed = {"   ", "  Impfschema"};  // a blank name is refused, the dialog stays
    ASSERT_TRUE(form->AddFavorite(asker));
    EXPECT_EQ(port.LastText(), "Fehler: Name ungültig!");
    dialog.typed = {"impfSCHEMA", "F1"};
    ASSERT_TRUE(form->AddFavorite(asker));
    EXPECT_EQ(port.LastText(), "Fehler: Name existiert bereits!");
    EXPECT_FALSE(form->AddFavorite(asker));  // cancelled: nothing added
    for (int i = 2; i < 30; ++i) {
        dialog.typed = {QStringLiteral("F%1").arg(i)};
        ASSERT_TRUE(form->AddFavorite(asker)) << i;
    }
    EXPECT_EQ(form->FavoriteNames().size(), 30);
    dialog.typed = {"F30"};
    EXPECT_FALSE(form->AddFavorite(asker));
    EXPECT_EQ(port.LastText(), "Anzahl der Einträge (Favoriten) ist auf 30 beschränkt.");
    EXPECT_EQ(dialog.typed, QStringList{"F30"});  // refused before the name was asked

    // The stored favourite holds the paragraph's text, its name on the first row only.
    TSGrid stored(port);
    stored.SetColCount(6);
    stored.LoadTable(Data() + "FAVORITE.DBF");
    EXPECT_EQ(favorites::Texts(stored.Lines(), "Impfschema"),
              (QStringList{QString::fromUtf8("SHPPi+L jährlich"), "Tollwut alle 3 Jahre"}));
    EXPECT_EQ(stored.RecordLine(0), QString::fromUtf8("Impfschema\tSHPPi+L jährlich\t\t\t\t"));

    form->Notes().GotoRecord(2, 3);
    form->InsertFavorite("Impfschema");
    EXPECT_EQ(Text(*form, 3), QString::fromUtf8("SHPPi+L jährlich"));
    EXPECT_EQ(Text(*form, 4), "Tollwut alle 3 Jahre");

    form->KeepFavorites({"F5"});
    EXPECT_EQ(form->FavoriteNames(), QStringList{"F5"});
    stored.LoadTable(Data() + "FAVORITE.DBF");
    EXPECT_EQ(stored.RecordCount(), 2);  // F5 with its two rows
}

TEST_F(PatientNotesTest, LinksInTheDefaultFolderGoByNameAndBreakWhenItMoves)
{
    struct Case {
        const char* cell;
        const char* link;  // empty: no link
    } cases[] = {
        {"@roentgen.jpg ", "roentgen.jpg"},
        {"siehe @Röntgen Bello.jpeg Befund vom 01.02.2024", "Röntgen Bello.jpeg"},
        {"@C:\\Bilder\\labor.pdf", "C:\\Bilder\\labor.pdf"},
        {"Befund 01.02.2024", ""},
        {"@ohne Endung", ""},
    };
    for (const Case& c : cases) {
        const std::optional<QString> link = notes::LinkOf(QString::fromUtf8(c.cell));
        EXPECT_EQ(link.value_or(QString()), QString::fromUtf8(c.link)) << c.cell;
    }

    QTemporaryDir docs;
    const QString inside = QDir(docs.path()).filePath("roentgen.jpg");
    testfiles::WriteAll(inside, "jpg");
    QTemporaryDir elsewhere;
    const QString outside = QDir(elsewhere.path()).filePath("labor.pdf");
    testfiles::WriteAll(outside, "pdf");

    auto form = Open(docs.path());
    ASSERT_TRUE(form->InsertLink(inside));
    ASSERT_TRUE(form->InsertLink(outside));
    EXPECT_FALSE(form->InsertLink(docs.path() + "/fehlt.png"));
    EXPECT_EQ(port.LastText(), "Talven kann die Datei nicht öffnen. (fehlt.png)");
    EXPECT_EQ(Text(*form, 0), "@roentgen.jpg ");
    EXPECT_EQ(Text(*form, 1), "@" + outside + " ");
    EXPECT_EQ(form->Notes().CurrentRecord(), 2);  // the cursor moved down

    Opened opener;
    EXPECT_TRUE(form->OpenLink(Text(*form, 0), opener));
    EXPECT_TRUE(form->OpenLink(Text(*form, 1), opener));
    EXPECT_EQ(opener.opened, (QStringList{inside, outside}));
    EXPECT_FALSE(form->OpenLink("kein Link", opener));
    // Nothing on the desktop opens the file: the person is told, not left waiting.
    opener.desktopHasAProgram = false;
    EXPECT_FALSE(form->OpenLink(Text(*form, 0), opener));
    EXPECT_EQ(port.LastText(), "Talven kann die Datei nicht öffnen. (roentgen.jpg)");

    // The default folder moved: links by name no longer resolve; full paths still do.
    const QString moved = docs.path() + "_neu";
    ASSERT_TRUE(QDir().rename(docs.path(), moved));
    EXPECT_FALSE(form->OpenLink(Text(*form, 0), opener));
    EXPECT_EQ(port.LastText(),
              "Kein Standardpfad definiert bzw. Pfad geändert!\rDatei-Start nur "
              "mit kompl. Pfadangabe möglich!");
    QFile::remove(outside);
    EXPECT_FALSE(form->OpenLink(Text(*form, 1), opener));
    EXPECT_EQ(port.LastText(), "Datei " + outside + "\r wurde nicht gefunden!");
    QDir().rename(moved, docs.path());
}

}  // namespace

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "appointments/TTerminEditDlgForm.h"
#include "common/CodePage.h"
#include "dispensing/AbgWorkspace.h"
#include "support/FixedClock.h"
#include "support/MemorySettings.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"

using namespace abg;

namespace {

class AbgTest : public ::testing::Test {
protected:
    QString Program() const { return m_dir.path() + "/"; }
    QString Folder(int year) const { return YearFolder(Program(), year); }
    QString File(int n, int year) const { return Folder(year) + RecordFileName(n, year); }

    void Counter(int lastNr, int lastYear)
    {
        options.values[{"Abgabebeleg", "LastNr"}] = QString::number(lastNr);
        options.values[{"Abgabebeleg", "LastYear"}] = QString::number(lastYear);
    }
    QString Stored(const char* key) const { return options.Get("Abgabebeleg", key); }

    // A stored record of the given keeper with one medication in row 1.
    void WriteRecord(int n, int year, const QString& keeper, int lastRow = 0)
    {
        QDir().mkpath(Folder(year));
        Cells cells;
        cells[0][kColName] = "Medikament " + QString::number(n);
        cells[lastRow][0] = "Rind";
        Header h;
        h.number = QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
        h.date = QStringLiteral("01.02.%1").arg(year);
        h.keeperLine = keeper;
        testfiles::WriteLines(File(n, year), RecordLines(cells, h));
    }
    QStringList Lines(const QString& path) const
    {
        QStringList lines;
        cp1252::ReadLines(path, lines);
        return lines;
    }

    AbgWorkspace& Start()
    {
        ws = std::make_unique<AbgWorkspace>(port, clock, options, Program());
        ws->EnterWorkspace();
        return *ws;
    }

    QTemporaryDir m_dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    MemorySettings options;
    std::unique_ptr<AbgWorkspace> ws;
};

TEST_F(AbgTest, NewRecordsTakeTheNextNumberWhoseFileDoesNotExist)
{
    struct Case {
        const char* name;
        int lastNr, lastYear;  // lastYear 0: no counter stored
        QList<int> files;      // in the folder of 2026; empty with noFolder
        bool noFolder;
        int expected;
    };
    const Case cases[] = {
        {"first record after the year change", 17, 2025, {}, true, 1},
        {"the first gap of the folder after a year change", 17, 2025, {1, 2, 3, 5}, false, 4},
        {"the counter", 41, 2026, {}, false, 42},
        {"an existing file of the counter's number is skipped", 41, 2026, {40, 42, 43}, false, 44},
        {"no counter yet", 0, 0, {1}, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(Folder(2026)).removeRecursively();
        options.values.clear();
        if (c.lastYear)
            Counter(c.lastNr, c.lastYear);
        if (!c.noFolder)
            QDir().mkpath(Folder(2026));
        for (int n : c.files)
            WriteRecord(n, 2026, "Keeper");
        AbgWorkspace& w = Start();
        EXPECT_EQ(w.Number(), c.expected);
        EXPECT_EQ(w.Caption(), QStringLiteral("Talven - Abgabebeleg:  Nr. %1")
                                   .arg(c.expected, 4, 10, QLatin1Char('0')));
        EXPECT_TRUE(QFileInfo(Folder(2026)).isDir());
        EXPECT_TRUE(w.DateButtonVisible());
    }
}

TEST_F(AbgTest, YearChangeOffersToDeleteTheFoldersSixToElevenYearsOld)
{
    Counter(9, 2025);
    for (int year = 2014; year <= 2021; ++year)
        WriteRecord(1, year, "Alt");
    port.QueueAnswer(Answer::Yes);  // 2020
    port.QueueAnswer(Answer::Ok);   // "gelöscht!"
    for (int i = 0; i < 5; ++i)
        port.QueueAnswer(Answer::No);
    Start();

    QStringList asked;
    for (const auto& m : port.messages) {
        if (m.kind == MsgKind::Confirmation)
            asked << m.text.section("Jahre ", 1).section(' ', 0, 0);
    }
    EXPECT_EQ(asked, QStringList({"2020", "2019", "2018", "2017", "2016", "2015"}));
    EXPECT_TRUE(port.Texts().contains("Ordner 2020 gelöscht!"));
    EXPECT_FALSE(QFileInfo::exists(Folder(2020)));
    for (int year : {2014, 2015, 2019, 2021})
        EXPECT_TRUE(QFileInfo::exists(File(1, year))) << year;
    EXPECT_EQ(ws->Number(), 1);
}

TEST_F(AbgTest, SaveWritesTheShortOrLongFormAndOpenReadsItBack)
{
    struct Case {
        int lastRow;  // -1: nothing filled
        qsizetype lines;
    };
    for (const Case c : {Case{5, 61}, Case{6, 295}, Case{31, 295}, Case{-1, 0}}) {
        SCOPED_TRACE(c.lastRow);
        QDir(Folder(2026)).removeRecursively();
        options.values.clear();
        AbgWorkspace& w = Start();
        w.Keeper().SetText(TKreditorDlgForm::Name, "Huber");
        if (c.lastRow >= 0) {
            w.SetCell(kColName, 0, "Baytril");
            w.SetCell(kColWaiting, c.lastRow, "M 5 / F 10");
        }
        const SaveResult result = w.SaveRecord();
        if (c.lastRow < 0) {
            EXPECT_EQ(result, SaveResult::Empty);
            EXPECT_FALSE(QFileInfo::exists(File(1, 2026)));
            EXPECT_TRUE(Stored("LastNr").isEmpty());
            continue;
        }
        ASSERT_EQ(result, SaveResult::Written);
        const QStringList lines = Lines(File(1, 2026));
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines[lines.size() - 7], "0001");
        EXPECT_EQ(lines[lines.size() - 6], "10.03.2026");
        EXPECT_EQ(KeeperLineOf(lines), "- - -");
        EXPECT_EQ(lines[lines.size() - 3], "Huber");
        EXPECT_EQ(Stored("LastNr"), "1");
        EXPECT_EQ(Stored("LastYear"), "2026");
        EXPECT_FALSE(w.Modified());
        EXPECT_FALSE(w.DateButtonVisible());

        AbgWorkspace& again = Start();
        port.QueueFile(File(1, 2026));
        again.OpenRecord();
        EXPECT_EQ(again.Cell(kColName, 0), "Baytril");
        EXPECT_EQ(again.Cell(kColWaiting, c.lastRow), "M 5 / F 10");
        EXPECT_EQ(again.Keeper().Text(TKreditorDlgForm::Name), "Huber");
        EXPECT_FALSE(again.NewNumber());
    }
}

TEST_F(AbgTest, OpenReadsTheOldFormAndRefusesOtherFiles)
{
    QDir().mkpath(Folder(2026));
    QStringList old;
    for (int col = 0; col < 8; ++col) {
        for (int row = 0; row < 6; ++row)
            old << QStringLiteral("c%1r%2").arg(col).arg(row);
    }
    old << "0003"
        << "05.01.2026"
        << "(A) Anna Berg, Weg 1, 12345 Dorf  (VVVO-Nr.: 0815)"
        << "Anna"
        << "Berg"
        << "Weg 1"
        << "12345 Dorf";
    testfiles::WriteLines(File(3, 2026), old);
    options.values[{"Optionen", "NameEdit2"}] = "Tierapotheke";
    AbgWorkspace& w = Start();
    port.QueueFile(File(3, 2026));
    w.OpenRecord();
    EXPECT_EQ(w.Cell(3, 2), "c3r2");
    EXPECT_EQ(w.Cell(kColAmount, 2), "");
    EXPECT_EQ(w.Cell(5, 2), "c4r2");
    EXPECT_EQ(w.Cell(8, 5), "c7r5");
    EXPECT_EQ(w.Number(), 3);
    EXPECT_TRUE(w.PharmacyMark());
    // The header dialog holds all the keeper line was built from: OK in it keeps it.
    EXPECT_EQ(w.Keeper().KeeperLine(), w.KeeperLine());

    struct Bad {
        const char* name;
        qsizetype lines;
        QString message;
    };
    const QString txt = Folder(2026) + "A0009_26.txt";
    const QString short60 = Folder(2026) + "A0008_26.abg";
    for (const Bad& b :
         {Bad{"A0009_26.txt", 61, "Datei hat kein Abgabebeleg-Format. (" + txt + ")"},
          Bad{"A0008_26.abg", 60, "Datei hat kein Abgabebeleg-Format (" + short60 + ")"}}) {
        testfiles::WriteLines(Folder(2026) + b.name, QStringList(int(b.lines), "x"));
        port.QueueFile(Folder(2026) + b.name);
        w.OpenRecord();
        EXPECT_EQ(port.LastText(), b.message);
        EXPECT_EQ(w.Cell(3, 2), "");
    }
}

TEST_F(AbgTest, ANewRecordNeverReplacesAnExistingFile)
{
    Counter(4, 2026);
    AbgWorkspace& w = Start();
    ASSERT_EQ(w.Number(), 5);
    w.SetCell(kColName, 0, "Unser Beleg");
    // Another workstation saves record 5 meanwhile.
    WriteRecord(5, 2026, "Fremder Beleg");
    const QByteArray theirs = testfiles::ReadAll(File(5, 2026));

    ASSERT_EQ(w.SaveRecord(), SaveResult::Written);
    EXPECT_EQ(testfiles::ReadAll(File(5, 2026)), theirs);
    EXPECT_EQ(w.Number(), 6);
    EXPECT_EQ(Lines(File(6, 2026)).value(0 + 2 * 6), "Unser Beleg");
    EXPECT_EQ(Lines(File(6, 2026)).value(54), "0006");
    EXPECT_TRUE(port.LastText().contains("unter der Nr. 0006"));
    EXPECT_EQ(Stored("LastNr"), "6");

    // Saving the same record again writes its own file, not a further one.
    w.SetCell(kColName, 1, "Nachtrag");
    ASSERT_EQ(w.SaveRecord(), SaveResult::Written);
    EXPECT_EQ(Lines(File(6, 2026)).value(2 * 6 + 1), "Nachtrag");
    EXPECT_FALSE(QFileInfo::exists(File(7, 2026)));

    // A stored record that was opened is written back into its file; the counter stays.
    port.QueueFile(File(5, 2026));
    w.OpenRecord();
    w.SetCell(kColName, 1, "Korrektur");
    ASSERT_EQ(w.SaveRecord(), SaveResult::Written);
    EXPECT_EQ(Lines(File(5, 2026)).value(2 * 6 + 1), "Korrektur");
    EXPECT_EQ(Stored("LastNr"), "6");
}

TEST_F(AbgTest, AnUnsavedNewRecordKeepsItsNumber)
{
    Counter(6, 2026);
    AbgWorkspace& w = Start();
    w.SetCell(0, 0, "Kuh");
    port.QueueAnswer(Answer::No);
    int cancelled = 0;
    w.withdrawalsCancelled = [&] { ++cancelled; };
    w.NewCommand();
    EXPECT_EQ(w.Number(), 7);
    EXPECT_EQ(w.Cell(0, 0), "");
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(Stored("LastNr"), "6");
}

TEST_F(AbgTest, TheSaveQuestionOnEveryWayOut)
{
    struct Case {
        const char* name;
        Answer answer;
        bool saved;
        bool recordStays;
    };
    for (const Case& c :
         {Case{"Yes", Answer::Yes, true, false}, Case{"No", Answer::No, false, false},
          Case{"Cancel", Answer::Cancel, false, true}}) {
        SCOPED_TRACE(c.name);
        QDir(Folder(2026)).removeRecursively();
        options.values.clear();
        AbgWorkspace& w = Start();
        w.SetCell(0, 0, "Pferd");
        port.messages.clear();
        port.QueueAnswer(c.answer);
        port.QueueFile("");  // the file dialog is cancelled
        w.OpenRecord();
        EXPECT_EQ(port.messages.value(0).text, "Möchten Sie die Änderungen abspeichern?");
        EXPECT_EQ(port.messages.value(0).buttons, Buttons::YesNoCancel);
        EXPECT_EQ(QFileInfo::exists(File(1, 2026)), c.saved);
        EXPECT_EQ(w.Modified(), c.recordStays);
    }
    // Leaving the workspace offers Yes and No only.
    AbgWorkspace& w = Start();
    w.SetCell(0, 0, "Schaf");
    port.QueueAnswer(Answer::Yes);
    w.Leave();
    EXPECT_EQ(port.messages.last().buttons, Buttons::YesNo);
    EXPECT_TRUE(QFileInfo::exists(File(1, 2026)));
}

class DateRunner : public TerminEditRunner {
public:
    explicit DateRunner(QDate d) : date(d) {}
    bool Run(TTerminEditDlgForm& form) override
    {
        EXPECT_EQ(form.GetMode(), TTerminEditDlgForm::Mode::DispensingDate);
        ++runs;
        form.SetDate(date);
        return true;
    }
    QDate date;
    int runs = 0;
};

TEST_F(AbgTest, ADateMovedIntoThePreviousYearNumbersAndFilesTheRecordThere)
{
    Counter(3, 2026);
    for (int n = 1; n <= 7; ++n)
        WriteRecord(n, 2025, "Vorjahr");
    AbgWorkspace& w = Start();
    w.Keeper().SetText(TKreditorDlgForm::Name, "Huber");
    w.SetCell(kColName, 0, "Baytril");
    DateRunner runner(QDate(2025, 12, 31));
    w.ChangeDate(runner);
    EXPECT_EQ(w.Number(), 8);
    EXPECT_EQ(w.DateText(), "31.12.2025");
    EXPECT_TRUE(w.Modified());
    ASSERT_EQ(w.SaveRecord(), SaveResult::Written);
    EXPECT_TRUE(QFileInfo::exists(Folder(2025) + "A0008_25.abg"));
    EXPECT_EQ(Stored("LastYear"), "2025");
    EXPECT_EQ(Stored("LastNr"), "8");
    // A saved record keeps its date.
    w.ChangeDate(runner);
    EXPECT_EQ(runner.runs, 1);
}

class ScriptedSearch : public SearchRunner {
public:
    bool Run(SearchBox& box) override
    {
        shown = box;
        box.text = text;
        box.choice = choice;
        return true;
    }
    QString text;
    int choice = 2;
    SearchBox shown;
};

TEST_F(AbgTest, SearchFindsKeepersNewestFirstOverTheChosenYears)
{
    WriteRecord(1, 2026, "Maier Hans, Dorfstr. 1, 1000 A");
    WriteRecord(3, 2026, "Hans Müller, Weg 2, 2000 B  (VVVO-Nr.: 276091234567)");  // behind a gap
    WriteRecord(4, 2025, "Eva Meier, Ring 3, 3000 C");
    WriteRecord(2, 2025, "Karl Meier, Ring 4, 3000 C");
    struct Case {
        const char* word;
        int choice;
        QList<Answer> answers;
        QStringList found;  // "number/year"
        QString last;       // the closing message; empty when the person stopped
    };
    const Case cases[] = {
        {"müller ",
         3,
         {Answer::Yes},
         {"0003/2026"},
         "Keinen weiteren Beleg bis zum Jahr 2026 gefunden!"},
        {"276091",
         2,
         {Answer::Yes},
         {"0003/2026"},
         "Keinen weiteren Beleg bis zum Jahr 2025 gefunden!"},
        {"meier", 2, {Answer::Yes, Answer::No}, {"0004/2025", "0002/2025"}, ""},
        {"meier", 3, {}, {}, "Keinen Beleg bis zum Jahr 2026 gefunden!"},
        {"", 2, {}, {}, "Fehler (leeres Suchwort)"},
    };
    AbgWorkspace& w = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        port.messages.clear();
        for (Answer a : c.answers)
            port.QueueAnswer(a);
        ScriptedSearch search;
        search.text = c.word;
        search.choice = c.choice;
        w.SearchRecord(search, "Hans Maier");
        EXPECT_EQ(search.shown.text, "Hans Maier");
        EXPECT_EQ(search.shown.choices, QStringList({"2023", "2024", "2025", "2026"}));
        QStringList found;
        for (const auto& m : port.messages) {
            if (m.text.startsWith("Abgabebeleg Nr. "))
                found << m.text.mid(16, 4) + "/" + m.text.mid(30, 4);
        }
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(c.last.isEmpty() ? QString() : port.LastText(), c.last);
        if (!c.found.isEmpty()) {
            EXPECT_EQ(w.NumberText() + "/" + QString::number(w.Year()), c.found.last());
        }
    }
}

TEST_F(AbgTest, TakeOverFillsTheRowWithTheDosageUnitAndBooksStockKeptMedications)
{
    struct Case {
        const char* name;
        const char* quantity;
        bool hundred;
        const char* col2;
        const char* col4;
        const char* col5;
    };
    const Case cases[] = {
        {"Milbemax Tabl. 4 St.", "1/4", false, "Milbemax", "", "1 Tabl."},
        {"Novalgin 10 Amp.", "3/10", true, "Novalgin", "3 Amp.", ""},
        {"Synulox RTU 50 ml", "5/50", false, "Synulox RTU", "", "5 ml"},
        {"Milbemax Tabl. 4 St.", "1/2", false, "Milbemax Tabl. 4 St.", "", "0,50"},
        {"Baytril 2", "2", false, "Baytril 2", "", "2,00"},
    };
    AbgWorkspace& w = Start();
    QStringList booked;
    w.withdrawalBooked = [&](const QString& q, const QString& code, const QDate& d) {
        booked << q + " " + code + " " + d.toString("dd.MM.yyyy");
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int row = w.CurrentRow();
        w.SetCell(kColBatch, row, "alt");
        w.TakeOverMedication({c.name, "", "M 3", c.hundred ? "" : "0815"}, c.quantity, c.hundred);
        EXPECT_EQ(w.Cell(kColName, row), c.col2);
        EXPECT_EQ(w.Cell(kColBatch, row), "alt");  // an empty batch leaves the cell
        EXPECT_EQ(w.Cell(kColAmount, row), c.col4);
        EXPECT_EQ(w.Cell(kColDosage, row), c.col5);
        EXPECT_EQ(w.Cell(kColWaiting, row), "M 3");
        EXPECT_EQ(w.CurrentRow(), row + 1);
    }
    EXPECT_EQ(booked.size(), 4);
    EXPECT_EQ(booked.value(0), "1/4 0815 10.03.2026");

    w.TakeOverMedication({"X", "", "", "1"}, "abc", false);
    EXPECT_EQ(port.LastText(), "Ungültige Menge: abc");
    EXPECT_EQ(booked.size(), 4);

    // The last row keeps the cursor; a recent entry fills all five cells, books nothing.
    w.SetCurrent(0, kRows - 1);
    w.TakeOverRecent({"Rimadyl", "", "", "2,00", ""});
    EXPECT_EQ(w.CurrentRow(), kRows - 1);
    EXPECT_EQ(w.Cell(kColDosage, kRows - 1), "2,00");
    EXPECT_EQ(w.Cell(kColWaiting, kRows - 1), "");
    EXPECT_EQ(booked.size(), 4);
}

TEST_F(AbgTest, DeleteLineMovesTheRowsBelowUp)
{
    AbgWorkspace& w = Start();
    for (int r = 0; r < kRows; ++r)
        w.SetCell(0, r, QString::number(r));
    w.SaveRecord();
    w.SetCurrent(0, 1);
    port.QueueAnswer(Answer::No);
    w.DeleteLine();
    EXPECT_EQ(w.Cell(0, 1), "1");
    EXPECT_FALSE(w.Modified());
    w.DeleteLine();
    EXPECT_EQ(port.LastText(), "Zeile wirklich löschen?");
    EXPECT_EQ(w.Cell(0, 0), "0");
    EXPECT_EQ(w.Cell(0, 1), "2");
    EXPECT_EQ(w.Cell(0, kRows - 2), "31");
    EXPECT_EQ(w.Cell(0, kRows - 1), "");
    EXPECT_TRUE(w.Modified());
}

TEST_F(AbgTest, TypedKeysFollowMacroModeAndTheAutomaticStop)
{
    options.values[{"ShortCuts", "a"}] = "Antibiotikum";
    struct Case {
        const char* stored;  // nullptr: no entry
        bool stopOn;
    };
    for (const Case& c : {Case{"TRUE", true}, Case{"FALSE", false}, Case{nullptr, true}}) {
        if (c.stored)
            options.values[{"ZeilenstopAbgabe", "ZeilenstopChkAbgabe"}] = c.stored;
        else
            options.values.remove({"ZeilenstopAbgabe", "ZeilenstopChkAbgabe"});
        EXPECT_EQ(Start().AutomaticStop(), c.stopOn) << (c.stored ? c.stored : "missing");
    }
    AbgWorkspace& w = *ws;
    w.SetPrintWidths(QList<int>(kCols, 50));
    w.measureText = [](const QString& t) { return int(t.size()) * 10; };
    EXPECT_EQ(w.TypedKey('x', "xxxx").kind, KeyResult::Insert);
    EXPECT_EQ(w.TypedKey('x', "xxxxx").kind, KeyResult::Drop);
    EXPECT_EQ(w.TypedKey(QChar(8), "xxxxx").kind, KeyResult::Insert);
    w.SetAutomaticStop(false);
    EXPECT_EQ(options.Get("ZeilenstopAbgabe", "ZeilenstopChkAbgabe"), "FALSE");
    EXPECT_EQ(w.TypedKey('x', "xxxxxx").kind, KeyResult::Insert);

    w.SetMacroMode(true);
    const KeyResult macro = w.TypedKey('a', "a");
    EXPECT_EQ(macro.kind, KeyResult::Enter);
    EXPECT_EQ(macro.append, "Antibiotikum");
    EXPECT_FALSE(w.MacroMode());
    w.SetMacroMode(true);
    EXPECT_EQ(w.TypedKey('q', "q").kind, KeyResult::Drop);
    EXPECT_TRUE(w.Modified());

    options.failWrites = true;
    w.SetAutomaticStop(true);
    EXPECT_EQ(port.LastText(), "Fehler");
    EXPECT_TRUE(w.AutomaticStop());
}

}  // namespace

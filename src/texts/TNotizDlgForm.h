#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "texts/Favorites.h"
#include "texts/PatientNotes.h"

class Clock;
class TEditDlgForm;
class IniFile;
class PrintDialogPort;
class RecordDialogRunner;
class TMemoSeiteEinrichtenDlgForm;
class TPrintGrid2;
class TSGrid;
class UserPort;
struct TableEnvironment;

// Who takes the marked cell when the notes are opened from another window: the record card
// ("Markierten Text an Karteikarte übergeben") or the appointment dialog ("Markierte Zelle
// übernehmen..."), which implements it for its text block.
class NotesHandOver {
public:
    virtual ~NotesHandOver() = default;
    virtual QString ButtonCaption() const = 0;
    virtual void TakeOver(const QString& text) = 0;
    // The notes close once the text is taken.
    virtual bool ClosesNotes() const { return false; }
};

// Opens linked documents with the desktop's program for them. A link is only ever a file
// or folder path, never a command.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    virtual bool Open(const QString& path) = 0;
    // The default program failed: the person chooses one (here: the folder is shown).
    virtual bool OpenWith(const QString& path) = 0;
};

// The notes clipboard of the program: lines of the notes, kept while the program runs so
// that a paragraph can go from one customer's notes to another's.
struct NotesClipboard {
    QStringList lines;
};

struct NotesSetup {
    QString dataFolder;             // ends in "/"
    QString defaultDocumentFolder;  // "StdExtPathName"
    QString backupFolder;           // the customer table's mirror; empty: none
    std::shared_ptr<const TableEnvironment> tableEnv;
};

// The notes dialog without its window: the notes of one customer in a table grid, patient
// blocks, dates and rows, macros, search, the hand-over, paragraphs and the notes clipboard,
// document links, favourites, printing, and the save question and window placement of
// closing.
class TNotizDlgForm {
public:
    TNotizDlgForm(UserPort& port, const Clock& clock, IniFile& ini, NotesSetup setup,
                  NotesClipboard& clipboard);
    ~TNotizDlgForm();

    static QString Caption()
    {
        return QStringLiteral("Patienten (Notizen, Impfungen, Röntgen-, Labordaten etc.)");
    }

    TSGrid& Notes() const { return *m_notes; }
    // Loads the notes of the customer in the record line (a missing file: an empty table)
    // and puts the cursor on the first blank row after the last one used.
    void Open(const QString& customerLine);
    QString Header() const { return m_header; }
    QString CustomerNumber() const { return m_number; }
    QString FilePath() const;
    bool Changed() const;

    // ---- Editing (the current row is the grid's) ----
    void InsertDate();  // Ctrl+D: today into the date cell
    void InsertRow();   // Ctrl+Insert
    void DeleteRow();   // Ctrl+Delete, after the question
    // Down on the last row makes a new one.
    void AppendRowIfLast();
    // "Neu": the patient panel of the record edit dialog, then the block and the save.
    bool NewPatient(RecordDialogRunner& dialog);
    bool Save();
    // Ctrl+M in the grid: the macro text of the next key, when there is one.
    bool MacroMode() const { return m_macroMode; }
    void StartMacro() { m_macroMode = true; }
    std::optional<QString> MacroKey(QChar key);

    // ---- Search and hand-over ----
    void Search(const QString& term);
    void HandOver(NotesHandOver& target);

    // ---- Paragraphs and the notes clipboard ----
    void CopyParagraph();
    void CutParagraph();
    void CutPatient();
    void Paste();
    const NotesClipboard& Clipboard() const { return m_clipboard; }

    // ---- Document links ----
    // The chosen file into the text cell of the current row; the cursor moves down.
    bool InsertLink(const QString& path);
    // A double click on a cell: opens its link, if it holds one.
    bool OpenLink(const QString& cell, DocumentOpener& opener);
    QString LinkStartFolder() const;

    // ---- Favourites ----
    QStringList FavoriteNames() const;
    // "Absatz zu Favoriten hinzufügen...": the paragraph at the cursor under the name asked.
    bool AddFavorite(FavoriteNameAsker& asker);
    void InsertFavorite(const QString& name);
    // OK in the favourites mode of the macro dialog with the names kept.
    void KeepFavorites(const QStringList& names);

    // ---- Printing ----
    // The notes ("Drucken") or the notes clipboard ("Zwischenablage drucken") as a document
    // "Talven - Notiz" on the table printer with the text page layout.
    void PrintNotes(TPrintGrid2& printer, const TMemoSeiteEinrichtenDlgForm& layout,
                    PrintDialogPort& dialog);
    void PrintClipboard(TPrintGrid2& printer, const TMemoSeiteEinrichtenDlgForm& layout,
                        PrintDialogPort& dialog);

    // ---- Closing ----
    // The save question for changed notes (save or discard).
    void Close();
    // Window placement, section "NotizDlg": the stored size (-1 unset) and maximised flag.
    struct Placement {
        QRect bounds{-1, -1, -1, -1};
        bool maximised = false;
    };
    static Placement ReadPlacement(const IniFile& ini);
    static void WritePlacement(IniFile& ini, const Placement& placement);

private:
    int Current() const;
    void ReplaceLines(const QStringList& lines, int current);
    void InsertLines(const QStringList& lines);
    void RemoveSpan(const notes::Span& span);
    QStringList Trimmed() const;
    void Print(const QStringList& lines, TPrintGrid2& printer,
               const TMemoSeiteEinrichtenDlgForm& layout, PrintDialogPort& dialog);
    bool SaveFavorites(const QStringList& lines);

    UserPort& m_port;
    const Clock& m_clock;
    IniFile& m_ini;
    NotesSetup m_setup;
    NotesClipboard& m_clipboard;
    std::unique_ptr<TSGrid> m_notes;
    std::unique_ptr<TSGrid> m_favorites;
    QString m_number;
    QString m_header;
    QStringList m_loaded;  // the notes as loaded, for the save question
    bool m_macroMode = false;
};

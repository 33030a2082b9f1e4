#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "platform/Volume.h"
#include "texts/LetterHead.h"
#include "texts/TextFiles.h"

class Clock;
class IniFile;
class KeyValueSettings;
class TMemoSeiteEinrichtenDlgForm;
class TPrintStrList;
class UserPort;

// Where the text editor works.
struct TextWorkspaceSetup {
    QString textsFolder;  // ends in "/"
    QString dataFolder;   // ends in "/"; named when the options file is missing
    bool readOnlyMedium = false;
    // Volume look-up; empty means VolumeOf.
    std::function<VolumeInfo(const QString& path)> volumeOf;
    // Automatic backup: a saved letter is copied to the backup texts folder.
    std::function<void(const QString& path)> copyToBackup;
};

// The "Texte" workspace without its window: the document with its letterhead, New, Open,
// Save and Save as, the recent files, the text limit, overwrite and macro keys, the page
// display and the letter print. The editor widget shows Text() and reports every edit.
class TextWorkspace {
public:
    static constexpr int kMaxChars = 30000;

    TextWorkspace(UserPort& port, const Clock& clock, IniFile& ini, TextWorkspaceSetup setup);

    // ---- The document ----
    const QString& Text() const { return m_text; }
    void Edited(const QString& text);  // the person changed the text
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    const QString& FilePath() const { return m_path; }
    QString Caption() const;
    textfiles::Special SpecialText() const { return textfiles::SpecialOf(m_path); }

    bool HasLetterhead() const { return m_hasHead; }
    const LetterHead& Head() const { return m_head; }
    // OK in the letterhead dialog: the head is set; a changed dialog marks the document.
    void ApplyLetterhead(const LetterHead& head, bool changed);
    QString LetterheadLabel() const;  // "- - -" without letterhead
    QString DateLabel() const;        // "- - -" without date

    // ---- File commands; each returns false when it was cancelled or failed ----
    bool New();
    bool Open(const QString& path);
    bool OpenChosen();  // the open dialog in the texts folder
    bool Save();
    bool SaveAs();
    // Before New, Open and closing: the save question for a modified document. False when
    // the person cancelled (or the save they asked for failed): the operation stops.
    bool AskToSave();
    // The recent files, newest first, without absent entries.
    QStringList RecentFiles() const;

    // ---- Keys ----
    // A typed character fits while the text stays below 30000 characters.
    static bool KeyFits(int length, int selected);
    // A paste is refused (with the message) when it would reach 30001 characters.
    bool PasteFits(int length, int selected, int pasted);
    // Overwrite mode replaces the character after the cursor, but never a line end.
    static bool OverwriteReplaces(QChar typed, QChar next, bool atEnd);
    // Ctrl+M: the next character typed is a macro letter.
    void StartMacro() { m_macroMode = true; }
    bool MacroMode() const { return m_macroMode; }
    // The character typed in macro mode: the macro's text to insert, if there is one. The
    // character itself is never inserted; the mode ends.
    std::optional<QString> MacroKey(QChar typed);
    // The text block button: the notice, then "TTT" to insert at the cursor.
    QString TextBlock();

    // ---- Page display ----
    struct PageMetrics {
        int firstPage = 0;  // lines on page 1 (below the letterhead when one is set)
        int nextPages = 0;
        int charsPerLine = 0;
    };
    PageMetrics Measure(TPrintStrList& printer, const TMemoSeiteEinrichtenDlgForm& layout) const;
    static int PageOfLine(int line, const PageMetrics& metrics);  // line from 1

    // ---- Printing ----
    // The letter on the document printer: body, layout, job title, and the letterhead with
    // the practice's or the pharmacy's data from the options when one is set.
    void PrepareLetter(TPrintStrList& printer, const TMemoSeiteEinrichtenDlgForm& layout,
                       const KeyValueSettings& options) const;
    // After the job: the body list goes, the letterhead switches are off.
    static void AfterPrint(TPrintStrList& printer);

private:
    void Load(const QString& path, const QStringList& lines);
    bool Write(const QString& path);
    bool DriveReachable(const QString& folder);
    VolumeInfo Volume(const QString& path) const;

    UserPort& m_port;
    const Clock& m_clock;
    IniFile& m_ini;
    TextWorkspaceSetup m_setup;

    QString m_text;
    QString m_path;  // empty: unnamed
    bool m_modified = false;
    LetterHead m_head;
    bool m_hasHead = false;
    bool m_macroMode = false;
};

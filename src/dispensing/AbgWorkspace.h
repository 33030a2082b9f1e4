#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "dispensing/AbgRecordFile.h"
#include "texts/TKreditorDlgForm.h"

class Clock;
class KeyValueSettings;
class TerminEditRunner;
class UserPort;

namespace abg {

// A medication of the medication table as the take-over needs it.
struct Medication {
    QString name;
    QString batch;
    QString waitingTime;
    QString code;  // stock link; empty when the medication is not kept in stock
};

// One entry of the recently dispensed list: the values of columns 2, 3, 4, 5 and 8.
struct RecentEntry {
    QString name, batch, amount, dosage, waitingTime;
};

// The search box of the record search: the keeper's name and the last year searched.
struct SearchBox {
    QString label = QStringLiteral("&Name Tierhalter");
    QString text;
    QString choiceLabel = QStringLiteral("Bis &einschl.");
    QStringList choices;  // the years C-3 .. C
    int choice = 2;       // C-1
    QString info = QStringLiteral("TALVEN sucht nach alten Abgabebelegen.");
};
class SearchRunner {
public:
    virtual ~SearchRunner() = default;
    virtual bool Run(SearchBox& box) = 0;  // false: cancelled
};
// Runs the keeper dialog ("Kopf F6") on the workspace's form; true on OK.
class KeeperRunner {
public:
    virtual ~KeeperRunner() = default;
    virtual bool Run(TKreditorDlgForm& form) = 0;
};

// What a typed character does in the grid.
struct KeyResult {
    enum Kind { Drop, Insert, Enter } kind = Insert;
    QString append;  // a macro's text, appended to the cell before Enter
};

enum class SaveResult { Written, Empty, Failed };

// The `Abgabebeleg` workspace without its window: the record shown, its number, date and
// keeper, the files of the year folders and every command of the workspace. Exactly one
// record is shown at a time.
class AbgWorkspace {
public:
    // `programFolder` ends in "/"; the year folders lie in it, beside the data folder.
    AbgWorkspace(UserPort& port, const Clock& clock, KeyValueSettings& options,
                 QString programFolder);
    ~AbgWorkspace();

    // ---- The record shown ----
    const Cells& GetCells() const { return m_cells; }
    QString Cell(int col, int row) const { return m_cells[row][col]; }  // data row from 0
    // An edit of a cell (typing, pasting, Delete); sets the modified flag when it changes.
    void SetCell(int col, int row, const QString& text);
    int CurrentCol() const { return m_col; }
    int CurrentRow() const { return m_row; }
    void SetCurrent(int col, int row);

    int Number() const { return m_number; }
    QString NumberText() const;  // "0007"
    QString DateText() const { return m_date; }
    int Year() const { return YearOfDateText(m_date); }
    QString KeeperLine() const { return m_keeperLine; }
    bool PharmacyMark() const { return m_keeperLine.startsWith(QStringLiteral("(A)")); }
    bool DateButtonVisible() const { return m_dateButton; }
    bool Modified() const { return m_modified; }
    bool NewNumber() const { return m_newNumber; }
    QString Caption() const;
    // The file this record was read from or last written to; empty for a new record.
    QString OwnFile() const { return m_ownFile; }
    TKreditorDlgForm& Keeper() { return *m_keeper; }
    const TKreditorDlgForm& Keeper() const { return *m_keeper; }
    Header CurrentHeader() const;

    // ---- Commands ----
    // Entering the workspace: a new header dialog, today's new record, the stored state of
    // the automatic stop.
    void EnterWorkspace();
    void NewRecord(const QDate& date, bool clear);
    // Writes the record file. An empty record is not written and not reported.
    SaveResult SaveRecord();
    // "Möchten Sie die Änderungen abspeichern?" when modified. With Cancel offered, false
    // means the person cancelled. No discards the stock bookings since the last save.
    bool AskToSave(bool withCancel);
    // Leaving the workspace or closing the window.
    void Leave() { AskToSave(false); }
    // "Neu": the save question, then today's new record.
    void NewCommand();
    void OpenRecord();
    // `prefill`: first name and name of the customer selected in the customer table.
    void SearchRecord(SearchRunner& runner, const QString& prefill);
    void ChangeDate(TerminEditRunner& runner);
    // "Kopf F6": OK builds the keeper line, Cancel restores the fields.
    void EditKeeper(KeeperRunner& runner);
    // A medication with the quantity typed for it; `hundredPercent` is the "100%" button.
    void TakeOverMedication(const Medication& medication, const QString& quantityText,
                            bool hundredPercent);
    void TakeOverRecent(const RecentEntry& entry);
    void DeleteLine();

    // ---- Typing ----
    bool MacroMode() const { return m_macroMode; }
    void SetMacroMode(bool on) { m_macroMode = on; }
    bool AutomaticStop() const { return m_autoStop; }
    // Stores the check box; "Fehler" when the options file cannot be written.
    void SetAutomaticStop(bool on);
    // The print width of each column in printer pixels and the measure of a text in the
    // table cell font; without them nothing is stopped.
    void SetPrintWidths(QList<int> widths) { m_printWidths = std::move(widths); }
    std::function<int(const QString&)> measureText;
    // A character typed into the current cell whose text would become `cellText`.
    KeyResult TypedKey(QChar ch, const QString& cellText);

    // ---- Stock ----
    // Called for each taken-over medication kept in stock: the quantity as typed, the
    // medication's code and the record's date as the booking date.
    std::function<void(const QString& quantity, const QString& code, const QDate& date)>
        withdrawalBooked;
    // The changes are discarded: the withdrawals booked since the last save are undone.
    std::function<void()> withdrawalsCancelled;
    // The record was saved: the withdrawals since the last save stay booked.
    std::function<void()> withdrawalsKept;

    // The recently dispensed list, newest first (filled by the record card's take-overs).
    std::function<std::vector<RecentEntry>()> recentEntries;
    // The workspace moved the cursor or changed the record; the window shows it again.
    std::function<void()> changed;

    // Deletion of old years, when the folder of the current year was just created.
    void OfferOldYearDeletion(int currentYear);

private:
    bool LoadFile(const QString& path, bool reportBadForm);
    bool WriteRecordFile(const QStringList& lines);
    int NumberFor(int year);
    void Notify();
    void MoveDownOneRow();

    UserPort& m_port;
    const Clock& m_clock;
    KeyValueSettings& m_options;
    QString m_program;
    std::unique_ptr<TKreditorDlgForm> m_keeper;
    Cells m_cells;
    int m_col = 0;
    int m_row = 0;
    int m_number = 1;
    QString m_date;
    QString m_keeperLine = QStringLiteral("- - -");
    QString m_ownFile;
    bool m_dateButton = false;
    bool m_modified = false;
    bool m_newNumber = false;
    bool m_macroMode = false;
    bool m_autoStop = true;
    QList<int> m_printWidths;
};

// The quantity texts and shortened name of a take-over: a fraction a/b whose b is the pack
// size stated in the name gives "a <unit>" and the name without the pack statement; any
// other number is written with two decimals. False for a quantity that is no number.
struct TakeOverText {
    QString name;
    QString quantity;
};
bool DispensingQuantity(const QString& medicationName, const QString& quantityText,
                        TakeOverText* out);

}  // namespace abg

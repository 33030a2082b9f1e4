#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

#include "cards/CardCloseRun.h"
#include "dunning/Reminder.h"

class BatchPrintDialogRunner;
class Clock;
class KeyValueSettings;
class TSGrid;
class UserPort;
struct TableEnvironment;

namespace card {
class CardWorkspace;
class PaymentDialogRunner;
}  // namespace card

namespace dunning {

enum StapelTab { kInvoices = 0, kReminders = 1 };
// The reminder tab's selection; the court level is only a list.
enum class Level { First = 1, Second = 2, Court = 3 };

// The messages of the reminder tab's marking rules.
inline const QString kReminder1Set = QStringLiteral("Mahnstatus 1 ist bereits gesetzt!");
inline const QString kReminder2Set = QStringLiteral("Mahnstatus 2 ist bereits gesetzt!");
inline const QString kCourtNeedsBoth = QStringLiteral(
    "Gerichtlicher Mahnstatus kann nur gesetzt werden, \r"
    "wenn beide Mahnungen (1 und 2) erfolgt sind!");

// Why a dunning register row may not be marked for a level; empty when it may.
QString ReminderMarkRefusal(const QString& line, Level level);

// The days after the invoice date before a level is due; false (delay 0) when a term of
// the options cannot be read.
bool LevelDelay(const DunningOptions& options, Level level, int* days);

// The sum of a column, each value rounded to cents before it is added; false when a value
// is no number (it counts as 0).
long double ColumnSum(const QStringList& lines, int col);

// The progress window of a batch run; the person may ask to stop between two documents.
class BatchProgress {
public:
    virtual ~BatchProgress() = default;
    virtual void Show(const QString& text) = 0;
    virtual void Step(int done, int total) = 0;
    virtual bool CancelRequested() = 0;
    virtual void Close() = 0;
};

// What a batch run prints on and asks with.
struct BatchRunners {
    card::ClosePrinters printers;
    card::PaymentDialogRunner* payment = nullptr;
    BatchPrintDialogRunner* dialog = nullptr;
    BatchProgress* progress = nullptr;
    // The card workspace the documents are made with (its own card grid).
    card::CardWorkspace* cards = nullptr;
};

// The invoice and reminder tabs of the workspace "Stapeldruck u. E/A" without their
// widgets: the two registers as tables, the marks, the sums and the batch runs.
class StapelWorkspace {
public:
    StapelWorkspace(UserPort& port, const Clock& clock, std::shared_ptr<const TableEnvironment> env,
                    const QString& dataFolder, KeyValueSettings& options);
    ~StapelWorkspace();

    TSGrid& Grid(int tab) const;
    QString RegisterPath(int tab) const;

    // Entering the workspace: the three options; the documents option is always on.
    void ReadOptions();
    bool ListOption() const { return m_list; }
    bool DocumentsOption() const { return m_documents; }
    bool CopyOption() const { return m_copy; }
    bool AscendingOption() const { return m_ascending; }
    void SetListOption(bool on);
    void SetDocumentsOption(bool on) { m_documents = on; }
    void SetCopyOption(bool on);
    void SetAscendingOption(bool on);

    // Shows a tab: the register loaded with its change lines, sorted when chosen, the
    // automatic marking of the tab.
    void ShowTab(int tab);
    void Reload(int tab);

    // Tab 0: the selection date and the minimum amount.
    QString dateText;
    QString minimumText = QStringLiteral("0,00");
    // The " OK-Spalte  " button: marks the invoices not after the date and at least the
    // minimum. False for an invalid date (nothing changes).
    bool MarkInvoices();
    // Tab 1: the level; choosing one marks the rows due for it.
    Level level = Level::First;
    void SetLevel(Level chosen);
    void MarkReminders();

    int MarkedCount(int tab) const;
    QString SumCaption(int tab) const;  // "Brutto:" / "Offen:"
    QString SumText(int tab) const;     // "0.00"
    QString SumHint(int tab) const;

    // A double click on the OK column: the mark toggles (on tab 1 under the level's rule).
    void ToggleMark(int tab, int record);
    // The key of a row ("0012/005"), empty outside the table.
    QString CardKey(int tab, int record) const;
    // A card that a row names but whose file is gone: the message, and its key leaves both
    // registers. False when the file exists.
    bool DropMissingCard(const QString& key);

    // "Stapel-Druck": the list and/or the documents of the marked rows.
    void RunBatch(int tab, BatchRunners& runners);

private:
    int MarkColumn(int tab) const;
    int AmountColumn(int tab) const;
    void Sort(int tab);
    void RemoveFromRegister(int tab, const QString& key);
    bool PrinterReady(const BatchRunners& runners);
    void PrintList(int tab, const QList<int>& rows, BatchRunners& runners);
    // The documents; returns how many came out. A printer failure stops the run.
    void PrintDocuments(int tab, const QList<int>& rows, bool mail, BatchRunners& runners);

    UserPort& m_port;
    const Clock& m_clock;
    std::shared_ptr<const TableEnvironment> m_env;
    QString m_dataFolder;
    KeyValueSettings& m_options;
    std::unique_ptr<TSGrid> m_grids[2];
    bool m_list = true;
    bool m_documents = true;
    bool m_copy = false;
    bool m_ascending = false;
};

}  // namespace dunning

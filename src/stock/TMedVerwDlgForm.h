#pragma once

#include <QString>
#include <functional>

#include "stock/StockLines.h"

class Clock;
class UserPort;

namespace stock {

class StockFiles;
class StockTable;

// The stock dialog "Inventurdaten des Medikaments" without its window: one medication's
// year with its carry-over line and running stock, the edits, the date checks, the year
// navigation and the save. Rows hold the date as shown ("dd.MM.yyyy"); grid columns are
// 1 date, 2 receipt, 3 withdrawal, 4 stock, 5 remark.
class TMedVerwDlgForm {
public:
    enum Column { kColDate = 1, kColIn, kColOut, kColStock, kColRemark };
    static constexpr int kColumns = 5;

    TMedVerwDlgForm(UserPort& port, const Clock& clock, StockFiles& files, StockTable& table);

    // Opens the dialog for a record of the medication table (its code is created when it
    // has none). False when there is nothing to show.
    bool Open(int record);

    QString Caption() const { return QStringLiteral("Inventurdaten des Medikaments"); }
    QString Name() const { return m_name; }
    QString Code() const { return m_code; }
    int Year() const { return m_year; }
    QString YearLabel() const { return QStringLiteral("Jahr: ") + QString::number(m_year); }
    static QStringList Titles();
    static QString Hint();

    int RowCount() const { return int(m_rows.size()); }
    QString Cell(int col, int row) const;
    bool IsCellEditable(int col, int row) const;
    // A typed cell; the running stock follows.
    void SetCell(int col, int row, const QString& text);
    QString SumIn() const { return m_sumIn; }
    QString SumOut() const { return m_sumOut; }
    QString FinalStock() const { return m_final; }
    bool Modified() const { return m_modified; }

    // Ctrl+D, Ctrl+Insert, Ctrl+Delete (asks first). False when the row takes no edit.
    bool PutToday(int row);
    bool InsertRow(int row);
    bool DeleteRow(int row);

    // The date checks of a row that is left; false (with the message) keeps the cursor on
    // the row.
    bool LeaveRow(int row);
    // The row the cursor belongs on after a refused check.
    int FocusRow() const { return m_focusRow; }

    // "Jahr zurückblättern", "Jahr vorblättern", OK: each asks about changes first. OK's
    // result tells whether the dialog closes.
    void Back();
    void Forward();
    bool Ok();

    // The card key of a booking from a record card ("0012/004"), empty for other rows.
    QString CardKeyAt(int row) const;

    // What the dialog shows changed (the rows, the year); the window refreshes.
    std::function<void()> OnChanged;

private:
    // Shows a year: its file with the carry-over from the years before and the running
    // stock. False when the file cannot be read.
    bool Show(int year);
    void Recompute();
    StockLines LinesToSave() const;
    // Asks about changes of the shown year and saves on Yes. False when a save failed.
    bool AskAndSave(bool onOk);
    bool CheckRows();
    void Changed();

    UserPort& m_port;
    const Clock& m_clock;
    StockFiles& m_files;
    StockTable& m_table;
    int m_record = -1;
    QString m_name;
    QString m_code;
    int m_year = 0;
    StockLines m_rows;  // dates as shown
    QString m_sumIn, m_sumOut, m_final;
    bool m_modified = false;
    bool m_changedSinceOpen = false;
    int m_focusRow = -1;
};

}  // namespace stock

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "stock/StockFiles.h"

class Clock;
class TSGrid;
class UserPort;

namespace stock {

// The stock brought into a year: the final stock of the years before it as their files
// carry it forward, over the six years before `year`, from the first one with a file.
struct Chain {
    bool found = false;  // some year before had a file
    long double final = 0;
};
Chain ChainBefore(const StockFiles& files, const QString& code, int year);

// The medication table as the stock sees it: the main window's grid and its file. Stock
// and code cells change here and the table is saved at once.
class StockTable {
public:
    StockTable(TSGrid& grid, QString path) : m_grid(grid), m_path(std::move(path)) {}
    TSGrid& Grid() const { return m_grid; }
    const QString& Path() const { return m_path; }
    // The record with this stock code; -1 when none has it.
    int FindCode(const QString& code) const;
    QString Cell(int record, int col) const;
    // Sets a cell and saves the table; on failure the cell gets its old text back.
    bool SetAndSave(int record, int col, const QString& text);
    // The code of a record, created when it has none: the largest numeric code + 1 as six
    // digits. Empty when the table cannot be saved.
    QString EnsureCode(int record);

private:
    TSGrid& m_grid;
    QString m_path;
};

// Automatic bookings of withdrawals from record cards and dispensing records, the list
// of those not saved yet and their cancellation, carrying stock from year to year.
class StockKeeping {
public:
    StockKeeping(UserPort& port, const Clock& clock, StockFiles& files, StockTable& table);

    void SetAutomatic(bool on) { m_automatic = on; }
    bool Automatic() const { return m_automatic; }

    // Books a withdrawal of the medication with this code into the file of the date's year
    // (today for an invalid date). `remark` names where it came from ("Kartei-Nr.: ..." or
    // "Abgabebeleg"). True when something was booked.
    bool BookWithdrawal(long double quantity, const QString& code, const QDate& date,
                        const QString& remark);
    // Takes back the bookings made since the card or dispensing record that caused them was
    // last saved: newest first, each line out of its file and its quantity back onto the
    // medication's stock.
    void CancelBookings();
    void ClearCancellations() { m_cancellations.clear(); }
    // code + TAB + booked line + "$" + medication name, oldest first.
    const QStringList& Cancellations() const { return m_cancellations; }

    // Puts a year's final stock into the carry-over line of every following year up to the
    // current one. A year that cannot be read or written stops it; `failedYear` says which.
    bool CarryForwardFrom(const QString& code, int year, int* failedYear = nullptr);

private:
    // Files for the years after the last one with a file, up to the current year, with only
    // their carry-over line. False when there is no file in the current year and the five
    // before it.
    bool FillSkippedYears(const QString& code, int currentYear);
    // Loads, changes and saves one year under the file's lock.
    template <typename Change>
    bool Modify(int year, const QString& code, Change change);

    UserPort& m_port;
    const Clock& m_clock;
    StockFiles& m_files;
    StockTable& m_table;
    bool m_automatic = false;
    QStringList m_cancellations;
};

// The yearly carry-over: every medication with a code and a stock whose file of `year` is
// missing gets one holding its carry-over line (the final stock of the years before, or its
// stock in the table when it has no earlier file). Returns how many files were written.
int CarryForwardAll(StockFiles& files, const QStringList& medicationLines, int year);

// Offers to delete the stock folders "MedInv" + (year - 6) down to (year - 11). True on OK,
// when there was nothing to delete, or when deleting failed; false when the person declined.
bool OfferStockDeletion(UserPort& port, const QString& dataFolder, int year);

}  // namespace stock

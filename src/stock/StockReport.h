#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Clock;
class LayoutStore;
class TPrintGrid2;
class UserPort;

namespace stock {

class StockFiles;
class StockTable;

// One medication of the stock report.
struct ReportRow {
    int record = -1;  // in the medication table
    QString name, carried, in, out, final;
};

// The report of a year over every medication with a stock: its file's lines sorted as text
// (the carry-over line first), the carry-over, the sums of receipts and withdrawals and
// the final stock, each "0.00". A medication without a file shows its table stock.
QList<ReportRow> StockReportRows(const StockFiles& files, const QStringList& medicationLines,
                                 int year);

// The print dialog "Drucken: Medikamente": the medication list or the stock report of a
// year, on the printer or into a file.
class TMedInvDruckDlgForm {
public:
    enum class Choice { List, Inventory };

    // `stockColumnPrinted`: the medication list's page layout prints the stock column.
    TMedInvDruckDlgForm(const Clock& clock, UserPort& port, bool stockColumnPrinted);

    QString Caption() const { return QStringLiteral("Drucken: Medikamente"); }
    QString ListText() const;
    QString ListNote() const;  // red when the stock column prints
    bool ListNoteRed() const { return m_stockColumn; }
    static QString ListHint();
    static QString InventoryText() { return QStringLiteral("Inventur     Jahr:"); }
    static QString InventoryNote();
    static QString ToFileText() { return QStringLiteral("Drucken in Datei"); }

    Choice choice = Choice::List;
    QString year;  // the year field: digits only, at most four
    bool toFile = false;

    // The year field takes a typed character.
    static bool AcceptsYearKey(const QString& text, QChar ch);
    // OK: the stock report's year must lie within the current year and five before.
    bool Ok();
    int Year() const { return year.toInt(); }

private:
    const Clock& m_clock;
    UserPort& m_port;
    bool m_stockColumn;
};

// What the stock report prints with.
struct StockReportJob {
    UserPort& port;
    const Clock& clock;
    StockFiles& files;
    StockTable& table;
    TPrintGrid2& printer;
    LayoutStore& layouts;                // the medication list's line, date and page options
    std::function<bool()> printerReady;  // the printer check of the table printer
    QString exportFolder;                // where the spreadsheet file is offered
};

// Carries every stock into the current year, puts the current year's final stocks into the
// medication table, and prints the report of `year` (or writes it as a spreadsheet file).
// False when nothing was printed.
bool PrintStockReport(StockReportJob& job, int year, bool toFile);

}  // namespace stock

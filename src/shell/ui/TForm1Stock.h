#pragma once

#include <QDate>
#include <QString>
#include <memory>

class Clock;
class QWidget;
class StartUp;
class TPrintGrid2;
class TSGrid;
class UserPort;
struct TableEnvironment;
namespace card {
class CardWorkspace;
}
namespace stock {
class StockFiles;
class StockKeeping;
class StockTable;
}  // namespace stock

// What the stock asks of the main window.
class StockHost {
public:
    virtual ~StockHost() = default;
    virtual bool InventoryAutomatic() const = 0;  // "Autom. Inventur der Medikamente"
    virtual void MedicationsChanged() = 0;        // repaint the medication lists
    // The record card of a stock booking: whether it can be shown, and showing it.
    virtual bool CanOpenStockCard(const QString& key) = 0;
    virtual void OpenStockCard(const QString& key) = 0;
};

// The main window's side of the medication stock: the bookings of the record card (and
// of the dispensing record through BookDispensing), their cancellation, the start-up's
// yearly runs and the messages of the menu switch and the indicator.
class TForm1Stock {
public:
    TForm1Stock(StockHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                TSGrid& medications, std::shared_ptr<TableEnvironment> tableEnv);
    ~TForm1Stock();

    // Books the card's take-overs and lets the card's save, browse and discard reach the
    // cancellation list.
    void AttachCard(card::CardWorkspace& workspace);
    // A medication taken over into a dispensing record dated `date`.
    bool BookDispensing(long double quantity, const QString& code, const QDate& date);
    // The dispensing record was saved / its changes were discarded.
    void ClearCancellations();
    void CancelBookings();

    // Start-up: the yearly carry-over and the offer to delete old stock files.
    void RecalculateAtStart();
    bool CleanUpAtStart();

    // The menu switch was changed by the person; the indicator was clicked.
    void AutomaticSwitched(bool on);
    void IndicatorClicked();

    // The stock dialog of a medication; a double-clicked card booking opens its card after.
    void OpenStockDialog(QWidget* parent, int record);

    // "Drucken" in the medication workspace: the print dialog, and the stock report when it
    // was chosen. List: print the medication list (`stockOnly`: its layout prints the stock
    // column, so only stock-kept medications go on it).
    enum class PrintChoice { Cancelled, List, Done };
    PrintChoice RunPrintDialog(QWidget* parent, TPrintGrid2& printer, const QString& printerName,
                               bool* stockOnly);

    stock::StockKeeping& Keeping() const { return *m_keeping; }
    stock::StockFiles& Files() const { return *m_files; }
    stock::StockTable& Table() const { return *m_table; }

private:
    bool Book(long double quantity, const QString& code, const QDate& date, const QString& remark);

    StockHost& m_host;
    UserPort& m_port;
    const Clock& m_clock;
    StartUp& m_startUp;
    std::shared_ptr<TableEnvironment> m_tableEnv;
    std::unique_ptr<stock::StockFiles> m_files;
    std::unique_ptr<stock::StockTable> m_table;
    std::unique_ptr<stock::StockKeeping> m_keeping;
};

#pragma once

#include <QString>
#include <QStringList>

#include "bookkeeping/Balances.h"
#include "bookkeeping/BookkeepingSettings.h"
#include "bookkeeping/Journal.h"
#include "bookkeeping/JournalSelection.h"
#include "bookkeeping/JournalSums.h"
#include "masterdata/TEditDlgForm.h"

class Clock;
class KeyValueSettings;
class LayoutStore;
class TPrintGrid2;
class TKtoStdAendDlgForm;
class TSGrid;
class UserPort;

namespace journal {

// The dialogs the journal view opens; the window runs them modally, tests fill the forms.
class JournalDialogs {
public:
    virtual ~JournalDialogs() = default;
    // The record edit dialog with its booking panel; false when it was cancelled.
    virtual bool RunBooking(TEditDlgForm& form) = 0;
    // "Aktuelle Kontostände ändern"; false when it was cancelled.
    virtual bool RunBalances(TKtoStdAendDlgForm& form) = 0;
};

// The balances the view shows: the practice's pair, and the pharmacy's when it is a
// business of its own. Amounts as "0.00" in the view's currency.
struct BalanceDisplay {
    QString heading;  // "Aktuelle Kontostände " + today
    QString cash, bank;
    bool pharmacyShown = false;
    QString pharmacyCash, pharmacyBank;
};

// Sets up the journal grid: seven columns with their titles, the two price columns and the
// amounts right-aligned.
void SetUpJournalGrid(TSGrid& grid);

// The journal view of the income and expense tabs: one month of one kind in the grid,
// filtered by the selection, its sums, the balances, and the manual bookings. The rows of
// a filtered view live only in memory; every change works on the whole month and resets
// the selection afterwards.
class JournalWorkspace {
public:
    JournalWorkspace(UserPort& port, const Clock& clock, TSGrid& grid, KeyValueSettings& options,
                     QString dataFolder);

    void SetSettings(const BookkeepingSettings& settings) { m_settings = settings; }
    const BookkeepingSettings& Settings() const { return m_settings; }
    void SetDialogs(JournalDialogs* dialogs) { m_dialogs = dialogs; }
    // The main menu's " GoBD Restriktionen ein/aus".
    void SetGoBd(bool on) { m_goBd = on; }
    bool GoBd() const { return m_goBd; }

    void SetKind(Kind kind) { m_kind = kind; }
    Kind CurrentKind() const { return m_kind; }
    JournalSelection& Selection() { return m_selection; }
    const JournalSelection& Selection() const { return m_selection; }
    TSGrid& Grid() const { return m_grid; }

    // Loads the selected month for display (merging change lines, creating a missing file),
    // filters it and sums the rows.
    void ShowMonth();
    const JournalSums& Sums() const { return m_sums; }
    QString SumsCaption() const;  // "Tagessummen: " or "Monatssummen: "
    QString CurrentFile() const { return m_file; }
    // "E" or "D": the currency of the month's file, which the view and its bookings use.
    QString CurrencyLetter() const;
    QString CurrencyText() const;  // "Euro" or "DM"
    bool Filtered() const { return m_shownFiltered; }

    QString Hint() const;
    // Income bookings are corrected by new bookings while the GoBD restrictions are on.
    bool EditDeleteEnabled() const;
    BalanceDisplay Balances() const;
    // The balance dialog on the view's balances; OK writes them.
    bool EditBalances();

    // The manual bookings; each returns true when the month changed.
    bool InsertBooking();
    bool EditBooking();
    bool DeleteBooking();
    // The whole month into the other currency, saved under the other letter.
    bool ConvertMonthCurrency();

    // The rows shown as the list of the page layout, printed or written to "Einnahme.xls" /
    // "Ausgabe.xls" in the program folder, with today's balances when asked; afterwards the
    // whole month is shown again.
    bool PrintList(TPrintGrid2& printer, LayoutStore& store, const QString& programFolder,
                   bool toFile, bool withBalances);
    // The VAT pre-return of the selected month in the view's currency: one sheet, or one for
    // the practice and one for the pharmacy when it files its own. Afterwards the whole
    // month is shown again.
    bool PrintVatReturn(TPrintGrid2& printer, LayoutStore& store);
    // The sheet of one business (All: both together) for the selected month.
    QStringList VatReturnSheetFor(BusinessFilter business);

private:
    bool CheckManual();
    // The month as stored, for a change; false when the current record was lost.
    int ReloadForChange(const QString& line);
    bool SaveMonth();
    void MoveBalance(const QString& kind, const QString& customer, long double amount);
    void FinishChange(int record);
    EditDlgSetup BookingSetup(EditMode mode) const;
    // The month of a kind as stored, in the view's currency, of one business.
    QStringList MonthInViewCurrency(Kind kind, BusinessFilter business);

    UserPort& m_port;
    const Clock& m_clock;
    TSGrid& m_grid;
    KeyValueSettings& m_options;
    QString m_dataFolder;
    BookkeepingSettings m_settings;
    JournalDialogs* m_dialogs = nullptr;
    bool m_goBd = true;
    Kind m_kind = Kind::Income;
    JournalSelection m_selection;
    QString m_file;
    bool m_shownFiltered = false;
    JournalSums m_sums;
    bool m_balanceOffered = false;  // once per run when the balances have no currency
};

}  // namespace journal

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardSettings.h"
#include "cards/CardSums.h"
#include "cards/PackUnits.h"

class Clock;
class KeyValueSettings;
class UserPort;

namespace card {

// A row of the medication table MED.DBF as a take-over needs it.
struct Medication {
    QString article;
    long double purchaseNet = 0;
    long double saleNet = 0;
    long double saleGross = 0;
    QString vatCode;
    QString waitingTime;
    QString batch;
    QString code;  // stock link; empty when not stock-kept
};
Medication MedicationFromLine(const QString& line);

// A row of the service table LEISTUNG.DBF.
struct Service {
    QString name;
    QString animal;
    QString factor;
    long double net = 0;
    long double gross = 0;
    QString vatCode;
    QString gotNumber;
};
Service ServiceFromLine(const QString& line);

// A typed quantity: a plain number or a fraction a/b (an empty b counts as 1). Parts and
// result are rounded to cents, except for b-th parts of a pack of units named in the article.
struct Quantity {
    long double value = 1;
    bool packUnits = false;
    long double units = 0;  // a, for a pack fraction
    QString unit;
};
bool ParseQuantity(const QString& text, const QString& article, Quantity* quantity);
// A quantity in a line text: "2", "1,5", "1,25".
QString QuantityText(long double quantity);

struct CalculatorRow {
    QString text;
    QString amount;  // "0.00"
};

// One of the 20 most recent medication take-overs, newest first.
struct LastMedication {
    QString text;
    QString article;
    QString batch;
    QString quantity100;  // the quantity when the 100 % rule priced it
    QString quantity;
    QString waitingTime;
};

// A key as the cell editor receives it.
struct EditorKey {
    enum Kind { Character, Backspace, Delete, Tab, ShiftEnter, Copy, Paste, Cut, Undo, Today };
    Kind kind = Character;
    QChar ch;
    static EditorKey Char(QChar c) { return {Character, c}; }
    static EditorKey Of(Kind k) { return {k, QChar()}; }
};

// What the editor shows after a key: the cell text and the cursor. A refused key leaves
// both as they were (or restores the cell).
struct KeyDecision {
    bool accepted = false;
    QString text;
    int cursor = 0;
    bool bookingRequested = false;  // "B" or "S" typed into an empty mark: open the booking
};

// The editing rules of the record card: what each column accepts, what leaving a cell
// checks, the take-overs from the medication and service lists with the calculator, the
// net/gross and currency switches, copy and insert of a card and clearing it. The form owns
// the rows and the header state of the card shown; the workspace moves them to and from
// the card grid. Rows are indexed from 0, columns are grid columns 1..8.
class CardEntryForm {
public:
    CardEntryForm(UserPort& port, const Clock& clock);

    void SetSettings(const CardSettings& settings) { m_settings = settings; }
    const CardSettings& Settings() const { return m_settings; }

    // Shows a card: rows (padded to ten), state, current cell at the top; modes end.
    void Load(Rows rows, const CardState& state);
    Rows& GetRows() { return m_rows; }
    const Rows& GetRows() const { return m_rows; }
    CardState& State() { return m_state; }
    const CardState& State() const { return m_state; }

    int CurrentCol() const { return m_col; }
    int CurrentRow() const { return m_row; }
    void SetCurrentCell(int col, int row);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool BsChanged() const { return m_bsChanged; }
    void ClearBsChanged() { m_bsChanged = false; }
    bool HasContent() const;

    // ---- Cell entry ----
    // The characters columns 2 and 6 take from typing and pasting (what the save keeps; one
    // less in the remark); 0: no limit.
    static int TypedLimit(int col);
    bool IsCellEditable(int col, int row) const;
    KeyDecision KeyPress(const QString& editorText, int cursor, const EditorKey& key);
    // The rules of leaving the current cell (date checks, amount format, calculator end).
    void LeaveCell();

    // Line stop: refuses a character in column 2 once the printed text would reach the
    // description column's width. Unset: no stop.
    void SetLineStop(bool on, std::function<bool(const QString&)> exceedsWidth);

    // Macro mode: the next key inserts the text stored under it in the options section
    // "ShortCuts" (`options` null: there is no options file). True when a text was inserted;
    // the key then acts as Enter. Macro mode ends after the one key.
    bool MacroMode() const { return m_macroMode; }
    void SetMacroMode(bool on) { m_macroMode = on; }
    bool MacroKey(QChar key, const KeyValueSettings* options, const QString& dataFolder);
    // A text put into the current line as a macro's: added to the remark in the remark
    // column, else to the line's text. False when the cell takes no text.
    bool InsertText(const QString& text);

    // ---- Take-overs ----
    QString& MedicationQuantity() { return m_medQuantity; }
    QString& ServiceQuantity() { return m_serviceQuantity; }
    bool HundredPercent() const { return m_hundredPercent; }
    void SetHundredPercent(bool on) { m_hundredPercent = on; }
    // Automatic stock keeping: quantity, medication code and line date of every take-over.
    using StockReportFn = std::function<void(long double, const QString&, const QDate&)>;
    void SetStockReport(StockReportFn fn) { m_stockReport = std::move(fn); }

    // The list is empty when `medication` is null.
    bool TakeOverMedication(const Medication* medication);
    bool TakeOverService(const Service* service);
    const std::vector<LastMedication>& LastMedications() const { return m_lastMedications; }

    bool CalculatorMode() const { return m_calculatorMode; }
    void SetCalculatorMode(bool on);
    const std::vector<CalculatorRow>& CalculatorRows() const { return m_calculator; }
    QString CalculatorTotal() const { return m_calculatorTotal; }
    // "Bem.": the calculator texts into the remark of the current line.
    void CalculatorToRemark();

    // ---- Whole card ----
    // Sums the card and sets both quantity fields back to "1,00".
    CardSums Sum(const QDate& limit = {}, FrozenSummary frozen = FrozenSummary::Keep);
    bool SwitchNetGross();
    bool SwitchCurrency();
    bool CanCopy() const { return HasContent(); }
    bool CopyCard();
    bool CanInsert() const { return !m_copyBuffer.empty(); }
    bool InsertCopiedCard();
    // "Alles löschen" after both questions; the caller saves the card when true.
    bool ClearCard();

private:
    Row& Current() { return m_rows[size_t(m_row)]; }
    // The checks both take-overs begin with: a selected record, an open card, a valid quantity.
    bool StartTakeOver(bool listHasRecord, const QString& emptyText, const QString& quantityText,
                       const QString& article, Quantity* quantity);
    void EnsureRows(int count);
    bool IsLocked(int row) const;
    bool HasPaymentLines() const { return !PaymentLines(m_state.summary).isEmpty(); }
    KeyDecision Refuse(const QString& text, int cursor) const;
    KeyDecision Accept(const QString& text, int cursor);
    void ConvertAmounts(bool toGross);
    void ConvertToNetIfGross();
    bool RefusedInCalculatorMode();
    bool TakeOverAmount(const QString& vatCode, long double amount, const QString& calcText);
    void AddCalculatorRow(const QString& text, long double amount);
    void MoveToNextLine();

    UserPort& m_port;
    const Clock& m_clock;
    CardSettings m_settings;
    Rows m_rows;
    CardState m_state;
    int m_col = kColDate;
    int m_row = 0;
    bool m_modified = false;
    bool m_bsChanged = false;

    bool m_macroMode = false;
    bool m_lineStop = false;
    std::function<bool(const QString&)> m_exceedsWidth;

    QString m_medQuantity = QStringLiteral("1,00");
    QString m_serviceQuantity = QStringLiteral("1,00");
    bool m_hundredPercent = false;
    StockReportFn m_stockReport;
    std::vector<LastMedication> m_lastMedications;

    bool m_calculatorMode = false;
    std::vector<CalculatorRow> m_calculator;
    QString m_calculatorTotal;

    // The program's own copy buffer (not the system clipboard).
    Rows m_copyBuffer;
    QString m_copyCurrency;
};

// The "automat. Stop" check box, stored at once; "Fehler" when it cannot be written.
void WriteLineStop(KeyValueSettings& options, bool on, UserPort& port);

}  // namespace card

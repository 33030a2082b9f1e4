#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Record lines, the one text form of every table: each cell followed by one TAB, cells
// numbered from 1. Cell k is the text after k - 1 TABs up to the next TAB, so a line with
// fewer than k TABs has an empty cell k and text after the last TAB belongs to no cell
// (the program ends every line it writes with a TAB). The column names of every table are
// here too, so that readers and writers agree.
namespace recordline {

// KUNDE.DBF
enum CustomerColumn : int {
    kCustName = 1,
    kCustFirstName,
    kCustStreet,
    kCustTown,    // postcode and town
    kCustNumber,  // "KdNr", four digits
    kCustPhone,
    kCustSalutation,
    kCustRemark,      // "(A) " at its start: a pharmacy customer
    kCustCardNumber,  // the current record card, three digits
    kCustMail,
};
inline constexpr int kCustomerCells = 10;

// MED.DBF
enum MedicationColumn : int {
    kMedArticle = 1,
    kMedPurchaseNet,
    kMedSaleNet,
    kMedSaleGross,
    kMedVatCode,
    kMedWaitingTime,
    kMedBatch,
    kMedRemark,
    kMedStock,
    kMedCode,  // links the medication to its stock files; empty when no stock is kept
};
inline constexpr int kMedicationCells = 10;

// LEISTUNG.DBF
enum ServiceColumn : int {
    kSvcText = 1,
    kSvcAnimal,
    kSvcFeeNet,  // net fee of the fee schedule
    kSvcFactor,
    kSvcNet,
    kSvcGross,
    kSvcVatCode,
    kSvcNumber,  // fee-schedule number
    kSvcRemark,
};
inline constexpr int kServiceCells = 9;

// The treatment lines of a record card (K + KdNr + nnn + ".KAR").
enum CardColumn : int {
    kColDate = 1,
    kColText,
    kColVat,
    kColAmount,
    kColBS,
    kColRemark,
    kColQuantity,
    kColMedCode,
};
inline constexpr int kCardCells = 8;

// The patient notes of a customer (P + KdNr + ".PAT").
enum NotesColumn : int {
    kNoteDate = 1,
    kNoteText,
    kNoteShort,  // a short right-aligned column
};
inline constexpr int kNotesCells = 3;

// FAVORITE.DBF: a favourite's name stands on its first row only.
enum FavoriteColumn : int {
    kFavName = 1,
    kFavText,
};
inline constexpr int kFavoriteCells = 5;

// Both registers are keyed by the card key in their first cell.
inline constexpr int kRegisterKey = 1;

// ST_RECHN.DBF, open cards awaiting an invoice.
enum InvoiceRegisterColumn : int {
    kInvKey = kRegisterKey,
    kInvCustomer,
    kInvCustomerNumber,
    kInvDate,
    kInvGross,
    kInvMark,  // "X": chosen for the batch print
};
inline constexpr int kInvoiceRegisterCells = 6;

// ST_MAHN.DBF, invoiced cards with an open amount.
enum DunningRegisterColumn : int {
    kDunKey = kRegisterKey,
    kDunCustomer,
    kDunCustomerNumber,
    kDunInvoiceDate,
    kDunGross,
    kDunOpen,
    kDunReminder1,  // "X" when issued
    kDunReminder2,
    kDunMark,
};
inline constexpr int kDunningRegisterCells = 9;

// Income and expense journals ("Z" + month + year + ".za"/".au" + currency letter).
enum JournalColumn : int {
    kJourDate = 1,
    kJourReceipt,  // card key, or a voucher ending in "*" for a manual booking
    kJourCustomer,
    kJourNet,
    kJourRate,
    kJourGross,
    kJourKind,
};
inline constexpr int kJournalCells = 7;

// Appointments of a month (Termin/T + month + "_" + year + ".ter"), sorted by date and time.
enum AppointmentColumn : int {
    kTermDate = 1,
    kTermTime,  // "hh:mm" or empty
    kTermText,
    kTermCustomer,  // customer number when the appointment was made, or empty
    kTermReminder,  // file name of the reminder letter in the texts folder, or empty
    kTermBlock,     // replaces "TTT" in the letter
    kTermPrinted,   // date the reminder was printed, or empty
};
inline constexpr int kAppointmentCells = 7;

QStringView CellView(const QString& line, int col);
inline QString Cell(const QString& line, int col)
{
    return CellView(line, col).toString();
}
// Cells 1 ... count; missing ones are empty.
QStringList Split(const QString& line, int count);
// Calls fn(col, cell) for every cell of the line, without copying it.
template <typename Fn>
void ForEachCell(const QString& line, Fn fn)
{
    qsizetype start = 0;
    for (int col = 1;; ++col) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            return;
        fn(col, QStringView(line).mid(start, tab - start));
        start = tab + 1;
    }
}

int CountTabs(const QString& line);
// Appends TABs until the line holds at least `tabs`. Text after the last TAB of an older,
// shorter line thereby becomes a cell.
void PadTabs(QString& line, int tabs);

// Replaces the text of cell col; false (line unchanged) when the line has too few TABs.
bool ReplaceCell(QString& line, int col, const QString& text);
// Sets cell col, padding a line that is too short first.
void SetCell(QString& line, int col, const QString& text);

// The stored form of a record: every cell followed by a TAB.
QString Join(const QStringList& cells);

// Cells 1 ... count joined without separators.
QString Concat(const QString& line, int count);

// Binary search over lines sorted by the umlaut collation, comparing whole lines: the final
// low bound, clamped to 0 ... count - 1 (0 for no lines).
int FindSorted(const QStringList& lines, const QString& text, bool* found = nullptr);

}  // namespace recordline

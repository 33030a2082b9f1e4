#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Record lines: each cell followed by one TAB. Cell k is the text after k - 1 TABs up to
// the next TAB; a line with fewer than k TABs has an empty cell k.
namespace recordline {

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

QStringView CellView(const QString& line, int col);
inline QString Cell(const QString& line, int col)
{
    return CellView(line, col).toString();
}

int CountTabs(const QString& line);

// Replaces the text of cell col; false (line unchanged) when the line has too few TABs.
bool ReplaceCell(QString& line, int col, const QString& text);

// The stored form of a record: every cell followed by a TAB.
QString Join(const QStringList& cells);

// Cells 1 ... count joined without separators.
QString Concat(const QString& line, int count);

// The file name with its last extension replaced ("KUNDE.DBF", ".~DB" -> "KUNDE.~DB").
QString ChangeExt(const QString& path, const QString& ext);

}  // namespace recordline

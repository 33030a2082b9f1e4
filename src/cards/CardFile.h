#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <set>
#include <vector>

#include "table/RecordLine.h"

// The record card file: "K" + customer number + card number ("000") + ".KAR" in the data
// folder. Treatment lines come first (record lines of the card columns), then the marker
// "---KOPF---", then the header lines.
namespace card {

// The treatment line columns, and the customer table's columns the cards read.
using enum recordline::CardColumn;
using enum recordline::CustomerColumn;
inline constexpr int kColumnCount = recordline::kCardCells;
inline constexpr int kMinRows = 10;
inline constexpr int kMaxCardNumber = 999;
inline constexpr int kMaxTextLength = 100;    // column 2 when saved
inline constexpr int kMaxRemarkLength = 200;  // column 6 when saved
inline const QString kUnset = QStringLiteral("- - -");
inline const QString kKopfMarker = QStringLiteral("---KOPF---");

// One treatment line, cells addressed by grid column 1..8.
class Row {
public:
    const QString& Cell(int col) const { return m_cells[col - 1]; }
    QString& Cell(int col) { return m_cells[col - 1]; }
    void SetCell(int col, const QString& text) { m_cells[col - 1] = text; }
    bool IsEmpty() const;
    void Clear();

private:
    std::array<QString, kColumnCount> m_cells;
};
using Rows = std::vector<Row>;

// Record lines <-> rows. A line with fewer TABs reads its missing cells as empty.
Row RowFromLine(const QString& line);
QString LineFromRow(const Row& row);
Rows RowsFromLines(const QStringList& lines);
QStringList LinesFromRows(const Rows& rows);

QString NumberText(int cardNumber);                               // "007"
QString FileName(const QString& customerNumber, int cardNumber);  // "K0012007.KAR"
// folder + FileName, as written (no look-up of the case).
QString NamedPath(QStringView folder, const QString& customerNumber, int cardNumber);
// The path of the card in the data folder, matching an existing name whatever its case.
QString FilePath(const QString& dataFolder, const QString& customerNumber, int cardNumber);
bool Exists(const QString& dataFolder, const QString& customerNumber, int cardNumber);
QString Key(const QString& customerNumber, int cardNumber);  // "0012/007"

// The numbers of the customer's card files, from one listing of the folder (names matched
// without case). Cheaper than a look-up per number in a folder of many thousand cards.
std::set<int> ExistingNumbers(const QString& dataFolder, const QString& customerNumber);

// Cuts the text and remark columns to what a saved card holds.
void CutForSave(Rows& rows);

// True when a line of the file contains `upperText` (compared with the upper-cased line);
// with treatmentLinesOnly only the lines before the header marker count. An unreadable
// file contains nothing.
bool CardContains(const QString& path, const QString& upperText, bool treatmentLinesOnly);
// The same; no value when the file cannot be read.
std::optional<bool> TryCardContains(const QString& path, const QString& upperText,
                                    bool treatmentLinesOnly);

}  // namespace card

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

// The dispensing record ("Abgabebeleg") as it is kept on disk: one small text file per
// record, one value per line, in a folder per calendar year beside the data folder.
namespace abg {

inline constexpr int kCols = 9;
inline constexpr int kRows = 32;      // data rows of a record
inline constexpr int kShortRows = 6;  // the rows of the DIN A5 area (short form)
inline constexpr int kMaxNumber = 10000;

// Column 4 ("Anwendungs- oder Abgabemenge") came later; the old form lacks it.
inline constexpr int kColName = 2;
inline constexpr int kColBatch = 3;
inline constexpr int kColAmount = 4;
inline constexpr int kColDosage = 5;
inline constexpr int kColWaiting = 8;

// Data rows from 0 (the grid's row 1) to 31, columns 0 to 8.
using Cells = std::array<std::array<QString, kCols>, kRows>;

// The seven header lines that follow the cells.
struct Header {
    QString number;  // four digits
    QString date;    // dd.MM.yyyy
    QString keeperLine = QStringLiteral("- - -");
    QString firstName, name, street, town;
    bool operator==(const Header&) const = default;
};

// The title row of the record grid.
const QStringList& ColumnTitles();

// The last data row with any non-empty cell; -1 when the record is empty.
int LastFilledRow(const Cells& cells);

// The file lines: cells column by column over 6 rows (nothing below row 6 filled) or over
// all 32, then the header. An empty record gives no lines.
QStringList RecordLines(const Cells& cells, const Header& header);

enum class FileForm { Short, Long, Old, Unknown };
FileForm FormOf(int lineCount);
// Reads a record from its lines: 61 and 295 lines in order, 55 lines (8 columns, 6 rows)
// with column 4 left empty. Unknown forms leave cells and header untouched.
FileForm ParseRecordLines(const QStringList& lines, Cells* cells, Header* header);
// The keeper line of a record file: the fifth line from the end.
QString KeeperLineOf(const QStringList& lines);

// "A0007_26.abg" for record 7 of 2026.
QString RecordFileName(int number, int year);
// programFolder + "Abg_2026/"; programFolder ends in "/".
QString YearFolder(const QString& programFolder, int year);
// The year of a date text: its characters 7 to 10.
int YearOfDateText(const QString& date);

// The smallest number from `from` on whose file does not exist in the year's folder;
// gives up at kMaxNumber (returned as is).
int FirstFreeNumber(const QString& folder, int year, int from = 1);
// The highest record number of the year's folder; 0 when it holds none. The search starts
// there, so a record behind a missing number is still found.
int HighestNumber(const QString& folder, int year);

// The VVVO number as it follows "VVVO-Nr.: " in a keeper line, at most maxLength
// characters; empty when the line has none.
QString VvvoFromKeeperLine(const QString& keeperLine, int maxLength);

}  // namespace abg

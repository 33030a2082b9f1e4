#pragma once

#include <QString>
#include <QStringView>

// Record lines: each cell followed by one TAB. Cell k is the text after k - 1 TABs up to
// the next TAB; a line with fewer than k TABs has an empty cell k.
namespace recordline {

QStringView CellView(const QString& line, int col);
inline QString Cell(const QString& line, int col)
{
    return CellView(line, col).toString();
}

int CountTabs(const QString& line);

// Replaces the text of cell col; false (line unchanged) when the line has too few TABs.
bool ReplaceCell(QString& line, int col, const QString& text);

// Cells 1 ... count joined without separators.
QString Concat(const QString& line, int count);

// The file name with its last extension replaced ("KUNDE.DBF", ".~DB" -> "KUNDE.~DB").
QString ChangeExt(const QString& path, const QString& ext);

}  // namespace recordline

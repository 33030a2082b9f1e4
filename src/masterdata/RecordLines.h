#pragma once

#include <QString>
#include <QStringList>

// Record lines as the tables hold them: every cell is followed by a TAB, cells are
// numbered from 1. These helpers let the master data rules run on plain lines until
// they are handed a table grid.
namespace recordlines {

QString Cell(const QString& line, int col);
// Sets cell col, padding the line with empty cells when it is shorter.
void SetCell(QString& line, int col, const QString& value);
int TabCount(const QString& line);
// Pads a line with TABs until it holds at least tabs TABs.
void PadTabs(QString& line, int tabs);
// Cells 1..count joined so that each is followed by a TAB (the stored form).
QString Join(const QStringList& cells);

// Binary search over lines sorted by the umlaut collation, comparing whole lines.
// Returns the final low bound clamped to 0 .. count - 1 (0 for an empty list).
int FindSorted(const QStringList& lines, const QString& text, bool* found = nullptr);

}  // namespace recordlines

#pragma once

#include <QList>
#include <QString>

// The font of the table grids. On wide screens its size is the option "TabFontSize",
// chosen in the menu "Tabellen-Schriftgröße"; on narrow ones the record card grid's.
namespace tablefont {

inline constexpr int kDefaultSize = 8;

// The family the grids ask for; where it is missing the system's sans serif stands in.
QString Family();

// The sizes the menu offers, smallest first.
const QList<int>& MenuSizes();

// A stored size the grids cannot show (0, negative, huge) falls back to the default.
int Sanitize(int size);

// Row height of the table grids: the grids' 20 pixels up to size 8, more above so that
// the larger text keeps its room.
int RowHeight(int size);

// The quantity and factor fields are bold from size 9 on.
bool QuantityFieldsBold(int size);

}  // namespace tablefont

#pragma once

#include <QString>

class TSGrid;

// The search field of the medication and service workspaces.
namespace mastersearch {

// A digit typed into the search takes the place of the quantity (when the fee-number
// search is off): it is taken out of the text. Returns false when the text holds none.
bool TakeQuantityDigit(QString& searchText, QString* quantity);

// The record a name search stops on: the sorted position of the text; when that record
// does not begin with the text and starts with another letter while the one before it
// starts with the search's letter, the one before it (the last entry of that letter).
int NamePosition(const TSGrid& grid, const QString& text);

// The first service whose fee-schedule number (cell 8) equals the text in upper case, or
// `current` when there is none.
int FeeNumberPosition(const TSGrid& grid, const QString& text, int current);

}  // namespace mastersearch

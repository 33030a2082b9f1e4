#pragma once

#include <QString>
#include <QStringList>

#include "bookkeeping/Journal.h"
#include "bookkeeping/JournalSelection.h"
#include "bookkeeping/JournalSums.h"

class LayoutStore;
class TPrintGrid2;
class TSGrid;

// The printed list and the spreadsheet export of a journal month, with the page layout of
// the income or expense list.
namespace journal {

struct BalanceDisplay;

// "Einnahme.xls" or "Ausgabe.xls", written into the program folder.
QString ListExportName(Kind kind);

// The title lines above the list: heading with the period and business, the cash or bank
// line, the sums in total and per rate in use.
QStringList ListTitleLines(const QString& heading, const JournalSelection& selection,
                           const JournalSums& sums, const QString& currency);

// The balances of today under the list, for the accounts the selection shows; the
// pharmacy's only when it keeps accounts of its own. Ends with an empty line.
QStringList BalanceLines(const BalanceDisplay& balances, AccountFilter account,
                         const QString& today, const QString& currency);

// Prints or exports the rows the grid holds with the list's stored page layout; extraLines
// follow the title lines. The layout's column titles stand in the grid's title row only
// during the job. False when the printer or the file refused.
bool PrintJournalList(TPrintGrid2& printer, TSGrid& grid, LayoutStore& store, Kind kind,
                      const JournalSelection& selection, const JournalSums& sums,
                      const QString& currency, const QStringList& extraLines, bool toFile,
                      const QString& programFolder);

}  // namespace journal

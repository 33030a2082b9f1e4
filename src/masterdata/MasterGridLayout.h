#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include "settings/TableFont.h"

class TSGrid;

// The three master tables; also the order of the main window's master grids.
enum class MasterTable { Medication, Service, Customer };

// The table file in the data folder ("MED.DBF", "LEISTUNG.DBF", "KUNDE.DBF").
QString MasterTableFile(MasterTable table);

// Where the column widths of the options file go: key, table, grid column.
struct ColumnWidthBinding {
    const char* key;
    MasterTable table;
    int col;
};
const QList<ColumnWidthBinding>& MasterColumnWidthBindings();

// Column count, titles, price columns, alignment and widths (fixed ones, then those of
// the options file) of a master grid, before its table is loaded.
void SetUpMasterGrid(TSGrid& grid, MasterTable table, const QHash<QString, int>& widths = {},
                     int tableFontSize = tablefont::kDefaultSize);

// The title row; the medication remark title names feed when the table holds feed.
void SetMasterTitles(TSGrid& grid, MasterTable table);

// The widths that follow the table font size (the medication stock column).
void ApplyMasterGridFontSize(TSGrid& grid, MasterTable table, int tableFontSize);

// The column that takes the room the others leave: the remark (customers and medications
// 8, services 9).
int FillColumn(MasterTable table);
// The fill column takes the room the other columns leave in `clientWidth`: more than `base`
// (its width from the options or the person's drag), or less while its title still shows,
// so that every column fits. With less room it is `base` wide and the view scrolls.
void WidenToFill(TSGrid& grid, int col, int base, int clientWidth);

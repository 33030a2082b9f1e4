#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TSGrid;

// The three master grids of the main window.
enum class MasterGrid { Medications, Services, Customers };

// Where the column widths of the options file go: key, grid, grid column.
struct ColumnWidthBinding {
    const char* key;
    MasterGrid grid;
    int col;
};
const QList<ColumnWidthBinding>& MasterColumnWidthBindings();

// Column count, titles, price columns, alignment and widths (fixed ones, then those of
// the options file) of a master grid, before its table is loaded.
void SetUpMasterGrid(TSGrid& grid, MasterGrid which, const QHash<QString, int>& widths,
                     int tableFontSize);

// The widths that follow the table font size (the medication stock column).
void ApplyMasterGridFontSize(TSGrid& grid, MasterGrid which, int tableFontSize);

// The table file of a master grid.
QString MasterTableFile(MasterGrid which);

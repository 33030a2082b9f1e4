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

// The widths of the options file (already raised to their minimums) on a master grid.
void ApplyColumnWidths(TSGrid& grid, MasterGrid which, const QHash<QString, int>& widths);

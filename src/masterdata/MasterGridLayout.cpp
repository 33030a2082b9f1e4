#include "masterdata/MasterGridLayout.h"

#include <algorithm>

#include "masterdata/MasterWorkspace.h"
#include "table/TSGrid.h"

const QList<ColumnWidthBinding>& MasterColumnWidthBindings()
{
    static const QList<ColumnWidthBinding> bindings = {
        {"wMed", MasterGrid::Medications, 1},
        {"wWZ", MasterGrid::Medications, 6},
        {"wCh", MasterGrid::Medications, 7},
        {"wMedBem", MasterGrid::Medications, 8},
        {"wLeist", MasterGrid::Services, 1},
        {"wTier", MasterGrid::Services, 2},
        // Fee number and remark moved right when the service table got its factor and
        // sale price columns; the keys keep their names.
        {"wGot", MasterGrid::Services, 8},
        {"wLeistBem", MasterGrid::Services, 9},
        {"wKName", MasterGrid::Customers, 1},
        {"wKVorname", MasterGrid::Customers, 2},
        {"wKStr", MasterGrid::Customers, 3},
        {"wKPLZ", MasterGrid::Customers, 4},
        {"wKTel", MasterGrid::Customers, 6},
        {"wKAnrede", MasterGrid::Customers, 7},
        {"wKBem", MasterGrid::Customers, 8},
        {"wKMail", MasterGrid::Customers, 10},
    };
    return bindings;
}

QString MasterTableFile(MasterGrid which)
{
    switch (which) {
        case MasterGrid::Medications:
            return QStringLiteral("MED.DBF");
        case MasterGrid::Services:
            return QStringLiteral("LEISTUNG.DBF");
        case MasterGrid::Customers:
            break;
    }
    return QStringLiteral("KUNDE.DBF");
}

namespace {

// Widths the options file does not keep, for the table font size 8: column, width.
QList<QPair<int, int>> FixedWidths(MasterGrid which)
{
    switch (which) {
        case MasterGrid::Medications:
            return {{0, 10}, {2, 62}, {3, 62}, {4, 62}, {5, 26}, {10, -1}};
        case MasterGrid::Services:
            return {{0, 10}, {3, 66}, {4, 42}, {5, 64}, {6, 64}, {7, 26}, {8, 64}};
        case MasterGrid::Customers:
            break;
    }
    return {{0, 10}, {5, 50}, {9, -1}};
}

// A width the options file keeps (it overrides the fixed one).
bool IsStored(MasterGrid which, int col)
{
    for (const ColumnWidthBinding& b : MasterColumnWidthBindings()) {
        if (b.grid == which && b.col == col)
            return true;
    }
    return false;
}

// From size 9 on the titles of the narrow fixed columns ("VerkMitSt", "GOT/Netto") would
// be cut off: those columns take their title's width. Stored widths stay the person's.
void WidenToTitles(TSGrid& grid, MasterGrid which, int tableFontSize)
{
    if (tableFontSize <= 8)
        return;
    constexpr int kTitleMargin = 6;  // the text starts 2 pixels into the cell
    for (const auto& [col, width] : FixedWidths(which)) {
        if (col == 0 || width <= 0 || col >= grid.ColCount() || IsStored(which, col))
            continue;
        const int needed = grid.TextWidth(grid.Cells(col, 0).trimmed()) + kTitleMargin;
        if (needed > grid.ColWidth(col))
            grid.SetColWidth(col, needed);
    }
}

}  // namespace

void ApplyMasterGridFontSize(TSGrid& grid, MasterGrid which, int tableFontSize)
{
    for (const auto& [col, width] : FixedWidths(which)) {
        if (!IsStored(which, col))
            grid.SetColWidth(col, width);
    }
    if (which == MasterGrid::Medications)
        grid.SetColWidth(9, tableFontSize <= 8 ? 55 : 65);
    WidenToTitles(grid, which, tableFontSize);
}

void SetUpMasterGrid(TSGrid& grid, MasterGrid which, const QHash<QString, int>& widths,
                     int tableFontSize)
{
    QList<int> right;
    switch (which) {
        case MasterGrid::Medications:
            grid.SetColCount(11);
            grid.PriceCol1 = 2;
            grid.PriceCol2 = 3;
            grid.PriceCol3 = 4;
            right = {2, 3, 4, 5, 6, 7, 9};
            break;
        case MasterGrid::Services:
            grid.SetColCount(10);
            grid.PriceCol1 = 3;
            grid.PriceCol2 = 5;
            grid.PriceCol3 = 6;
            right = {3, 5, 6};
            break;
        case MasterGrid::Customers:
            grid.SetColCount(11);
            break;
    }
    for (const auto& [col, width] : FixedWidths(which))
        grid.SetColWidth(col, width);
    if (which == MasterGrid::Medications)
        grid.SetColWidth(9, tableFontSize <= 8 ? 55 : 65);
    // The widths are the person's: they are dragged on the title row and kept on close.
    grid.SetOptions(grid.Options() | goColSizing);
    for (const ColumnWidthBinding& b : MasterColumnWidthBindings()) {
        const QString key = QString::fromLatin1(b.key);
        if (b.grid == which && widths.contains(key))
            grid.SetColWidth(b.col, widths.value(key));
    }
    for (int col : right)
        grid.SetColumnAlignment(col, 1);
    SetMasterTitles(grid, which == MasterGrid::Medications ? MasterTable::Medication
                          : which == MasterGrid::Services  ? MasterTable::Service
                                                           : MasterTable::Customer);
    WidenToTitles(grid, which, tableFontSize);
}

#include "shell/MasterGridLayout.h"

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

void ApplyMasterGridFontSize(TSGrid& grid, MasterGrid which, int tableFontSize)
{
    if (which == MasterGrid::Medications)
        grid.SetColWidth(9, tableFontSize <= 8 ? 55 : 65);
}

void SetUpMasterGrid(TSGrid& grid, MasterGrid which, const QHash<QString, int>& widths,
                     int tableFontSize)
{
    QList<int> right;
    QList<QPair<int, int>> fixed;  // column, width
    switch (which) {
        case MasterGrid::Medications:
            grid.SetColCount(11);
            grid.PriceCol1 = 2;
            grid.PriceCol2 = 3;
            grid.PriceCol3 = 4;
            right = {2, 3, 4, 5, 6, 7, 9};
            fixed = {{0, 10}, {2, 62}, {3, 62}, {4, 62}, {5, 26}, {10, -1}};
            break;
        case MasterGrid::Services:
            grid.SetColCount(10);
            grid.PriceCol1 = 3;
            grid.PriceCol2 = 5;
            grid.PriceCol3 = 6;
            right = {3, 5, 6};
            fixed = {{0, 10}, {3, 66}, {4, 42}, {5, 64}, {6, 64}, {7, 26}, {8, 64}};
            break;
        case MasterGrid::Customers:
            grid.SetColCount(11);
            fixed = {{0, 10}, {5, 50}, {9, -1}};
            break;
    }
    for (const auto& [col, width] : fixed)
        grid.SetColWidth(col, width);
    ApplyMasterGridFontSize(grid, which, tableFontSize);
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
}

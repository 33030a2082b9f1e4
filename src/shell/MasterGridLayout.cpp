#include "shell/MasterGridLayout.h"

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

void ApplyColumnWidths(TSGrid& grid, MasterGrid which, const QHash<QString, int>& widths)
{
    for (const ColumnWidthBinding& b : MasterColumnWidthBindings()) {
        const QString key = QString::fromLatin1(b.key);
        if (b.grid == which && widths.contains(key))
            grid.SetColWidth(b.col, widths.value(key));
    }
}

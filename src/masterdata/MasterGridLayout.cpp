#include "masterdata/MasterGridLayout.h"

#include <algorithm>

#include "table/TSGrid.h"

const QList<ColumnWidthBinding>& MasterColumnWidthBindings()
{
    static const QList<ColumnWidthBinding> bindings = {
        {"wMed", MasterTable::Medication, 1},
        {"wWZ", MasterTable::Medication, 6},
        {"wCh", MasterTable::Medication, 7},
        {"wMedBem", MasterTable::Medication, 8},
        {"wLeist", MasterTable::Service, 1},
        {"wTier", MasterTable::Service, 2},
        // Fee number and remark moved right when the service table got its factor and
        // sale price columns; the keys keep their names.
        {"wGot", MasterTable::Service, 8},
        {"wLeistBem", MasterTable::Service, 9},
        {"wKName", MasterTable::Customer, 1},
        {"wKVorname", MasterTable::Customer, 2},
        {"wKStr", MasterTable::Customer, 3},
        {"wKPLZ", MasterTable::Customer, 4},
        {"wKTel", MasterTable::Customer, 6},
        {"wKAnrede", MasterTable::Customer, 7},
        {"wKBem", MasterTable::Customer, 8},
        {"wKMail", MasterTable::Customer, 10},
    };
    return bindings;
}

QString MasterTableFile(MasterTable table)
{
    switch (table) {
        case MasterTable::Medication:
            return QStringLiteral("MED.DBF");
        case MasterTable::Service:
            return QStringLiteral("LEISTUNG.DBF");
        case MasterTable::Customer:
            break;
    }
    return QStringLiteral("KUNDE.DBF");
}

namespace {

const QStringList kCustomerTitles{QString(),
                                  QStringLiteral("Name"),
                                  QStringLiteral("Vorname"),
                                  QStringLiteral("Straße"),
                                  QStringLiteral("PLZ/Ort"),
                                  QStringLiteral("KdNr"),
                                  QStringLiteral("Telefon"),
                                  QStringLiteral("Anrede"),
                                  QStringLiteral("Bemerkung"),
                                  QString(),
                                  QStringLiteral("e-mail Adr.")};
const QStringList kMedicationTitles{QString(),
                                    QStringLiteral("Medikament/ Artikel"),
                                    QStringLiteral("EinkNetto"),
                                    QStringLiteral("VerkNetto"),
                                    QStringLiteral("VerkMitSt"),
                                    QStringLiteral("USt"),
                                    QStringLiteral("Wartezeit"),
                                    QStringLiteral("Chargennr."),
                                    QStringLiteral("Bemerkung: (H)= Humanpräp."),
                                    QStringLiteral("Bestand"),
                                    QString()};
const QStringList kServiceTitles{QString(),
                                 QStringLiteral("Diagnose/ Leistung (GOT)"),
                                 QStringLiteral("Tierart"),
                                 QStringLiteral("GOT/Netto"),
                                 QStringLiteral("Faktor"),
                                 QStringLiteral("VerkNetto"),
                                 QStringLiteral("VerkMitSt"),
                                 QStringLiteral("USt"),
                                 QStringLiteral("Ziffer"),
                                 QStringLiteral("Bemerkung")};

// Widths the options file does not keep, for the table font size 8: column, width.
QList<QPair<int, int>> FixedWidths(MasterTable table)
{
    switch (table) {
        case MasterTable::Medication:
            return {{0, 10}, {2, 62}, {3, 62}, {4, 62}, {5, 26}, {10, -1}};
        case MasterTable::Service:
            return {{0, 10}, {3, 66}, {4, 42}, {5, 64}, {6, 64}, {7, 26}, {8, 64}};
        case MasterTable::Customer:
            break;
    }
    return {{0, 10}, {5, 50}, {9, -1}};
}

// A width the options file keeps (it overrides the fixed one).
bool IsStored(MasterTable table, int col)
{
    for (const ColumnWidthBinding& b : MasterColumnWidthBindings()) {
        if (b.table == table && b.col == col)
            return true;
    }
    return false;
}

// From size 9 on the titles of the narrow fixed columns ("VerkMitSt", "GOT/Netto") would
// be cut off: those columns take their title's width. Stored widths stay the person's.
void WidenToTitles(TSGrid& grid, MasterTable table, int tableFontSize)
{
    if (tableFontSize <= 8)
        return;
    constexpr int kTitleMargin = 6;  // the text starts 2 pixels into the cell
    for (const auto& [col, width] : FixedWidths(table)) {
        if (col == 0 || width <= 0 || col >= grid.ColCount() || IsStored(table, col))
            continue;
        const int needed = grid.TextWidth(grid.Cells(col, 0).trimmed()) + kTitleMargin;
        if (needed > grid.ColWidth(col))
            grid.SetColWidth(col, needed);
    }
}

}  // namespace

void ApplyMasterGridFontSize(TSGrid& grid, MasterTable table, int tableFontSize)
{
    for (const auto& [col, width] : FixedWidths(table)) {
        if (!IsStored(table, col))
            grid.SetColWidth(col, width);
    }
    if (table == MasterTable::Medication)
        grid.SetColWidth(9, tableFontSize <= 8 ? 55 : 65);
    WidenToTitles(grid, table, tableFontSize);
}

void SetUpMasterGrid(TSGrid& grid, MasterTable table, const QHash<QString, int>& widths,
                     int tableFontSize)
{
    QList<int> right;
    switch (table) {
        case MasterTable::Medication:
            grid.SetColCount(11);
            grid.PriceCol1 = 2;
            grid.PriceCol2 = 3;
            grid.PriceCol3 = 4;
            right = {2, 3, 4, 5, 6, 7, 9};
            break;
        case MasterTable::Service:
            grid.SetColCount(10);
            grid.PriceCol1 = 3;
            grid.PriceCol2 = 5;
            grid.PriceCol3 = 6;
            right = {3, 5, 6};
            break;
        case MasterTable::Customer:
            grid.SetColCount(11);
            break;
    }
    for (const auto& [col, width] : FixedWidths(table))
        grid.SetColWidth(col, width);
    if (table == MasterTable::Medication)
        grid.SetColWidth(9, tableFontSize <= 8 ? 55 : 65);
    // The widths are the person's: they are dragged on the title row and kept on close.
    // Records change only through the record dialog, which checks every field and saves at
    // once; a cell typed over in place would bypass both.
    grid.SetOptions((grid.Options() | goColSizing) & ~unsigned(goEditing));
    for (const ColumnWidthBinding& b : MasterColumnWidthBindings()) {
        const QString key = QString::fromLatin1(b.key);
        if (b.table == table && widths.contains(key))
            grid.SetColWidth(b.col, widths.value(key));
    }
    for (int col : right)
        grid.SetColumnAlignment(col, 1);
    SetMasterTitles(grid, table);
    WidenToTitles(grid, table, tableFontSize);
}

void SetMasterTitles(TSGrid& grid, MasterTable table)
{
    switch (table) {
        case MasterTable::Customer:
            grid.SetTitles(kCustomerTitles);
            break;
        case MasterTable::Service:
            grid.SetTitles(kServiceTitles);
            break;
        case MasterTable::Medication: {
            QStringList titles = kMedicationTitles;
            const bool feed =
                (grid.RowCount() > 1 && grid.Cells(8, 1).contains(QLatin1String("(WDT"))) ||
                (grid.RowCount() > 10 && grid.Cells(8, 10).contains(QLatin1String("(WDT")));
            if (feed)
                titles[8] += QStringLiteral(" (F)= Futtermittel");
            grid.SetTitles(titles);
            break;
        }
    }
}

int FillColumn(MasterTable table)
{
    return table == MasterTable::Service ? 9 : 8;
}

void WidenToFill(TSGrid& grid, int col, int base, int clientWidth)
{
    int others = 0;
    for (int c = 0; c < grid.ColCount(); ++c)
        if (c != col && grid.ColWidth(c) > 0)
            others += grid.ColWidth(c) + grid.GridLineWidth();
    const int room = clientWidth - others - grid.GridLineWidth();
    // Narrower than its own width the fill column still shows its title, so the columns
    // after it keep their room instead of being cut at the edge; with less room than that
    // the view scrolls by columns.
    const int floor = std::min(base, grid.TextWidth(grid.Cells(col, 0).trimmed()) + 6);
    const int width = room >= floor ? room : base;
    if (width > 0 && width != grid.ColWidth(col))
        grid.SetColWidth(col, width);
}

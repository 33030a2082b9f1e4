#include "masterdata/MasterListPrint.h"

#include <QDir>

#include "printing/TPrintGrid2.h"
#include "table/TSGrid.h"

TSeiteEinrichtenDlgForm::List MasterListPrint::LayoutOf(MasterTable table)
{
    switch (table) {
        case MasterTable::Medication:
            return TSeiteEinrichtenDlgForm::List::Medikamente;
        case MasterTable::Service:
            return TSeiteEinrichtenDlgForm::List::Leistungen;
        case MasterTable::Customer:
            break;
    }
    return TSeiteEinrichtenDlgForm::List::Kunden;
}

QString MasterListPrint::ExportFileName(MasterTable table)
{
    switch (table) {
        case MasterTable::Medication:
            return QStringLiteral("medikamente.xls");
        case MasterTable::Service:
            return QStringLiteral("leistung.xls");
        case MasterTable::Customer:
            break;
    }
    return QStringLiteral("kunden.xls");
}

MasterListPrint::MasterListPrint(TPrintGrid2& printer, TSGrid& grid, MasterTable table,
                                 LayoutStore& store, const QString& programFolder,
                                 const QStringList& vatRates)
    : m_grid(grid)
{
    for (int col = 0; col < grid.ColCount(); ++col) {
        m_titles.append(grid.Cells(col, 0));
    }
    TSeiteEinrichtenDlgForm layout(store);
    layout.Load(LayoutOf(table));
    const TablePrintSetup setup = layout.Setup();
    printer.AttachGrid(&grid);
    ApplyTableSetup(setup, printer);
    printer.PrintMgrTitle = setup.heading.isEmpty() ? layout.Caption() : setup.heading;
    printer.PrintToFile = false;
    printer.FromPage = 1;
    printer.EndPage = 1000;
    printer.KopfPrint = false;
    printer.FussPrint = false;
    printer.UStCol = -1;
    if (vatRates.size() >= 3 && table != MasterTable::Customer) {
        printer.UStCol = table == MasterTable::Medication ? 5 : 7;
        printer.USt1 = vatRates[0];
        printer.USt2 = vatRates[1];
        printer.USt3 = vatRates[2];
    }
    printer.PrintFileDir = QDir(programFolder).absolutePath() + QLatin1Char('/');
    printer.PrintFileName = ExportFileName(table);
    printer.SetExportPath(printer.PrintFileDir + printer.PrintFileName);
}

MasterListPrint::~MasterListPrint()
{
    for (int col = 0; col < m_titles.size() && col < m_grid.ColCount(); ++col) {
        m_grid.SetCell(col, 0, m_titles[col]);
    }
}

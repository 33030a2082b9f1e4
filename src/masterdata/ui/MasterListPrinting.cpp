#include "masterdata/ui/MasterListPrinting.h"

#include "masterdata/MasterListPrint.h"
#include "printing/TPrintGrid2.h"
#include "printing/qt/QtPrintCanvas.h"
#include "printing/qt/QtPrintDialogPort.h"
#include "printing/ui/PageLayoutDialogs.h"

void RunMasterListPrint(ListPrintMode mode, QWidget* parent, QtPrintCanvas& canvas,
                        TPrintGrid2& printer, TSGrid& grid, MasterTable table, LayoutStore& store,
                        const QString& programFolder, const QStringList& vatRates)
{
    if (mode == ListPrintMode::PageSetup) {
        TSeiteEinrichtenDlgForm form(store);
        TSeiteEinrichtenDlg dialog(form, MasterListPrint::LayoutOf(table), false, parent);
        dialog.exec();
        return;
    }
    MasterListPrint job(printer, grid, table, store, programFolder, vatRates);
    switch (mode) {
        case ListPrintMode::Preview:
            ShowPrintPreview(canvas, parent, printer.PrintMgrTitle, [&printer](PrintCanvas& on) {
                // The same settings on the preview's canvas.
                TPrintGrid2 copy = printer;
                copy.Rebind(on);
                copy.Print();
            });
            break;
        case ListPrintMode::Print: {
            QtPrintDialogPort dialog(canvas, parent);
            printer.PrintWithDialog(dialog);
            break;
        }
        case ListPrintMode::PrintDirect:
            printer.Print();
            break;
        case ListPrintMode::Export:
            printer.ExportWithDialog();
            break;
        case ListPrintMode::PageSetup:
            break;
    }
}

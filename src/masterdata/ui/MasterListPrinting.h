#pragma once

#include <QString>
#include <QStringList>

#include "masterdata/MasterGridLayout.h"

class QWidget;
class LayoutStore;
class QtPrintCanvas;
class TPrintGrid2;
class TSGrid;

// What the print items of the master workspaces do with their list.
enum class ListPrintMode {
    Preview,      // print preview; printing from it uses the chosen printer
    Print,        // system print dialog, then the job
    PrintDirect,  // the current printer without a dialog (the PDF printer in tests)
    Export,       // save dialog, then the spreadsheet file
    PageSetup,    // the list's page layout dialog
};

// Runs a master list print with the list's stored page layout. printer must draw on canvas.
void RunMasterListPrint(ListPrintMode mode, QWidget* parent, QtPrintCanvas& canvas,
                        TPrintGrid2& printer, TSGrid& grid, MasterTable table, LayoutStore& store,
                        const QString& programFolder, const QStringList& vatRates = {});

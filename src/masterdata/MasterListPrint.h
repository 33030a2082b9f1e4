#pragma once

#include <QString>
#include <QStringList>

#include "masterdata/MasterGridLayout.h"
#include "printing/TSeiteEinrichtenDlgForm.h"

class LayoutStore;
class TPrintGrid2;
class TSGrid;

// Printing and exporting the medication, service and customer lists with their page
// layouts. The layout writes its titles into the grid's title row for the job; the
// screen titles come back when the object goes out of scope.
class MasterListPrint {
public:
    // vatRates: the three current rates as printed ("19", "7", "0"); the VAT code column
    // then shows the rate instead of the code.
    MasterListPrint(TPrintGrid2& printer, TSGrid& grid, MasterTable table, LayoutStore& store,
                    const QString& programFolder, const QStringList& vatRates = {});
    ~MasterListPrint();
    MasterListPrint(const MasterListPrint&) = delete;
    MasterListPrint& operator=(const MasterListPrint&) = delete;

    static TSeiteEinrichtenDlgForm::List LayoutOf(MasterTable table);
    // File name the export offers, in the program folder.
    static QString ExportFileName(MasterTable table);

private:
    TSGrid& m_grid;
    QStringList m_titles;
};

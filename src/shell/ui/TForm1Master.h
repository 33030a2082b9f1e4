#pragma once

#include <QObject>
#include <array>

#include "masterdata/MasterGridLayout.h"
#include "masterdata/MasterWorkspace.h"
#include "masterdata/QuantityFields.h"
#include "printing/TPrintGrid2.h"
#include "printing/TPrintStrList.h"
#include "printing/qt/QtPrintCanvas.h"

class QLineEdit;
class TSGridView;

// The main window's side of inserting, editing and deleting master records: scroll bar,
// quantities and the customer view after a change, on the views of the three master grids.
// It also binds the two quantity fields to their rules.
class TForm1MasterHooks : public QObject, public MasterWorkspaceHooks {
public:
    explicit TForm1MasterHooks(std::array<TSGridView*, 3> views) : m_views(views) {}

    // Which grid the next operation works on.
    void SetGrid(MasterTable which) { m_grid = which; }

    void SetScrollBarMaximum(int maximum) override;
    void ResetQuantities() override;
    void RefreshCustomerDisplay() override;
    int GridRows() const override;

    QuantityFields& Quantities() { return m_quantities; }
    void BindQuantity(QLineEdit* edit, QuantityFields::Which which);

    // The remark columns take the room the others leave in their view, at least the width
    // the options gave them or the person dragged; that width is the one kept on close.
    void TrackFillColumns();
    void SetFillBase(MasterTable which);  // after the grid was set up
    void Fill(MasterTable which);
    int StoredWidth(MasterTable which, int col) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSGridView* View(MasterTable which) const { return m_views[size_t(which)]; }

    std::array<TSGridView*, 3> m_views;
    MasterTable m_grid = MasterTable::Medication;
    QuantityFields m_quantities;
    QLineEdit* m_edits[2] = {};
    int m_fillBase[3] = {};
};

// The printers the main window shares for the whole run: documents and tables.
struct TForm1Printers {
    TForm1Printers(const QString& programFolder, const Clock& clock, UserPort& port)
        : canvas(programFolder, clock), strList(canvas, port), grid(canvas, port, clock)
    {
    }
    QtPrintCanvas canvas;
    TPrintStrList strList;
    TPrintGrid2 grid;
};

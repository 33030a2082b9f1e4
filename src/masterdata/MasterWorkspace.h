#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

#include "masterdata/MasterGridLayout.h"
#include "masterdata/MasterTableView.h"
#include "masterdata/TEditDlgForm.h"

class Clock;
class IniFile;
class OptionValues;
class TSGrid;
class UserPort;

// The settings the dialog and the price rules read from the options.
PriceSettings PriceSettingsFromOptions(const OptionValues& options);

// Duplicate look-ups straight on a table grid.
class GridTableView : public MasterTableView {
public:
    explicit GridTableView(TSGrid& grid) : m_grid(grid) {}
    int RecordCount() const override;
    int FindSorted(const QString& text) const override;
    QString Cell(int record, int col) const override;

private:
    TSGrid& m_grid;
};

// Loads the table file, upgrades an older layout (save and load again) and sets the titles.
void LoadMasterTable(TSGrid& grid, MasterTable table, const QString& path);

// The scroll bar maximum beside a master grid.
int ScrollBarMaximum(int recordCount, int gridRows);

// Places a medication (cells 1..8) or service (cells 1..9) at its sorted position and
// selects it. Returns its index.
int PlaceRecordSorted(TSGrid& grid, const QStringList& cells, int tabs);

// The recalculation of gross prices after a VAT change, on the two master grids; the
// main window's part comes in as callbacks.
class GridVatRecalcTarget : public prices::VatRecalcTarget {
public:
    GridVatRecalcTarget(TSGrid& services, QString servicePath, TSGrid& medications,
                        QString medicationPath)
        : m_serviceGrid(services),
          m_servicePath(std::move(servicePath)),
          m_medicationGrid(medications),
          m_medicationPath(std::move(medicationPath))
    {
    }

    std::function<void(const QString&)> showCurrentRate;
    std::function<void()> resetQuantities;
    std::function<void()> reloadBatchIfShown;

    QStringList& ServiceLines() override;
    void SaveServices() override;
    QStringList& MedicationLines() override;
    void SaveMedications() override;
    void ShowCurrentRate(const QString& rateText) override;
    void ResetQuantities() override;
    void ReloadBatchIfShown() override;

private:
    TSGrid& m_serviceGrid;
    QString m_servicePath;
    TSGrid& m_medicationGrid;
    QString m_medicationPath;
    QStringList m_lines;
};

// Shows the record edit dialog modally; false when it was cancelled. Tests fill the form.
class RecordDialogRunner {
public:
    virtual ~RecordDialogRunner() = default;
    virtual bool Run(TEditDlgForm& form, const MasterTableView* table) = 0;
};

// What the master workspaces of the main window do around an insert, edit or delete.
class MasterWorkspaceHooks {
public:
    virtual ~MasterWorkspaceHooks() = default;
    virtual void SetScrollBarMaximum(int maximum) { (void)maximum; }
    virtual void ResetQuantities() {}  // both quantity fields to "1,00"
    virtual void RefreshCustomerDisplay() {}
    virtual int GridRows() const { return 0; }  // rows the grid shows
};

// Insert, edit and delete of the active master table.
class MasterRecords {
public:
    struct Context {
        UserPort& port;
        RecordDialogRunner& dialog;
        MasterWorkspaceHooks& hooks;
        const Clock& clock;
        QString dataFolder;      // with a trailing slash
        IniFile* ini = nullptr;  // "LetzteKundenNr"; may be null
        PriceSettings settings;
        bool medicationWorkspace = true;  // stock files go only from the medication workspace
    };

    MasterRecords(Context context) : m_ctx(std::move(context)) {}

    bool InsertRecord(MasterTable table, TSGrid& grid);
    bool EditRecord(MasterTable table, TSGrid& grid);
    bool DeleteRecord(MasterTable table, TSGrid& grid);

private:
    QString Path(MasterTable table) const;
    void AfterChange(MasterTable table, TSGrid& grid);
    bool RunDialog(TEditDlgForm& form, TSGrid& grid);

    Context m_ctx;
};

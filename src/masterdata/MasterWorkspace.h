#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include "masterdata/EditDlgForm.h"
#include "masterdata/MasterTableView.h"

class Clock;
class IniFile;
class OptionValues;
class TSGrid;
class UserPort;

enum class MasterTable { Medication, Service, Customer };

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

// Column count, widths, alignment and price columns of a master grid. Customer widths
// come from the options ("wKName" ...); missing keys keep the grid's default.
void SetupMasterGrid(TSGrid& grid, MasterTable table, const QHash<QString, int>& widths = {},
                     int tableFontSize = 10);
void SetMasterTitles(TSGrid& grid, MasterTable table);
// Loads the table file, upgrades an older layout (save and load again) and sets the titles.
void LoadMasterTable(TSGrid& grid, MasterTable table, const QString& path);

// The scroll bar maximum beside a master grid.
int ScrollBarMaximum(int recordCount, int gridRows);

// Places a medication (cells 1..8) or service (cells 1..9) at its sorted position and
// selects it. Returns its index.
int PlaceRecordSorted(TSGrid& grid, const QStringList& cells, int tabs);

// Shows the record edit dialog modally; false when it was cancelled. Tests fill the form.
class RecordDialogRunner {
public:
    virtual ~RecordDialogRunner() = default;
    virtual bool Run(EditDlgForm& form, const MasterTableView* table) = 0;
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

    static QString FileName(MasterTable table);

    bool InsertRecord(MasterTable table, TSGrid& grid);
    bool EditRecord(MasterTable table, TSGrid& grid);
    bool DeleteRecord(MasterTable table, TSGrid& grid);

private:
    QString Path(MasterTable table) const;
    void AfterChange(MasterTable table, TSGrid& grid);
    bool RunDialog(EditDlgForm& form, TSGrid& grid);

    Context m_ctx;
};

#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include "download/DrugLists.h"
#include "masterdata/PriceRules.h"

class KeyValueSettings;
class TSGrid;
class UserPort;

// The take-over of a downloaded drug list into the medication table: prices of known
// medications are updated by name, new ones placed at their sorted position, gross
// prices follow the VAT code; batch, remark, stock and stock code stay as they are.
namespace download {

struct TakeOverCounts {
    int updated = 0;
    int added = 0;
    int unchanged = 0;
    int deleted = 0;
    int keptWithStock = 0;  // of refused manufacturers, kept for their stock books
};

struct TakeOverPlan {
    QStringList lines;
    TakeOverCounts counts;
};

// The new medication lines. Articles of a refused manufacturer (case-folded names) are
// not taken over, and their medications leave the table unless they are stock-kept.
TakeOverPlan PlanTakeOver(const QStringList& table, const DrugList& list,
                          const QSet<QString>& refusedManufacturers, const PriceSettings& settings);

// The medication table the take-over writes: its lines and the safe save.
class MedicationTable {
public:
    virtual ~MedicationTable() = default;
    virtual QStringList Lines() const = 0;
    // Saves the new lines; false (the table as before) when the save failed.
    virtual bool Replace(const QStringList& lines) = 0;
};

// The main window's medication grid and its file.
class GridMedicationTable : public MedicationTable {
public:
    GridMedicationTable(TSGrid& grid, QString path) : m_grid(grid), m_path(std::move(path)) {}
    QStringList Lines() const override;
    bool Replace(const QStringList& lines) override;

private:
    TSGrid& m_grid;
    QString m_path;
};

struct TakeOverRequest {
    ListSource source = ListSource::Barsoi;
    QString path;  // the list file, for WDT an ART_ file or the folder's "ART_ ..." pattern
    bool confirmManufacturers = false;
};

// Reads the list, asks for each manufacturer when requested, warns before deleting, saves
// and reports what changed; remembers the list's date. A faulty list or a cancel changes
// nothing. True when the list was taken over.
bool RunTakeOver(const TakeOverRequest& request, UserPort& port, KeyValueSettings& settings,
                 const PriceSettings& prices, MedicationTable& table);

}  // namespace download

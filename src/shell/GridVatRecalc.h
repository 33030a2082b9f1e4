#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "masterdata/PriceRules.h"

class TSGrid;

// The gross recalculation after a VAT change, run over the service and medication grids
// of the main window: each table is recalculated on a copy of its lines, put back into its
// grid and saved (with the backup mirror of the save).
class GridVatRecalc : public prices::VatRecalcTarget {
public:
    GridVatRecalc(TSGrid& services, QString servicePath, TSGrid& medications,
                  QString medicationPath);

    QStringList& ServiceLines() override;
    void SaveServices() override;
    QStringList& MedicationLines() override;
    void SaveMedications() override;
    void ShowCurrentRate(const QString& rateText) override;
    void ResetQuantities() override;
    void ReloadBatchIfShown() override;

    // What the main window shows: the current rate label, the quantity fields, the batch.
    std::function<void(const QString&)> onCurrentRate;
    std::function<void()> onResetQuantities;
    std::function<void()> onReloadBatch;

private:
    TSGrid& m_services;
    QString m_servicePath;
    TSGrid& m_medications;
    QString m_medicationPath;
    QStringList m_serviceLines;
    QStringList m_medicationLines;
};

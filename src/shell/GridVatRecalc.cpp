#include "shell/GridVatRecalc.h"

#include "table/TSGrid.h"

GridVatRecalc::GridVatRecalc(TSGrid& services, QString servicePath, TSGrid& medications,
                             QString medicationPath)
    : m_services(services),
      m_servicePath(std::move(servicePath)),
      m_medications(medications),
      m_medicationPath(std::move(medicationPath))
{
}

QStringList& GridVatRecalc::ServiceLines()
{
    m_serviceLines = m_services.Lines();
    return m_serviceLines;
}

void GridVatRecalc::SaveServices()
{
    m_services.SetLines(m_serviceLines);
    m_services.SaveTable(m_servicePath);  // reports its own failure
}

QStringList& GridVatRecalc::MedicationLines()
{
    m_medicationLines = m_medications.Lines();
    return m_medicationLines;
}

void GridVatRecalc::SaveMedications()
{
    m_medications.SetLines(m_medicationLines);
    m_medications.SaveTable(m_medicationPath);  // reports its own failure
}

void GridVatRecalc::ShowCurrentRate(const QString& rateText)
{
    if (onCurrentRate)
        onCurrentRate(rateText);
}

void GridVatRecalc::ResetQuantities()
{
    if (onResetQuantities)
        onResetQuantities();
}

void GridVatRecalc::ReloadBatchIfShown()
{
    if (onReloadBatch)
        onReloadBatch();
}

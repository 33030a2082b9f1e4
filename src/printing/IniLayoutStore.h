#pragma once

#include <memory>
#include <vector>

#include "printing/LayoutStore.h"

class IniFile;
class IniBatch;

// Page layouts kept in the options file.
class IniLayoutStore : public LayoutStore {
public:
    explicit IniLayoutStore(IniFile& ini);
    ~IniLayoutStore() override;
    QStringList SectionKeys(const QString& section) const override;
    QString Read(const QString& section, const QString& key,
                 const QString& fallback) const override;
    void Write(const QString& section, const QString& key, const QString& value) override;
    void EraseSection(const QString& section) override;
    void BeginChanges() override;
    void EndChanges() override;

private:
    IniFile& m_ini;
    std::vector<std::unique_ptr<IniBatch>> m_batches;
};

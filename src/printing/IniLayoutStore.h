#pragma once

#include "printing/LayoutStore.h"

class IniFile;

// Page layouts kept in the options file.
class IniLayoutStore : public LayoutStore {
public:
    explicit IniLayoutStore(IniFile& ini) : m_ini(ini) {}
    QStringList SectionKeys(const QString& section) const override;
    QString Read(const QString& section, const QString& key,
                 const QString& fallback) const override;
    void Write(const QString& section, const QString& key, const QString& value) override;
    void EraseSection(const QString& section) override;

private:
    IniFile& m_ini;
};

#pragma once

#include "common/KeyValueSettings.h"
#include "settings/IniFile.h"

// The options file seen as plain sections and keys, for the core parts that only read
// and write single values (account balances and the like).
class IniSettings : public KeyValueSettings {
public:
    explicit IniSettings(IniFile& ini) : m_ini(ini) {}

    bool Read(const QString& section, const QString& key, QString* value) const override
    {
        if (!m_ini.ValueExists(section, key))
            return false;
        *value = m_ini.ReadString(section, key);
        return true;
    }

    bool Write(const QString& section, const QString& key, const QString& value) override
    {
        return m_ini.WriteString(section, key, value);
    }

private:
    IniFile& m_ini;
};

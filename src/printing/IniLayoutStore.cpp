#include "printing/IniLayoutStore.h"

#include "settings/IniFile.h"

QStringList IniLayoutStore::SectionKeys(const QString& section) const
{
    return m_ini.ReadSection(section);
}

QString IniLayoutStore::Read(const QString& section, const QString& key,
                             const QString& fallback) const
{
    return m_ini.ReadString(section, key, fallback);
}

void IniLayoutStore::Write(const QString& section, const QString& key, const QString& value)
{
    m_ini.WriteString(section, key, value);
}

void IniLayoutStore::EraseSection(const QString& section)
{
    m_ini.EraseSection(section);
}

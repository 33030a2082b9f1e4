#include "printing/IniLayoutStore.h"

#include "settings/IniFile.h"

IniLayoutStore::IniLayoutStore(IniFile& ini) : m_ini(ini) {}

IniLayoutStore::~IniLayoutStore()
{
    while (!m_batches.empty())
        EndChanges();
}

void IniLayoutStore::BeginChanges()
{
    m_batches.push_back(std::make_unique<IniBatch>(m_ini));
}

void IniLayoutStore::EndChanges()
{
    if (!m_batches.empty())
        m_batches.pop_back();
}

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

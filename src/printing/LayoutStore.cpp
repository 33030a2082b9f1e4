#include "printing/LayoutStore.h"

// Section and key names compare without case, as in INI files.
MemoryLayoutStore::Section* MemoryLayoutStore::Find(const QString& section)
{
    for (auto& [name, keys] : m_sections) {
        if (name.compare(section, Qt::CaseInsensitive) == 0) {
            return &keys;
        }
    }
    return nullptr;
}

const MemoryLayoutStore::Section* MemoryLayoutStore::Find(const QString& section) const
{
    return const_cast<MemoryLayoutStore*>(this)->Find(section);
}

QStringList MemoryLayoutStore::SectionKeys(const QString& section) const
{
    QStringList keys;
    if (const Section* s = Find(section)) {
        for (const auto& [key, value] : *s) {
            keys.append(key);
        }
    }
    return keys;
}

QString MemoryLayoutStore::Read(const QString& section, const QString& key,
                                const QString& fallback) const
{
    if (const Section* s = Find(section)) {
        for (const auto& [k, value] : *s) {
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                return value;
            }
        }
    }
    return fallback;
}

void MemoryLayoutStore::Write(const QString& section, const QString& key, const QString& value)
{
    Section* s = Find(section);
    if (!s) {
        m_sections.append({section, {}});
        s = &m_sections.last().second;
    }
    for (auto& [k, v] : *s) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    s->append({key, value});
}

void MemoryLayoutStore::EraseSection(const QString& section)
{
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].first.compare(section, Qt::CaseInsensitive) == 0) {
            m_sections.removeAt(i);
            return;
        }
    }
}

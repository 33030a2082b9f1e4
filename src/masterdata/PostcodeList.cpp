#include "masterdata/PostcodeList.h"

#include "common/CodePage.h"
#include "platform/Files.h"

void PostcodeList::Load()
{
    m_entries.clear();
    QStringList lines;
    if (cp1252::ReadLines(m_path, lines))
        m_entries = lines;
}

void PostcodeList::Save() const
{
    files::ReplaceAtomically(m_path, m_path + QStringLiteral(".~PL"), cp1252::JoinLines(m_entries));
}

void PostcodeList::Learn(const QString& text)
{
    // An empty field is nothing to learn; it would only be cleaned up again.
    if (text.isEmpty())
        return;
    for (const QString& entry : m_entries)
        if (entry.compare(text, Qt::CaseInsensitive) == 0)
            return;
    while (m_entries.size() >= kMaxEntries)
        m_entries.removeFirst();
    m_entries.append(text);
    Save();
}

void PostcodeList::Remove(const QString& text)
{
    m_entries.removeIf(
        [&](const QString& entry) { return entry.compare(text, Qt::CaseInsensitive) == 0; });
    Save();
}

void PostcodeList::CleanUp()
{
    if (m_entries.removeIf([](const QString& entry) { return entry.isEmpty(); }) > 0)
        Save();
}

QString PostcodeList::Complete(const QString& typed) const
{
    if (typed.size() <= 4)
        return {};
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i)
        if (m_entries.at(i).startsWith(typed, Qt::CaseSensitive))
            return m_entries.at(i);
    return {};
}

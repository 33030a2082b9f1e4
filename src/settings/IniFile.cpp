#include "settings/IniFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cstdlib>
#include <functional>

#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "platform/FileLock.h"
#include "platform/Files.h"

namespace {

QList<QByteArray> SplitRawLines(const QByteArray& data)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        out.append(data.mid(start, i - start));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        out.append(data.mid(start));
    return out;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniFile::IniFile(const QString& path) : m_path(path)
{
    Reload();
}

namespace {

// The options file whose writes wait for the end of the start-up: a program that ends
// before (std::exit) writes them on its way out.
IniFile* g_deferring = nullptr;

void WriteDeferredAtExit()
{
    if (g_deferring)
        g_deferring->EndDeferral();
}

}  // namespace

IniFile::~IniFile()
{
    EndDeferral();
}

bool IniFile::Lock()
{
    if (!m_lock)
        m_lock = std::make_unique<files::FileLock>(m_path);
    // Another workstation's write of the whole file takes milliseconds, but its flush to
    // a busy disk or server can take seconds.
    const QDeadlineTimer deadline(m_lockWaitMs);
    for (;;) {
        if (m_lock->TryLock() != files::FileLock::State::Busy)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
}

void IniFile::Unlock()
{
    if (m_lock)
        m_lock->Unlock();
}

bool IniFile::BeginChange()
{
    if (m_path.isEmpty())
        return false;
    if (m_batch > 0)
        return !m_batchRefused;
    if (!Lock())
        return false;
    Reload();
    return true;
}

bool IniFile::EndChange(const QList<Line>& lines)
{
    if (m_batch > 0) {
        m_lines = lines;
        m_batchChanged = true;
        return true;
    }
    const bool ok = Save(lines);
    Unlock();
    return ok;
}

bool IniFile::EndUnchanged()
{
    if (m_batch == 0)
        Unlock();
    return true;
}

IniBatch::IniBatch(IniFile& ini) : m_ini(ini)
{
    // Inside a deferral the batch's writes wait with the others for its one save.
    if (m_ini.m_batch++ == 0 && m_ini.HasFile() && !m_ini.m_deferring) {
        m_ini.m_batchRefused = !m_ini.Lock();
        m_ini.Reload();
        m_ini.m_batchChanged = false;
    }
}

IniBatch::~IniBatch()
{
    Commit();
}

bool IniBatch::Commit()
{
    if (!m_open)
        return true;
    m_open = false;
    if (--m_ini.m_batch > 0 || !m_ini.HasFile() || m_ini.m_deferring)
        return m_ini.HasFile();
    bool ok = !m_ini.m_batchRefused;
    if (ok && m_ini.m_batchChanged) {
        const QList<IniFile::Line> lines = m_ini.m_lines;
        ok = m_ini.Save(lines);
    }
    m_ini.m_batchChanged = false;
    m_ini.m_batchRefused = false;
    m_ini.Unlock();
    return ok;
}

IniFile::Line IniFile::Parse(const QByteArray& raw)
{
    Line line;
    line.raw = raw;
    const QString text = cp1252::Decode(raw).trimmed();
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.isSection = true;
            line.section = text.mid(1, close - 1).trimmed();
        }
        return line;
    }
    if (text.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq > 0) {
        line.isKey = true;
        line.key = text.left(eq).trimmed();
    }
    return line;
}

IniFile::Line IniFile::MakeKeyLine(const QString& key, const QString& value)
{
    return Parse(cp1252::Encode(key + QLatin1Char('=') + value));
}

QString IniFile::ValueOf(const Line& line)
{
    const QString text = cp1252::Decode(line.raw);
    QString value = text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
    // The profile functions drop one pair of enclosing quotes.
    if (value.size() >= 2 &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

void IniFile::Reload() const
{
    m_lines.clear();
    m_identity = {};
    if (m_path.isEmpty())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_identity = files::IdentityOf(m_path);
    const QByteArray data = file.readAll();
    for (const QByteArray& raw : SplitRawLines(data))
        m_lines.append(Parse(raw));
}

void IniFile::ReloadIfChanged() const
{
    if (m_path.isEmpty() || (m_batch > 0 && !m_deferring))
        return;
    if (files::IdentityOf(m_path) == m_identity)
        return;
    Reload();
    // Another workstation wrote: the changes waiting for the end of the start-up go on
    // top of what it wrote.
    for (const auto& change : m_pending)
        change(m_lines);
}

int IniFile::FindSection(const QList<Line>& lines, const QString& section) const
{
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isSection && SameName(lines[i].section, section))
            return i;
    }
    return -1;
}

int IniFile::SectionEnd(const QList<Line>& lines, int header)
{
    int i = header + 1;
    while (i < lines.size() && !lines[i].isSection)
        ++i;
    return i;
}

int IniFile::FindKey(const QList<Line>& lines, const QString& section, const QString& key) const
{
    const int header = FindSection(lines, section);
    if (header < 0)
        return -1;
    const int end = SectionEnd(lines, header);
    for (int i = header + 1; i < end; ++i) {
        if (lines[i].isKey && SameName(lines[i].key, key))
            return i;
    }
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    ReloadIfChanged();
    const int i = FindKey(m_lines, section, key);
    return i < 0 ? defaultValue : ValueOf(m_lines[i]);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = 0;
    if (!TryStrToInt(ReadString(section, key), &value))
        return defaultValue;
    return value;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    ReloadIfChanged();
    const int i = FindKey(m_lines, section, key);
    if (i < 0)
        return defaultValue;
    return ValueOf(m_lines[i]) == QLatin1String("TRUE");
}

long double IniFile::ReadFloat(const QString& section, const QString& key,
                               long double defaultValue) const
{
    long double value = 0;
    if (!TryStrToFloat(ReadString(section, key), &value))
        return defaultValue;
    return value;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    ReloadIfChanged();
    return FindKey(m_lines, section, key) >= 0;
}

bool IniFile::SectionExists(const QString& section) const
{
    ReloadIfChanged();
    return FindSection(m_lines, section) >= 0;
}

QStringList IniFile::ReadSection(const QString& section) const
{
    ReloadIfChanged();
    QStringList keys;
    const int header = FindSection(m_lines, section);
    if (header < 0)
        return keys;
    const int end = SectionEnd(m_lines, header);
    for (int i = header + 1; i < end; ++i) {
        if (m_lines[i].isKey)
            keys.append(m_lines[i].key);
    }
    return keys;
}

QStringList IniFile::ReadSections() const
{
    ReloadIfChanged();
    QStringList names;
    for (const Line& line : m_lines) {
        if (line.isSection)
            names.append(line.section);
    }
    return names;
}

bool IniFile::Save(const QList<Line>& lines)
{
    QByteArray data;
    for (const Line& line : lines) {
        data += line.raw;
        data += "\r\n";
    }
    // A write-protected file stays as it is, as the profile functions would leave it.
    if (files::IsReadOnly(m_path)) {
        Reload();
        return false;
    }
    const QFileInfo info(m_path);
    // Other workstations share the file: it keeps the permissions it had.
    const QFile::Permissions permissions =
        info.exists() ? info.permissions() : QFile::Permissions();
    const QString temp =
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".~IN");
    if (!files::ReplaceAtomically(m_path, temp, data, m_io ? *m_io : files::RealFileIo())) {
        Reload();
        return false;
    }
    if (permissions)
        QFile::setPermissions(m_path, permissions);
    m_lines = lines;
    m_identity = files::IdentityOf(m_path);
    return true;
}

bool IniFile::Change(const std::function<bool(QList<Line>&)>& change)
{
    if (m_path.isEmpty())
        return false;
    if (m_deferring) {
        ReloadIfChanged();
        if (change(m_lines))
            m_pending.push_back(change);
        return true;
    }
    // Start from the file as it is now, so keys written by other workstations stay.
    if (!BeginChange())
        return false;
    QList<Line> lines = m_lines;
    if (!change(lines))
        return EndUnchanged();
    return EndChange(lines);
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    return Change([this, section, key, value](QList<Line>& lines) {
        const int existing = FindKey(lines, section, key);
        if (existing >= 0) {
            lines[existing] = MakeKeyLine(lines[existing].key, value);
            return true;
        }
        const int header = FindSection(lines, section);
        if (header < 0) {
            lines.append(Parse(cp1252::Encode(QLatin1Char('[') + section + QLatin1Char(']'))));
            lines.append(MakeKeyLine(key, value));
            return true;
        }
        // After the last non-blank line of the section; blank lines before the next header
        // stay.
        int insertAt = SectionEnd(lines, header);
        while (insertAt - 1 > header && lines[insertAt - 1].raw.trimmed().isEmpty())
            --insertAt;
        lines.insert(insertAt, MakeKeyLine(key, value));
        return true;
    });
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

bool IniFile::WriteFloat(const QString& section, const QString& key, long double value,
                         const QString& pattern)
{
    return WriteString(section, key, FormatFloat(pattern, value));
}

bool IniFile::DeleteKey(const QString& section, const QString& key)
{
    return Change([this, section, key](QList<Line>& lines) {
        const int i = FindKey(lines, section, key);
        if (i < 0)
            return false;
        lines.removeAt(i);
        return true;
    });
}

bool IniFile::EraseSection(const QString& section)
{
    return Change([this, section](QList<Line>& lines) {
        const int header = FindSection(lines, section);
        if (header < 0)
            return false;
        lines.erase(lines.begin() + header, lines.begin() + SectionEnd(lines, header));
        return true;
    });
}

void IniFile::BeginDeferral()
{
    if (m_path.isEmpty() || m_batch > 0 || m_deferring)
        return;
    ReloadIfChanged();
    m_deferring = true;
    m_pending.clear();
    static const bool registered = std::atexit(WriteDeferredAtExit) == 0;
    (void)registered;
    g_deferring = this;
}

bool IniFile::EndDeferral()
{
    if (!m_deferring)
        return true;
    m_deferring = false;
    if (g_deferring == this)
        g_deferring = nullptr;
    if (m_pending.empty())
        return true;
    if (!Lock()) {
        // Refused as any write is: the file stays as another workstation leaves it.
        m_pending.clear();
        Reload();
        return false;
    }
    Reload();
    const QList<Line> before = m_lines;
    QList<Line> lines = before;
    for (const auto& change : m_pending)
        change(lines);
    m_pending.clear();
    const auto raw = [](const QList<Line>& l) {
        QByteArray data;
        for (const Line& line : l)
            data += line.raw + "\r\n";
        return data;
    };
    // Writes that leave every line as it was leave the file as it was.
    const bool ok = raw(lines) == raw(before) || Save(lines);
    Unlock();
    return ok;
}

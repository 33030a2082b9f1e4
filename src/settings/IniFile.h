#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// An INI file kept open for the whole run, laid out as the Windows private-profile
// functions lay it out: a new key goes to the end of its section, a new section to the
// end of the file, every other line stays byte for byte. Section and key names compare
// without case; the first occurrence wins. Every write goes to the file at once (written
// to a temporary file and renamed over it), and the file is read again whenever another
// process changed it, so workstations sharing it see each other's keys.
//
// An IniFile without a path (no options file, read-only medium) answers every read with
// its default and ignores writes.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString& path);

    bool HasFile() const { return !m_path.isEmpty(); }
    const QString& Path() const { return m_path; }

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    // Decimal integer; a value that is no integer gives the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // "TRUE" is on, any other present value off; an absent key gives the default.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    // Decimal comma; a value that is no number gives the default.
    long double ReadFloat(const QString& section, const QString& key,
                          long double defaultValue) const;

    bool ValueExists(const QString& section, const QString& key) const;
    bool SectionExists(const QString& section) const;
    // Key names of a section in file order.
    QStringList ReadSection(const QString& section) const;
    QStringList ReadSections() const;

    // Each returns false when the file could not be written (the value is then not kept).
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);
    bool WriteFloat(const QString& section, const QString& key, long double value,
                    const QString& pattern);
    bool DeleteKey(const QString& section, const QString& key);
    bool EraseSection(const QString& section);

private:
    struct Line {
        QByteArray raw;   // as stored
        QString section;  // header name when isSection
        QString key;      // key name when isKey
        bool isSection = false;
        bool isKey = false;
    };

    void Reload() const;
    void ReloadIfChanged() const;
    bool Save(const QList<Line>& lines);
    static Line Parse(const QByteArray& raw);
    static Line MakeKeyLine(const QString& key, const QString& value);
    // Index of the section header, or -1.
    int FindSection(const QList<Line>& lines, const QString& section) const;
    // End of the section that starts at header index (index of the next header or size).
    static int SectionEnd(const QList<Line>& lines, int header);
    int FindKey(const QList<Line>& lines, const QString& section, const QString& key) const;
    static QString ValueOf(const Line& line);

    QString m_path;
    mutable QList<Line> m_lines;
    mutable QDateTime m_stamp;
    mutable qint64 m_size = -1;
};

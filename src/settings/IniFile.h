#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/FileLock.h"
#include "platform/Files.h"

// An INI file kept open for the whole run, laid out as the Windows private-profile
// functions lay it out: a new key goes to the end of its section, a new section to the
// end of the file, every other line stays byte for byte. Section and key names compare
// without case; the first occurrence wins. Every write goes to the file at once (written
// to a temporary file and renamed over it), and the file is read again whenever another
// process changed it, so workstations sharing it see each other's keys. Each write
// reads, changes and replaces the file under its lock, so two workstations writing at
// once never drop each other's keys. Writes that belong together (a section erased and
// filled again) go in one IniBatch: one replace of the file, all or nothing.
//
// An IniFile without a path (no options file, read-only medium) answers every read with
// its default and ignores writes.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString& path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    bool HasFile() const { return !m_path.isEmpty(); }
    // The file calls of its writes; tests count or fail them.
    void SetFileIo(std::shared_ptr<const files::FileIo> io) { m_io = std::move(io); }
    // How long a write waits for another workstation's write (15 s; tests shorten it).
    void SetLockWait(int ms) { m_lockWaitMs = ms; }
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

    // For the start-up, before the main window shows: until EndDeferral the writes change
    // the lines in memory (reads see them) and are remembered in order. EndDeferral takes
    // the lock, reads the file as it is then, makes the same changes on it and replaces
    // the file once (not at all when no line changed), so keys that other workstations
    // wrote meanwhile stay. Returns false when that replace failed.
    void BeginDeferral();
    bool EndDeferral();

private:
    friend class IniBatch;
    struct Line {
        QByteArray raw;   // as stored
        QString section;  // header name when isSection
        QString key;      // key name when isKey
        bool isSection = false;
        bool isKey = false;
    };

    void Reload() const;
    void ReloadIfChanged() const;
    // Takes the file's lock and reads the file as it is now; inside a batch, both were done
    // at its start. A lock that stays busy refuses the change (false) rather than replace
    // the file under another workstation's write; a folder without locks is written.
    bool BeginChange();
    // Writes the changed lines, or leaves them for the end of the batch.
    bool EndChange(const QList<Line>& lines);
    bool EndUnchanged();
    // One write: the change is made on the file's lines as they are now and saved at once,
    // at the end of the batch or at the end of the deferral. The change returns false
    // when it left the lines as they were.
    bool Change(const std::function<bool(QList<Line>&)>& change);
    bool Lock();
    void Unlock();
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
    mutable files::FileIdentity m_identity;
    int m_batch = 0;  // open batches
    bool m_deferring = false;
    std::vector<std::function<bool(QList<Line>&)>> m_pending;  // deferred changes, in order
    bool m_batchChanged = false;  // a write of the open batch waits for its end
    bool m_batchRefused = false;  // the open batch did not get the lock
    int m_lockWaitMs = 15000;
    std::unique_ptr<files::FileLock> m_lock;
    std::shared_ptr<const files::FileIo> m_io;
};

// Writes through the IniFile while it lives go to memory and reach the file in one
// replace at Commit or at its end; reads see them at once. Batches nest: the outermost
// writes.
class IniBatch {
public:
    explicit IniBatch(IniFile& ini);
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;
    // False when the file could not be written: then none of the batch's values are kept.
    bool Commit();

private:
    IniFile& m_ini;
    bool m_open = true;
};

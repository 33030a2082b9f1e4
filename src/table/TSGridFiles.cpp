#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <vector>

#include "common/CodePage.h"
#include "common/DateUtil.h"
#include "platform/Files.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"
#include "table/TableLock.h"

namespace {

const QString kLoadFailed = QStringLiteral("- Datei kann nicht geladen werden!");
const QString kCreateFailed = QStringLiteral("- Datei kann nicht erzeugt werden!");
const QString kIoError =
    QStringLiteral("\r\r- WINDOWS I/O-Fehler -\r  Datei kann nicht berichtigt werden!");
const QString kEnds = QStringLiteral("\r  Das Programm wird beendet!");

// Short sharing conflicts on a network folder pass within a few tries; a folder that
// cannot be written to does not get better by waiting longer.
constexpr int kSaveRetries = 3;
constexpr int kRetryWaitMs = 100;
constexpr qint64 kFloppyBytes = 1600 * 1024;
constexpr int kFloppyMaxLines = 1000;

QString FolderOf(const QString& path)
{
    return table::WithSlash(QFileInfo(path).absolutePath());
}

QString Absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Julian day of a "dd.mm.yyyy" cell, -1 when the cell holds no date.
qint64 DayOf(QStringView cell)
{
    if (cell.size() == 10 && cell[2] == QLatin1Char('.') && cell[5] == QLatin1Char('.')) {
        bool okDay = false;
        bool okMonth = false;
        bool okYear = false;
        const int day = cell.mid(0, 2).toInt(&okDay);
        const int month = cell.mid(3, 2).toInt(&okMonth);
        const int year = cell.mid(6, 4).toInt(&okYear);
        if (okDay && okMonth && okYear) {
            const QDate date(year, month, day);
            return date.isValid() ? date.toJulianDay() : -1;
        }
    }
    if (cell.trimmed().isEmpty())
        return -1;
    QDate date;
    if (dates::TryParse(cell.toString(), &date))
        return date.toJulianDay();
    return -1;
}

// A blank card holds nothing but TABs before its first summary or marker line.
bool CardHasContent(const QStringList& written)
{
    if (written.size() <= 8)
        return false;
    for (const QString& line : written) {
        if (line.contains(QLatin1String("- - -")) || line.contains(TSGrid::kKopfMarker))
            return false;
        for (QChar ch : line) {
            if (ch != QLatin1Char('\t'))
                return true;
        }
    }
    return false;
}

}  // namespace

bool TSGrid::CheckDriveReachable(const QString& path)
{
    const QString where = path.isEmpty() ? QDir::currentPath() : path;
    QString name;
    if (table::DataFolderGone(*m_env, where)) {
        name = m_env->dataFolder;
    } else {
        const VolumeInfo volume = m_env->Volume(where);
        if (volume.reachable)
            return true;
        name = volume.mountPoint.isEmpty() ? where : volume.mountPoint;
    }
    m_port.SetBusy(false);
    m_port.Message(MsgKind::Error, table::UnreachableText(name));
    return false;
}

bool TSGrid::RepairReadOnly(const QString& path)
{
    if (m_env->readOnlyMedium || !QFileInfo::exists(path))
        return true;
    if (!files::IsReadOnly(path))
        return true;
    return files::ClearReadOnly(path);
}

QString TSGrid::ReadForLoad(const QString& path, bool journal, const QString& failLine)
{
    m_lines.clear();
    m_modified = false;
    if (!CheckDriveReachable(path))
        m_port.EndProgram(1);
    const QString resolved = table::ResolveExisting(path);
    bool ok = true;
    if (journal && !QFileInfo::exists(resolved)) {
        QFile create(resolved);
        ok = create.open(QIODevice::WriteOnly);
    }
    QByteArray data;
    if (ok) {
        QFile file(resolved);
        ok = file.open(QIODevice::ReadOnly) && !QFileInfo(resolved).isDir();
        if (ok) {
            data = file.readAll();
            ok = file.error() == QFileDevice::NoError;
        }
    }
    if (!ok) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Error, path + QStringLiteral("\r\r") + failLine + kEnds);
        m_port.EndProgram(1);
    }
    m_lines = cp1252::SplitLines(data);
    RememberDisk(resolved, data, m_lines);
    return resolved;
}

void TSGrid::RememberDisk(const QString& path, const QByteArray& data, const QStringList& lines)
{
    m_disk.path = Absolute(path);
    m_disk.size = data.size();
    m_disk.checksum = table::Checksum(data);
    m_disk.lines = lines;
}

// Size first, then the checksum: a time stamp alone misses a second save within its
// resolution and would call an identical rewrite a change.
bool TSGrid::DiskChanged(const QString& target, QByteArray* now) const
{
    if (m_disk.path.isEmpty() || m_disk.path != Absolute(target))
        return false;
    const QFileInfo info(target);
    if (!info.exists())
        return true;
    if (info.size() != m_disk.size)
        return true;
    QByteArray data;
    if (!files::ReadWhole(target, data))
        return false;  // the write that follows reports what is wrong with the file
    if (now)
        *now = data;
    return table::Checksum(data) != m_disk.checksum;
}

TSGrid::OnChanged TSGrid::AskChanged(const QString& path, bool card)
{
    m_port.SetBusy(false);
    const QString changed = QStringLiteral("Die Datei\r") + path +
                            QStringLiteral(
                                "\rwurde seit dem Laden von einem anderen "
                                "Arbeitsplatz geändert.\r\r");
    if (card) {
        return m_port.Message(MsgKind::Warning,
                              changed + QStringLiteral("OK: mit dem eigenen Stand überschreiben\r"
                                                       "Abbrechen: nicht speichern"),
                              Buttons::OkCancel) == Answer::Ok
                   ? OnChanged::Overwrite
                   : OnChanged::Cancel;
    }
    switch (m_port.Message(MsgKind::Warning,
                           changed + QStringLiteral("Ja: neu laden und die eigene Änderung "
                                                    "erneut anwenden\rNein: mit dem eigenen "
                                                    "Stand überschreiben\rAbbrechen: nicht "
                                                    "speichern"),
                           Buttons::YesNoCancel)) {
        case Answer::Yes:
            return OnChanged::Reload;
        case Answer::No:
            return OnChanged::Overwrite;
        default:
            return OnChanged::Cancel;
    }
}

bool TSGrid::LoadTable(const QString& path)
{
    const QString resolved = ReadForLoad(path, false, kLoadFailed);
    bool ok = true;
    if (!RepairReadOnly(resolved) && !m_env->readOnlyMedium) {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Warning, path + kIoError);
        ok = false;
    }
    FillAfterLoad();
    return ok;
}

// The merging loads read, merge and save under the file's lock, so that a change line
// appended meanwhile is neither lost nor merged twice. A person who gives up waiting for
// the lock gets the merged table in memory only; the next save asks before it overwrites.
bool TSGrid::LoadJournal(const QString& path)
{
    table::TableLock lock(m_port, *m_env, table::ResolveExisting(path));
    ReadForLoad(path, true, kLoadFailed);
    if (MergeJournal() && lock.Held())
        SaveTable(path);
    return true;
}

bool TSGrid::LoadJournalDisplay(const QString& path)
{
    LoadJournal(path);
    FillAfterLoad();
    return true;
}

bool TSGrid::LoadJournalInMemory(const QString& path)
{
    {
        table::TableLock lock(m_port, *m_env, table::ResolveExisting(path));
        ReadForLoad(path, true, kCreateFailed);
    }
    MergeJournal();
    FillAfterLoad();
    return true;
}

// "+" lines move behind the last earlier line of the same or an earlier date; "-" lines
// remove every earlier line whose cell 2 is their cell 1.
bool TSGrid::MergeJournal()
{
    bool changed = false;
    std::vector<qint64> days(static_cast<size_t>(m_lines.size()), -1);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (!line.startsWith(QLatin1Char('+')) && !line.startsWith(QLatin1Char('-')))
            days[static_cast<size_t>(i)] = DayOf(recordline::CellView(line, recordline::kJourDate));
    }
    qsizetype i = 0;
    while (i < m_lines.size()) {
        QString& line = m_lines[i];
        if (line.startsWith(QLatin1Char('+'))) {
            line.remove(0, 1);
            changed = true;
            const qint64 day = DayOf(recordline::CellView(line, recordline::kJourDate));
            days[static_cast<size_t>(i)] = day;
            if (day >= 0) {
                qsizetype j = i - 1;
                while (j >= 0 &&
                       !(days[static_cast<size_t>(j)] >= 0 && days[static_cast<size_t>(j)] <= day))
                    --j;
                const qsizetype target = j + 1;
                if (target < i) {
                    m_lines.move(i, target);
                    std::rotate(days.begin() + target, days.begin() + i, days.begin() + i + 1);
                }
            }
            ++i;
        } else if (line.startsWith(QLatin1Char('-'))) {
            const QString key = recordline::Cell(line.mid(1), 1);  // a removal holds the key only
            m_lines.removeAt(i);
            days.erase(days.begin() + i);
            changed = true;
            qsizetype kept = 0;
            for (qsizetype k = 0; k < i; ++k) {
                if (recordline::CellView(m_lines[k], recordline::kJourReceipt) == key)
                    continue;
                if (kept != k) {
                    m_lines[kept] = std::move(m_lines[k]);
                    days[static_cast<size_t>(kept)] = days[static_cast<size_t>(k)];
                }
                ++kept;
            }
            if (kept < i) {
                m_lines.remove(kept, i - kept);
                days.erase(days.begin() + kept, days.begin() + i);
                i = kept;
            }
        } else {
            ++i;
        }
    }
    if (changed)
        m_modified = true;
    return changed;
}

bool TSGrid::LoadRegister(const QString& path)
{
    {
        table::TableLock lock(m_port, *m_env, table::ResolveExisting(path));
        ReadForLoad(path, false, kLoadFailed);
        if (MergeRegister() && lock.Held())
            SaveTable(path);
    }
    FillAfterLoad();
    return true;
}

// A "+" line replaces every earlier line of its key (cell 1) and stays where it is; a "-"
// line removes them and itself. So a line survives when it is no "-" line and no change
// line of its key follows it: only the keys of the change lines need looking up.
bool TSGrid::MergeRegister()
{
    const qsizetype count = m_lines.size();
    const QStringList& lines = m_lines;  // read only until the survivors are known
    const auto isChange = [](const QString& line) {
        return line.startsWith(QLatin1Char('+')) || line.startsWith(QLatin1Char('-'));
    };
    // Cell 1, the key; a change line's after its sign.
    static_assert(recordline::kRegisterKey == 1);
    const auto keyOf = [&](qsizetype i) {
        const QString& line = lines[i];
        const QStringView cells = isChange(line) ? QStringView(line).mid(1) : QStringView(line);
        const qsizetype tab = cells.indexOf(QLatin1Char('\t'));
        return tab < 0 ? QStringView() : cells.left(tab);
    };
    // The views point into the lines.
    QHash<QStringView, qsizetype> lastChange;
    for (qsizetype i = 0; i < count; ++i) {
        if (isChange(lines[i]))
            lastChange.insert(keyOf(i), i);
    }
    if (lastChange.isEmpty())
        return false;
    std::vector<char> keep(static_cast<size_t>(count), 0);
    for (qsizetype i = 0; i < count; ++i) {
        if (lines[i].startsWith(QLatin1Char('-')))
            continue;
        const auto it = lastChange.constFind(keyOf(i));
        keep[static_cast<size_t>(i)] = it == lastChange.cend() || it.value() <= i;
    }
    lastChange.clear();
    QStringList kept;
    kept.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        if (!keep[static_cast<size_t>(i)])
            continue;
        QString& line = m_lines[i];
        if (line.startsWith(QLatin1Char('+')))
            line.remove(0, 1);
        kept.append(std::move(line));
    }
    m_lines = std::move(kept);
    m_modified = true;
    return true;
}

bool TSGrid::LoadCard(const QString& path, QStringList& header)
{
    ReadForLoad(path, false, kLoadFailed);
    if (m_lines.isEmpty()) {
        // A new card: blank rows saved with the header it was given, which it keeps.
        const int rows =
            m_visibleDataRows > 0 ? m_visibleDataRows : std::max(1, VisibleCapacity() - 1);
        const QString blank(m_colCount, QLatin1Char('\t'));
        for (int i = 0; i < rows; ++i)
            m_lines.append(blank);
        SaveCard(path, header);
        FillAfterLoad();
        return true;
    }
    header.clear();
    const qsizetype marker = m_lines.lastIndexOf(kKopfMarker);
    if (marker < 0) {
        header = std::move(m_lines);
        m_lines.clear();
    } else {
        header = m_lines.mid(marker + 1);
        m_lines.remove(marker, m_lines.size() - marker);
    }
    FillAfterLoad();
    return true;
}

bool TSGrid::SafeSave(const QString& path, const QString& tempExt, QStringList lines, bool card)
{
    m_port.SetBusy(false);
    const QString target = table::ResolveExisting(path);
    const QString folder = FolderOf(target);
    if (!CheckDriveReachable(folder))
        m_port.EndProgram(1);
    if (!RepairReadOnly(target)) {
        m_port.Message(MsgKind::Error, path + kIoError + kEnds);
        m_port.EndProgram(1);
    }
    bool overwrite = false;
    bool reload = false;
    for (;;) {
        table::TableLock lock(m_port, *m_env, target);
        if (!lock.Held()) {
            m_modified = true;
            return false;
        }
        QByteArray now;
        if (!overwrite && DiskChanged(target, &now)) {
            if (reload) {
                // Under the lock, so nobody writes between this read and the rename.
                if (now.isEmpty())
                    files::ReadWhole(target, now);
                const QStringList theirs = cp1252::SplitLines(now);
                if (const std::optional<QStringList> merged =
                        table::ApplyAgain(m_disk.lines, lines, theirs)) {
                    lines = *merged;
                    RememberDisk(target, now, theirs);
                    if (!card)
                        SetLines(lines);
                } else {
                    lock.Release();
                    m_port.SetBusy(false);
                    if (m_port.Message(MsgKind::Warning,
                                       QStringLiteral("Die eigene Änderung lässt sich nicht auf "
                                                      "den neuen Stand von\r") +
                                           path +
                                           QStringLiteral("\ranwenden: beide Arbeitsplätze haben "
                                                          "dieselben Zeilen geändert.\r\rOK: mit "
                                                          "dem eigenen Stand überschreiben\r"
                                                          "Abbrechen: nicht speichern"),
                                       Buttons::OkCancel) != Answer::Ok) {
                        m_modified = true;
                        return false;
                    }
                    overwrite = true;
                    continue;
                }
            } else {
                lock.Release();
                const OnChanged answer = AskChanged(path, card);
                if (answer == OnChanged::Cancel) {
                    m_modified = true;
                    return false;
                }
                overwrite = answer == OnChanged::Overwrite;
                reload = answer == OnChanged::Reload;
                continue;
            }
        }
        const QByteArray data = cp1252::JoinLines(lines);
        const QString temp = table::ChangeExt(target, tempExt);
        bool ok = files::ReplaceAtomically(target, temp, data, m_env->Io());
        for (int attempt = 0; !ok && attempt < kSaveRetries; ++attempt) {
            Wait(kRetryWaitMs, true);
            ok = files::ReplaceAtomically(target, temp, data, m_env->Io());
        }
        if (ok)
            RememberDisk(target, data, lines);
        lock.Release();
        if (!ok) {
            m_port.SetBusy(false);
            QString text = table::WriteErrorText(folder);
            if (card)
                text.chop(1);
            m_port.Message(MsgKind::Error, text);
            m_modified = true;
            return false;
        }
        m_modified = false;
        return true;
    }
}

bool TSGrid::SaveTable(const QString& path)
{
    if (!SafeSave(path, QStringLiteral(".~DB"), m_lines, false))
        return false;
    if (!m_lines.isEmpty())
        Mirror(path, m_lines);
    return true;
}

bool TSGrid::SaveCard(const QString& path, const QStringList& header)
{
    QStringList written = m_lines;
    written.append(kKopfMarker);
    written.append(header);
    if (!SafeSave(path, QStringLiteral(".~KA"), written, true))
        return false;
    if (CardHasContent(written))
        Mirror(path, written);
    return true;
}

void TSGrid::FillNewBackupFolder(const QString& tableFolder, const QString& backupFolder)
{
    m_port.SetBusy(false);
    m_port.Message(MsgKind::Information,
                   QStringLiteral("Daten auf dem Backupdatenträger müssen aktualisiert werden!\r\r"
                                  "Klicken Sie auf die Schaltfläche OK und warten Sie einen\r"
                                  "Augenblick, bis der Vorgang beendet ist."));
    const QString source =
        m_env->dataFolder.isEmpty() ? tableFolder : table::WithSlash(m_env->dataFolder);
    static const char* const kNames[] = {"TLV.INI", "MAHNUNG1.TLV", "MAHNUNG2.TLV", "KUNDE.DBF",
                                         "MED.DBF", "LEISTUNG.DBF", "ST_RECHN.DBF", "ST_MAHN.DBF"};
    for (const char* name : kNames) {
        const QString from = files::FindCaseInsensitive(source, QLatin1String(name));
        if (QFileInfo(from).isFile())
            files::CopyKeepingTime(from, backupFolder + QFileInfo(from).fileName());
    }
}

void TSGrid::Mirror(const QString& path, const QStringList& lines)
{
    if (m_env->readOnlyMedium || BackupFilePath.isEmpty())
        return;
    const QString folder = table::WithSlash(BackupFilePath);
    const QString name = QFileInfo(path).fileName();

    const VolumeInfo medium = m_env->Volume(folder);
    if (medium.reachable && medium.totalBytes < kFloppyBytes && lines.size() > kFloppyMaxLines &&
        name.compare(QLatin1String("KUNDE.DBF"), Qt::CaseInsensitive) != 0) {
        QFile::remove(files::FindCaseInsensitive(folder, name));
        return;
    }

    const QByteArray data = cp1252::JoinLines(lines);
    for (;;) {
        bool created = false;
        if (!table::EnterBackupFolder(folder, created)) {
            m_port.SetBusy(false);
            m_port.Message(MsgKind::Warning,
                           QStringLiteral("Backup-Medium nicht erreichbar.\rÜberprüfen Sie den "
                                          "Datenträger!"));
            if (!table::EnterBackupFolder(folder, created)) {
                m_port.Message(MsgKind::Warning,
                               QStringLiteral("Backup-Speicherung abgebrochen.\rKeine "
                                              "Sicherungskopie angelegt!"));
                return;
            }
        }
        if (created)
            FillNewBackupFolder(FolderOf(path), folder);
        const QString target = files::FindCaseInsensitive(folder, name);
        const QString temp = table::ChangeExt(target, QStringLiteral(".~DB"));
        if (files::ReplaceAtomically(target, temp, data, m_env->Io()))
            return;
        m_port.SetBusy(false);
        const Answer answer = m_port.Message(
            MsgKind::Error,
            QStringLiteral("Fehler beim Schreiben auf den Datenträger,\r(") + folder +
                QStringLiteral(")\rKeine Sicherungskopie angelegt.\r\rÜberprüfen Sie, ob der "
                               "Datenträger voll ist, und\rlegen Sie ggf. einen neuen "
                               "Datenträger ein!"),
            Buttons::OkCancel);
        if (answer != Answer::Ok)
            return;
    }
}

bool TSGrid::AppendChangeLine(const QString& path, const QString& line)
{
    return table::AppendChangeLine(*m_env, m_port, path, line);
}

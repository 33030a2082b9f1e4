#include "stock/StockFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "common/CodePage.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "table/TableEnvironment.h"
#include "table/TableFile.h"

namespace stock {

namespace {

// Sharing conflicts on a network folder pass within a few tries.
constexpr int kSaveRetries = 10;
constexpr int kRetryWaitMs = 100;

QString YearFolderName(int year)
{
    return QStringLiteral("MedInv") + QString::number(year);
}

QString FileName(const QString& code)
{
    return QStringLiteral("Med") + code + QStringLiteral(".dbf");
}

}  // namespace

StockFiles::StockFiles(UserPort& port, std::shared_ptr<const TableEnvironment> env,
                       QString dataFolder)
    : m_port(port), m_env(std::move(env)), m_dataFolder(table::WithSlash(dataFolder))
{
}

QString StockFiles::Folder(int year) const
{
    if (m_indexing) {
        auto it = m_index.find(year);
        if (it != m_index.end())
            return it->folder;
    }
    return table::WithSlash(files::FindCaseInsensitive(m_dataFolder, YearFolderName(year)));
}

void StockFiles::SetIndexing(bool on)
{
    if (!on && m_unsynced) {
        files::SyncFileSystem(m_dataFolder);
        if (m_env->autoBackup && !m_env->autoBackupFolder.isEmpty())
            files::SyncFileSystem(m_env->autoBackupFolder);
    }
    m_indexing = on;
    m_driveChecked = false;
    m_unsynced = false;
    m_index.clear();
}

QString StockFiles::Resolve(int year, const QString& name) const
{
    if (!m_indexing)
        return files::FindCaseInsensitive(Folder(year), name);
    auto it = m_index.find(year);
    if (it == m_index.end()) {
        FolderIndex index;
        index.folder = Folder(year);
        const QStringList entries = QDir(index.folder).entryList(QDir::Files | QDir::Hidden);
        for (const QString& entry : entries)
            index.names.insert(entry.toLower(), entry);
        it = m_index.insert(year, index);
    }
    return it->folder + it->names.value(name.toLower(), name);
}

QString StockFiles::Path(int year, const QString& code) const
{
    return Resolve(year, FileName(code));
}

bool StockFiles::Exists(int year, const QString& code) const
{
    return QFileInfo(Path(year, code)).isFile();
}

bool StockFiles::Read(int year, const QString& code, StockLines* lines) const
{
    lines->clear();
    const QString path = Path(year, code);
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    QByteArray data;
    if (info.isDir() || !files::ReadWhole(path, data))
        return false;
    const QStringList raw = cp1252::SplitLines(data);
    lines->reserve(raw.size());
    for (const QString& line : raw)
        lines->append(ParseStockLine(line));
    return true;
}

bool StockFiles::Write(int year, const QString& code, const StockLines& lines)
{
    if (m_env->readOnlyMedium)
        return false;
    if (!m_driveChecked) {
        const VolumeInfo volume = m_env->Volume(m_dataFolder);
        if (table::DataFolderGone(*m_env, m_dataFolder) || !volume.reachable) {
            m_port.SetBusy(false);
            const QString name = volume.mountPoint.isEmpty() ? m_dataFolder : volume.mountPoint;
            m_port.Message(MsgKind::Error, QStringLiteral("Kein Zugriff auf das Laufwerk ") + name +
                                               QStringLiteral(":\rDas Programm wird beendet!"));
            m_port.EndProgram(1);
        }
        m_driveChecked = m_indexing;
    }
    const QString folder = Folder(year);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return false;
    QStringList raw;
    raw.reserve(lines.size());
    for (const StockLine& line : lines)
        raw.append(JoinStockLine(line));
    const QByteArray data = cp1252::JoinLines(raw);
    const QString target = Resolve(year, FileName(code));
    const QString temp = table::ChangeExt(target, QStringLiteral(".~DB"));
    const auto replace = [&] {
        return m_indexing ? files::ReplaceAtomicallyUnsynced(target, temp, data, m_env->Io())
                          : files::ReplaceAtomically(target, temp, data, m_env->Io());
    };
    bool ok = replace();
    for (int attempt = 0; !ok && attempt < kSaveRetries; ++attempt) {
        m_port.Wait(kRetryWaitMs, true);
        ok = replace();
    }
    m_unsynced = m_unsynced || (ok && m_indexing);
    if (!ok)
        return false;
    if (m_indexing) {
        FolderIndex& index = m_index[year];
        index.folder = folder;
        const QString name = QFileInfo(target).fileName();
        index.names.insert(name.toLower(), name);
    }
    Mirror(year, QFileInfo(target).fileName(), data);
    return true;
}

void StockFiles::Mirror(int year, const QString& name, const QByteArray& data)
{
    if (!m_env->autoBackup || m_env->autoBackupFolder.isEmpty())
        return;
    // Only below a backup folder that is there: an unmounted medium gets no folder on
    // the local disk.
    const QString backup = table::WithSlash(m_env->autoBackupFolder);
    if (QDir::isRelativePath(backup) || !QFileInfo(backup).isDir())
        return;
    const QString folder =
        table::WithSlash(files::FindCaseInsensitive(backup, YearFolderName(year)));
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
        return;
    // A run of many new files writes them under the data folder's names.
    const QString target = m_indexing ? folder + name : files::FindCaseInsensitive(folder, name);
    // A failed copy is made good by the next save of the file.
    (m_indexing ? files::ReplaceAtomicallyUnsynced : files::ReplaceAtomically)(
        target, table::ChangeExt(target, QStringLiteral(".~DB")), data, m_env->Io());
}

}  // namespace stock

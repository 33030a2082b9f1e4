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

StockFiles::~StockFiles() = default;

QString StockFiles::Folder(int year) const
{
    if (m_indexing) {
        auto it = m_index.find(year);
        if (it != m_index.end())
            return it->folder;
    }
    return table::WithSlash(files::FindCaseInsensitive(m_dataFolder, YearFolderName(year)));
}

void StockFiles::BeginRun()
{
    m_indexing = true;
    m_driveChecked = false;
    m_failed = 0;
    m_index.clear();
    m_pending.clear();
    m_batch = std::make_unique<files::NewFileBatch>(m_env->Io());
    m_mirrorBatch = std::make_unique<files::NewFileBatch>(m_env->Io());
}

StockFiles::RunResult StockFiles::EndRun()
{
    RunResult result;
    if (m_batch) {
        const files::NewFileBatch::Result done = m_batch->Commit();
        result.written = int(done.placed.size());
        result.failed = m_failed + done.failed;
        // A failed copy is made good by the next save of the file.
        m_mirrorBatch->Commit();
    }
    m_batch.reset();
    m_mirrorBatch.reset();
    m_pending.clear();
    m_indexing = false;
    m_driveChecked = false;
    m_index.clear();
    return result;
}

StockFiles::FolderIndex& StockFiles::IndexOf(int year) const
{
    auto it = m_index.find(year);
    if (it == m_index.end()) {
        FolderIndex index;
        index.folder = Folder(year);
        const QStringList entries = QDir(index.folder).entryList(QDir::Files | QDir::Hidden);
        for (const QString& entry : entries)
            index.names.insert(entry.toLower(), entry);
        it = m_index.insert(year, index);
    }
    return *it;
}

QString StockFiles::Resolve(int year, const QString& name) const
{
    if (!m_indexing)
        return files::FindCaseInsensitive(Folder(year), name);
    const FolderIndex& index = IndexOf(year);
    return index.folder + index.names.value(name.toLower(), name);
}

QString StockFiles::Path(int year, const QString& code) const
{
    return Resolve(year, FileName(code));
}

bool StockFiles::Listed(int year, const QString& code) const
{
    return IndexOf(year).names.contains(FileName(code.toLower()).toLower());
}

bool StockFiles::Exists(int year, const QString& code) const
{
    if (m_indexing)
        return Listed(year, code);
    return QFileInfo(Path(year, code)).isFile();
}

bool StockFiles::ReadBytes(int year, const QString& code, QByteArray* data) const
{
    data->clear();
    if (m_indexing && !Listed(year, code))
        return true;
    const QString path = Path(year, code);
    if (m_indexing) {
        auto pending = m_pending.constFind(path);
        if (pending != m_pending.constEnd()) {
            *data = *pending;
            return true;
        }
    }
    // Read first, ask why afterwards: most files that are looked for are there.
    if (files::ReadWhole(path, *data))
        return true;
    data->clear();
    return !QFileInfo::exists(path);
}

bool StockFiles::Read(int year, const QString& code, StockLines* lines) const
{
    lines->clear();
    QByteArray data;
    if (!ReadBytes(year, code, &data))
        return false;
    const QStringList raw = cp1252::SplitLines(data);
    lines->reserve(raw.size());
    for (const QString& line : raw)
        lines->append(ParseStockLine(line));
    return true;
}

bool StockFiles::ReadSums(int year, const QString& code, YearSums* sums, qsizetype* lineCount) const
{
    *sums = {};
    *lineCount = 0;
    QByteArray data;
    if (!ReadBytes(year, code, &data))
        return false;
    *sums = SumYearOfFile(data, lineCount);
    return true;
}

void StockFiles::CheckDrive()
{
    if (m_driveChecked)
        return;
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

bool StockFiles::Write(int year, const QString& code, const StockLines& lines)
{
    if (m_env->readOnlyMedium)
        return false;
    CheckDrive();
    const QString folder = Folder(year);
    const bool ready = m_indexing && m_index.value(year).folderReady;
    if (!ready && !QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        m_failed += int(m_indexing);
        return false;
    }
    QStringList raw;
    raw.reserve(lines.size());
    for (const StockLine& line : lines)
        raw.append(JoinStockLine(line));
    const QByteArray data = cp1252::JoinLines(raw);
    const QString target = Resolve(year, FileName(code));
    const QString temp = table::ChangeExt(target, QStringLiteral(".~DB"));
    if (m_indexing) {
        FolderIndex& index = m_index[year];
        index.folder = folder;
        index.folderReady = true;
        const QString name = QFileInfo(target).fileName();
        if (!index.names.contains(name.toLower())) {
            // New in this run: no other name can meet it before the run ends.
            if (!m_batch->Add(target, temp, data)) {
                ++m_failed;
                return false;
            }
            index.names.insert(name.toLower(), name);
            m_pending.insert(target, data);
            Mirror(year, name, data);
            return true;
        }
    }
    bool ok = files::ReplaceAtomically(target, temp, data, m_env->Io());
    for (int attempt = 0; !ok && attempt < kSaveRetries; ++attempt) {
        m_port.Wait(kRetryWaitMs, true);
        ok = files::ReplaceAtomically(target, temp, data, m_env->Io());
    }
    if (!ok) {
        m_failed += int(m_indexing);
        return false;
    }
    m_pending.remove(target);
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
    const QString target = files::FindCaseInsensitive(folder, name);
    const QString temp = table::ChangeExt(target, QStringLiteral(".~DB"));
    // The copy of a file new in a run goes in with the run's other copies; one that is
    // there already is replaced at once. A failed copy is made good by the next save.
    if (m_indexing && m_pending.contains(Resolve(year, name)) && !QFileInfo::exists(target))
        m_mirrorBatch->Add(target, temp, data);
    else
        files::ReplaceAtomically(target, temp, data, m_env->Io());
}

}  // namespace stock

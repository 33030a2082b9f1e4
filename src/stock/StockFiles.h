#pragma once

#include <QHash>
#include <QString>
#include <memory>

#include "stock/StockLines.h"

namespace files {
class NewFileBatch;
}

class UserPort;
struct TableEnvironment;

namespace stock {

// The stock files of the data folder, one per medication code and year below the year's
// folder "MedInv<yyyy>". A save writes a temporary file and renames it over the old one,
// so a file is never missing or half written; with automatic backup on, the same file goes
// to the "MedInv<yyyy>" folder of the backup medium.
class StockFiles {
public:
    // `dataFolder` ends in a separator. The environment gives the read-only medium, the
    // automatic backup, the volume look-up and the file calls.
    StockFiles(UserPort& port, std::shared_ptr<const TableEnvironment> env, QString dataFolder);
    ~StockFiles();

    const QString& DataFolder() const { return m_dataFolder; }
    const TableEnvironment& Environment() const { return *m_env; }
    UserPort& Port() const { return m_port; }

    // The year's folder (with separator) and a file's path, whatever the case of the names
    // on disk; a missing one gets the program's spelling.
    QString Folder(int year) const;
    QString Path(int year, const QString& code) const;
    bool Exists(int year, const QString& code) const;

    // Reads a year. A missing file is an empty year; false when the file exists but
    // cannot be read.
    bool Read(int year, const QString& code, StockLines* lines) const;
    // What a year adds up to, as SumYear of what Read gives; `lineCount` 0 for an empty year.
    bool ReadSums(int year, const QString& code, YearSums* sums, qsizetype* lineCount) const;
    // Writes a year (the folder is made when missing). An unreachable drive ends the
    // program; other failures return false without a message.
    bool Write(int year, const QString& code, const StockLines& lines);

    // A run over many medications: each year folder is listed once instead of for every
    // name looked up in it, and the drive is checked once. New files written in a run wait
    // for its end (they read and count as existing meanwhile) and then reach the disk
    // together, each complete or not at all; files that exist are saved at once as always.
    void BeginRun();
    struct RunResult {
        int written = 0;  // new files now on disk
        int failed = 0;   // new files that could not be written
    };
    RunResult EndRun();

private:
    QString Resolve(int year, const QString& name) const;
    // The file's bytes; empty for a missing file, false when it cannot be read.
    bool ReadBytes(int year, const QString& code, QByteArray* data) const;
    // In a run: the folder's listing holds the file.
    bool Listed(int year, const QString& code) const;
    void Mirror(int year, const QString& name, const QByteArray& data);

    UserPort& m_port;
    std::shared_ptr<const TableEnvironment> m_env;
    QString m_dataFolder;
    void CheckDrive();

    bool m_indexing = false;
    bool m_driveChecked = false;
    int m_failed = 0;
    std::unique_ptr<files::NewFileBatch> m_batch;
    std::unique_ptr<files::NewFileBatch> m_mirrorBatch;
    QHash<QString, QByteArray> m_pending;  // path -> content of the run's new files
    struct FolderIndex {
        QString folder;
        QHash<QString, QString> names;  // lower case -> as on disk
        bool folderReady = false;       // there, or made by this run
    };
    mutable QHash<int, FolderIndex> m_index;
    FolderIndex& IndexOf(int year) const;
};

}  // namespace stock

#pragma once

#include <QHash>
#include <QString>
#include <memory>

#include "stock/StockLines.h"

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
    // Writes a year (the folder is made when missing). An unreachable drive ends the
    // program; other failures return false without a message.
    bool Write(int year, const QString& code, const StockLines& lines);

    // While a run over many medications lasts, each year folder is listed once instead of
    // for every name that is looked up in it, the drive is checked once, and the files
    // written reach the disk together when the run ends.
    void SetIndexing(bool on);

private:
    QString Resolve(int year, const QString& name) const;
    void Mirror(int year, const QString& name, const QByteArray& data);

    UserPort& m_port;
    std::shared_ptr<const TableEnvironment> m_env;
    QString m_dataFolder;
    bool m_indexing = false;
    bool m_driveChecked = false;
    bool m_unsynced = false;
    struct FolderIndex {
        QString folder;
        QHash<QString, QString> names;  // lower case -> as on disk
    };
    mutable QHash<int, FolderIndex> m_index;
};

}  // namespace stock

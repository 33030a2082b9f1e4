#pragma once

#include <QString>

#include "table/TableEnvironment.h"

class UserPort;

// Table files outside a grid: the registers and journals that other parts add to without
// holding them in memory, and the path rules the grid's loads and saves share.
namespace table {

// An existing file whatever the case of its name (folders copied from Windows); a missing
// one keeps the path given.
QString ResolveExisting(const QString& path);
QString WithSlash(const QString& folder);
// The file name with its last extension replaced ("KUNDE.DBF", ".~DB" -> "KUNDE.~DB").
QString ChangeExt(const QString& path, const QString& ext);

// Enters the backup folder; a missing folder is created in its parent (the root of the
// backup medium), which must exist: a medium that is not mounted must not be replaced by a
// folder on the local disk. `created` tells whether the folder is new.
bool EnterBackupFolder(const QString& folder, bool& created);

// Appends one change line and CR LF to an existing table file and, with automatic backup
// on, to its copy on the backup medium (the whole file is copied when the medium has none
// yet). A missing file gets nothing: callers create it first. Errors are swallowed; the next
// load merges whatever arrived.
void AppendChangeLine(const TableEnvironment& env, UserPort& port, const QString& path,
                      const QString& line);

}  // namespace table

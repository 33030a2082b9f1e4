#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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
// yet). The line arrives whole or not at all, under the file's lock; a failure is reported
// with the write-error message and returns false, and so does a person who gives up
// waiting for another workstation's lock. A missing file gets nothing (false, no message):
// callers create it first (CreateIfMissing). Trouble with the backup copy is not the
// caller's: the next save mirrors the whole table.
bool AppendChangeLine(const TableEnvironment& env, UserPort& port, const QString& path,
                      const QString& line);

// Creates an empty table file when there is none. False when it cannot; a data folder that
// vanished (its network mount dropped) is reported and ends the program, as every load and
// save does, instead of getting a new file on the local disk.
bool CreateIfMissing(const TableEnvironment& env, UserPort& port, const QString& path);

// True when the path lies in the data folder and that folder is gone or no longer on the
// device it was on at start.
bool DataFolderGone(const TableEnvironment& env, const QString& path);

// A save found the file changed by another workstation since it was loaded: applies this
// process's change (base -> mine, the lines from the first to the last line that differ)
// to what is on disk now (theirs). The changed lines must stand in theirs as they stood in
// base, near where they stood; an insertion goes after the line before it. Nothing when
// both changed the same lines.
std::optional<QStringList> ApplyAgain(const QStringList& base, const QStringList& mine,
                                      const QStringList& theirs);

// Checksum of a file's bytes, to tell whether it changed since it was read.
quint64 Checksum(const QByteArray& data);

// The message of an unreachable drive or data folder, which ends the program.
QString UnreachableText(const QString& name);

// The message of a failed write into a folder ("...beschreibbar ist!").
QString WriteErrorText(const QString& folder);

}  // namespace table

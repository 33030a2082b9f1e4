#pragma once

#include <QString>

// File helpers, the only place with OS-specific file calls.
namespace files {

// Finds an existing file or folder in `folder` whose name equals `name` ignoring case.
// Returns the full path of the exact name when it exists, else of a case-insensitive
// match, else folder + name (the path a new file should get).
QString FindCaseInsensitive(const QString& folder, const QString& name);

// Resolves every component of a relative path below `base` case-insensitively.
QString ResolveCaseInsensitive(const QString& base, const QString& relativePath);

// Copies a file over the target, keeping its time stamp and permissions.
// Writes through a temporary file so that the target is never half written.
bool CopyKeepingTime(const QString& source, const QString& target);

// Writes data to a temporary file beside the target, flushes it to disk and renames it
// over the target in one step. The target is either the old or the new file, never
// missing or partial. `tempPath` names the temporary file to use.
bool ReplaceAtomically(const QString& target, const QString& tempPath, const QByteArray& data);

// Reads a whole file with as few system calls as possible (searches read thousands of
// small files). A name that does not exist as written is looked up whatever its case.
bool ReadWhole(const QString& path, QByteArray& data);

bool IsReadOnly(const QString& path);
bool ClearReadOnly(const QString& path);

}  // namespace files

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Small file helpers for tests that work on temporary data folders.
namespace testfiles {

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);
// Writes lines encoded in code page 1252, each ended by CR LF.
void WriteLines(const QString& path, const QStringList& lines);

}  // namespace testfiles

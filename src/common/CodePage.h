#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Windows code page 1252, the encoding of every data file.
namespace cp1252 {

QString Decode(const QByteArray& bytes);
QString Decode(const char* data, qsizetype size);
// Characters that 1252 cannot hold become '?'.
QByteArray Encode(const QString& text);
// The 1252 code of one character ('?' when it has none).
unsigned char Code(QChar ch);
QChar FromCode(unsigned char code);

// Splits decoded file content into lines: CR LF, a lone CR and a lone LF each end a
// line; a final line without an end is a line; empty content holds no lines.
QStringList SplitLines(const char* data, qsizetype size);
QStringList SplitLines(const QByteArray& bytes);

// Reads a whole file as lines. Returns false when the file cannot be opened or read.
bool ReadLines(const QString& path, QStringList& lines);
// Encodes lines, each followed by CR LF.
QByteArray JoinLines(const QStringList& lines);

}  // namespace cp1252

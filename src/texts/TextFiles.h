#pragma once

#include <QString>
#include <QStringList>

// Letter files of the texts folder: their lines, their names and the texts the dunning and
// appointment letters are printed from.
namespace textfiles {

inline const QString kExtension = QStringLiteral("tlv");
inline const QString kFilter = QStringLiteral("Talven-Dateien (*.tlv);;Alle Dateien (*)");

// The editor's text as file lines and back: one line per text line; an empty text has none.
QStringList LinesOf(const QString& text);
QString TextOf(const QStringList& lines);

// Writes the lines (code page 1252, CR LF) through a temporary file, so the old letter
// stays whole when the write fails.
bool WriteLines(const QString& path, const QStringList& lines);

// The name proposed for an unnamed letter: name + " " + first name with blanks, dots and
// path separators as "_", cut to 7 characters, then the first digit 1 to 9 for which the
// file does not exist yet in the folder (none when all nine exist).
QString ProposeFileName(const QString& folder, const QString& name, const QString& firstName);

// A saved name keeps its folder; its file name is upper case, as the texts are named.
QString StoredPath(const QString& chosen);

// The texts other workspaces print from.
enum class Special { None, Dunning, VaccinationReminder };
Special SpecialOf(const QString& path);
// The message shown when such a text is opened (empty for other letters).
QString SpecialNotice(Special special);

// The texts of a fresh installation.
QStringList DefaultTextNames();  // "MAHNUNG1.TLV", "MAHNUNG2.TLV", "IMPFERG.TLV"
QStringList DefaultText(const QString& name);
// Writes every default text the folder lacks (whatever the case of an existing name).
// Returns false when one could not be written.
bool WriteMissingDefaultTexts(const QString& textsFolder);

}  // namespace textfiles

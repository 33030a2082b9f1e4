#pragma once

#include <QString>
#include <QStringView>
#include <string>

// The sort order of every sort and sorted search: Ä Ö Ü ä ö ü compare as their base
// letter followed by a blank (Müller as "Mu ller"), then case-insensitively for A-Z,
// other characters by their code page 1252 code. The expansion stops once a text has
// grown beyond 249 characters.
int CompareUmlaut(QStringView a, QStringView b);

// The byte key of a text under this order: comparing two keys bytewise (unsigned) gives
// the sign of CompareUmlaut of their texts. Sorts build it once per line.
void AppendCollationKey(QStringView text, std::string& out);

inline bool UmlautLess(const QString& a, const QString& b)
{
    return CompareUmlaut(a, b) < 0;
}

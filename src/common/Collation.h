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
// The most bytes the key of a text of `size` characters takes.
qsizetype CollationKeyBound(qsizetype size);
// Writes the key to `out`, which has room for CollationKeyBound(text.size()) bytes, and
// returns the end of what it wrote.
char* WriteCollationKey(QStringView text, char* out);
// Writes the key's first `bytes` bytes or more, all of it if `whole` comes back true, to
// `out`, which has room for `bytes` + 8, and returns the end of what it wrote.
char* WriteCollationKeyHead(QStringView text, qsizetype bytes, char* out, bool& whole);

inline bool UmlautLess(const QString& a, const QString& b)
{
    return CompareUmlaut(a, b) < 0;
}

#include "texts/Favorites.h"

#include "table/RecordLine.h"

namespace favorites {

using namespace recordline;

namespace {

QString Row(const QString& name, const QString& text)
{
    QString clean = text;
    clean.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QStringList cells{name, clean};
    while (cells.size() < kFavoriteCells)
        cells << QString();
    return Join(cells);
}

QString NameOf(const QString& line)
{
    return Cell(line, kFavName);
}

}  // namespace

QStringList Names(const QStringList& lines)
{
    QStringList names;
    for (const QString& line : lines) {
        if (!NameOf(line).isEmpty())
            names << NameOf(line);
    }
    return names;
}

QStringList Texts(const QStringList& lines, const QString& name)
{
    QStringList texts;
    bool inside = false;
    for (const QString& line : lines) {
        if (!NameOf(line).isEmpty())
            inside = NameOf(line) == name;
        if (inside)
            texts << Cell(line, kFavText);
    }
    return texts;
}

NameCheck CheckName(const QStringList& lines, const QString& typed)
{
    NameCheck check;
    qsizetype start = 0;
    while (start < typed.size() && typed[start].isSpace())
        ++start;
    check.name = typed.mid(start, kMaxNameLength);
    check.name.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (check.name.trimmed().isEmpty()) {
        check.error = QStringLiteral("Fehler: Name ungültig!");
        return check;
    }
    for (const QString& name : Names(lines)) {
        if (name.compare(check.name, Qt::CaseInsensitive) == 0)
            check.error = QStringLiteral("Fehler: Name existiert bereits!");
    }
    return check;
}

void Append(QStringList& lines, const QString& name, const QStringList& texts)
{
    const QStringList rows = texts.isEmpty() ? QStringList{QString()} : texts;
    for (qsizetype i = 0; i < rows.size(); ++i)
        lines << Row(i == 0 ? name : QString(), rows[i]);
}

void KeepOnly(QStringList& lines, const QStringList& names)
{
    QStringList kept;
    bool keep = true;  // rows before the first name belong to no favourite
    for (const QString& line : lines) {
        if (!NameOf(line).isEmpty())
            keep = names.contains(NameOf(line));
        if (keep)
            kept << line;
    }
    lines = kept;
}

}  // namespace favorites

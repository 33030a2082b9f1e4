#include "texts/PatientNotes.h"

#include <QDir>
#include <QFileInfo>

#include "table/RecordLine.h"

namespace notes {

using namespace recordline;

namespace {

const QString kDateDashes(18, QLatin1Char('-'));
const QString kTextDashes(92, QLatin1Char('-'));

bool IsSeparator(const QString& line)
{
    return Cell(line, kNoteDate) == kDateDashes && Cell(line, kNoteText) == kTextDashes;
}

}  // namespace

QString FileName(const QString& customerNumber)
{
    return QStringLiteral("P") + customerNumber + QStringLiteral(".PAT");
}

QString Line(const QString& date, const QString& text, const QString& shortText)
{
    const auto clean = [](QString s) { return s.replace(QLatin1Char('\t'), QLatin1Char(' ')); };
    return Join({clean(date), clean(text), clean(shortText)});
}

QString Normalised(const QString& line)
{
    return Join(Split(line, kNotesCells));
}

bool IsBlank(const QString& line)
{
    for (int col = 1; col <= kNotesCells; ++col) {
        if (!CellView(line, col).trimmed().isEmpty())
            return false;
    }
    return true;
}

Span Paragraph(const QStringList& lines, int row)
{
    if (row < 0 || row >= lines.size())
        return {};
    Span span{row, row};
    if (IsBlank(lines[row]))
        return span;
    while (span.first > 0 && !IsBlank(lines[span.first - 1]))
        --span.first;
    while (span.last + 1 < lines.size() && !IsBlank(lines[span.last + 1]))
        ++span.last;
    return span;
}

std::optional<Span> PatientBlock(const QStringList& lines, int row)
{
    int first = std::min(row, int(lines.size()) - 1);
    while (first >= 0 && !IsSeparator(lines[first]))
        --first;
    if (first < 0)
        return std::nullopt;
    int last = first;
    while (last + 1 < lines.size() && !IsSeparator(lines[last + 1]))
        ++last;
    while (last > first && IsBlank(lines[last]))
        --last;
    return Span{first, last};
}

QStringList PatientBlockRows(const QStringList& v)
{
    const auto value = [&v](int i) { return v.value(i).trimmed(); };
    QStringList rows{Line(kDateDashes, kTextDashes, QString(18, QLatin1Char('-'))),
                     Line(QStringLiteral("Patient:"), value(1) + QLatin1Char(' ') + value(0))};
    const std::pair<const char*, int> details[] = {
        {"Rasse: ", 2},      {"Sex: ", 5},    {"Farbe: ", 3},
        {"Kastration: ", 6}, {"Geburt: ", 4}, {"Tier-/Pass-Nr.: ", 7},
    };
    for (const auto& [label, index] : details) {
        if (!value(index).isEmpty())
            rows << Line(QString(), QString::fromUtf8(label) + value(index));
    }
    return rows;
}

int AppendPatientBlock(QStringList& lines, const QStringList& blockRows)
{
    int blank = 0;
    while (blank < 10 && blank < lines.size() && IsBlank(lines[lines.size() - 1 - blank]))
        ++blank;
    for (; blank < 10; ++blank)
        lines.append(Line(QString(), QString()));
    const int start = int(lines.size()) - 10;
    for (int i = 0; i < blockRows.size() && i < 9; ++i)
        lines[start + i] = blockRows[i];
    return start + 1;
}

QString LinkCell(const QString& path, const QString& defaultFolder)
{
    const QFileInfo file(path);
    const bool inDefault = !defaultFolder.isEmpty() &&
                           QFileInfo(file.absolutePath()) == QFileInfo(QDir(defaultFolder).path());
    return QLatin1Char('@') + (inDefault ? file.fileName() : file.absoluteFilePath()) +
           QLatin1Char(' ');
}

std::optional<QString> LinkOf(const QString& cell)
{
    const qsizetype at = cell.indexOf(QLatin1Char('@'));
    if (at < 0)
        return std::nullopt;
    const QString rest = cell.mid(at + 1, 200);
    for (qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0;
         dot = rest.indexOf(QLatin1Char('.'), dot + 1)) {
        qsizetype end = dot + 1;
        while (end < rest.size() && end - dot <= 4 && rest[end].isLetterOrNumber())
            ++end;
        const qsizetype length = end - dot - 1;
        if (length >= 3 && length <= 4 && (end == rest.size() || rest[end] == QLatin1Char(' ')))
            return rest.left(end).trimmed();
    }
    return std::nullopt;
}

bool IsBareName(const QString& link)
{
    return !link.contains(QLatin1String(":\\")) && !QDir::isAbsolutePath(link);
}

}  // namespace notes

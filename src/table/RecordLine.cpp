#include "table/RecordLine.h"

#include <algorithm>

#include "common/Collation.h"

namespace recordline {

namespace {

// Start and end of cell col; false when the line holds fewer than col TABs.
bool Bounds(const QString& line, int col, qsizetype* start, qsizetype* end)
{
    if (col < 1)
        return false;
    qsizetype from = 0;
    for (int k = 1; k < col; ++k) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), from);
        if (tab < 0)
            return false;
        from = tab + 1;
    }
    const qsizetype tab = line.indexOf(QLatin1Char('\t'), from);
    if (tab < 0)
        return false;
    *start = from;
    *end = tab;
    return true;
}

}  // namespace

QStringView CellView(const QString& line, int col)
{
    qsizetype start = 0;
    qsizetype end = 0;
    if (!Bounds(line, col, &start, &end))
        return {};
    return QStringView(line).mid(start, end - start);
}

QStringList Split(const QString& line, int count)
{
    QStringList cells(count);
    ForEachCell(line, [&](int col, QStringView cell) {
        if (col <= count)
            cells[col - 1] = cell.toString();
    });
    return cells;
}

int CountTabs(const QString& line)
{
    return static_cast<int>(line.count(QLatin1Char('\t')));
}

void PadTabs(QString& line, int tabs)
{
    const int have = CountTabs(line);
    if (have < tabs)
        line.append(QString(tabs - have, QLatin1Char('\t')));
}

bool ReplaceCell(QString& line, int col, const QString& text)
{
    qsizetype start = 0;
    qsizetype end = 0;
    if (!Bounds(line, col, &start, &end))
        return false;
    line.replace(start, end - start, text);
    return true;
}

void SetCell(QString& line, int col, const QString& text)
{
    if (col < 1)
        return;
    PadTabs(line, col);
    ReplaceCell(line, col, text);
}

QString Join(const QStringList& cells)
{
    QString line;
    for (const QString& cell : cells) {
        line += cell;
        line += QLatin1Char('\t');
    }
    return line;
}

QString Concat(const QString& line, int count)
{
    QString out;
    qsizetype start = 0;
    for (int k = 1; k <= count; ++k) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            break;
        out.append(QStringView(line).mid(start, tab - start));
        start = tab + 1;
    }
    return out;
}

int FindSorted(const QStringList& lines, const QString& text, bool* found)
{
    if (found)
        *found = false;
    int low = 0;
    int high = int(lines.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int cmp = CompareUmlaut(lines.at(middle), text);
        if (cmp < 0) {
            low = middle + 1;
        } else {
            if (cmp == 0 && found)
                *found = true;
            high = middle - 1;
        }
    }
    if (lines.isEmpty())
        return 0;
    return std::clamp(low, 0, int(lines.size()) - 1);
}

}  // namespace recordline

#include "masterdata/RecordLines.h"

#include <algorithm>

#include "common/Collation.h"

namespace recordlines {

QString Cell(const QString& line, int col)
{
    if (col < 1)
        return {};
    qsizetype start = 0;
    for (int i = 1; i < col; ++i) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    qsizetype end = line.indexOf(QLatin1Char('\t'), start);
    if (end < 0)
        end = line.size();
    return line.mid(start, end - start);
}

int TabCount(const QString& line)
{
    return int(line.count(QLatin1Char('\t')));
}

void PadTabs(QString& line, int tabs)
{
    const int have = TabCount(line);
    if (have < tabs)
        line.append(QString(tabs - have, QLatin1Char('\t')));
}

void SetCell(QString& line, int col, const QString& value)
{
    if (col < 1)
        return;
    PadTabs(line, col);
    qsizetype start = 0;
    for (int i = 1; i < col; ++i)
        start = line.indexOf(QLatin1Char('\t'), start) + 1;
    const qsizetype end = line.indexOf(QLatin1Char('\t'), start);
    line.replace(start, end - start, value);
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

}  // namespace recordlines

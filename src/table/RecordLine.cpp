#include "table/RecordLine.h"

#include <QFileInfo>

namespace recordline {

QStringView CellView(const QString& line, int col)
{
    if (col < 1)
        return {};
    qsizetype start = 0;
    for (int k = 1; k < col; ++k) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    const qsizetype end = line.indexOf(QLatin1Char('\t'), start);
    if (end < 0)
        return {};
    return QStringView(line).mid(start, end - start);
}

int CountTabs(const QString& line)
{
    return static_cast<int>(line.count(QLatin1Char('\t')));
}

bool ReplaceCell(QString& line, int col, const QString& text)
{
    if (col < 1)
        return false;
    qsizetype start = 0;
    for (int k = 1; k < col; ++k) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            return false;
        start = tab + 1;
    }
    const qsizetype end = line.indexOf(QLatin1Char('\t'), start);
    if (end < 0)
        return false;
    line.replace(start, end - start, text);
    return true;
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

QString ChangeExt(const QString& path, const QString& ext)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash && dot >= 0)
        return path.left(dot) + ext;
    return path + ext;
}

}  // namespace recordline

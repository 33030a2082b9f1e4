#include "cards/CardFile.h"

#include <QFileInfo>

#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "platform/Files.h"

namespace card {

bool Row::IsEmpty() const
{
    for (const QString& cell : m_cells) {
        if (!cell.isEmpty())
            return false;
    }
    return true;
}

void Row::Clear()
{
    for (QString& cell : m_cells)
        cell.clear();
}

Row RowFromLine(const QString& line)
{
    Row row;
    qsizetype start = 0;
    for (int col = 1; col <= kColumnCount; ++col) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            break;
        row.SetCell(col, line.mid(start, tab - start));
        start = tab + 1;
    }
    return row;
}

QString LineFromRow(const Row& row)
{
    QString line;
    for (int col = 1; col <= kColumnCount; ++col) {
        line += row.Cell(col);
        line += QLatin1Char('\t');
    }
    return line;
}

Rows RowsFromLines(const QStringList& lines)
{
    Rows rows;
    rows.reserve(lines.size());
    for (const QString& line : lines)
        rows.push_back(RowFromLine(line));
    return rows;
}

QStringList LinesFromRows(const Rows& rows)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const Row& row : rows)
        lines << LineFromRow(row);
    return lines;
}

QString NumberText(int cardNumber)
{
    return FormatFloat(QStringLiteral("000"), cardNumber);
}

QString FileName(const QString& customerNumber, int cardNumber)
{
    return QLatin1Char('K') + customerNumber + NumberText(cardNumber) + QStringLiteral(".KAR");
}

QString FilePath(const QString& dataFolder, const QString& customerNumber, int cardNumber)
{
    return files::FindCaseInsensitive(dataFolder, FileName(customerNumber, cardNumber));
}

bool Exists(const QString& dataFolder, const QString& customerNumber, int cardNumber)
{
    return QFileInfo(FilePath(dataFolder, customerNumber, cardNumber)).isFile();
}

QString Key(const QString& customerNumber, int cardNumber)
{
    return customerNumber + QLatin1Char('/') + NumberText(cardNumber);
}

void CutForSave(Rows& rows)
{
    for (Row& row : rows) {
        row.Cell(kColText).truncate(kMaxTextLength);
        row.Cell(kColRemark).truncate(kMaxRemarkLength);
    }
}

bool CardContains(const QString& path, const QString& upperText, bool treatmentLinesOnly)
{
    QStringList lines;
    if (!cp1252::ReadLines(path, lines))
        return false;
    for (const QString& line : lines) {
        if (treatmentLinesOnly && line == kKopfMarker)
            return false;
        if (line.toUpper().contains(upperText))
            return true;
    }
    return false;
}

}  // namespace card

#include "cards/CardFile.h"

#include <QDir>
#include <QFile>
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
    recordline::ForEachCell(line, [&row](int col, QStringView cell) {
        if (col <= kColumnCount)
            row.SetCell(col, cell.toString());
    });
    return row;
}

QString LineFromRow(const Row& row)
{
    QStringList cells;
    cells.reserve(kColumnCount);
    for (int col = 1; col <= kColumnCount; ++col)
        cells << row.Cell(col);
    return recordline::Join(cells);
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

std::set<int> ExistingNumbers(const QString& dataFolder, const QString& customerNumber)
{
    std::set<int> numbers;
    const QDir dir(dataFolder);
    const QStringList names =
        dir.entryList({QLatin1Char('K') + customerNumber + QStringLiteral("???.KAR")}, QDir::Files);
    for (const QString& name : names) {
        int number = 0;
        if (TryStrToInt(name.mid(1 + customerNumber.size(), 3), &number) && number >= 1)
            numbers.insert(number);
    }
    return numbers;
}

bool CardContains(const QString& path, const QString& upperText, bool treatmentLinesOnly)
{
    return TryCardContains(path, upperText, treatmentLinesOnly).value_or(false);
}

std::optional<bool> TryCardContains(const QString& path, const QString& upperText,
                                    bool treatmentLinesOnly)
{
    QByteArray bytes;
    if (!files::ReadWhole(path, bytes))
        return std::nullopt;
    QString text = cp1252::Decode(bytes);
    if (treatmentLinesOnly) {
        // The marker is a line of its own; the search text holds no line break, so searching
        // the treatment block at once is searching it line by line.
        qsizetype marker = -1;
        for (qsizetype from = 0; marker < 0;) {
            const qsizetype at = text.indexOf(kKopfMarker, from);
            if (at < 0)
                break;
            const qsizetype end = at + kKopfMarker.size();
            if ((at == 0 || text[at - 1] == QLatin1Char('\n') ||
                 text[at - 1] == QLatin1Char('\r')) &&
                (end == text.size() || text[end] == QLatin1Char('\r') ||
                 text[end] == QLatin1Char('\n')))
                marker = at;
            from = end;
        }
        if (marker >= 0)
            text.truncate(marker);
    }
    return text.toUpper().contains(upperText);
}

}  // namespace card

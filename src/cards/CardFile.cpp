#include "cards/CardFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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
    if (cardNumber < 0 || cardNumber > 999)
        return FormatFloat(QStringLiteral("000"), cardNumber);
    const char digits[3] = {char('0' + cardNumber / 100), char('0' + cardNumber / 10 % 10),
                            char('0' + cardNumber % 10)};
    return QString::fromLatin1(digits, 3);
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

namespace {

// Each code page 1252 byte as QString::toUpper gives its character: one character for all
// but a few ("ß" becomes "SS"). The table is taken from toUpper itself, so that upper-casing
// a file byte by byte gives exactly what upper-casing its decoded text gives.
struct UpperTable {
    char16_t single[256];
    QString several[256];  // set where the upper case is more than one character
    qsizetype longest = 1;
    UpperTable()
    {
        for (int b = 0; b < 256; ++b) {
            const QString upper =
                QString(cp1252::FromCode(static_cast<unsigned char>(b))).toUpper();
            single[b] = upper.size() == 1 ? upper.at(0).unicode() : 0;
            if (upper.size() != 1)
                several[b] = upper;
            longest = std::max(longest, upper.size());
        }
    }
};

const UpperTable& Upper()
{
    static const UpperTable table;
    return table;
}

QString DecodeUpper(const char* data, qsizetype size)
{
    const UpperTable& table = Upper();
    QString out(size * table.longest, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (const char16_t u = table.single[b]) {
            *dst++ = QChar(u);
        } else {
            for (const QChar c : table.several[b])
                *dst++ = c;
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

// Where the treatment lines end: the marker as a line of its own, else the end.
qsizetype TreatmentEnd(const QByteArray& bytes)
{
    static const QByteArray marker = kKopfMarker.toLatin1();
    for (qsizetype from = 0;;) {
        const qsizetype at = bytes.indexOf(marker, from);
        if (at < 0)
            return bytes.size();
        const qsizetype end = at + marker.size();
        if ((at == 0 || bytes[at - 1] == '\n' || bytes[at - 1] == '\r') &&
            (end == bytes.size() || bytes[end] == '\r' || bytes[end] == '\n'))
            return at;
        from = end;
    }
}

}  // namespace

std::optional<bool> TryCardContains(const QString& path, const QString& upperText,
                                    bool treatmentLinesOnly)
{
    QByteArray bytes;
    if (!files::ReadWhole(path, bytes))
        return std::nullopt;
    // The marker is a line of its own; the search text holds no line break, so searching
    // the treatment block at once is searching it line by line. Decoding and upper-casing
    // in one pass over the bytes keeps a search of thousands of cards near plain reading.
    const qsizetype end = treatmentLinesOnly ? TreatmentEnd(bytes) : bytes.size();
    return DecodeUpper(bytes.constData(), end).contains(upperText);
}

}  // namespace card

#include "cards/CardFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

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

QString NamedPath(QStringView folder, const QString& customerNumber, int cardNumber)
{
    if (cardNumber < 0 || cardNumber > 999)
        return folder.toString() + QLatin1Char('K') + customerNumber + NumberText(cardNumber) +
               QStringLiteral(".KAR");
    // The card search forms thousands of these: one allocation, written in place.
    QString out(folder.size() + customerNumber.size() + 8, Qt::Uninitialized);
    QChar* d = std::copy(folder.begin(), folder.end(), out.data());
    *d++ = QLatin1Char('K');
    d = std::copy(customerNumber.begin(), customerNumber.end(), d);
    *d++ = QLatin1Char(char('0' + cardNumber / 100));
    *d++ = QLatin1Char(char('0' + cardNumber / 10 % 10));
    *d++ = QLatin1Char(char('0' + cardNumber % 10));
    for (const char c : {'.', 'K', 'A', 'R'})
        *d++ = QLatin1Char(c);
    return out;
}

QString FileName(const QString& customerNumber, int cardNumber)
{
    return NamedPath({}, customerNumber, cardNumber);
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
    // Bytes of the same upper case share a class; 0 for the bytes of several characters.
    unsigned char cls[256];
    char16_t upperOfClass[256];
    int classes = 1;
    std::vector<unsigned char> unclassed;
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
        for (int b = 0; b < 256; ++b) {
            cls[b] = 0;
            if (single[b] == 0) {
                unclassed.push_back(static_cast<unsigned char>(b));
                continue;
            }
            for (int c = 1; c < classes && cls[b] == 0; ++c)
                if (upperOfClass[c] == single[b])
                    cls[b] = static_cast<unsigned char>(c);
            if (cls[b] == 0) {
                upperOfClass[classes] = single[b];
                cls[b] = static_cast<unsigned char>(classes++);
            }
        }
    }
    // The class whose bytes upper-case to `u`; 0 when no single byte does.
    unsigned char ClassOf(char16_t u) const
    {
        for (int c = 1; c < classes; ++c)
            if (upperOfClass[c] == u)
                return static_cast<unsigned char>(c);
        return 0;
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

// The search text as classes of bytes, for texts whose every character is the upper case
// of single bytes; remembered for the next card, as a search reads thousands with one text.
class BytePattern {
public:
    // False when some character of the text is the upper case of no single byte.
    bool Set(const QString& upperText)
    {
        if (m_set && upperText == m_text)
            return m_matchable;
        const UpperTable& table = Upper();
        m_set = true;
        m_text = upperText;
        m_classes.resize(static_cast<size_t>(upperText.size()));
        m_matchable = true;
        for (qsizetype i = 0; i < upperText.size(); ++i) {
            const char16_t u = upperText.at(i).unicode();
            const unsigned char c =
                u < 256 && table.single[u] == u ? table.cls[u] : table.ClassOf(u);
            m_classes[static_cast<size_t>(i)] = c;
            m_matchable = m_matchable && c != 0;
        }
        m_firstBytes.clear();
        if (!m_classes.empty())
            for (int b = 0; b < 256; ++b)
                if (table.cls[b] == m_classes[0])
                    m_firstBytes.push_back(static_cast<unsigned char>(b));
        return m_matchable;
    }

    bool FoundIn(const unsigned char* data, qsizetype size) const
    {
        const qsizetype length = static_cast<qsizetype>(m_classes.size());
        if (length == 0)
            return true;
        if (length > size)
            return false;
        const unsigned char* const last = data + (size - length);
        // The candidates are the places of the first character's bytes (its upper and
        // lower case), found with memchr; the rest is compared by class.
        if (m_firstBytes.size() == 1) {
            for (const unsigned char* at = data; at <= last; ++at) {
                at = Next(at, last, m_firstBytes[0]);
                if (!at)
                    return false;
                if (RestMatches(at))
                    return true;
            }
            return false;
        }
        if (m_firstBytes.size() == 2) {
            const unsigned char* one = Next(data, last, m_firstBytes[0]);
            const unsigned char* two = Next(data, last, m_firstBytes[1]);
            while (one || two) {
                const unsigned char*& at = !two || (one && one < two) ? one : two;
                if (RestMatches(at))
                    return true;
                at = at < last ? Next(at + 1, last, *at) : nullptr;
            }
            return false;
        }
        for (const unsigned char* at = data; at <= last; ++at)
            if (Upper().cls[*at] == m_classes[0] && RestMatches(at))
                return true;
        return false;
    }

private:
    static const unsigned char* Next(const unsigned char* from, const unsigned char* last,
                                     unsigned char byte)
    {
        return static_cast<const unsigned char*>(
            std::memchr(from, byte, static_cast<size_t>(last - from + 1)));
    }

    bool RestMatches(const unsigned char* at) const
    {
        const unsigned char* cls = Upper().cls;
        for (size_t k = 1; k < m_classes.size(); ++k)
            if (cls[at[k]] != m_classes[k])
                return false;
        return true;
    }

    bool m_set = false;
    QString m_text;
    std::vector<unsigned char> m_classes;
    std::vector<unsigned char> m_firstBytes;
    bool m_matchable = false;
};

// Whether the upper-cased text of the bytes contains `upperText`. Bytes that upper-case to
// one character each are compared byte by byte through their classes, without building
// the text; a byte that becomes several characters (or none) takes the way through the text.
bool UpperContains(const char* data, qsizetype size, const QString& upperText)
{
    const UpperTable& table = Upper();
    for (const unsigned char b : table.unclassed)
        if (std::memchr(data, b, static_cast<size_t>(size)))
            return DecodeUpper(data, size).contains(upperText);
    thread_local BytePattern pattern;
    return pattern.Set(upperText) &&
           pattern.FoundIn(reinterpret_cast<const unsigned char*>(data), size);
}

// Where the treatment lines end: the marker as a line of its own, else the end.
qsizetype TreatmentEnd(const QByteArray& bytes)
{
    static const QByteArray marker = kKopfMarker.toLatin1();
    const std::string_view text(bytes.constData(), static_cast<size_t>(bytes.size()));
    const std::string_view wanted(marker.constData(), static_cast<size_t>(marker.size()));
    for (qsizetype from = 0;;) {
        const size_t found = text.find(wanted, static_cast<size_t>(from));
        if (found == std::string_view::npos)
            return bytes.size();
        const qsizetype at = static_cast<qsizetype>(found);
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
    return UpperContains(bytes.constData(), end, upperText);
}

}  // namespace card

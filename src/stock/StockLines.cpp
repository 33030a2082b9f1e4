#include "stock/StockLines.h"

#include <QStringList>
#include <string_view>

#include "common/CodePage.h"
#include "common/NumberFormat.h"

namespace stock {

namespace {

const QString kCarryOver = QStringLiteral("Übertrag");

}  // namespace

bool StockLine::IsCarryOver() const
{
    return remark.contains(kCarryOver);
}

StockLine ParseStockLine(const QString& line)
{
    // A cell ends at its TAB; text after the last TAB is no cell.
    const QStringList parts = line.split(QLatin1Char('\t'));
    const auto cell = [&parts](int i) { return i < parts.size() - 1 ? parts[i] : QString(); };
    return {cell(0), cell(1), cell(2), cell(3), cell(4)};
}

QString JoinStockLine(const StockLine& line)
{
    const QChar tab = QLatin1Char('\t');
    return line.date + tab + line.out + tab + line.in + tab + line.stock + tab + line.remark + tab;
}

StockLine CarryOverLine(long double stock, int previousYear)
{
    return {QString(), QString(), QString(), StockText(stock),
            kCarryOver + QLatin1Char(' ') + QString::number(previousYear)};
}

long double QuantityOf(const QString& text)
{
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    long double value = 0;
    if (slash < 0)
        return TryStrToFloat(text, &value) ? value : 0;
    long double numerator = 0;
    long double denominator = 0;
    if (!TryStrToFloat(text.left(slash), &numerator) ||
        !TryStrToFloat(text.mid(slash + 1), &denominator) || denominator <= 0)
        return 0;
    return numerator / denominator;
}

QString QuantityText(long double quantity)
{
    QString text = FormatFloat(QStringLiteral("0.00"), quantity);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1String(",0")))
        text.chop(2);
    return text;
}

QString StockText(long double stock)
{
    const QString text = FormatFloat(QStringLiteral("0.00"), stock);
    if (text.endsWith(QLatin1String(",00")))
        return text == QLatin1String("-0,00") ? QStringLiteral("0") : text.chopped(3);
    return text;
}

QString FileDate(const QDate& date)
{
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString ShownDate(const QString& fileDate)
{
    const QDate date = QDate::fromString(fileDate, QStringLiteral("yyyyMMdd"));
    return date.isValid() && fileDate.size() == 8 ? date.toString(QStringLiteral("dd.MM.yyyy"))
                                                  : fileDate;
}

YearSums SumYear(const StockLines& lines)
{
    YearSums sums;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const StockLine& line = lines[i];
        if (i == 0 && line.IsCarryOver()) {
            sums.carried = QuantityOf(line.stock);
            continue;
        }
        sums.in += QuantityOf(line.in);
        sums.out += QuantityOf(line.out);
    }
    return sums;
}

namespace {

long double QuantityOfCell(std::string_view cell)
{
    if (cell.empty())
        return 0;
    // Most quantities are whole numbers: exact without the general parse.
    if (cell.size() <= 9) {
        long value = 0;
        bool digits = true;
        for (char c : cell) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (digits)
            return value;
    }
    return QuantityOf(cp1252::Decode(cell.data(), qsizetype(cell.size())));
}

// One line as ParseStockLine and SumYear see it: a cell ends at its TAB.
void SumLine(const char* line, const char* end, bool first, YearSums* sums)
{
    std::string_view cells[5];
    int count = 0;
    const char* start = line;
    for (const char* p = line; p < end && count < 5; ++p) {
        if (*p == '\t') {
            cells[count++] = std::string_view(start, size_t(p - start));
            start = p + 1;
        }
    }
    // "Übertrag" in code page 1252.
    if (first && cells[4].find("\xDC"
                               "bertrag") != std::string_view::npos) {
        sums->carried = QuantityOfCell(cells[3]);
        return;
    }
    sums->in += QuantityOfCell(cells[2]);
    sums->out += QuantityOfCell(cells[1]);
}

}  // namespace

YearSums SumYearOfFile(const QByteArray& data, qsizetype* lineCount)
{
    YearSums sums;
    qsizetype lines = 0;
    const char* p = data.constData();
    const char* const end = p + data.size();
    // Lines end at CR LF, CR or LF, as the table files are split.
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        SumLine(p, lineEnd, lines == 0, &sums);
        ++lines;
        if (lineEnd < end && *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n')
            ++lineEnd;
        p = lineEnd < end ? lineEnd + 1 : end;
    }
    *lineCount = lines;
    return sums;
}

void SetCarryOver(StockLines& lines, long double stock, int previousYear)
{
    const StockLine carry = CarryOverLine(stock, previousYear);
    if (!lines.isEmpty() && lines.first().IsCarryOver())
        lines.first().stock = carry.stock;
    else
        lines.prepend(carry);
}

void RunStock(StockLines& lines)
{
    long double running = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        StockLine& line = lines[i];
        if (i == 0 && line.IsCarryOver()) {
            running = QuantityOf(line.stock);
            continue;
        }
        if (line.in == QLatin1String("0"))
            line.in.clear();
        if (line.out == QLatin1String("0"))
            line.out.clear();
        if (line.in.isEmpty() && line.out.isEmpty()) {
            line.stock.clear();
            continue;
        }
        running += QuantityOf(line.in) - QuantityOf(line.out);
        line.stock = StockText(running);
    }
}

}  // namespace stock

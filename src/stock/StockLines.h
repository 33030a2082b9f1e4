#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The lines of a stock file "MedInv<yyyy>/Med<code>.dbf": five cells each (date "yyyyMMdd",
// withdrawal, receipt, stock, remark), in the table line format. A year's first line is
// normally its carry-over line: no date, the stock brought forward, remark "Übertrag <year>".
namespace stock {

struct StockLine {
    QString date;  // "yyyyMMdd"; empty in the carry-over line
    QString out;   // withdrawal
    QString in;    // receipt
    QString stock;
    QString remark;

    bool IsCarryOver() const;
    // Date, quantities and remark: what a cancelled booking is found by.
    bool SameBooking(const StockLine& other) const
    {
        return date == other.date && out == other.out && in == other.in && remark == other.remark;
    }
};
using StockLines = QList<StockLine>;

StockLine ParseStockLine(const QString& line);
QString JoinStockLine(const StockLine& line);

// The carry-over line of a year: the stock brought forward from `previousYear`.
StockLine CarryOverLine(long double stock, int previousYear);

// A quantity as stored or typed: a decimal with a comma, or a fraction "a/b" counted as
// a ÷ b (0 when b is not above 0). Anything else counts 0.
long double QuantityOf(const QString& text);
// A booked quantity: "0.00" without a final "0", then without a final ",0" ("1,5", "2").
QString QuantityText(long double quantity);
// A running stock as shown: whole numbers without decimals, others with two.
QString StockText(long double stock);

QString FileDate(const QDate& date);  // "yyyyMMdd"
// A stored "yyyyMMdd" as "dd.MM.yyyy"; anything else stays as it stands.
QString ShownDate(const QString& fileDate);

// What a year's lines add up to: the stock brought forward (the first line's stock when it
// is the carry-over line, else 0), the receipts and withdrawals, and the final stock.
struct YearSums {
    long double carried = 0;
    long double in = 0;
    long double out = 0;
    long double Final() const { return carried + in - out; }
};
YearSums SumYear(const StockLines& lines);
// The same from a file's bytes, without building its lines (a yearly run sums thousands of
// files); `lineCount` gets the number of lines.
YearSums SumYearOfFile(const QByteArray& data, qsizetype* lineCount);

// Puts the stock brought forward into a year's carry-over line, adding one at the top
// when the year has none.
void SetCarryOver(StockLines& lines, long double stock, int previousYear);

// The running stock of a year: from the carry-over line's stock (0 without one), each line
// with a receipt or withdrawal gets the stock after it; a "0" quantity is cleared and a
// line without either gets no stock.
void RunStock(StockLines& lines);

}  // namespace stock

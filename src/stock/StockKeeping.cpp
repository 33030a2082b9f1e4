#include "stock/StockKeeping.h"

#include <QDir>
#include <QFileInfo>

#include "common/Clock.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableLock.h"

namespace stock {

namespace {

constexpr long double kTolerance = 0.02L;
constexpr int kChainYears = 6;
constexpr int kSearchYears = 5;  // the current year and five before it

QString MoneyText(long double value)
{
    return FormatFloat(QStringLiteral("0.00"), value);
}

}  // namespace

Chain ChainBefore(const StockFiles& files, const QString& code, int year)
{
    Chain chain;
    for (int y = year - kChainYears; y < year; ++y) {
        const bool exists = files.Exists(y, code);
        if (!exists && !chain.found)
            continue;
        // A year without a readable file passes its stock on unchanged. A later year starts
        // from what came in, as its carry-over line shows it.
        YearSums sums;
        qsizetype lines = 0;
        if (exists && files.ReadSums(y, code, &sums, &lines) && lines > 0) {
            chain.final = chain.found ? QuantityOf(StockText(chain.final)) + sums.in - sums.out
                                      : sums.Final();
        }
        chain.found = true;
    }
    return chain;
}

// ---- StockTable ----

int StockTable::FindCode(const QString& code) const
{
    if (code.isEmpty())
        return -1;
    const QStringList& lines = m_grid.Lines();
    const int current = m_grid.CurrentRecord();
    // The medication just taken over is the selected one.
    if (current >= 0 && current < lines.size() &&
        recordline::Cell(lines[current], recordline::kMedCode) == code)
        return current;
    for (int i = 0; i < lines.size(); ++i) {
        if (recordline::Cell(lines[i], recordline::kMedCode) == code)
            return i;
    }
    return -1;
}

QString StockTable::Cell(int record, int col) const
{
    if (record < 0 || record >= m_grid.RecordCount())
        return {};
    return recordline::Cell(m_grid.Lines()[record], col);
}

bool StockTable::SetAndSave(int record, int col, const QString& text)
{
    const QString old = Cell(record, col);
    m_grid.SetRecordCell(col, record, text);
    if (m_grid.SaveTable(m_path))
        return true;
    m_grid.SetRecordCell(col, record, old);
    return false;
}

QString StockTable::EnsureCode(int record)
{
    const QString own = Cell(record, recordline::kMedCode);
    if (!own.isEmpty())
        return own;
    qint64 largest = 0;
    for (const QString& line : m_grid.Lines()) {
        bool ok = false;
        const qint64 value = recordline::Cell(line, recordline::kMedCode).toLongLong(&ok);
        if (ok && value > largest)
            largest = value;
    }
    const QString code = QStringLiteral("%1").arg(largest + 1, 6, 10, QLatin1Char('0'));
    if (m_grid.CountTabs(record) < recordline::kMedCode)
        m_grid.PadRecord(recordline::kMedCode, record);
    return SetAndSave(record, recordline::kMedCode, code) ? code : QString();
}

// ---- StockKeeping ----

StockKeeping::StockKeeping(UserPort& port, const Clock& clock, StockFiles& files, StockTable& table)
    : m_port(port), m_clock(clock), m_files(files), m_table(table)
{
}

template <typename Change>
bool StockKeeping::Modify(int year, const QString& code, Change change)
{
    table::TableLock lock(m_port, m_files.Environment(), m_files.Path(year, code));
    if (!lock.Held())
        return false;
    StockLines lines;
    if (!m_files.Read(year, code, &lines))
        return false;
    if (!change(lines))
        return false;
    return m_files.Write(year, code, lines);
}

bool StockKeeping::FillSkippedYears(const QString& code, int currentYear)
{
    int found = 0;
    for (int y = currentYear - 1; y >= currentYear - kSearchYears; --y) {
        if (m_files.Exists(y, code)) {
            found = y;
            break;
        }
    }
    if (found == 0)
        return false;
    // The stock the last year with a file ends with, its bookings counted: a booked line
    // carries no stock of its own.
    StockLines last;
    m_files.Read(found, code, &last);
    long double stockValue = SumYear(last).Final();
    for (int y = found + 1; y <= currentYear; ++y) {
        StockLines lines;
        if (m_files.Exists(y, code) && m_files.Read(y, code, &lines) && !lines.isEmpty()) {
            stockValue = SumYear(lines).Final();
            continue;
        }
        Modify(y, code, [&](StockLines& year) {
            if (!year.isEmpty())
                return false;  // written meanwhile by another workstation
            year.append(CarryOverLine(stockValue, y - 1));
            return true;
        });
    }
    return true;
}

bool StockKeeping::BookWithdrawal(long double quantity, const QString& code, const QDate& date,
                                  const QString& remark)
{
    if (!m_automatic) {
        m_cancellations.clear();
        return false;
    }
    const int record = m_table.FindCode(code);
    const QString stockCell = m_table.Cell(record, recordline::kMedStock);
    long double stockValue = 0;
    if (record < 0 || stockCell.isEmpty() || !TryStrToFloat(stockCell, &stockValue))
        return false;
    const QString name = m_table.Cell(record, recordline::kMedArticle);
    if (stockValue < quantity - kTolerance) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Entnahme-Menge > Bestand,\rkeine Inventurbuchung !"));
        return false;
    }
    const QDate today = m_clock.Today();
    const QDate day = date.isValid() ? date : today;
    const int current = today.year();
    if (!m_files.Exists(current, code) && !FillSkippedYears(code, current)) {
        m_table.SetAndSave(record, recordline::kMedStock, QString());
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Inventur-Menge fehlt,\rkeine Inventurbuchung !"));
        return false;
    }

    const StockLine booked{FileDate(day), QuantityText(quantity), QString(), QString(), remark};
    const auto failed = [&] {
        m_port.SetBusy(false);
        m_port.Message(MsgKind::Information, QLatin1Char('[') + name +
                                                 QStringLiteral("]\r\rKeine Bestand-Abbuchung "
                                                                "möglich!\rBerichtigen Sie den "
                                                                "Bestand manuell!"));
        return false;
    };
    const int year = day.year();
    if (!Modify(year, code, [&](StockLines& lines) {
            lines.append(booked);
            return true;
        }))
        return failed();
    if (!m_table.SetAndSave(record, recordline::kMedStock, MoneyText(stockValue - quantity))) {
        Modify(year, code, [&](StockLines& lines) {
            for (qsizetype i = lines.size() - 1; i >= 0; --i) {
                if (lines[i].SameBooking(booked)) {
                    lines.removeAt(i);
                    return true;
                }
            }
            return false;
        });
        return false;
    }
    // A booking into an earlier year changes what every later year brings forward.
    if (year < current)
        CarryForwardFrom(code, year);
    m_cancellations.append(code + QLatin1Char('\t') + JoinStockLine(booked) + QLatin1Char('$') +
                           name);
    return true;
}

void StockKeeping::CancelBookings()
{
    if (!m_automatic) {
        m_cancellations.clear();
        return;
    }
    const int current = m_clock.Today().year();
    while (!m_cancellations.isEmpty()) {
        const QString entry = m_cancellations.takeLast();
        const QString code = entry.left(6);
        const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
        const qsizetype dollar = entry.lastIndexOf(QLatin1Char('$'));
        if (tab < 0 || dollar < tab)
            continue;
        const StockLine booked = ParseStockLine(entry.mid(tab + 1, dollar - tab - 1));
        bool ok = false;
        const int year = booked.date.left(4).toInt(&ok);
        if (!ok)
            continue;
        bool removed = false;
        Modify(year, code, [&](StockLines& lines) {
            for (qsizetype i = lines.size() - 1; i >= 0; --i) {
                if (lines[i].SameBooking(booked)) {
                    lines.removeAt(i);
                    removed = true;
                    return true;
                }
            }
            return false;
        });
        // A line that is gone from its file (changed by hand since) gives nothing back:
        // the stock follows its file.
        if (!removed)
            continue;
        const int record = m_table.FindCode(code);
        long double stockValue = 0;
        if (record >= 0 && TryStrToFloat(m_table.Cell(record, recordline::kMedStock), &stockValue))
            m_table.SetAndSave(record, recordline::kMedStock,
                               MoneyText(stockValue + QuantityOf(booked.out)));
        if (year < current)
            CarryForwardFrom(code, year);
    }
}

bool StockKeeping::CarryForwardFrom(const QString& code, int year, int* failedYear)
{
    const int current = m_clock.Today().year();
    StockLines lines;
    if (!m_files.Read(year, code, &lines)) {
        if (failedYear)
            *failedYear = year;
        return false;
    }
    long double carried = SumYear(lines).Final();
    for (int y = year + 1; y <= current; ++y) {
        long double final = carried;
        const bool ok = Modify(y, code, [&](StockLines& next) {
            SetCarryOver(next, carried, y - 1);
            RunStock(next);
            final = SumYear(next).Final();
            return true;
        });
        if (!ok) {
            if (failedYear)
                *failedYear = y;
            return false;
        }
        carried = final;
    }
    return true;
}

// ---- Year change ----

int CarryForwardAll(StockFiles& files, const QStringList& medicationLines, int year)
{
    files.BeginRun();
    for (const QString& line : medicationLines) {
        const QString code = recordline::Cell(line, recordline::kMedCode);
        const QString stockCell = recordline::Cell(line, recordline::kMedStock);
        if (code.isEmpty() || stockCell.isEmpty() || files.Exists(year, code))
            continue;
        const Chain chain = ChainBefore(files, code, year);
        long double stockValue = chain.final;
        if (!chain.found && !TryStrToFloat(stockCell, &stockValue))
            continue;
        table::TableLock lock(files.Port(), files.Environment(), files.Path(year, code));
        if (!lock.Held() || files.Exists(year, code))
            continue;
        files.Write(year, code, {CarryOverLine(stockValue, year - 1)});
    }
    const StockFiles::RunResult result = files.EndRun();
    if (result.failed > 0) {
        // What is missing is made good by the first booking or the next run; the person
        // should know why the new year's books are not complete.
        files.Port().SetBusy(false);
        files.Port().Message(
            MsgKind::Warning,
            QStringLiteral("Fehler beim Schreiben der Inventur-Dateien ") + QString::number(year) +
                QStringLiteral(":\rDer Übertrag von ") + QString::number(result.failed) +
                (result.failed == 1 ? QStringLiteral(" Medikament")
                                    : QStringLiteral(" Medikamenten")) +
                QStringLiteral(" wurde nicht gespeichert.\r\r"
                               "Überprüfen Sie, ob der Datenträger voll ist.\r"
                               "Der Übertrag wird bei der nächsten Buchung nachgeholt."));
    }
    return result.written;
}

bool OfferStockDeletion(UserPort& port, const QString& dataFolder, int year)
{
    QStringList folders;
    for (int y = year - 6; y >= year - 11; --y) {
        const QString folder =
            files::FindCaseInsensitive(dataFolder, QStringLiteral("MedInv") + QString::number(y));
        if (QFileInfo(folder).isDir())
            folders.append(folder);
    }
    if (folders.isEmpty())
        return true;
    if (port.Message(MsgKind::Information,
                     QStringLiteral("Um die Datenmenge auf Ihrem Speichermedium zu begrenzen,\r"
                                    "sollten Sie Inventurdaten älter als 5 Jahre löschen.\r\r"
                                    "Alle Inventurdaten ab ") +
                         QString::number(year - 5) + QStringLiteral(" bleiben erhalten !"),
                     Buttons::OkCancel) != Answer::Ok)
        return false;
    for (const QString& folder : folders)
        QDir(folder).removeRecursively();
    return true;
}

}  // namespace stock

#include "stock/TMedVerwDlgForm.h"

#include <QStringList>

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "stock/StockFiles.h"
#include "stock/StockKeeping.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace stock {

namespace {

const QString kCardPrefix = QStringLiteral("Kartei-Nr.: ");
const QString kTableError =
    QStringLiteral("Medikamenten-Datei: Speicher-Fehler.\rBestandsbearbeitung nicht möglich!");

QString Money(long double value)
{
    return FormatFloat(QStringLiteral("0.00"), value);
}

bool HasContent(const StockLine& row)
{
    return !row.in.trimmed().isEmpty() || !row.out.trimmed().isEmpty() ||
           !row.remark.trimmed().isEmpty();
}

}  // namespace

TMedVerwDlgForm::TMedVerwDlgForm(UserPort& port, const Clock& clock, StockFiles& files,
                                 StockTable& table)
    : m_port(port), m_clock(clock), m_files(files), m_table(table)
{
}

QStringList TMedVerwDlgForm::Titles()
{
    return {QString(),
            QStringLiteral("Datum"),
            QStringLiteral("Zugang"),
            QStringLiteral("Abgang"),
            QStringLiteral("Bestand"),
            QStringLiteral("Bemerkung")};
}

QString TMedVerwDlgForm::Hint()
{
    return QStringLiteral(
               "                   Strg+D = Aktuelles Datum                 Strg+Einfg = Zeile "
               "einfügen                Strg+Entf = Zeile löschen ") +
           QStringLiteral("... per Doppelklick auf Kartei-Nr. direkt in die Kartei wechseln!");
}

bool TMedVerwDlgForm::Open(int record)
{
    if (m_table.Grid().RecordCount() == 0 || record < 0 || record >= m_table.Grid().RecordCount()) {
        m_port.Message(MsgKind::Information, QStringLiteral("Kein Medikament selektiert!"));
        return false;
    }
    m_record = record;
    m_name = m_table.Cell(record, recordline::kMedArticle);
    m_code = m_table.EnsureCode(record);
    if (m_code.isEmpty())
        return false;
    m_changedSinceOpen = false;
    const int current = m_clock.Today().year();
    if (!Show(current))
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler! Jahrgang ") + QString::number(current));
    if (m_files.Exists(current, m_code)) {
        const QString final = Money(SumYear(m_rows).Final());
        if (m_table.Cell(record, recordline::kMedStock) != final &&
            !m_table.SetAndSave(record, recordline::kMedStock, final))
            m_port.Message(MsgKind::Error, kTableError);
    }
    return true;
}

bool TMedVerwDlgForm::Show(int year)
{
    m_year = year;
    m_modified = false;
    m_focusRow = -1;
    const int current = m_clock.Today().year();
    StockLines lines;
    const bool read = m_files.Read(year, m_code, &lines);
    const Chain chain = ChainBefore(m_files, m_code, year);
    if (chain.found) {
        SetCarryOver(lines, chain.final, year - 1);
    } else if (lines.isEmpty() && year == current) {
        // A medication's first year starts from its stock in the table.
        long double stockValue = 0;
        TryStrToFloat(m_table.Cell(m_record, recordline::kMedStock), &stockValue);
        lines.append(CarryOverLine(stockValue, year - 1));
    }
    for (StockLine& line : lines)
        line.date = ShownDate(line.date);
    m_rows = lines;
    StockLine empty;
    if (year == current)
        empty.date = dates::Format(m_clock.Today());
    m_rows.append(empty);
    Recompute();
    Changed();
    return read;
}

void TMedVerwDlgForm::Recompute()
{
    RunStock(m_rows);
    const YearSums sums = SumYear(m_rows);
    m_sumIn = Money(sums.in);
    m_sumOut = Money(sums.out);
    m_final = Money(sums.Final());
}

void TMedVerwDlgForm::Changed()
{
    if (OnChanged)
        OnChanged();
}

QString TMedVerwDlgForm::Cell(int col, int row) const
{
    if (row < 0 || row >= RowCount())
        return {};
    const StockLine& line = m_rows[row];
    switch (col) {
        case kColDate:
            return line.date;
        case kColIn:
            return line.in;
        case kColOut:
            return line.out;
        case kColStock:
            return line.stock;
        case kColRemark:
            return line.remark;
        default:
            return {};
    }
}

bool TMedVerwDlgForm::IsCellEditable(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < kColDate || col > kColRemark || col == kColStock)
        return false;
    return !(row == 0 && m_rows[0].IsCarryOver());
}

void TMedVerwDlgForm::SetCell(int col, int row, const QString& text)
{
    if (!IsCellEditable(col, row) || Cell(col, row) == text)
        return;
    StockLine& line = m_rows[row];
    QString* cell = col == kColDate  ? &line.date
                    : col == kColIn  ? &line.in
                    : col == kColOut ? &line.out
                                     : &line.remark;
    *cell = text;
    m_modified = true;
    // There is always an empty row to write the next movement in.
    if (row == RowCount() - 1 && HasContent(line))
        m_rows.append(StockLine());
    Recompute();
    Changed();
}

bool TMedVerwDlgForm::PutToday(int row)
{
    if (!IsCellEditable(kColDate, row))
        return false;
    SetCell(kColDate, row, dates::Format(m_clock.Today()));
    return true;
}

bool TMedVerwDlgForm::InsertRow(int row)
{
    if (row < 0 || row > RowCount())
        return false;
    if (row == 0 && !m_rows.isEmpty() && m_rows[0].IsCarryOver())
        row = 1;
    m_rows.insert(row, StockLine());
    Changed();
    return true;
}

bool TMedVerwDlgForm::DeleteRow(int row)
{
    if (!IsCellEditable(kColDate, row))
        return false;
    if (m_port.Message(MsgKind::Confirmation, QStringLiteral("Zeile wirklich löschen?"),
                       Buttons::YesNo) != Answer::Yes)
        return false;
    m_rows.removeAt(row);
    if (m_rows.isEmpty() || HasContent(m_rows.last()) || m_rows.last().IsCarryOver())
        m_rows.append(StockLine());
    m_modified = true;
    Recompute();
    Changed();
    return true;
}

bool TMedVerwDlgForm::LeaveRow(int row)
{
    if (row < 0 || row >= RowCount() || (row == 0 && m_rows[0].IsCarryOver()))
        return true;
    StockLine& line = m_rows[row];
    const QString typed = line.date.trimmed();
    const auto refuse = [&](const QString& text) {
        m_focusRow = row;
        Changed();
        m_port.Message(MsgKind::Warning, text);
        return false;
    };
    if (typed.isEmpty())
        return HasContent(line) ? refuse(QStringLiteral("Datumeintrag fehlt!")) : true;
    QDate date;
    if (!dates::TryParse(typed, &date))
        return refuse(QStringLiteral("Kein gültiges Datum !"));
    if (date.year() != m_year) {
        QDate fixed(m_year, date.month(), date.day());
        if (!fixed.isValid())
            fixed = QDate(m_year, date.month(), 28);
        line.date = dates::Format(fixed);
        m_modified = true;
        return refuse(QStringLiteral("Jahreszahl wird berichtigt !"));
    }
    if (date > m_clock.Today())
        return refuse(QStringLiteral("Datum liegt in der Zukunft !?"));
    if (line.date != dates::Format(date)) {
        line.date = dates::Format(date);
        m_modified = true;
        Changed();
    }
    m_focusRow = -1;
    return true;
}

bool TMedVerwDlgForm::CheckRows()
{
    for (int row = 0; row < RowCount(); ++row) {
        if (!LeaveRow(row))
            return false;
    }
    return true;
}

StockLines TMedVerwDlgForm::LinesToSave() const
{
    StockLines lines = m_rows;
    while (!lines.isEmpty() && !HasContent(lines.last()) && !lines.last().IsCarryOver())
        lines.removeLast();
    for (StockLine& line : lines) {
        QDate date;
        if (dates::TryParse(line.date, &date))
            line.date = FileDate(date);
    }
    return lines;
}

bool TMedVerwDlgForm::AskAndSave(bool onOk)
{
    if (!m_modified)
        return true;
    if (m_port.Message(MsgKind::Confirmation,
                       QStringLiteral("Möchten Sie die Änderungen abspeichern?"),
                       Buttons::YesNo) != Answer::Yes) {
        m_modified = false;
        return true;
    }
    if (!CheckRows())
        return false;
    // From a read-only medium nothing is written.
    if (m_files.Environment().readOnlyMedium) {
        m_modified = false;
        return true;
    }
    const QString year = QString::number(m_year);
    if (!m_files.Write(m_year, m_code, LinesToSave())) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler! Jahrgang ") + year);
        return false;
    }
    m_modified = false;
    m_changedSinceOpen = true;
    if (m_year < m_clock.Today().year()) {
        StockKeeping keeping(m_port, m_clock, m_files, m_table);
        int failed = 0;
        if (!keeping.CarryForwardFrom(m_code, m_year, &failed)) {
            m_port.Message(MsgKind::Error,
                           onOk ? QStringLiteral("Jahrgang ") + QString::number(failed) +
                                      QStringLiteral(" fehlt!")
                                : QStringLiteral("Fehler! Jahrgang ") + QString::number(failed));
        }
    }
    return true;
}

void TMedVerwDlgForm::Back()
{
    if (!AskAndSave(false))
        return;
    const int target = m_year - 1;
    const int current = m_clock.Today().year();
    if (!m_files.Exists(target, m_code) && m_year != current) {
        Show(m_year);
        return;
    }
    if (!Show(target))
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler! Jahrgang ") + QString::number(target));
}

void TMedVerwDlgForm::Forward()
{
    const int current = m_clock.Today().year();
    if (!AskAndSave(false))
        return;
    const int target = m_year < current ? m_year + 1 : m_year;
    if (!Show(target))
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler! Jahrgang ") + QString::number(target));
}

bool TMedVerwDlgForm::Ok()
{
    if (!AskAndSave(true))
        return false;
    if (m_changedSinceOpen) {
        StockLines lines;
        const int current = m_clock.Today().year();
        if (m_files.Read(current, m_code, &lines)) {
            const QString final = Money(SumYear(lines).Final());
            if (m_table.Cell(m_record, recordline::kMedStock) != final &&
                !m_table.SetAndSave(m_record, recordline::kMedStock, final))
                m_port.Message(MsgKind::Error, kTableError);
        }
    }
    return true;
}

QString TMedVerwDlgForm::CardKeyAt(int row) const
{
    const QString remark = Cell(kColRemark, row);
    return remark.startsWith(kCardPrefix) ? remark.mid(kCardPrefix.size()).trimmed() : QString();
}

}  // namespace stock

#include "stock/StockReport.h"

#include <QDir>
#include <algorithm>
#include <memory>

#include "common/Clock.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "printing/TPrintGrid2.h"
#include "printing/TSeiteEinrichtenDlgForm.h"
#include "stock/StockKeeping.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace stock {

namespace {

constexpr int kReachBack = 5;

QString Money(long double value)
{
    return FormatFloat(QStringLiteral("0.00"), value);
}

}  // namespace

QList<ReportRow> StockReportRows(const StockFiles& files, const QStringList& medicationLines,
                                 int year)
{
    QList<ReportRow> rows;
    for (int record = 0; record < medicationLines.size(); ++record) {
        const QString& line = medicationLines[record];
        const QString stockCell = recordline::Cell(line, recordline::kMedStock);
        if (stockCell.isEmpty())
            continue;
        ReportRow row;
        row.record = record;
        row.name = recordline::Cell(line, recordline::kMedArticle);
        const QString code = recordline::Cell(line, recordline::kMedCode);
        StockLines lines;
        if (code.isEmpty() || !files.Exists(year, code) || !files.Read(year, code, &lines)) {
            long double stockValue = 0;
            TryStrToFloat(stockCell, &stockValue);
            row.carried = row.final = Money(stockValue);
            row.in = row.out = Money(0);
            rows.append(row);
            continue;
        }
        std::sort(lines.begin(), lines.end(), [](const StockLine& a, const StockLine& b) {
            return JoinStockLine(a) < JoinStockLine(b);
        });
        const YearSums sums = SumYear(lines);
        row.carried = Money(sums.carried);
        row.in = Money(sums.in);
        row.out = Money(sums.out);
        row.final = Money(sums.Final());
        rows.append(row);
    }
    return rows;
}

// ---- TMedInvDruckDlgForm ----

TMedInvDruckDlgForm::TMedInvDruckDlgForm(const Clock& clock, UserPort& port,
                                         bool stockColumnPrinted)
    : year(QString::number(clock.Today().year())),
      m_clock(clock),
      m_port(port),
      m_stockColumn(stockColumnPrinted)
{
}

QString TMedInvDruckDlgForm::ListText() const
{
    return m_stockColumn ? QStringLiteral("Medikamentenliste mit Bestand")
                         : QStringLiteral("Medikamentenliste");
}

QString TMedInvDruckDlgForm::ListNote() const
{
    return m_stockColumn ? QStringLiteral("Nur Inventurmedikamente!")
                         : QStringLiteral("Alle Medikamente - keine Inv.Info!");
}

QString TMedInvDruckDlgForm::ListHint()
{
    return QStringLiteral("  ( Einstellungen ändern über\r  < Medikamente/ Tabelle/ Druckbild > )");
}

QString TMedInvDruckDlgForm::InventoryNote()
{
    return QStringLiteral(
        "Mit folgenden Informationen:\r   Medikament/ Übertrag/\r   Zugang/ "
        "Abgang/ Endbestand");
}

bool TMedInvDruckDlgForm::AcceptsYearKey(const QString& text, QChar ch)
{
    return ch.isDigit() && ch.unicode() < 128 && text.size() < 4;
}

bool TMedInvDruckDlgForm::Ok()
{
    if (choice == Choice::List)
        return true;
    const int current = m_clock.Today().year();
    bool ok = false;
    const int y = year.toInt(&ok);
    if (!ok || y > current || y < current - kReachBack) {
        m_port.Message(MsgKind::Warning, QStringLiteral("Jenseits Auswertungsgrenze!"));
        return false;
    }
    return true;
}

// ---- The report ----

bool PrintStockReport(StockReportJob& job, int year, bool toFile)
{
    job.port.SetBusy(false);
    job.port.Message(
        MsgKind::Information,
        QStringLiteral("Die Inventur wird aufbereitet\rBitte haben Sie etwas Geduld !"));
    const int current = job.clock.Today().year();
    job.port.SetBusy(true);
    CarryForwardAll(job.files, job.table.Grid().Lines(), current);
    job.port.SetBusy(false);
    if (!toFile && job.printerReady && !job.printerReady())
        return false;

    job.files.BeginRun();
    const QList<ReportRow> rows = StockReportRows(job.files, job.table.Grid().Lines(), year);
    job.files.EndRun();
    if (year == current) {
        // The table follows its books; one save for all that changed.
        TSGrid& grid = job.table.Grid();
        bool changed = false;
        for (const ReportRow& row : rows) {
            if (recordline::Cell(grid.Lines()[row.record], recordline::kMedStock) != row.final) {
                grid.SetRecordCell(recordline::kMedStock, row.record, row.final);
                changed = true;
            }
        }
        if (changed)
            grid.SaveTable(job.table.Path());
    }

    TSGrid report(job.port);
    report.SetColCount(7);
    report.SetTitles({QString(), QStringLiteral("Medikament"), QStringLiteral("Übertrag"),
                      QStringLiteral("Zugang"), QStringLiteral("Abgang"),
                      QStringLiteral("Endbest."), QStringLiteral("Bemerkg.")});
    QStringList lines;
    lines.reserve(rows.size());
    for (const ReportRow& row : rows) {
        lines.append(row.name + QLatin1Char('\t') + row.carried + QLatin1Char('\t') + row.in +
                     QLatin1Char('\t') + row.out + QLatin1Char('\t') + row.final +
                     QStringLiteral("\t\t"));
    }
    report.SetLines(lines);

    TSeiteEinrichtenDlgForm layout(job.layouts);
    layout.Load(TSeiteEinrichtenDlgForm::List::Medikamente);
    const TablePrintSetup setup = layout.Setup();
    TPrintGrid2& printer = job.printer;
    printer.AttachGrid(&report);
    const int widths[] = {0, 80, 15, 15, 15, 15, 15};
    for (int col = 0; col < 7; ++col)
        printer.SetColWidth(col, widths[col]);
    for (int col = 2; col <= 5; ++col)
        printer.SetAlignment(col, TextAlignment::taRightJustify);
    ApplyPageSetup(setup, printer);
    printer.Border = false;
    printer.FullPage = false;
    printer.Orientation = PrinterOrientation::poPortrait;
    printer.Title = {QStringLiteral("Medikamenteninventur ") + QString::number(year)};
    printer.PrintMgrTitle = QStringLiteral("MedInv") + QString::number(year);
    printer.KopfPrint = false;
    printer.FussPrint = false;
    printer.UStCol = -1;
    printer.FromPage = 1;
    printer.EndPage = 1000;
    printer.PrintToFile = toFile;
    printer.PrintFileDir = QDir(job.exportFolder).absolutePath() + QLatin1Char('/');
    printer.PrintFileName =
        QStringLiteral("MedInv") + QString::number(year) + QStringLiteral(".xls");
    printer.SetExportPath(printer.PrintFileDir + printer.PrintFileName);
    bool printed = true;
    if (toFile)
        printer.ExportWithDialog();
    else
        printed = printer.Print();
    printer.AttachGrid(nullptr);
    return printed;
}

}  // namespace stock

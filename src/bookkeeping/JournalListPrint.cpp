#include "bookkeeping/JournalListPrint.h"

#include <QDir>

#include "bookkeeping/JournalWorkspace.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "printing/TPrintGrid2.h"
#include "printing/TSeiteEinrichtenDlgForm.h"
#include "table/TSGrid.h"

namespace journal {

namespace {

// The amounts of the sum lines start in the same place however long the text before is.
constexpr int kSumColumn = 36;

QString Cents(long double value)
{
    return FormatFloat(QStringLiteral("0.00"), value);
}

QString Padded(const QString& text)
{
    return text.leftJustified(kSumColumn, QLatin1Char(' '));
}

}  // namespace

QString ListExportName(Kind kind)
{
    return kind == Kind::Income ? QStringLiteral("Einnahme.xls") : QStringLiteral("Ausgabe.xls");
}

QStringList ListTitleLines(const QString& heading, const JournalSelection& selection,
                           const JournalSums& sums, const QString& currency)
{
    QString first = selection.DayEntered() ? heading + QStringLiteral("  am ") +
                                                 selection.day.trimmed() + QStringLiteral(". ")
                                           : heading + QStringLiteral(": ");
    first += dates::MonthName(selection.month) + QLatin1Char(' ') + QString::number(selection.year);
    if (selection.business == BusinessFilter::Practice)
        first += QStringLiteral(" - Praxis");
    else if (selection.business == BusinessFilter::Pharmacy)
        first += QStringLiteral(" - Apotheke");
    QStringList lines{first};
    if (selection.account == AccountFilter::Cash)
        lines << QStringLiteral("Kasse");
    else if (selection.account == AccountFilter::Bank)
        lines << QStringLiteral("Bank");
    lines << QString()
          << (selection.DayEntered() ? QStringLiteral("Tagessummen:")
                                     : QStringLiteral("Monatssummen:"));
    lines << Padded(QStringLiteral("   ") + Cents(sums.totalNet) + QLatin1Char(' ') + currency +
                    QStringLiteral(" netto")) +
                 Cents(sums.totalGross) + QLatin1Char(' ') + currency + QStringLiteral(" brutto");
    lines << QString();
    for (const RateSlot& slot : sums.rates) {
        if (!slot.used)
            continue;
        lines << Padded(QStringLiteral("     ") + Cents(slot.net) + QLatin1Char(' ') + currency +
                        QStringLiteral("  (") + slot.Label() + QLatin1Char(')')) +
                     Cents(slot.gross) + QLatin1Char(' ') + currency;
    }
    return lines;
}

QStringList BalanceLines(const BalanceDisplay& balances, AccountFilter account,
                         const QString& today, const QString& currency)
{
    const auto amount = [&currency](const QString& value) {
        return value + QLatin1Char(' ') + currency;
    };
    QStringList lines{QString()};
    if (balances.pharmacyShown) {
        const QString cash = QStringLiteral("   Kasse Praxis       ") + amount(balances.cash);
        const QString cash2 = QStringLiteral("   Kasse Apotheke  ") + amount(balances.pharmacyCash);
        const QString bank = QStringLiteral("   Bank Praxis         ") + amount(balances.bank);
        const QString bank2 =
            QStringLiteral("   Bank Apotheke    ") + amount(balances.pharmacyBank);
        lines << QStringLiteral("Kontostand am ") + today + QLatin1Char(':');
        if (account == AccountFilter::Cash)
            lines << cash << cash2;
        else if (account == AccountFilter::Bank)
            lines << bank << bank2;
        else
            lines << Padded(cash) + cash2 << Padded(bank) + bank2;
    } else {
        const QString cash = QStringLiteral("   Kasse  ") + amount(balances.cash);
        const QString bank = QStringLiteral("   Bank     ") + amount(balances.bank);
        if (account == AccountFilter::All)
            lines << QStringLiteral("Kontostände am ") + today + QLatin1Char(':') << cash << bank;
        else
            lines << QStringLiteral("Kontostand am ") + today + QLatin1Char(':')
                  << (account == AccountFilter::Cash ? cash : bank);
    }
    lines << QString();
    return lines;
}

bool PrintJournalList(TPrintGrid2& printer, TSGrid& grid, LayoutStore& store, Kind kind,
                      const JournalSelection& selection, const JournalSums& sums,
                      const QString& currency, const QStringList& extraLines, bool toFile,
                      const QString& programFolder)
{
    QStringList screenTitles;
    for (int col = 0; col < grid.ColCount(); ++col)
        screenTitles << grid.Cells(col, 0);
    TSeiteEinrichtenDlgForm layout(store);
    layout.Load(kind == Kind::Income ? TSeiteEinrichtenDlgForm::List::Einnahmen
                                     : TSeiteEinrichtenDlgForm::List::Ausgaben,
                true);
    const TablePrintSetup setup = layout.Setup();
    printer.AttachGrid(&grid);
    ApplyTableSetup(setup, printer);
    printer.Title = ListTitleLines(setup.heading.isEmpty() ? layout.Caption() : setup.heading,
                                   selection, sums, currency) +
                    extraLines;
    // The sum lines are aligned by their blanks, so they start at the margin.
    printer.TitleAlignment = TextAlignment::taLeftJustify;
    printer.PrintMgrTitle = kind == Kind::Income ? QStringLiteral("Talven - Einnahmen")
                                                 : QStringLiteral("Talven - Ausgaben");
    printer.FromPage = 1;
    printer.EndPage = 1000;
    printer.KopfPrint = false;
    printer.FussPrint = false;
    printer.UStCol = -1;
    printer.PrintFileDir = QDir(programFolder).absolutePath() + QLatin1Char('/');
    printer.PrintFileName = ListExportName(kind);
    printer.SetExportPath(printer.PrintFileDir + printer.PrintFileName);
    printer.PrintToFile = toFile;
    const bool done = printer.Print();
    printer.PrintToFile = false;
    printer.Title.clear();
    printer.AttachGrid(nullptr);
    for (int col = 0; col < screenTitles.size() && col < grid.ColCount(); ++col)
        grid.SetCell(col, 0, screenTitles[col]);
    return done;
}

}  // namespace journal

#include "bookkeeping/JournalWorkspace.h"

#include <QFile>
#include <QFileInfo>

#include "bookkeeping/JournalListPrint.h"
#include "bookkeeping/TKtoStdAendDlgForm.h"
#include "bookkeeping/VatReturn.h"
#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/TPrintGrid2.h"
#include "printing/TSeiteEinrichtenDlgForm.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"

namespace journal {

namespace {

const QString kManualHint =
    QStringLiteral("* Manuell eingegebene Buchungen sind mit einem Stern gekennzeichnet. ");

QString Cents(long double value)
{
    return FormatFloat(QStringLiteral("0.00"), value);
}

// The file exists afterwards, or could not be made.
bool EnsureFile(const QString& path)
{
    if (QFileInfo(path).isFile())
        return true;
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

}  // namespace

void SetUpJournalGrid(TSGrid& grid)
{
    grid.SetColCount(recordline::kJournalCells + 1);
    grid.SetTitles({QString(), QStringLiteral("Datum"), QStringLiteral("Kartei/ Beleg"),
                    QStringLiteral("Kunde / Bezeichnung"), QStringLiteral("Netto"),
                    QStringLiteral("MwSt"), QStringLiteral("Brutto"), QStringLiteral("Z-Art")});
    grid.PriceCol1 = recordline::kJourNet;
    grid.PriceCol2 = recordline::kJourGross;
    for (int col : {recordline::kJourNet, recordline::kJourRate, recordline::kJourGross})
        grid.SetColumnAlignment(col, 1);
    grid.SetWriteThrough(false);
}

JournalWorkspace::JournalWorkspace(UserPort& port, const Clock& clock, TSGrid& grid,
                                   KeyValueSettings& options, QString dataFolder)
    : m_port(port),
      m_clock(clock),
      m_grid(grid),
      m_options(options),
      m_dataFolder(std::move(dataFolder))
{
    const QDate today = clock.Today();
    m_selection.month = today.month();
    m_selection.year = today.year();
}

void JournalWorkspace::ShowMonth()
{
    m_file = JournalFileName(m_dataFolder, m_selection.month, m_selection.year, m_kind,
                             m_settings.CurrencyWord());
    m_grid.LoadJournalDisplay(m_file);
    m_shownFiltered = m_selection.Filtered();
    if (m_shownFiltered)
        m_grid.SetLines(FilterJournal(m_grid.Lines(), m_selection));
    m_sums = SumJournal(m_grid.Lines(), m_settings.rateOrder);
    if (m_sums.tooManyRates)
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Zu viele MwSt-Sätze!"));
    else if (m_sums.unreadable > 0)
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler!"));
    QString currency;
    if (!m_balanceOffered && m_dialogs &&
        !m_options.Read(QStringLiteral("Kontostand"), QStringLiteral("Waehrung"), &currency)) {
        m_balanceOffered = true;
        EditBalances();
    }
}

QString JournalWorkspace::SumsCaption() const
{
    return m_selection.DayEntered() ? QStringLiteral("Tagessummen: ")
                                    : QStringLiteral("Monatssummen: ");
}

QString JournalWorkspace::CurrencyLetter() const
{
    return m_file.isEmpty() ? m_settings.CurrencyWord().left(1) : m_file.right(1).toUpper();
}

QString JournalWorkspace::CurrencyText() const
{
    return CurrencyLetter() == QLatin1String("D") ? QStringLiteral("DM") : QStringLiteral("Euro");
}

QString JournalWorkspace::Hint() const
{
    if (m_kind == Kind::Expense)
        return kManualHint +
               QStringLiteral(
                   "Ausgaben-Buchungen können berichtigt und gelöscht werden. (Hilfe F1)");
    if (m_goBd)
        return kManualHint + QStringLiteral(
                                 "Einnahmen-Buchungen müssen manuell storniert und "
                                 "berichtigt werden. (Hilfe F1)");
    return kManualHint + QStringLiteral(
                             "Systembuchungen (ohne Stern) werden von TALVEN "
                             "automatisch verwaltet. (Hilfe F1)");
}

bool JournalWorkspace::EditDeleteEnabled() const
{
    return m_kind == Kind::Expense || !m_goBd;
}

BalanceDisplay JournalWorkspace::Balances() const
{
    BalanceDisplay shown;
    shown.heading = QStringLiteral("Aktuelle Kontostände ") + dates::Format(m_clock.Today());
    const QString letter = CurrencyLetter();
    const balances::Pair practice =
        balances::ReadBalances(m_options, balances::Business::Practice, letter, m_settings.dmRate);
    shown.cash = Cents(practice.cash);
    shown.bank = Cents(practice.bank);
    shown.pharmacyShown = m_settings.secondBusinessDefined;
    if (shown.pharmacyShown) {
        const balances::Pair pharmacy = balances::ReadBalances(
            m_options, balances::Business::Pharmacy, letter, m_settings.dmRate);
        shown.pharmacyCash = Cents(pharmacy.cash);
        shown.pharmacyBank = Cents(pharmacy.bank);
    }
    return shown;
}

bool JournalWorkspace::EditBalances()
{
    if (!m_dialogs)
        return false;
    TKtoStdAendDlgForm form(m_options, m_settings, CurrencyLetter());
    if (!m_dialogs->RunBalances(form))
        return false;
    form.Save();
    return true;
}

EditDlgSetup JournalWorkspace::BookingSetup(EditMode mode) const
{
    EditDlgSetup setup;
    setup.panel = EditPanel::Booking;
    setup.mode = mode;
    setup.settings = m_settings.prices;
    setup.settings.euro =
        CurrencyLetter() == QLatin1String("E");  // amounts in the month's currency
    setup.journalWorkspace = true;
    setup.income = m_kind == Kind::Income;
    setup.journalMonth = QDate(m_selection.year, m_selection.month, 1);
    return setup;
}

void JournalWorkspace::MoveBalance(const QString& kind, const QString& customer, long double amount)
{
    balances::AddToAccount(m_options,
                           balances::AccountFor(kind, customer, m_settings.secondBusinessDefined),
                           CurrencyLetter(), amount, m_settings.dmRate);
}

bool JournalWorkspace::InsertBooking()
{
    if (!m_dialogs)
        return false;
    TEditDlgForm form(BookingSetup(EditMode::Insert), m_port);
    QDate proposal = m_selection.Day();
    const QDate today = m_clock.Today();
    if (!proposal.isValid() && today.month() == m_selection.month &&
        today.year() == m_selection.year)
        proposal = today;
    form.Booking().Load({dates::Format(proposal), QString(), QString(), QString(),
                         FormatFloat(QStringLiteral("0.0"), m_settings.prices.currentVat[0]),
                         QString(), QStringLiteral("B")});
    if (!m_dialogs->RunBooking(form))
        return false;
    const BookingForm& b = form.Booking();
    const QString record = recordline::Join(
        {b.Text(BookingForm::EinnDatum), b.Text(BookingForm::EinnBeleg) + QLatin1Char('*'),
         b.Text(BookingForm::EinnKunde), b.Text(BookingForm::EinnNetto),
         b.Text(BookingForm::EinnUst), b.Text(BookingForm::EinnBrutto),
         b.Text(BookingForm::EinnZArt)});
    if (table::CreateIfMissing(m_grid.Environment(), m_port, m_file))
        m_grid.AppendChangeLine(m_file, QLatin1Char('+') + record);
    m_selection.Reset();
    ShowMonth();
    // The balance follows only a booking that reached the file.
    const int added = int(m_grid.Lines().lastIndexOf(record));
    if (added < 0) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Buchung wurde nicht gespeichert!"));
        return false;
    }
    long double gross = 0;
    TryStrToFloat(b.Text(BookingForm::EinnBrutto), &gross);
    MoveBalance(b.Text(BookingForm::EinnZArt), b.Text(BookingForm::EinnKunde),
                m_kind == Kind::Income ? gross : -gross);
    m_grid.GotoRecord(1, added);
    return true;
}

bool JournalWorkspace::CheckManual()
{
    if (m_grid.RecordCount() == 0) {
        m_port.Message(MsgKind::Information, QStringLiteral("Datenbank ist leer!"), Buttons::Ok,
                       QStringLiteral("Info"));
        return false;
    }
    const QString line = m_grid.RecordLine(m_grid.CurrentRecord());
    if (m_kind == Kind::Income &&
        !recordline::CellView(line, recordline::kJourReceipt).endsWith(QLatin1Char('*'))) {
        m_port.Message(
            MsgKind::Information,
            QStringLiteral("Buchung wird von TALVEN automatisch\rverwaltet (s. "
                           "TALVEN-Hilfethemen <F1>).\rNur manuelle Buchungen - in der "
                           "Tabelle mit\reinem Stern gekennzeichnet - sind editierbar."));
        return false;
    }
    return true;
}

int JournalWorkspace::ReloadForChange(const QString& line)
{
    // Always from the file: a filtered view holds only part of the month, and another
    // workstation may have booked into it since it was shown.
    m_grid.LoadJournalInMemory(m_file);
    const int record = int(m_grid.Lines().indexOf(line));
    if (record < 0) {
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler: Buchung wurde inzwischen geändert!"));
        m_selection.Reset();
        ShowMonth();
    }
    return record;
}

bool JournalWorkspace::SaveMonth()
{
    if (m_grid.SaveTable(m_file))
        return true;
    // The message came from the save; the view shows the month as it is stored.
    m_selection.Reset();
    ShowMonth();
    return false;
}

void JournalWorkspace::FinishChange(int record)
{
    const QString line = record >= 0 ? m_grid.RecordLine(record) : QString();
    m_selection.Reset();
    ShowMonth();
    if (record >= 0) {
        const int shown = int(m_grid.Lines().indexOf(line));
        m_grid.GotoRecord(1, shown >= 0 ? shown : record);
    }
}

bool JournalWorkspace::EditBooking()
{
    if (!m_dialogs || !EditDeleteEnabled() || !CheckManual())
        return false;
    const QString line = m_grid.RecordLine(m_grid.CurrentRecord());
    const std::optional<Booking> old = ParseBookingLine(line);
    TEditDlgForm form(BookingSetup(EditMode::Edit), m_port);
    QStringList cells;
    for (int col = 1; col <= recordline::kJournalCells; ++col)
        cells << recordline::Cell(line, col);
    form.Booking().Load(cells);
    if (!m_dialogs->RunBooking(form)) {
        m_port.Message(MsgKind::Information, QStringLiteral("Eintrag wurde nicht bearbeitet!"));
        return false;
    }
    const int record = ReloadForChange(line);
    if (record < 0)
        return false;
    const BookingForm& b = form.Booking();
    QString voucher = b.Text(BookingForm::EinnBeleg);
    if (!voucher.endsWith(QLatin1Char('*')))
        voucher += QLatin1Char('*');
    m_grid.SetRecordLine(
        record,
        recordline::Join({b.Text(BookingForm::EinnDatum), voucher, b.Text(BookingForm::EinnKunde),
                          b.Text(BookingForm::EinnNetto), b.Text(BookingForm::EinnUst),
                          b.Text(BookingForm::EinnBrutto), b.Text(BookingForm::EinnZArt)}));
    if (!SaveMonth())
        return false;
    // Balances move only once the month is stored: a failed save leaves both as they were.
    const long double sign = m_kind == Kind::Income ? 1 : -1;
    if (old)
        MoveBalance(old->kind, old->customer, -sign * old->gross);
    long double gross = 0;
    TryStrToFloat(b.Text(BookingForm::EinnBrutto), &gross);
    MoveBalance(b.Text(BookingForm::EinnZArt), b.Text(BookingForm::EinnKunde), sign * gross);
    FinishChange(record);
    return true;
}

bool JournalWorkspace::DeleteBooking()
{
    if (!EditDeleteEnabled() || !CheckManual())
        return false;
    const QString line = m_grid.RecordLine(m_grid.CurrentRecord());
    if (m_port.Message(MsgKind::Confirmation,
                       QStringLiteral("Datensatz ") + QStringLiteral(" wirklich löschen?"),
                       Buttons::YesNo) != Answer::Yes)
        return false;
    const int record = ReloadForChange(line);
    if (record < 0)
        return false;
    m_grid.DeleteRecord(record);
    if (!SaveMonth())
        return false;
    if (const std::optional<Booking> old = ParseBookingLine(line))
        MoveBalance(old->kind, old->customer, m_kind == Kind::Income ? -old->gross : old->gross);
    FinishChange(-1);
    if (m_grid.RecordCount() > 0)
        m_grid.GotoRecord(1, std::min(record, m_grid.RecordCount() - 1));
    return true;
}

bool JournalWorkspace::ConvertMonthCurrency()
{
    const bool toDm = CurrencyLetter() == QLatin1String("E");
    // The whole month is rewritten: the person confirms it first.
    if (m_port.Message(MsgKind::Confirmation,
                       QStringLiteral("Alle Buchungen von ") + dates::MonthName(m_selection.month) +
                           QLatin1Char(' ') + QString::number(m_selection.year) +
                           (toDm ? QStringLiteral(" in DM umrechnen?")
                                 : QStringLiteral(" in Euro umrechnen?")),
                       Buttons::YesNo) != Answer::Yes)
        return false;
    const long double factor = toDm ? m_settings.dmRate : 1 / m_settings.dmRate;
    m_grid.LoadJournalInMemory(m_file);
    QStringList lines = m_grid.Lines();
    const int bad = ConvertMonthLines(lines, factor);
    const QString target =
        m_file.left(m_file.size() - 1) + (toDm ? QStringLiteral("D") : QStringLiteral("E"));
    const QString existing =
        files::FindCaseInsensitive(QFileInfo(target).absolutePath(), QFileInfo(target).fileName());
    QString refusal;
    if (bad >= 0) {
        // Emptying the amounts of a record that cannot be converted would lose them.
        refusal = QStringLiteral(
                      "Fehler: Buchung in Zeile %1 ist nicht lesbar!\r"
                      "Der Monat wurde nicht umgerechnet.")
                      .arg(bad + 1);
    } else if (QFileInfo(existing).isFile()) {
        refusal = QStringLiteral("Fehler: ") + QFileInfo(existing).fileName() +
                  QStringLiteral(" existiert bereits!\rDer Monat wurde nicht umgerechnet.");
    }
    if (!refusal.isEmpty()) {
        m_port.Message(MsgKind::Error, refusal);
        ShowMonth();
        return false;
    }
    m_grid.SetLines(lines);
    if (!EnsureFile(target) || !m_grid.SaveTable(target)) {
        ShowMonth();
        return false;
    }
    QFile::remove(m_file);
    m_selection.Reset();
    ShowMonth();
    return true;
}

bool JournalWorkspace::PrintList(TPrintGrid2& printer, LayoutStore& store,
                                 const QString& programFolder, bool toFile, bool withBalances)
{
    const QStringList balances = withBalances
                                     ? BalanceLines(Balances(), m_selection.account,
                                                    dates::Format(m_clock.Today()), CurrencyText())
                                     : QStringList();
    const bool done = PrintJournalList(printer, m_grid, store, m_kind, m_selection, m_sums,
                                       CurrencyText(), balances, toFile, programFolder);
    if (done && toFile)
        m_port.Message(MsgKind::Information, QStringLiteral("Die Liste wurde in die Datei\r") +
                                                 printer.ExportPath() +
                                                 QStringLiteral("\rgeschrieben."));
    m_selection.Reset();
    ShowMonth();
    return done;
}

QStringList JournalWorkspace::MonthInViewCurrency(Kind kind, BusinessFilter business)
{
    const QString file = JournalFileName(m_dataFolder, m_selection.month, m_selection.year, kind,
                                         m_settings.CurrencyWord());
    TSGrid month(m_port, m_grid.SharedEnvironment());
    SetUpJournalGrid(month);
    month.BackupFilePath = m_grid.BackupFilePath;
    month.LoadJournal(file);
    QStringList lines = month.Lines();
    // The return is in the view's currency; the month's file stays as it is stored. A
    // record that cannot be converted is left out of the sums as unreadable anyway.
    if (file.right(1).toUpper() != CurrencyLetter()) {
        const long double factor =
            CurrencyLetter() == QLatin1String("D") ? m_settings.dmRate : 1 / m_settings.dmRate;
        for (QString& line : lines) {
            QStringList one{line};
            if (ConvertMonthLines(one, factor) < 0)
                line = one.first();
        }
    }
    if (business == BusinessFilter::All)
        return lines;
    JournalSelection only;
    only.month = m_selection.month;
    only.year = m_selection.year;
    only.business = business;
    return FilterJournal(lines, only);
}

QStringList JournalWorkspace::VatReturnSheetFor(BusinessFilter business)
{
    VatSheetHeader header;
    header.month = m_selection.month;
    header.year = m_selection.year;
    header.today = m_clock.Today();
    header.businessLine =
        business == BusinessFilter::Pharmacy ? m_settings.pharmacyLine : m_settings.practiceLine;
    header.currency = CurrencyText();
    bool tooMany = false;
    const QStringList sheet = VatReturnSheet(MonthInViewCurrency(Kind::Income, business),
                                             MonthInViewCurrency(Kind::Expense, business), header,
                                             m_settings.rateOrder, &tooMany);
    if (tooMany)
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Zu viele MwSt-Sätze!"));
    return sheet;
}

bool JournalWorkspace::PrintVatReturn(TPrintGrid2& printer, LayoutStore& store)
{
    TSeiteEinrichtenDlgForm layout(store);
    layout.Load(m_kind == Kind::Income ? TSeiteEinrichtenDlgForm::List::Einnahmen
                                       : TSeiteEinrichtenDlgForm::List::Ausgaben,
                true);
    const TablePrintSetup setup = layout.Setup();
    printer.LeftMargin = setup.leftMm;
    printer.TopMargin = setup.topMm;
    printer.RightMargin = setup.rightMm;
    printer.BottomMargin = setup.bottomMm;
    printer.LinesFont = setup.cellFont;
    printer.ColHeaderFont = setup.columnTitleFont;
    printer.TitleFontGr = setup.headingFont;
    printer.Orientation = PrinterOrientation::poPortrait;
    struct Sheet {
        BusinessFilter business;
        QString title;
    };
    QList<Sheet> sheets{{m_settings.splitVatReturn ? BusinessFilter::Practice : BusinessFilter::All,
                         QStringLiteral("Talven - UStVoranmeldung: Praxis")}};
    if (m_settings.splitVatReturn)
        sheets.append(
            {BusinessFilter::Pharmacy, QStringLiteral("Talven - UStVoranmeldung: Apotheke")});
    bool done = true;
    for (const Sheet& sheet : sheets) {
        const QStringList lines = VatReturnSheetFor(sheet.business);
        printer.PrintMgrTitle = sheet.title;
        if (!printer.PrintVatReturn(lines)) {
            done = false;
            break;
        }
    }
    m_selection.Reset();
    ShowMonth();
    return done;
}

}  // namespace journal

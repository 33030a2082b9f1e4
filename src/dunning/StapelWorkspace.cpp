#include "dunning/StapelWorkspace.h"

#include <QFileInfo>
#include <array>

#include "cards/CardRegisters.h"
#include "cards/CardWorkspace.h"
#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "printing/LayoutStore.h"
#include "printing/PrinterList.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "printing/TPrintGrid2.h"
#include "printing/TStapelDruckDlgForm.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"

using namespace recordline;

namespace dunning {

namespace {

const QString kMark = QStringLiteral("X");

struct OptionKey {
    const char* section;
    const char* key;
};
constexpr OptionKey kListOption{"ListenDruckChk", "ListenDruck"};
constexpr OptionKey kCopyOption{"KopieDruckChk", "KopieDruck"};
constexpr OptionKey kSortOption{"StapelsortChk", "Stapelsort"};

bool ReadFlag(const KeyValueSettings& options, OptionKey option, bool fallback)
{
    QString value;
    if (!options.Read(QLatin1String(option.section), QLatin1String(option.key), &value))
        return fallback;
    if (value == QLatin1String("TRUE"))
        return true;
    if (value == QLatin1String("FALSE"))
        return false;
    return fallback;
}

bool WriteFlag(KeyValueSettings& options, OptionKey option, bool on)
{
    return options.Write(QLatin1String(option.section), QLatin1String(option.key),
                         on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

// Register dates are written "dd.MM.yyyy"; other forms go the long way.
bool ParseDate(QStringView text, QDate* date)
{
    const auto digit = [&](int i) { return text[i].unicode() - '0'; };
    if (text.size() == 10 && text[2] == QLatin1Char('.') && text[5] == QLatin1Char('.')) {
        bool digits = true;
        for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
            digits = digits && text[i].isDigit();
        if (digits) {
            const QDate parsed(digit(6) * 1000 + digit(7) * 100 + digit(8) * 10 + digit(9),
                               digit(3) * 10 + digit(4), digit(0) * 10 + digit(1));
            if (!parsed.isValid())
                return false;
            *date = parsed;
            return true;
        }
    }
    return dates::TryParse(text.toString(), date);
}

// Sets or clears a mark, touching the line only when it changes.
void SetMark(TSGrid& grid, int col, int record, QStringView shown, bool mark)
{
    if ((shown == kMark) != mark)
        grid.SetRecordCell(col, record, mark ? kMark : QString());
}

// The cells 1 to N of a register line in one pass; missing ones are empty.
template <int N>
std::array<QStringView, N + 1> CellsOf(const QString& line)
{
    std::array<QStringView, N + 1> cells{};
    ForEachCell(line, [&](int col, QStringView cell) {
        if (col <= N)
            cells[col] = cell;
    });
    return cells;
}

QString Refusal(bool m1, bool m2, Level level)
{
    switch (level) {
        case Level::First:
            if (m2)
                return kReminder1Blocked;
            return m1 ? kReminder1Set : QString();
        case Level::Second:
            return m2 ? kReminder2Set : QString();
        case Level::Court:
            return m1 && m2 ? QString() : kCourtNeedsBoth;
    }
    return {};
}

bool Issued(QStringView cell)
{
    return !cell.trimmed().isEmpty();
}

QString CurrencyCode(const QString& currency)
{
    return currency.left(3).toUpper();
}

}  // namespace

QString ReminderMarkRefusal(const QString& line, Level level)
{
    return Refusal(Issued(CellView(line, kDunReminder1)), Issued(CellView(line, kDunReminder2)),
                   level);
}

bool LevelDelay(const DunningOptions& options, Level level, int* days)
{
    QStringList terms{options.invoiceTerm};
    if (level != Level::First)
        terms << options.term1;
    if (level == Level::Court)
        terms << options.term2;
    int sum = 0;
    for (const QString& term : terms) {
        int value = 0;
        if (!TryStrToInt(term, &value)) {
            *days = 0;
            return false;
        }
        sum += value;
    }
    *days = sum;
    return true;
}

long double ColumnSum(const QStringList& lines, int col)
{
    long double sum = 0;
    for (const QString& line : lines) {
        long double value = 0;
        if (TryStrToCents(CellView(line, col), &value))
            sum += value;
    }
    return sum;
}

StapelWorkspace::StapelWorkspace(UserPort& port, const Clock& clock,
                                 std::shared_ptr<const TableEnvironment> env,
                                 const QString& dataFolder, KeyValueSettings& options)
    : m_port(port),
      m_clock(clock),
      m_env(std::move(env)),
      m_dataFolder(dataFolder),
      m_options(options)
{
    const QStringList titles[2] = {
        {QString(), QStringLiteral("Kartei-Nr"), QStringLiteral("Kunde"),
         QStringLiteral("Kunden-Nr"), QStringLiteral("Datum"), QStringLiteral("Brutto"),
         QStringLiteral("OK")},
        {QString(), QStringLiteral("Kartei-Nr"), QStringLiteral("Kunde"),
         QStringLiteral("Kunden-Nr"), QStringLiteral("Rechnung am"), QStringLiteral("Re. Brutto"),
         QStringLiteral("Offen"), QStringLiteral("M1"), QStringLiteral("M2"),
         QStringLiteral("OK")}};
    for (int tab = 0; tab < 2; ++tab) {
        m_grids[tab] = std::make_unique<TSGrid>(port, m_env);
        TSGrid& grid = *m_grids[tab];
        grid.SetColCount(int(titles[tab].size()));
        grid.SetTitles(titles[tab]);
        for (int col : tab == 0 ? QList<int>{kInvGross} : QList<int>{kDunGross, kDunOpen})
            grid.SetColumnAlignment(col, 1);
        // Amounts are stored with five decimals and shown with two.
        grid.PriceCol1 = tab == 0 ? int(kInvGross) : int(kDunGross);
        grid.PriceCol2 = tab == 0 ? 0 : int(kDunOpen);
        for (int col :
             tab == 0 ? QList<int>{kInvMark} : QList<int>{kDunReminder1, kDunReminder2, kDunMark})
            grid.SetColumnAlignment(col, 2);
    }
    dateText = dates::Format(clock.Today());
}

StapelWorkspace::~StapelWorkspace() = default;

TSGrid& StapelWorkspace::Grid(int tab) const
{
    return *m_grids[tab == kReminders ? 1 : 0];
}

QString StapelWorkspace::RegisterPath(int tab) const
{
    return files::FindCaseInsensitive(
        m_dataFolder, tab == kReminders ? card::kDunningRegister : card::kInvoiceRegister);
}

int StapelWorkspace::MarkColumn(int tab) const
{
    return tab == kReminders ? int(kDunMark) : int(kInvMark);
}

int StapelWorkspace::AmountColumn(int tab) const
{
    return tab == kReminders ? int(kDunOpen) : int(kInvGross);
}

void StapelWorkspace::ReadOptions()
{
    m_list = ReadFlag(m_options, kListOption, true);
    m_copy = ReadFlag(m_options, kCopyOption, false);
    m_ascending = ReadFlag(m_options, kSortOption, false);
    m_documents = true;
}

void StapelWorkspace::SetListOption(bool on)
{
    m_list = on;
    if (!WriteFlag(m_options, kListOption, on))
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler"));
}

void StapelWorkspace::SetCopyOption(bool on)
{
    m_copy = on;
    if (!WriteFlag(m_options, kCopyOption, on))
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler"));
}

void StapelWorkspace::SetAscendingOption(bool on)
{
    m_ascending = on;
    WriteFlag(m_options, kSortOption, on);
}

void StapelWorkspace::ShowTab(int tab)
{
    Reload(tab);
}

void StapelWorkspace::Reload(int tab)
{
    TSGrid& grid = Grid(tab);
    const int record = grid.CurrentRecord();
    const QString path = RegisterPath(tab);
    // A fresh installation has neither register yet.
    if (!table::CreateIfMissing(grid.Environment(), m_port, path)) {
        grid.SetLines({});
        return;
    }
    grid.LoadRegister(path);
    Sort(tab);
    if (tab == kInvoices)
        MarkInvoices();
    else
        MarkReminders();
    if (grid.RecordCount() > 0)
        grid.GotoRecord(1, qBound(0, record, grid.RecordCount() - 1));
}

void StapelWorkspace::Sort(int tab)
{
    TSGrid& grid = Grid(tab);
    if (m_ascending && grid.RecordCount() > 0)
        grid.SortAll();
}

bool StapelWorkspace::MarkInvoices()
{
    TSGrid& grid = Grid(kInvoices);
    QDate limit;
    if (!dates::TryParse(dateText, &limit)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Datum ungültig!"));
        return false;
    }
    long double minimum = 0;
    if (!TryStrToFloat(minimumText, &minimum))
        minimum = 0;
    minimumText = FormatFloat(QStringLiteral("0.00"), minimum);
    const long double floor = RoundCents(minimum);
    for (int i = 0; i < grid.RecordCount(); ++i) {
        const auto cells = CellsOf<kInvMark>(grid.Lines()[i]);
        QDate date;
        long double gross = 0;
        bool mark = false;
        if (!ParseDate(cells[kInvDate], &date) || !TryStrToCents(cells[kInvGross], &gross))
            m_port.Message(MsgKind::Error, QStringLiteral("Fehler Zeile %1").arg(i + 1));
        else
            mark = date <= limit && gross >= floor;
        SetMark(grid, kInvMark, i, cells[kInvMark], mark);
    }
    return true;
}

void StapelWorkspace::SetLevel(Level chosen)
{
    level = chosen;
    MarkReminders();
}

void StapelWorkspace::MarkReminders()
{
    TSGrid& grid = Grid(kReminders);
    int delay = 0;
    if (!LevelDelay(DunningOptionsFrom(m_options), level, &delay))
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler in den Systemoptionen\r(Seite Mahnwesen: "
                                      "Zahlunsziele)!"));
    const QDate today = m_clock.Today();
    const QDate latest = today.addDays(-delay);
    for (int i = 0; i < grid.RecordCount(); ++i) {
        const auto cells = CellsOf<kDunMark>(grid.Lines()[i]);
        QDate invoiced;
        bool mark = false;
        if (!ParseDate(cells[kDunInvoiceDate], &invoiced))
            m_port.Message(MsgKind::Error, QStringLiteral("Fehler Zeile %1").arg(i + 1));
        else
            mark = invoiced <= latest &&
                   Refusal(Issued(cells[kDunReminder1]), Issued(cells[kDunReminder2]), level)
                       .isEmpty();
        SetMark(grid, kDunMark, i, cells[kDunMark], mark);
    }
}

int StapelWorkspace::MarkedCount(int tab) const
{
    const TSGrid& grid = Grid(tab);
    int count = 0;
    for (const QString& line : grid.Lines()) {
        if (CellView(line, MarkColumn(tab)) == kMark)
            ++count;
    }
    return count;
}

QString StapelWorkspace::SumCaption(int tab) const
{
    return tab == kReminders ? QStringLiteral("Offen:") : QStringLiteral("Brutto:");
}

QString StapelWorkspace::SumText(int tab) const
{
    return FormatFloat(QStringLiteral("0.00"), ColumnSum(Grid(tab).Lines(), AmountColumn(tab)));
}

QString StapelWorkspace::SumHint(int tab) const
{
    return QStringLiteral("Gesamtsumme der Spalte \"") +
           (tab == kReminders ? QStringLiteral("Offen") : QStringLiteral("Brutto")) +
           QLatin1Char('"');
}

void StapelWorkspace::ToggleMark(int tab, int record)
{
    TSGrid& grid = Grid(tab);
    if (record < 0 || record >= grid.RecordCount())
        return;
    const QString line = grid.RecordLine(record);
    const int col = MarkColumn(tab);
    if (Cell(line, col) == kMark) {
        grid.SetRecordCell(col, record, QString());
        return;
    }
    if (tab == kReminders) {
        const QString refusal = ReminderMarkRefusal(line, level);
        if (!refusal.isEmpty()) {
            m_port.Message(MsgKind::Information, refusal);
            return;
        }
    }
    grid.SetRecordCell(col, record, kMark);
}

QString StapelWorkspace::CardKey(int tab, int record) const
{
    const TSGrid& grid = Grid(tab);
    if (record < 0 || record >= grid.RecordCount())
        return {};
    return Cell(grid.RecordLine(record), kRegisterKey);
}

void StapelWorkspace::RemoveFromRegister(int tab, const QString& key)
{
    const QString path = RegisterPath(tab);
    if (table::CreateIfMissing(*m_env, m_port, path))
        table::AppendChangeLine(*m_env, m_port, path, card::RegisterRemoveLine(key));
}

bool StapelWorkspace::DropMissingCard(const QString& key)
{
    QString digits;
    for (QChar ch : key) {
        if (ch.isDigit())
            digits += ch;
    }
    const QString path = files::FindCaseInsensitive(
        m_dataFolder, QLatin1Char('K') + digits + QStringLiteral(".KAR"));
    if (!digits.isEmpty() && QFileInfo(path).isFile())
        return false;
    m_port.Message(MsgKind::Error,
                   QStringLiteral("Karteikarte nicht vorhanden: \rKarteikarte Nr. ") + key);
    RemoveFromRegister(kInvoices, key);
    RemoveFromRegister(kReminders, key);
    return true;
}

bool StapelWorkspace::PrinterReady(const BatchRunners& runners)
{
    const PrinterList* printers = runners.printers.printers;
    if (!printers)
        return true;
    for (;;) {
        bool reachable = printers->IsReachable(runners.printers.standardPrinter);
        for (const QString& name : printers->PrinterNames())
            reachable = reachable || printers->IsReachable(name);
        if (reachable)
            return true;
        if (m_port.Message(MsgKind::Warning,
                           QStringLiteral("Überprüfen Sie, ob Ihr Drucker betriebsbereit ist,\r"
                                          "und starten Sie den Listendruck mit OK!"),
                           Buttons::OkCancel) != Answer::Ok)
            return false;
    }
}

void StapelWorkspace::RunBatch(int tab, BatchRunners& runners)
{
    struct ProgressScope {
        BatchProgress* progress;
        ~ProgressScope()
        {
            if (progress)
                progress->Close();
        }
    } scope{runners.progress};
    if (runners.progress)
        runners.progress->Show(QStringLiteral("Stapeldruck läuft..."));

    const bool court = tab == kReminders && level == Level::Court;
    if (!m_list && !m_documents) {
        m_port.Message(MsgKind::Information, QStringLiteral("Keine Druckoption markiert!"));
        return;
    }
    // The court level hands the marked cards over as a list; the documents option still
    // asks where the run goes, but no card receives a letter.
    const bool list = m_list || court;
    const bool documents = m_documents && !court;
    TSGrid& grid = Grid(tab);
    if (m_documents && grid.RecordCount() == 0) {
        m_port.Message(MsgKind::Information,
                       tab == kInvoices ? QStringLiteral("Keine offenen Karteikarten vorhanden!")
                                        : QStringLiteral("Keine Rechnungen vorhanden!"));
        return;
    }
    QList<int> marked;
    for (int i = 0; i < grid.RecordCount(); ++i) {
        if (Cell(grid.RecordLine(i), MarkColumn(tab)) == kMark)
            marked << i;
    }
    if (marked.isEmpty()) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Kein Kunde markiert!\r ( X in OK-Spalte )"));
        return;
    }

    bool mail = false;
    if (m_documents) {
        const card::ClosePrinters& out = runners.printers;
        TStapelDruckDlgForm dialog({tab == kInvoices ? QStringLiteral("Stapeldruck: Rechnungen")
                                                     : QStringLiteral("Stapeldruck: Mahnungen"),
                                    out.standardPrinter, out.mailPrinter, QString()});
        if (!runners.dialog || !runners.dialog->Run(dialog))
            return;
        mail = dialog.Mail();
    }
    if (!PrinterReady(runners))
        return;
    if (list)
        PrintList(tab, marked, runners);
    if (documents)
        PrintDocuments(tab, marked, mail, runners);
    Reload(tab);
}

void StapelWorkspace::PrintList(int tab, const QList<int>& rows, BatchRunners& runners)
{
    if (!runners.printers.canvas)
        return;
    const TSGrid& source = Grid(tab);
    const int amountCol = AmountColumn(tab);
    const QString code = CurrencyCode(DunningOptionsFrom(m_options).currency);
    QStringList lines;
    QStringList chosen;
    for (int row : rows) {
        const QString line = source.RecordLine(row);
        chosen << line;
        long double amount = 0;
        TryStrToFloat(Cell(line, amountCol), &amount);
        lines << Join({Cell(line, kRegisterKey),
                       Cell(line, kInvCustomer) + QStringLiteral("  (") +
                           Cell(line, kInvCustomerNumber) + QLatin1Char(')'),
                       QString(), FormatFloat(QStringLiteral("0.00"), amount)});
    }
    TSGrid grid(m_port, m_env);
    grid.SetColCount(5);
    grid.SetLines(lines);
    grid.SetTitles({QString(), QStringLiteral("Kartei"), QStringLiteral("Kunde"), QString(),
                    (tab == kReminders ? QStringLiteral("Offen (") : QStringLiteral("Brutto (")) +
                        code + QLatin1Char(')')});

    QString title = QStringLiteral("Stapeldruck: Rechnungen");
    if (tab == kReminders) {
        title = level == Level::First    ? QStringLiteral("Stapeldruck: 1. Mahnung")
                : level == Level::Second ? QStringLiteral("Stapeldruck: 2. Mahnung")
                                         : QStringLiteral("Stapeldruck: Gerichtliche Mahnung");
    }
    TPrintGrid2 printer(*runners.printers.canvas, m_port, m_clock);
    MemoryLayoutStore defaults;
    TMemoSeiteEinrichtenDlgForm layout(runners.printers.layout ? *runners.printers.layout
                                                               : defaults);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard);
    layout.ApplyTo(printer);
    printer.AttachDocumentGrid(&grid);
    printer.PrintMgrTitle = QStringLiteral("Talven - Stapeldruck");
    printer.Title = {title, QString(),
                     QStringLiteral("Druckauftrag: %1 Dokument(e)").arg(rows.size()),
                     QStringLiteral("Brutto: ") +
                         FormatFloat(QStringLiteral("0.00"), ColumnSum(chosen, amountCol)) +
                         QLatin1Char(' ') + code};
    printer.DateLabel = dates::Format(m_clock.Today());
    if (!printer.Print())
        m_port.Message(MsgKind::Error,
                       QStringLiteral("Fehler beim Ausdruck der Stapeldruckliste!"));
}

void StapelWorkspace::PrintDocuments(int tab, const QList<int>& rows, bool mail,
                                     BatchRunners& runners)
{
    if (!runners.cards || !runners.payment)
        return;
    card::CardWorkspace& cards = *runners.cards;
    const QDate today = m_clock.Today();
    int done = 0;
    bool stopped = false;
    for (int i = 0; i < rows.size() && !stopped; ++i) {
        // Between two documents: every card is either done or untouched.
        if (runners.progress) {
            runners.progress->Step(i, int(rows.size()));
            if (runners.progress->CancelRequested()) {
                stopped = true;
                break;
            }
        }
        const QString key = CardKey(tab, rows[i]);
        if (!cards.LoadCardByKey(key)) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Fehler beim Laden von \rKarteikarte Nr. ") + key);
            RemoveFromRegister(tab, key);
            continue;
        }
        if (tab == kInvoices) {
            card::CardPrintChoice choice;
            choice.kind = card::PrintKind::Invoice;
            choice.printDate = today;
            choice.toDate = card::LastTreatmentDate(cards.Form().GetRows(), today);
            choice.copy = m_copy;
            choice.mail = mail;
            card::CardCloseRun run(cards, m_port, m_clock, runners.printers, *runners.payment);
            run.batch = true;
            if (run.CloseAsInvoice(choice))
                ++done;
            else
                stopped = run.PrintFailed();
        } else {
            CardDunning dunning(cards, m_port, m_clock, runners.printers);
            const IssueOutcome outcome =
                dunning.IssueReminder(level == Level::First ? 1 : 2, true, m_copy, mail);
            if (outcome == IssueOutcome::Issued)
                ++done;
            stopped = outcome == IssueOutcome::PrintFailed;
        }
    }
    if (runners.progress)
        runners.progress->Step(int(rows.size()), int(rows.size()));
    if (stopped) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Der Stapeldruck wurde abgebrochen.\r%1 von %2 Dokument(en) "
                                      "wurden gedruckt.")
                           .arg(done)
                           .arg(rows.size()));
    }
}

}  // namespace dunning
